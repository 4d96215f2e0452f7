#pragma once

#include <memory>
#include <optional>
#include <string>

#include "formats/atomic_file_writer.h"
#include "formats/file_reader.h"
#include "interface/user_interface.h"
#include "model/patch_frame.h"

namespace quillmere {

// The FBJ file beside an FSH or FS2 file: same folder and base name,
// extension ".fbj".
std::string FBJFileName(const std::string& shapeFileName);

// Reads flags and first-frame furre positions from the FBJ companion while an
// FSH or FS2 file is read. Record k (from 1) belongs to object number k: the
// k-th shape of an FSH file, the shape whose replacement index is k in FS2.
class TFBJReader {
 public:
  // Looks for the companion of `shapeFileName`. Returns nothing when there is
  // none or it is not to be used (an unrecognised signature or version, which
  // is reported; a newer version the person declined to try).
  static std::optional<TFBJReader> Open(const std::string& shapeFileName, UserInterface& ui);

  // FSH: the next record, one per shape in file order.
  void ReadNextRecord(TPatchFrame& shape);
  // FS2: the record of the shape's object number, its replacement index read
  // as unsigned. Records before it are skipped; a record beyond the end of
  // the file leaves flags and furre position 0.
  void ReadObjectRecord(TPatchFrame& shape);

 private:
  TFBJReader(std::unique_ptr<FileReader> file, int version)
      : file_(std::move(file)), version_(version) {}
  bool CanRead() const { return version_ >= 1 && !file_->AtEnd(); }
  void ReadRecord(TPatchFrame& shape);
  void SkipRecord();

  std::unique_ptr<FileReader> file_;
  int version_ = 0;
  unsigned consumed_ = 0;  // FS2: records consumed so far
};

// Writes the FBJ companion of an FSH file; shapes without frames write 0 for
// the furre bytes their flags announce.
void WriteFBJ(AtomicFileWriter& out, const TShapeList& shapes);

}  // namespace quillmere
