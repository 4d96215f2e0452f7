#include "export/png_writer.h"

#include <png.h>

#include <vector>

#include "formats/atomic_file_writer.h"
#include "interface/platform_error.h"
#include "model/shape_palette.h"

namespace quillmere {

void WritePNGFile(const std::string& fileName, const TPicture& picture) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.Width);
  image.height = static_cast<png_uint_32>(picture.Height);
  std::vector<png_byte> colourMap;
  if (picture.Depth == TPictureDepth::Rgb24) {
    image.format = PNG_FORMAT_RGB;
  } else {
    image.format = PNG_FORMAT_RGB_COLORMAP;
    image.colormap_entries = 256;
    for (const TRGB& entry : ShapePalette()) colourMap.insert(colourMap.end(), {entry.Red, entry.Green, entry.Blue});
  }
  const void* colours = colourMap.empty() ? nullptr : colourMap.data();
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, picture.Pixels.data(), 0, colours)) {
    throw WriteError("Unable to save \"" + fileName + "\": " + image.message);
  }
  std::vector<png_byte> bytes(size);
  if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, picture.Pixels.data(), 0, colours)) {
    throw WriteError("Unable to save \"" + fileName + "\": " + image.message);
  }
  AtomicFileWriter out(fileName);
  out.Write(bytes.data(), size);
  out.Commit();
}

}  // namespace quillmere
