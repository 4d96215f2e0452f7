#include "formats/atomic_file_writer.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <chrono>
#include <cstring>
#include <functional>
#include <utility>

#include "formats/file_name.h"
#include "interface/platform_error.h"

namespace quillmere {
namespace {

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Calls `attempt` with fresh names beginning with `prefix` until one is not
// taken; `name` keeps the last name tried. Returns what the last attempt did.
int UnderAFreshName(const std::string& prefix, std::string& name, const std::function<int(const char*)>& attempt) {
  constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  static std::atomic<std::uint64_t> counter{0};
  for (int tries = 0; tries < 100; ++tries) {
    std::uint64_t bits = 0;
    if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) != sizeof bits) {
      // Without the kernel's generator any spread of names will do: a name
      // taken only costs another attempt.
      bits = static_cast<std::uint64_t>(::getpid()) * 0x9E3779B97F4A7C15u + counter++ +
             static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    }
    name = prefix;
    for (int i = 0; i < 8; ++i, bits /= 62) name += kLetters[bits % 62];
    const int result = attempt(name.c_str());
    if (result >= 0 || errno != EEXIST) return result;
  }
  errno = EEXIST;
  return -1;
}

// Creates a file under a fresh name beginning with `prefix`. O_EXCL makes
// the name ours alone, even against a link placed there beforehand.
int CreateUnique(const std::string& prefix, mode_t mode, std::string& name) {
  return UnderAFreshName(prefix, name, [mode](const char* candidate) {
    return ::open(candidate, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  });
}

// A file with no name in `folder`, which vanishes with its descriptor; -1
// with errno set when the file system or the kernel can't make one, or when
// there is no /proc to give it a name through later.
int CreateUnnamed(const std::string& folder, mode_t mode) {
#ifdef O_TMPFILE
  if (::access("/proc/self/fd", X_OK) != 0) {
    errno = EOPNOTSUPP;
    return -1;
  }
  return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
#else
  (void)folder;
  (void)mode;
  errno = EOPNOTSUPP;
  return -1;
#endif
}

// The errors by which a kernel or file system says it has no unnamed files;
// any other error is the folder's own and ends the save.
bool NoUnnamedFiles(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL; }

// The file a save replaces: a symbolic link is followed to the file it leads
// to (which need not exist yet), so that the link itself survives the rename.
// False when the links go round in a circle.
bool FollowLinks(std::string& path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return true;
    std::string link(PATH_MAX, '\0');
    const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
    if (length <= 0) return true;
    link.resize(static_cast<std::size_t>(length));
    path = link.front() == '/' ? link : FolderOf(path) + "/" + link;
  }
  return false;
}

// After the rename the target holds the new bytes, already on disk, and the
// old file can't come back; a folder that fails to sync can at worst show the
// old file again after a crash, never a damaged one, so the save stands.
void SyncFolder(const std::string& path) {
  const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  DurabilityCalls().Sync(fd);
  ::close(fd);
}

}  // namespace

TDurabilityCalls& DurabilityCalls() {
  static TDurabilityCalls calls{::fsync, ::rename};
  return calls;
}

void IgnoreFileSizeSignal() {
  static const bool ignored = [] {
    struct sigaction action {};
    action.sa_handler = SIG_IGN;
    ::sigemptyset(&action.sa_mask);
    return ::sigaction(SIGXFSZ, &action, nullptr) == 0;
  }();
  (void)ignored;
}

AtomicFileWriter::AtomicFileWriter(std::string targetPath)
    : target_(std::move(targetPath)), path_(target_), buffer_(new std::uint8_t[kBufferSize]) {
  IgnoreFileSizeSignal();
  if (!FollowLinks(path_)) Fail(ELOOP);
  // A new file is created with 0666 for the kernel to cut by the umask (and
  // the folder's default ACL), as any program's new file is. A replacement
  // starts owner-only and then takes the old file's bits, which the umask
  // must not cut.
  struct stat old {};
  const bool replaces = ::stat(path_.c_str(), &old) == 0;
  if (replaces && S_ISDIR(old.st_mode)) Refuse("it is a folder, not a file.");
  const std::string folder = FolderOf(path_);
  const mode_t mode = replaces ? 0600 : 0666;
  fd_ = CreateUnnamed(folder, mode);
  unnamed_ = fd_ >= 0;
  if (!unnamed_ && NoUnnamedFiles(errno)) fd_ = CreateUnique(folder + "/." + ExtractFileName(path_) + ".", mode, temp_);
  if (fd_ < 0) {
    const int error = errno;
    struct stat info {};
    if ((error == ENOENT || error == ENOTDIR) && (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))) {
      Refuse("the folder \"" + folder + "\" does not exist.");
    }
    Fail(error);
  }
  if (replaces && ::fchmod(fd_, old.st_mode & 07777) != 0) {
    const int error = errno;
    Discard();  // no destructor runs for a constructor that throws
    Fail(error);
  }
}

AtomicFileWriter::~AtomicFileWriter() { Discard(); }

void AtomicFileWriter::Discard() {
  if (fd_ >= 0) ::close(std::exchange(fd_, -1));
  if (!published_ && !temp_.empty()) ::unlink(temp_.c_str());
}

void AtomicFileWriter::Fail(int error) {
  failed_ = true;
  throw WriteError("Unable to save \"" + target_ + "\": " + std::strerror(error) +
                   ". The file on disk was left as it was.");
}

// For the failures where "left as it was" would mislead: there is no file.
void AtomicFileWriter::Refuse(const std::string& why) {
  failed_ = true;
  throw WriteError("Unable to save \"" + target_ + "\": " + why);
}

void AtomicFileWriter::WriteAll(const std::uint8_t* bytes, std::size_t count) {
  std::size_t done = 0;
  while (done < count) {
    ssize_t n = ::write(fd_, bytes + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail(n < 0 ? errno : EIO);
    done += static_cast<std::size_t>(n);
  }
}

void AtomicFileWriter::Flush() {
  WriteAll(buffer_.get(), used_);
  used_ = 0;
}

void AtomicFileWriter::Write(const void* data, std::size_t count) {
  // An empty payload may come with no storage at all, which memcpy must not see.
  if (count == 0) return;
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  if (used_ + count <= kBufferSize) {
    std::memcpy(buffer_.get() + used_, bytes, count);
    used_ += count;
    return;
  }
  Flush();
  if (count < kBufferSize) {
    std::memcpy(buffer_.get(), bytes, count);
    used_ = count;
    return;
  }
  // Large blocks (frame payloads) go to the file in one piece.
  WriteAll(bytes, count);
}

void AtomicFileWriter::WriteU16(std::uint16_t value) {
  std::uint8_t b[2] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)};
  Write(b, 2);
}

void AtomicFileWriter::WriteU32(std::uint32_t value) {
  std::uint8_t b[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                       static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
  Write(b, 4);
}

void AtomicFileWriter::Finish() {
  if (finished_) return;
  // A writer that failed once is never finished: a write or sync tried again
  // can report success for bytes that never reached the disk.
  if (failed_) Fail(EIO);
  Flush();
  if (DurabilityCalls().Sync(fd_) != 0) Fail(errno);
  if (unnamed_) NameTemporary();
  const int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0) Fail(errno);
  finished_ = true;
}

// An unnamed file can't be renamed over the target, and a link can't replace
// one, so it gets a temporary name only now, with its bytes on disk; a process
// killed from here to the rename is the one way to leave it behind.
void AtomicFileWriter::NameTemporary() {
  const std::string self = "/proc/self/fd/" + std::to_string(fd_);
  const std::string prefix = FolderOf(path_) + "/." + ExtractFileName(path_) + ".";
  const int result = UnderAFreshName(prefix, temp_, [&](const char* candidate) {
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate, AT_SYMLINK_FOLLOW);
  });
  if (result != 0) {
    temp_.clear();
    Fail(errno);
  }
}

void AtomicFileWriter::Rename() {
  if (DurabilityCalls().Rename(temp_.c_str(), path_.c_str()) != 0) Fail(errno);
  published_ = true;
}

void AtomicFileWriter::Publish() {
  Finish();
  Rename();
  SyncFolder(path_);
}

void AtomicFileWriter::PublishTogether(AtomicFileWriter& first, AtomicFileWriter& second) {
  first.Finish();
  second.Finish();
  // A hard link keeps the first target's old content reachable until the
  // second file is in place; the temporary name is unique, so is this one.
  std::string backup = first.temp_ + ".old";
  bool hadOld = ::access(first.path_.c_str(), F_OK) == 0;
  bool backedUp = hadOld && ::link(first.path_.c_str(), backup.c_str()) == 0;
  first.Rename();
  try {
    second.Rename();
  } catch (...) {
    if (backedUp) {
      ::rename(backup.c_str(), first.path_.c_str());
    } else if (!hadOld) {
      ::unlink(first.path_.c_str());
    }
    throw;
  }
  if (backedUp) ::unlink(backup.c_str());
  SyncFolder(first.path_);
  if (FolderOf(second.path_) != FolderOf(first.path_)) SyncFolder(second.path_);
}

void AtomicFileWriter::Commit() { Publish(); }

}  // namespace quillmere
