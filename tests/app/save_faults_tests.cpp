#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/workspace.h"
#include "formats/fox_format.h"
#include "formats/fsh_format.h"
#include "interface/messages.h"
#include "support/frames.h"
#include "support/message_printing.h"

namespace quillmere::test {
namespace {

using Texts = std::vector<std::string>;

// A tmpfs of 64 KiB on a folder of its own: a disk that fills up, and that can
// be made read-only. Both hold for root, as a file's mode does not. Mounted in
// a mount namespace of this process where the kernel allows one, so a test
// that dies leaves no mount behind.
class SmallDisk {
 public:
  explicit SmallDisk(std::string path) : path_(std::move(path)) {
    static const bool privateMounts =
        ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    (void)privateMounts;
    if (::mkdir(path_.c_str(), 0755) != 0 || ::mount("tmpfs", path_.c_str(), "tmpfs", 0, "size=64k") != 0) {
      error_ = std::strerror(errno);
    }
  }
  ~SmallDisk() {
    if (error_.empty()) ::umount2(path_.c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  // Why no disk could be mounted; empty when it was.
  const std::string& Error() const { return error_; }
  bool MakeReadOnly() const {
    return ::mount(nullptr, path_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }

 private:
  std::string path_;
  std::string error_;
};

// Lowers the file-size limit for as long as it lives.
class LowFileSizeLimit {
 public:
  explicit LowFileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~LowFileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &saved_); }
  LowFileSizeLimit(const LowFileSizeLimit&) = delete;
  LowFileSizeLimit& operator=(const LowFileSizeLimit&) = delete;

 private:
  rlimit saved_{};
};

std::vector<std::string> ListOf(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

enum class TFault { FullDisk, FileSizeLimit, ReadOnlyDisk, MissingFolder, FolderInTheWay };

// Every way a disk refuses a save, for a FOX file and for an FSH file with its
// FBJ companion: the save raises the general error naming the file and the
// reason, the old files stay byte for byte, nothing else appears in the
// folder, and the document stays modified.
TEST(SaveFaults, AFailedSaveLeavesTheOldFilesAndSaysWhy) {
  using enum TFault;
  const char* const left = ". The file on disk was left as it was.";
  struct {
    TFault Fault;
    const char* Extension;
  } const cases[] = {
      {FullDisk, ".fox"},       {FullDisk, ".fsh"},       {FileSizeLimit, ".fox"},  {FileSizeLimit, ".fsh"},
      {ReadOnlyDisk, ".fox"},   {ReadOnlyDisk, ".fsh"},   {MissingFolder, ".fox"},  {MissingFolder, ".fsh"},
      {FolderInTheWay, ".fox"}, {FolderInTheWay, ".fsh"},
  };
  std::string skipped;
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "fault " << static_cast<int>(c.Fault) << ", " << c.Extension);
    TempDir dir;
    std::string folder = dir.Path();
    std::optional<SmallDisk> disk;
    if (c.Fault == FullDisk || c.Fault == ReadOnlyDisk) {
      folder = dir.File("disk");
      disk.emplace(folder);
      if (!disk->Error().empty()) {
        skipped = "no tmpfs can be mounted here (" + disk->Error() + "), so the full and read-only disks were not tried";
        continue;
      }
    }
    const std::string ext = c.Extension;
    const std::string own = folder + "/a" + ext;
    const TShapeList small = {Shape({Solid(2, 2, 0, 0, 7)})};
    ScriptedUserInterface quiet;
    ASSERT_TRUE(ext == ".fox" ? SaveFOXFile(own, small) : SaveFSHFile(own, small, quiet, {}));
    if (c.Fault == FolderInTheWay) {
      ASSERT_EQ(::mkdir(dir.File("box" + ext).c_str(), 0755), 0);
      WriteFile(dir.File("box" + ext + "/inside"), {1});
    }
    const Texts before = ListOf(folder);
    std::map<std::string, Bytes> old;
    for (const std::string& name : before) {
      if (name != "box" + ext) old[name] = ReadFile(folder + "/" + name);
    }

    ScriptedUserInterface ui;
    TWorkspace w(ui);
    w.DestRecentClick(own);
    // 80 KB of pixels: more than the small disk or the file-size limit allows.
    w.Change(TDocumentKind::Destination, [](TDocument& d) {
      d.Shapes = {Shape({Solid(200, 200, 0, 0, 1)}), Shape({Solid(200, 200, 0, 0, 2)})};
    });
    ui.Clear();
    std::string target = own, reason;
    switch (c.Fault) {
      case FullDisk:
        reason = std::string("No space left on device") + left;
        break;
      case FileSizeLimit:
        reason = std::string("File too large") + left;
        break;
      case ReadOnlyDisk:
        ASSERT_TRUE(disk->MakeReadOnly()) << std::strerror(errno);
        reason = std::string("Read-only file system") + left;
        break;
      case MissingFolder:
        target = dir.File("gone/a" + ext);
        reason = "the folder \"" + dir.File("gone") + "\" does not exist.";
        break;
      case FolderInTheWay:
        target = dir.File("box" + ext);
        reason = "it is a folder, not a file.";
        break;
    }
    if (target == own) {
      std::optional<LowFileSizeLimit> limit;
      if (c.Fault == FileSizeLimit) limit.emplace(16 * 1024);
      w.SaveDestination1Click();
    } else {
      ui.SetFileChoices({target});
      EXPECT_FALSE(w.SaveAs1Click());
    }
    EXPECT_EQ(MessagesOf(ui), (std::vector{TMessage{"Quillmere", "Unable to save \"" + target + "\": " + reason,
                                                    TMsgIcon::Error, TMsgButtons::Ok}}));
    EXPECT_EQ(ListOf(folder), before);
    for (const auto& [name, bytes] : old) EXPECT_EQ(ReadFile(folder + "/" + name), bytes) << name;
    if (c.Fault == FolderInTheWay) {
      EXPECT_EQ(ListOf(target), Texts{"inside"});
    }
    EXPECT_TRUE(w.Destination.Modified);
  }
  if (!skipped.empty()) GTEST_SKIP() << skipped;
}

}  // namespace
}  // namespace quillmere::test
