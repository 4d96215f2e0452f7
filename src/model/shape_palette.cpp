#include "model/shape_palette.h"

#include <stdexcept>
#include <string_view>

namespace quillmere::embedded {
extern const std::string_view furc_pal;
}  // namespace quillmere::embedded

namespace quillmere {
namespace {

TPalette Parse(std::string_view data) {
  if (data.size() != 256 * 3) throw std::logic_error("the shipped game palette is damaged");
  TPalette palette;
  for (std::size_t i = 0; i < palette.size(); ++i) {
    palette[i] = TRGB{static_cast<std::uint8_t>(data[i * 3]), static_cast<std::uint8_t>(data[i * 3 + 1]),
                      static_cast<std::uint8_t>(data[i * 3 + 2])};
  }
  return palette;
}

}  // namespace

const TPalette& ShapePalette() {
  static const TPalette palette = Parse(embedded::furc_pal);
  return palette;
}

std::uint8_t NearestPaletteIndex(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  const TPalette& palette = ShapePalette();
  std::size_t best = 0;
  int bestDistance = 3 * 255 * 255 + 1;
  for (std::size_t i = 0; i < palette.size(); ++i) {
    const int dr = palette[i].Red - red, dg = palette[i].Green - green, db = palette[i].Blue - blue;
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return static_cast<std::uint8_t>(best);
}

void LoadShapePalette() { ShapePalette(); }

}  // namespace quillmere
