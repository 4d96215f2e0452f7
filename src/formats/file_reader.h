#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillmere {

// Reads a shape file through a small buffer. Two kinds of read:
// - strict reads (Read*, ReadExact) raise ReadError when the file holds fewer
//   bytes than asked, before anything is copied, so no caller ever allocates
//   for a length the file can't back;
// - lenient reads (Read*OrZero, ReadSome) deliver what is there and read the
//   missing bytes as 0, for detection and the FBJ companion, where a short
//   file simply has nothing more to say.
// Large strict reads go straight from the file into the caller's buffer.
class FileReader {
 public:
  // Opens `path` read-only; raises FileOpenError when it can't.
  explicit FileReader(const std::string& path);
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  const std::string& Path() const { return path_; }
  std::uint64_t Size() const { return size_; }
  std::uint64_t Position() const { return position_; }
  std::uint64_t Remaining() const { return position_ < size_ ? size_ - position_ : 0; }
  bool AtEnd() const { return position_ >= size_; }

  // Moves to `position`, which may lie past the end (later reads find nothing).
  void Seek(std::uint64_t position);
  void Skip(std::uint64_t count) { Seek(position_ + count); }

  void ReadExact(void* target, std::size_t count);
  std::uint8_t ReadU8();
  std::uint16_t ReadU16();
  std::int16_t ReadI16() { return static_cast<std::int16_t>(ReadU16()); }
  std::uint32_t ReadU32();
  std::int32_t ReadI32() { return static_cast<std::int32_t>(ReadU32()); }

  // Copies up to `count` bytes, returns how many were there.
  std::size_t ReadSome(void* target, std::size_t count);
  std::uint8_t ReadU8OrZero();

  // Raises the read error for this file.
  [[noreturn]] void FailRead() const;

 private:
  std::size_t Fill(void* target, std::size_t count);

  std::string path_;
  int fd_ = -1;
  std::uint64_t size_ = 0;
  std::uint64_t position_ = 0;  // logical position of the next byte
  // buffer_[0, bufferSize_) holds the file bytes from bufferStart_.
  static constexpr std::size_t kBufferSize = 64 * 1024;
  std::uint8_t* buffer_ = nullptr;
  std::uint64_t bufferStart_ = 0;
  std::size_t bufferSize_ = 0;
};

// An 8-bit field read as signed: the older formats store positions (and FBJ
// flag bytes) that way.
inline std::int16_t SignExtend8(std::uint8_t byte) { return static_cast<std::int8_t>(byte); }

// The text of the general error for a read past the end of `path`.
std::string ReadPastEndText(const std::string& path);

}  // namespace quillmere
