#include "export/bmp_writer.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "formats/atomic_file_writer.h"
#include "interface/platform_error.h"
#include "model/shape_palette.h"

namespace quillmere {
namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kColourTableBytes = 256 * 4;

}  // namespace

void WriteBmp(const TPicture& picture, const std::string& path) {
  const bool indexed = picture.Depth == TPictureDepth::Indexed8;
  const std::uint64_t width = picture.Width > 0 ? static_cast<std::uint64_t>(picture.Width) : 0;
  const std::uint64_t height = picture.Height > 0 ? static_cast<std::uint64_t>(picture.Height) : 0;
  // Every row is padded to a multiple of 4 bytes.
  const std::uint64_t stride = (width * (indexed ? 1 : 3) + 3) / 4 * 4;
  const std::uint64_t offset = kFileHeaderBytes + kInfoHeaderBytes + (indexed ? kColourTableBytes : 0);
  const std::uint64_t imageBytes = stride * height;
  if (offset + imageBytes > 0x7FFFFFFFu)
    throw WriteError("The picture is too large for a bitmap file: " + path);

  const std::size_t rowBytes = static_cast<std::size_t>(width) * (indexed ? 1 : 3);
  if (picture.Pixels.size() < rowBytes * height)
    throw std::logic_error("a picture smaller than its size says");

  AtomicFileWriter out(path);
  out.Write("BM", 2);
  out.WriteU32(static_cast<std::uint32_t>(offset + imageBytes));
  out.WriteU32(0);  // two reserved words
  out.WriteU32(static_cast<std::uint32_t>(offset));

  out.WriteU32(kInfoHeaderBytes);
  out.WriteI32(static_cast<std::int32_t>(width));
  out.WriteI32(static_cast<std::int32_t>(height));  // positive: rows stored bottom-up
  out.WriteU16(1);                                  // planes
  out.WriteU16(indexed ? 8 : 24);
  out.WriteU32(0);  // no compression
  out.WriteU32(static_cast<std::uint32_t>(imageBytes));
  out.WriteI32(0);  // no resolution: frames are screen pixels
  out.WriteI32(0);
  out.WriteU32(indexed ? 256 : 0);  // colours used
  out.WriteU32(0);                  // all colours important

  if (indexed) {
    for (const TRGB& entry : ShapePalette()) {
      const std::uint8_t quad[4] = {entry.Blue, entry.Green, entry.Red, 0};
      out.Write(quad, sizeof quad);
    }
  }

  std::vector<std::uint8_t> row(static_cast<std::size_t>(stride), 0);
  for (std::uint64_t y = height; y-- > 0;) {
    const std::uint8_t* source = picture.Row(static_cast<int>(y));
    if (indexed) {
      if (rowBytes > 0) std::memcpy(row.data(), source, rowBytes);
    } else {
      for (std::size_t i = 0; i < rowBytes; i += 3) {
        row[i] = source[i + 2];
        row[i + 1] = source[i + 1];
        row[i + 2] = source[i];
      }
    }
    out.Write(row.data(), row.size());
  }
  out.Commit();
}

}  // namespace quillmere
