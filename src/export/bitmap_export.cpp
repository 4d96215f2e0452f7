#include "export/bitmap_export.h"

#include "export/bmp_writer.h"
#include "formats/file_name.h"
#include "model/frame_decoding.h"

namespace quillmere {

std::string StripExtension(const std::string& name) {
  const std::string extension = ExtractFileExt(name);
  return name.substr(0, name.size() - extension.size());
}

std::string FrameBitmapName(const std::string& chosenName, std::size_t index) {
  return StripExtension(chosenName) + "-" + std::to_string(index) + ExtractFileExt(chosenName);
}

std::vector<std::string> ExportShapeBitmaps(const TPatchFrame& shape, const std::string& chosenName,
                                            UserInterface& ui) {
  std::vector<std::string> written;
  for (std::size_t j = 0; j < shape.Frames.size(); ++j) {
    // Only the colour plane is exported: a bitmap has no room for the alpha.
    const TDecodedFrame decoded = DecodeFrame(shape.Frames[j], ui);
    if (!decoded.Picture) continue;
    std::string name = FrameBitmapName(chosenName, j);
    WriteBmp(*decoded.Picture, name);
    written.push_back(std::move(name));
  }
  return written;
}

}  // namespace quillmere
