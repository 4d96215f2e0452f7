#pragma once

// What the picture tests share: frames and shapes made in one line.
#include <gtest/gtest.h>

#include "interface/scripted_user_interface.h"
#include "model/patch_frame.h"
#include "support/test_files.h"

namespace quillmere::test {

// The positions are distinct and not 0, so an operation that moves, clears or
// mixes them up shows.
inline TPatchSubFrame Frame(int width, int height, std::int32_t format, const Bytes& pixels,
                            std::uint8_t encoding = kEncodingRaw, std::uint8_t opacity = 255) {
  return {std::uint16_t(height),         std::uint16_t(width), 3, -4, 5, -6, format, opacity, encoding,
          ByteBuffer(pixels.begin(), pixels.end())};
}

// A raw frame at (x, y); one-row or one-colour frames read the same either way
// up.
inline TPatchSubFrame Placed(int width, int height, int x, int y, const Bytes& pixels,
                             std::int32_t format = kFormatIndexed) {
  // clang-format off
  return {std::uint16_t(height), std::uint16_t(width), std::int16_t(x), std::int16_t(y), 0, 0, format, 255,
          kEncodingRaw, ByteBuffer(pixels.begin(), pixels.end())};
  // clang-format on
}

inline TPatchSubFrame Solid(int width, int height, int x, int y, std::uint8_t index) {
  return Placed(width, height, x, y, Bytes(static_cast<std::size_t>(width * height), index));
}

inline TPatchFrame Shape(std::vector<TPatchSubFrame> frames, TKSScript script = {}) {
  return {0, -1, std::move(frames), std::move(script)};
}

}  // namespace quillmere::test
