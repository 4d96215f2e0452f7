#pragma once

#include <array>
#include <cstdint>

namespace quillmere {

struct TRGB {
  std::uint8_t Red = 0;
  std::uint8_t Green = 0;
  std::uint8_t Blue = 0;

  bool operator==(const TRGB&) const = default;
};

using TPalette = std::array<TRGB, 256>;

// The game's 256-colour palette, shipped with the program. Entry 0 is the
// transparent key colour of 8-bit frames. Loaded on first use.
const TPalette& ShapePalette();

// The entry nearest to a colour by squared RGB distance, the lowest index
// among equals.
std::uint8_t NearestPaletteIndex(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// Loads the palette now (start-up does this so no paint pays for it).
void LoadShapePalette();

}  // namespace quillmere
