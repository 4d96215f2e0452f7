#include "formats/atomic_file_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "interface/platform_error.h"
#include "support/test_files.h"

namespace quillmere::test {
namespace {

using Texts = std::vector<std::string>;

class UmaskFor {
 public:
  explicit UmaskFor(mode_t mask) : saved_(::umask(mask)) {}
  ~UmaskFor() { ::umask(saved_); }
  UmaskFor(const UmaskFor&) = delete;
  UmaskFor& operator=(const UmaskFor&) = delete;

 private:
  mode_t saved_;
};

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

std::string Octal(mode_t mode) {
  char text[8];
  std::snprintf(text, sizeof text, "0%03o", static_cast<unsigned>(mode));
  return text;
}

void Save(const std::string& path, const std::string& text) {
  AtomicFileWriter writer(path);
  writer.Write(text.data(), text.size());
  writer.Commit();
}

// A save keeps the permission bits of the file it replaces, whatever the
// umask; a new file gets what any new file gets, 0666 less the umask.
TEST(AtomicFileWriter, AReplacementKeepsTheOldModeAndANewFileFollowsTheUmask) {
  struct {
    std::optional<mode_t> Old;  // none: no file yet
    mode_t Umask;
    mode_t Saved;
  } const cases[] = {
      {std::nullopt, 022, 0644}, {std::nullopt, 077, 0600}, {std::nullopt, 0, 0666},
      {std::nullopt, 027, 0640}, {0640, 022, 0640},         {0604, 077, 0604},
      {0755, 022, 0755},         {0600, 0, 0600},           {0444, 022, 0444},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("old file " + (c.Old ? Octal(*c.Old) : "none") + ", umask " + Octal(c.Umask));
    TempDir dir;
    const std::string path = dir.File("a.fox");
    if (c.Old) {
      WriteFile(path, {'o', 'l', 'd'});
      ASSERT_EQ(::chmod(path.c_str(), *c.Old), 0);
    }
    const UmaskFor mask(c.Umask);
    Save(path, "new");
    EXPECT_EQ(Octal(ModeOf(path)), Octal(c.Saved));
    EXPECT_EQ(ReadFile(path), (Bytes{'n', 'e', 'w'}));
    EXPECT_EQ(dir.List(), Texts{"a.fox"});
  }
}

// Stands in for the durability calls: records each call in words, then makes
// the real call, except the call numbered `failAt`, which fails with EIO.
struct TCallLog {
  static inline std::string Folder;
  static inline Texts Calls;
  static inline int FailAt = 0;

  // "a.fsh" for the target, "temporary a.fsh" for its writer's temporary file.
  static std::string Name(const std::string& path) {
    const std::string name = path.substr(path.rfind('/') + 1);
    if (name.starts_with('.')) return "temporary " + name.substr(1, name.rfind('.') - 1);
    return name;
  }
  static bool Fails() { return static_cast<int>(Calls.size()) == FailAt; }

  static int Sync(int fd) {
    struct stat file {}, folder {};
    char path[PATH_MAX] = {};
    if (::fstat(fd, &file) == 0 && S_ISDIR(file.st_mode)) {
      const bool ours = ::stat(Folder.c_str(), &folder) == 0 && folder.st_ino == file.st_ino;
      Calls.push_back(ours ? "sync the folder" : "sync another folder");
    } else if (::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path - 1) > 0) {
      Calls.push_back("sync " + Name(path));
    } else {
      Calls.push_back("sync an unknown file");
    }
    if (Fails()) return errno = EIO, -1;
    return ::fsync(fd);
  }
  static int Rename(const char* from, const char* to) {
    Calls.push_back("rename " + Name(from) + " to " + Name(to));
    if (Fails()) return errno = EIO, -1;
    return ::rename(from, to);
  }
};

class LoggedCalls {
 public:
  LoggedCalls(const std::string& folder, int failAt) : saved_(DurabilityCalls()) {
    TCallLog::Folder = folder;
    TCallLog::Calls.clear();
    TCallLog::FailAt = failAt;
    DurabilityCalls() = {TCallLog::Sync, TCallLog::Rename};
  }
  ~LoggedCalls() { DurabilityCalls() = saved_; }
  LoggedCalls(const LoggedCalls&) = delete;
  LoggedCalls& operator=(const LoggedCalls&) = delete;

 private:
  TDurabilityCalls saved_;
};

// A file's bytes reach the disk before the rename puts it in place, and the
// folder after; a failed sync or rename raises WriteError and leaves every old
// file as it was. A folder that can't be synced does not undo a save: by then
// the old file is gone and the new one is on disk.
TEST(AtomicFileWriter, BytesReachTheDiskBeforeTheRenameAndAFailureLeavesTheOldFiles) {
  const std::string fsh = "temporary a.fsh", fbj = "temporary a.fbj";
  struct {
    bool Pair;   // a.fsh alone, or a.fsh with its a.fbj published together
    int FailAt;  // the call that fails, counted from 1; 0 for none
    Texts Calls;
    bool Saved;
  } const cases[] = {
      {false, 0, {"sync " + fsh, "rename " + fsh + " to a.fsh", "sync the folder"}, true},
      {false, 1, {"sync " + fsh}, false},
      {false, 2, {"sync " + fsh, "rename " + fsh + " to a.fsh"}, false},
      {false, 3, {"sync " + fsh, "rename " + fsh + " to a.fsh", "sync the folder"}, true},
      {true, 0,
       {"sync " + fsh, "sync " + fbj, "rename " + fsh + " to a.fsh", "rename " + fbj + " to a.fbj",
        "sync the folder"},
       true},
      {true, 2, {"sync " + fsh, "sync " + fbj}, false},
      {true, 4, {"sync " + fsh, "sync " + fbj, "rename " + fsh + " to a.fsh", "rename " + fbj + " to a.fbj"},
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << (c.Pair ? "a.fsh with a.fbj" : "a.fsh alone") << ", failing call "
                                      << c.FailAt);
    TempDir dir;
    const Texts names = c.Pair ? Texts{"a.fbj", "a.fsh"} : Texts{"a.fsh"};
    for (const std::string& name : names) WriteFile(dir.File(name), {'o', 'l', 'd'});
    bool raised = false;
    {
      const LoggedCalls log(dir.Path(), c.FailAt);
      try {
        AtomicFileWriter shapes(dir.File("a.fsh"));
        shapes.Write("new", 3);
        if (c.Pair) {
          AtomicFileWriter companion(dir.File("a.fbj"));
          companion.Write("new", 3);
          AtomicFileWriter::PublishTogether(shapes, companion);
        } else {
          shapes.Commit();
        }
      } catch (const WriteError&) {
        raised = true;
      }
      EXPECT_EQ(TCallLog::Calls, c.Calls);
    }
    EXPECT_EQ(raised, !c.Saved);
    EXPECT_EQ(dir.List(), names);  // no temporary or backup file stays
    const Bytes content = c.Saved ? Bytes{'n', 'e', 'w'} : Bytes{'o', 'l', 'd'};
    for (const std::string& name : names) EXPECT_EQ(ReadFile(dir.File(name)), content) << name;
  }
}

// A second sync after a failed one can report success for bytes that never
// reached the disk, so a writer that failed is never published.
TEST(AtomicFileWriter, AWriterWhoseSyncFailedIsNotTriedAgain) {
  TempDir dir;
  WriteFile(dir.File("a.fsh"), {'o', 'l', 'd'});
  const LoggedCalls log(dir.Path(), 1);
  AtomicFileWriter writer(dir.File("a.fsh"));
  writer.Write("new", 3);
  EXPECT_THROW(writer.Finish(), WriteError);
  EXPECT_THROW(writer.Commit(), WriteError);
  EXPECT_EQ(TCallLog::Calls, Texts{"sync temporary a.fsh"});
  EXPECT_EQ(ReadFile(dir.File("a.fsh")), (Bytes{'o', 'l', 'd'}));
}

}  // namespace
}  // namespace quillmere::test
