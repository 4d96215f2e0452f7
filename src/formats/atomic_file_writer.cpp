#include "formats/atomic_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

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

// The mode a newly created file would get, so that a save does not leave the
// owner-only mode of a temporary file behind.
mode_t NewFileMode() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string targetPath) : target_(std::move(targetPath)) {
  std::string folder = FolderOf(target_);
  std::string pattern = folder + "/." + ExtractFileName(target_) + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  fd_ = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd_ < 0) Fail(errno);
  temp_ = name.data();

  struct stat info {};
  mode_t mode = ::stat(target_.c_str(), &info) == 0 ? (info.st_mode & 07777) : NewFileMode();
  ::fchmod(fd_, mode);
  buffer_ = new std::uint8_t[kBufferSize];
}

AtomicFileWriter::~AtomicFileWriter() {
  delete[] buffer_;
  if (fd_ >= 0) ::close(fd_);
  if (!published_ && !temp_.empty()) ::unlink(temp_.c_str());
}

void AtomicFileWriter::Fail(int error) const {
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
  WriteAll(buffer_, used_);
  used_ = 0;
}

void AtomicFileWriter::Write(const void* data, std::size_t count) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  if (used_ + count <= kBufferSize) {
    std::memcpy(buffer_ + used_, bytes, count);
    used_ += count;
    return;
  }
  Flush();
  if (count < kBufferSize) {
    std::memcpy(buffer_, bytes, count);
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
  if (fd_ < 0) return;
  Flush();
  if (::fsync(fd_) != 0) Fail(errno);
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) Fail(errno);
}

void AtomicFileWriter::Publish() {
  if (::rename(temp_.c_str(), target_.c_str()) != 0) Fail(errno);
  published_ = true;
}

void AtomicFileWriter::PublishTogether(AtomicFileWriter& first, AtomicFileWriter& second) {
  // A hard link keeps the first target's old content reachable until the
  // second file is in place; the temporary name is unique, so is this one.
  std::string backup = first.temp_ + ".old";
  bool hadOld = ::access(first.target_.c_str(), F_OK) == 0;
  bool backedUp = hadOld && ::link(first.target_.c_str(), backup.c_str()) == 0;
  first.Publish();
  try {
    second.Publish();
  } catch (...) {
    if (backedUp) {
      ::rename(backup.c_str(), first.target_.c_str());
    } else if (!hadOld) {
      ::unlink(first.target_.c_str());
    }
    throw;
  }
  if (backedUp) ::unlink(backup.c_str());
}

void AtomicFileWriter::Commit() {
  Finish();
  Publish();
}

}  // namespace quillmere
