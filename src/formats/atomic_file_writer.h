#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillmere {

// Writes a file so that the previous one survives any failure: the bytes go to
// a temporary file in the target's folder, which replaces the target only
// after everything was written and flushed to disk. Until then the target is
// untouched; a writer destroyed before Publish removes its temporary file.
// Every failure raises WriteError with a text for the general error handler.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(std::string targetPath);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  void Write(const void* data, std::size_t count);
  void WriteU8(std::uint8_t value) { Write(&value, 1); }
  void WriteU16(std::uint16_t value);
  void WriteI16(std::int16_t value) { WriteU16(static_cast<std::uint16_t>(value)); }
  void WriteU32(std::uint32_t value);
  void WriteI32(std::int32_t value) { WriteU32(static_cast<std::uint32_t>(value)); }

  // Flushes and syncs the temporary file and closes it.
  void Finish();
  // Renames the finished temporary file over the target.
  void Publish();
  // Finish, then Publish.
  void Commit();

  // Publishes two finished files as one: when the second can't take its
  // place, the first target gets its previous content back (or disappears
  // again if it had none), so a shape file never goes out without its
  // companion.
  static void PublishTogether(AtomicFileWriter& first, AtomicFileWriter& second);

 private:
  void Flush();
  void WriteAll(const std::uint8_t* bytes, std::size_t count);
  [[noreturn]] void Fail(int error) const;

  std::string target_;
  std::string temp_;
  int fd_ = -1;
  bool published_ = false;
  static constexpr std::size_t kBufferSize = 256 * 1024;
  std::uint8_t* buffer_ = nullptr;
  std::size_t used_ = 0;
};

}  // namespace quillmere
