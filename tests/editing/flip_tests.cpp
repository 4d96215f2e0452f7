#include <gtest/gtest.h>

#include <random>

#include "app/scripted_user_interface.h"
#include "editing/flip.h"

namespace quillmere {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Positions and opacity set, so a flip that touches them shows.
TPatchSubFrame Frame(int w, int h, const Bytes& pixels, std::int32_t format = 1, std::uint8_t encoding = 0) {
  return {static_cast<std::uint16_t>(h), static_cast<std::uint16_t>(w), 3, -4, 5, -6, format, 200, encoding,
          {pixels.begin(), pixels.end()}};
}

// Beside a 3 x 2 frame: a colour frame, a payload of the wrong length and a
// PNG payload, which are all left alone.
TEST(Flip, ThreeByTwoFrameFlipsAndOthersAreSkipped) {
  TPatchFrame shape{0,
                    -1,
                    {Frame(3, 2, {1, 2, 3, 4, 5, 6}), Frame(1, 1, {1, 2, 3}, 2), Frame(3, 2, {1, 2, 3, 4, 5}),
                     Frame(3, 2, {1, 2, 3, 4, 5, 6}, 1, 1)},
                    {}};
  const TPatchFrame before = shape;
  ScriptedUserInterface ui;
  TPatchSubFrame turned = before.Frames[0];
  FlipFrameVertically(turned, ui);
  EXPECT_EQ(turned, Frame(3, 2, {6, 5, 4, 3, 2, 1}));
  FlipShapeHorizontally(shape, ui);
  EXPECT_EQ(shape.Frames[0], Frame(3, 2, {3, 2, 1, 6, 5, 4}));
  FlipShapeVertically(shape, ui);  // a half turn: after the mirror only the rows stay reversed
  EXPECT_EQ(shape.Frames[0], Frame(3, 2, {4, 5, 6, 1, 2, 3}));
  shape.Frames[0] = before.Frames[0];
  EXPECT_EQ(shape, before);
  ASSERT_EQ(ui.DebugLines().size(), 6u);
  EXPECT_EQ(ui.DebugLines()[0], "FlipHoriz: Unsupported format! (2)");
  EXPECT_EQ(ui.DebugLines()[3], "FlipVert: Unsupported format! (2)");
}

// Random sizes, odd and even, empty ones included.
TEST(Flip, RandomFramesFlipOnceAndBackTwice) {
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    const int w = static_cast<int>(random() % 9), h = static_cast<int>(random() % 9);
    Bytes pixels(static_cast<std::size_t>(w * h)), mirrored(pixels.size());
    for (auto& p : pixels) p = static_cast<std::uint8_t>(random());
    for (std::size_t i = 0; i < pixels.size(); ++i) mirrored[i] = pixels[i - i % w + (w - 1 - i % w)];
    ScriptedUserInterface ui;
    TPatchSubFrame horizontal = Frame(w, h, pixels), vertical = horizontal;
    FlipFrameHorizontally(horizontal, ui);
    FlipFrameVertically(vertical, ui);
    EXPECT_EQ(horizontal, Frame(w, h, mirrored));
    EXPECT_EQ(vertical, Frame(w, h, Bytes(pixels.rbegin(), pixels.rend())));
    FlipFrameHorizontally(horizontal, ui);
    FlipFrameVertically(vertical, ui);
    EXPECT_EQ(horizontal, Frame(w, h, pixels));
    EXPECT_EQ(vertical, Frame(w, h, pixels));
  }
}

}  // namespace
}  // namespace quillmere
