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
          {pixels.begin(), pixels.end()}};
}

inline TPatchFrame Shape(std::vector<TPatchSubFrame> frames, TKSScript script = {}) {
  return {0, -1, std::move(frames), std::move(script)};
}

}  // namespace quillmere::test
