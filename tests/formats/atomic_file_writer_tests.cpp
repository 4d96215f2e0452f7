#include "formats/atomic_file_writer.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <map>
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
  static inline std::map<ino_t, std::string> Unnamed;  // temporary files without a name yet

  // "a.fsh" for the target, "temporary a.fsh" for its writer's temporary file.
  static std::string Name(const std::string& path) {
    const std::string name = path.substr(path.rfind('/') + 1);
    if (name.starts_with('.')) return "temporary " + name.substr(1, name.rfind('.') - 1);
    return name;
  }
  static bool Fails() { return static_cast<int>(Calls.size()) == FailAt; }

  // Gives the unnamed files this process holds open and has not seen before
  // the name of the writer just made for `target`.
  static void NoteTemporaryOf(const std::string& target) {
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
      std::error_code error;
      const std::string link = std::filesystem::read_symlink(entry.path(), error).string();
      struct stat file {};
      if (error || !link.ends_with(" (deleted)") || ::stat(entry.path().c_str(), &file) != 0) continue;
      Unnamed.try_emplace(file.st_ino, "temporary " + target);
    }
  }

  static int Sync(int fd) {
    struct stat file {}, folder {};
    char path[PATH_MAX] = {};
    const bool known = ::fstat(fd, &file) == 0;
    if (known && S_ISDIR(file.st_mode)) {
      const bool ours = ::stat(Folder.c_str(), &folder) == 0 && folder.st_ino == file.st_ino;
      Calls.push_back(ours ? "sync the folder" : "sync another folder");
    } else if (known && file.st_nlink == 0 && Unnamed.contains(file.st_ino)) {
      Calls.push_back("sync " + Unnamed[file.st_ino]);
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
    TCallLog::Unnamed.clear();
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
        TCallLog::NoteTemporaryOf("a.fsh");
        shapes.Write("new", 3);
        if (c.Pair) {
          AtomicFileWriter companion(dir.File("a.fbj"));
          TCallLog::NoteTemporaryOf("a.fbj");
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
  TCallLog::NoteTemporaryOf("a.fsh");
  writer.Write("new", 3);
  EXPECT_THROW(writer.Finish(), WriteError);
  EXPECT_THROW(writer.Commit(), WriteError);
  EXPECT_EQ(TCallLog::Calls, Texts{"sync temporary a.fsh"});
  EXPECT_EQ(ReadFile(dir.File("a.fsh")), (Bytes{'o', 'l', 'd'}));
}

// An empty block, as an empty frame's payload gives, may come without storage.
TEST(AtomicFileWriter, AnEmptyBlockWithoutStorageWritesNothing) {
  TempDir dir;
  AtomicFileWriter writer(dir.File("a.fox"));
  writer.Write(nullptr, 0);
  writer.Write("ab", 2);
  writer.Write(nullptr, 0);
  writer.Commit();
  EXPECT_EQ(ReadFile(dir.File("a.fox")), (Bytes{'a', 'b'}));
}

// A save killed while it writes, by the person or by the system, leaves the
// folder as it was: the temporary file has no name until it is complete.
TEST(AtomicFileWriter, ASaveKilledHalfWayLeavesNothingBehind) {
  TempDir dir;
  const int probe = ::open(dir.Path().c_str(), O_TMPFILE | O_WRONLY, 0600);
  if (probe < 0) GTEST_SKIP() << "the temporary folder's file system has no unnamed files: " << std::strerror(errno);
  ::close(probe);
  WriteFile(dir.File("a.fox"), {'o', 'l', 'd'});
  for (const std::size_t written : {std::size_t{0}, std::size_t{3}, std::size_t{2} << 20}) {
    SCOPED_TRACE(::testing::Message() << written << " bytes written when killed");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Large writes go straight to the file, so the bytes are on disk.
      AtomicFileWriter writer(dir.File("a.fox"));
      const std::vector<char> bytes(written, 'n');
      writer.Write(bytes.data(), bytes.size());
      (void)!::write(ready[1], "w", 1);
      for (;;) ::pause();
    }
    ::close(ready[1]);
    char signal = 0;
    EXPECT_EQ(::read(ready[0], &signal, 1), 1);
    ::close(ready[0]);
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(dir.List(), Texts{"a.fox"});
    EXPECT_EQ(ReadFile(dir.File("a.fox")), (Bytes{'o', 'l', 'd'}));
  }
}

// Saving through a symbolic link replaces the file it leads to, with that
// file's mode, and the link stays a link; the temporary file never appears
// beside the link. A link leading nowhere makes its file; a circle of links
// is refused.
TEST(AtomicFileWriter, SavingThroughALinkReplacesTheFileItLeadsTo) {
  struct {
    const char* Name;
    std::vector<std::pair<const char*, const char*>> Links;  // link, where it leads
    bool OldFile;
  } const cases[] = {
      {"relative link", {{"a.fox", "real/b.fox"}}, true},
      {"absolute link", {{"a.fox", "@/real/b.fox"}}, true},
      {"chain of links", {{"a.fox", "real/c.fox"}, {"real/c.fox", "b.fox"}}, true},
      {"link to a file not there yet", {{"a.fox", "real/b.fox"}}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.File("real").c_str(), 0755), 0);
    if (c.OldFile) {
      WriteFile(dir.File("real/b.fox"), {'o', 'l', 'd'});
      ASSERT_EQ(::chmod(dir.File("real/b.fox").c_str(), 0640), 0);
    }
    Texts realFiles = {"b.fox"};
    for (const auto& [link, to] : c.Links) {
      const std::string target = to[0] == '@' ? dir.Path() + (to + 1) : to;
      ASSERT_EQ(::symlink(target.c_str(), dir.File(link).c_str()), 0);
      if (std::string(link).starts_with("real/")) realFiles.push_back(std::string(link).substr(5));
    }
    std::sort(realFiles.begin(), realFiles.end());
    const UmaskFor mask(022);
    Save(dir.File("a.fox"), "new");
    EXPECT_EQ(ReadFile(dir.File("real/b.fox")), (Bytes{'n', 'e', 'w'}));
    EXPECT_EQ(Octal(ModeOf(dir.File("real/b.fox"))), c.OldFile ? "0640" : "0644");
    for (const auto& link : c.Links) {
      struct stat info {};
      EXPECT_TRUE(::lstat(dir.File(link.first).c_str(), &info) == 0 && S_ISLNK(info.st_mode)) << link.first;
    }
    EXPECT_EQ(dir.List(), (Texts{"a.fox", "real"}));
    std::vector<std::string> inReal;
    for (const auto& entry : std::filesystem::directory_iterator(dir.File("real"))) {
      inReal.push_back(entry.path().filename().string());
    }
    std::sort(inReal.begin(), inReal.end());
    EXPECT_EQ(inReal, realFiles);
  }
  TempDir dir;
  ASSERT_EQ(::symlink("b.fox", dir.File("a.fox").c_str()), 0);
  ASSERT_EQ(::symlink("a.fox", dir.File("b.fox").c_str()), 0);
  try {
    Save(dir.File("a.fox"), "new");
    ADD_FAILURE() << "a circle of links was written through";
  } catch (const WriteError& error) {
    EXPECT_STREQ(error.what(), ("Unable to save \"" + dir.File("a.fox") +
                                "\": Too many levels of symbolic links. The file on disk was left as it was.")
                                   .c_str());
  }
  EXPECT_EQ(dir.List(), (Texts{"a.fox", "b.fox"}));
}

}  // namespace
}  // namespace quillmere::test
