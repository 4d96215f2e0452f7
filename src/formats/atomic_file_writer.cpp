#include "formats/atomic_file_writer.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
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

// Creates a file under a fresh name beginning with `prefix`. O_EXCL makes
// the name ours alone, even against a link placed there beforehand.
int CreateUnique(const std::string& prefix, mode_t mode, std::string& name) {
  constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  static std::atomic<std::uint64_t> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::uint64_t bits = 0;
    if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) != sizeof bits) {
      // Without the kernel's generator any spread of names will do: a name
      // taken only costs another attempt.
      bits = static_cast<std::uint64_t>(::getpid()) * 0x9E3779B97F4A7C15u + counter++ +
             static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    }
    name = prefix;
    for (int i = 0; i < 8; ++i, bits /= 62) name += kLetters[bits % 62];
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
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

AtomicFileWriter::AtomicFileWriter(std::string targetPath)
    : target_(std::move(targetPath)), buffer_(new std::uint8_t[kBufferSize]) {
  // A new file is created with 0666 for the kernel to cut by the umask (and
  // the folder's default ACL), as any program's new file is. A replacement
  // starts owner-only and then takes the old file's bits, which the umask
  // must not cut.
  struct stat old {};
  const bool replaces = ::stat(target_.c_str(), &old) == 0;
  const std::string prefix = FolderOf(target_) + "/." + ExtractFileName(target_) + ".";
  fd_ = CreateUnique(prefix, replaces ? 0600 : 0666, temp_);
  if (fd_ < 0) Fail(errno);
  if (replaces && ::fchmod(fd_, old.st_mode & 07777) != 0) {
    const int error = errno;
    ::close(fd_);
    ::unlink(temp_.c_str());
    Fail(error);
  }
}

AtomicFileWriter::~AtomicFileWriter() {
  if (fd_ >= 0) ::close(fd_);
  if (!published_ && !temp_.empty()) ::unlink(temp_.c_str());
}

void AtomicFileWriter::Fail(int error) {
  failed_ = true;
  throw WriteError("Unable to save \"" + target_ + "\": " + std::strerror(error) +
                   ". The file on disk was left as it was.");
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
  // An empty row of an empty picture may come without any memory behind it.
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
  const int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0) Fail(errno);
  finished_ = true;
}

void AtomicFileWriter::Rename() {
  if (DurabilityCalls().Rename(temp_.c_str(), target_.c_str()) != 0) Fail(errno);
  published_ = true;
}

void AtomicFileWriter::Publish() {
  Finish();
  Rename();
  SyncFolder(target_);
}

void AtomicFileWriter::PublishTogether(AtomicFileWriter& first, AtomicFileWriter& second) {
  first.Finish();
  second.Finish();
  // A hard link keeps the first target's old content reachable until the
  // second file is in place; the temporary name is unique, so is this one.
  std::string backup = first.temp_ + ".old";
  bool hadOld = ::access(first.target_.c_str(), F_OK) == 0;
  bool backedUp = hadOld && ::link(first.target_.c_str(), backup.c_str()) == 0;
  first.Rename();
  try {
    second.Rename();
  } catch (...) {
    if (backedUp) {
      ::rename(backup.c_str(), first.target_.c_str());
    } else if (!hadOld) {
      ::unlink(first.target_.c_str());
    }
    throw;
  }
  if (backedUp) ::unlink(backup.c_str());
  SyncFolder(first.target_);
  if (FolderOf(second.target_) != FolderOf(first.target_)) SyncFolder(second.target_);
}

void AtomicFileWriter::Commit() { Publish(); }

}  // namespace quillmere
