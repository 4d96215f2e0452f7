#include "formats/file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "formats/file_name.h"
#include "interface/platform_error.h"

namespace quillmere {

std::string ReadPastEndText(const std::string& path) {
  return "Read past the end of the file \"" + ExtractFileName(path) +
         "\": it is shorter than its contents announce.";
}

FileReader::FileReader(const std::string& path) : path_(path) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info {};
  if (fd_ >= 0 && ::fstat(fd_, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    errno = EISDIR;
  }
  if (fd_ < 0) {
    throw FileOpenError("Cannot open file \"" + path + "\". " + std::strerror(errno));
  }
  size_ = static_cast<std::uint64_t>(info.st_size);
  buffer_ = new std::uint8_t[kBufferSize];
}

FileReader::~FileReader() {
  delete[] buffer_;
  if (fd_ >= 0) ::close(fd_);
}

void FileReader::FailRead() const { throw ReadError(ReadPastEndText(path_)); }

void FileReader::Seek(std::uint64_t position) { position_ = position; }

// Copies `count` bytes from the current position, which the caller has checked
// lie inside the file (or accepts a short result), through the buffer for small
// reads and directly for large ones.
std::size_t FileReader::Fill(void* target, std::size_t count) {
  auto* out = static_cast<std::uint8_t*>(target);
  std::size_t done = 0;
  while (done < count && position_ < size_) {
    if (position_ >= bufferStart_ && position_ < bufferStart_ + bufferSize_) {
      std::size_t offset = static_cast<std::size_t>(position_ - bufferStart_);
      std::size_t take = std::min(count - done, bufferSize_ - offset);
      std::memcpy(out + done, buffer_ + offset, take);
      done += take;
      position_ += take;
      continue;
    }
    std::size_t want = count - done;
    if (want >= kBufferSize) {
      ssize_t got = ::pread(fd_, out + done, want, static_cast<off_t>(position_));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;  // the file shrank under us: treat as its end
      done += static_cast<std::size_t>(got);
      position_ += static_cast<std::uint64_t>(got);
    } else {
      ssize_t got = ::pread(fd_, buffer_, kBufferSize, static_cast<off_t>(position_));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      bufferStart_ = position_;
      bufferSize_ = static_cast<std::size_t>(got);
    }
  }
  return done;
}

void FileReader::ReadExact(void* target, std::size_t count) {
  if (count > Remaining()) FailRead();
  if (Fill(target, count) != count) FailRead();
}

std::uint8_t FileReader::ReadU8() {
  std::uint8_t b = 0;
  ReadExact(&b, 1);
  return b;
}

std::uint16_t FileReader::ReadU16() {
  std::uint8_t b[2];
  ReadExact(b, 2);
  return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t FileReader::ReadU32() {
  std::uint8_t b[4];
  ReadExact(b, 4);
  return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
         (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

std::size_t FileReader::ReadSome(void* target, std::size_t count) {
  std::size_t got = Fill(target, count);
  // The position still advances over what was asked: a short read at the end
  // leaves it past the end, so later reads find nothing too.
  position_ += count - got;
  return got;
}

std::uint8_t FileReader::ReadU8OrZero() {
  std::uint8_t b = 0;
  ReadSome(&b, 1);
  return b;
}

}  // namespace quillmere
