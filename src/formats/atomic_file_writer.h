#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace quillmere {

// The calls that make a save last. The temporary file's bytes must reach the
// disk before the rename makes it the target, or a crash could leave an empty
// target where the old file was; the folder follows the rename so that the
// new name lasts too. They sit here, rather than being called directly, so
// that tests can watch their order and make them fail; nothing else changes
// them.
struct TDurabilityCalls {
  int (*Sync)(int fd);
  int (*Rename)(const char* from, const char* to);
};
// ::fsync and ::rename unless a test has put its own in.
TDurabilityCalls& DurabilityCalls();

// A write past the file-size limit raises SIGXFSZ, which would end the
// program with the temporary file still on disk; ignored, the write fails
// with EFBIG and the save reports it like any other failed write. Writers
// call it themselves; start-up calls it so that no code path is left out.
void IgnoreFileSizeSignal();

// Writes a file so that the previous one survives any failure: the bytes go to
// a temporary file in the target's folder, which replaces the target only
// after everything was written and flushed to disk. Until then the target is
// untouched; a writer destroyed before Publish removes its temporary file.
// Where the file system allows, the temporary file has no name until it is
// finished, so a process killed while writing leaves nothing behind; elsewhere
// it is a hidden ".name.XXXXXXXX" beside the target.
// A target that is a symbolic link stays one: the file it leads to is
// replaced, with the temporary file beside that file.
// The file keeps the permission bits of the file it replaces; a new file gets
// those of any newly created file (0666 less the umask).
// Every failure raises WriteError with a text for the general error handler
// that names the target as given.
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

  // Flushes and syncs the temporary file, gives an unnamed one its temporary
  // name, and closes it. After any failure of this writer it fails again
  // rather than try the same bytes twice.
  void Finish();
  // Finishes when not yet done, renames the temporary file over the target,
  // then syncs the folder.
  void Publish();
  // Finish, then Publish.
  void Commit();

  // Finishes and publishes two files as one: when the second can't take its
  // place, the first target gets its previous content back (or disappears
  // again if it had none), so a shape file never goes out without its
  // companion.
  static void PublishTogether(AtomicFileWriter& first, AtomicFileWriter& second);

 private:
  void Flush();
  void Rename();
  void NameTemporary();
  void Discard();
  void WriteAll(const std::uint8_t* bytes, std::size_t count);
  [[noreturn]] void Fail(int error);
  [[noreturn]] void Refuse(const std::string& why);

  std::string target_;  // as the caller named it, for messages
  std::string path_;    // the file replaced: the target with its links followed
  std::string temp_;    // empty while the temporary file has no name
  int fd_ = -1;
  bool unnamed_ = false;
  bool finished_ = false;
  bool failed_ = false;
  bool published_ = false;
  static constexpr std::size_t kBufferSize = 256 * 1024;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::size_t used_ = 0;
};

}  // namespace quillmere
