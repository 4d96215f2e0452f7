#pragma once

#include <cstdint>

#include "model/payload.h"

namespace quillmere {

// Pixel format codes of a frame's payload.
enum TFrameFormat : std::int32_t {
  kFormatIndexed = 1,     // one 8-bit plane of game-palette indices
  kFormatColour = 2,      // one 24-bit plane, blue-green-red
  kFormatColourAlpha = 3, // 24-bit plane followed by an 8-bit alpha plane
  kFormatColourAlpha7 = 7 // the same layout as 3
};

// Payload encodings.
enum TFrameEncoding : std::uint8_t {
  kEncodingRaw = 0,
  kEncodingPNG = 1  // one PNG stream per plane, back to back
};

// One image of a shape. `Pixels` holds the payload exactly as the file stored
// it; nothing is decoded on load, and a save writes the same bytes back.
// Copies of a frame share the payload until one of them edits it.
struct TPatchSubFrame {
  std::uint16_t Height = 0;
  std::uint16_t Width = 0;
  std::int16_t ShapePosX = 0;
  std::int16_t ShapePosY = 0;
  std::int16_t FurrePosX = 0;
  std::int16_t FurrePosY = 0;
  std::int32_t Format = kFormatIndexed;
  // Readers set 255 (fully opaque) unless the file carries a value.
  std::uint8_t Opacity = 0;
  std::uint8_t Encoding = kEncodingRaw;
  TPayload Pixels;

  bool operator==(const TPatchSubFrame&) const = default;
};

}  // namespace quillmere
