#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillmere {

// Pixel layouts of a picture.
enum class TPictureDepth {
  Indexed8,  // one game-palette index per pixel (or an alpha value, for alpha planes)
  Rgb24,     // red, green, blue per pixel
};

// A decoded image: rows top to bottom, pixels left to right, no row padding.
// Indexed pictures use the game palette (ShapePalette).
struct TPicture {
  int Width = 0;
  int Height = 0;
  TPictureDepth Depth = TPictureDepth::Indexed8;
  std::vector<std::uint8_t> Pixels;

  TPicture() = default;
  // A picture of the given size, every byte 0.
  TPicture(int width, int height, TPictureDepth depth);

  int BytesPerPixel() const { return Depth == TPictureDepth::Rgb24 ? 3 : 1; }
  std::size_t RowBytes() const { return static_cast<std::size_t>(Width) * static_cast<std::size_t>(BytesPerPixel()); }
  std::uint8_t* Row(int y) { return Pixels.data() + static_cast<std::size_t>(y) * RowBytes(); }
  const std::uint8_t* Row(int y) const { return Pixels.data() + static_cast<std::size_t>(y) * RowBytes(); }
  bool Empty() const { return Width <= 0 || Height <= 0; }

  bool operator==(const TPicture&) const = default;
};

}  // namespace quillmere
