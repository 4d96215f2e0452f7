#include <array>
#include <cmath>

#include "model/frame_decoding.h"
#include "model/thumbnail.h"
#include "support/frames.h"

namespace quillmere::test {

using Rgb = std::array<int, 3>;
static const char* const kChannels[] = {"red", "green", "blue"};
static const Rgb kGrey{128, 128, 128}, kBlue{0, 120, 215}, kRed{255, 0, 0}, kBlack{0, 0, 0};

// How many pixels of the rectangle differ from `c`.
static int CountUnlike(const TPicture& p, Rgb c, int x0 = 0, int y0 = 0, int x1 = 120, int y1 = 120) {
  int count = 0;
  for (int y = y0; y < y1; ++y)
    for (auto* q = p.Row(y) + 3 * x0; q < p.Row(y) + 3 * x1; q += 3) count += Rgb{q[0], q[1], q[2]} != c;
  return count;
}

// Each row: picture width and height, then the fit's left, top, width, height.
// 100 x 300 checks that 120 x (1/3) is below 40, as only in extended precision.
TEST(ThumbnailFit, ShrinksKeepingProportionsAndCentres) {
  const std::array<int, 6> cases[] = {{60, 40, 30, 40, 60, 40},   {240, 120, 0, 30, 120, 60},
                                      {200, 150, 0, 15, 120, 90}, {100, 300, 41, 0, 39, 120},
                                      {121, 10, 0, 56, 120, 9},   {1000, 1, 0, 60, 120, 0},
                                      {1, 1000, 60, 0, 0, 120},   {65535, 0, 0, 60, 120, 0}};
  for (const auto& [w, h, left, top, width, height] : cases)
    EXPECT_EQ(FitThumbnail(w, h), (TThumbnailFit{left, top, width, height})) << w << "x" << h;
  EXPECT_EQ(FitThumbnail(300, 100, 60, 10), (TThumbnailFit{15, 0, 30, 10}));  // too high once narrowed
}

// A 1 x 1 frame lands on (60, 60): the pixel there is its colour mixed with
// the cell's background by the effective alpha and rounded to the nearest
// level (never exactly halfway, as 255 x 255 is odd); the rest is background.
TEST(Thumbnail, KeyAlphaAndOpacityBlendOverTheBackground) {
  const std::tuple<TPatchSubFrame, Rgb, double> cases[] = {
      {Frame(1, 1, 1, {0}), kRed, 0},  // palette entry 0 is the key
      {Frame(1, 1, 1, {249}, 0, 0), kRed, 0},
      {Frame(1, 1, 1, {249}, 0, 128), kRed, 128 / 255.0},
      {Frame(1, 1, 2, {0, 0, 0}), kRed, 0},  // black is the key
      {Frame(1, 1, 2, {0, 0, 255}, 0, 64), kRed, 64 / 255.0},
      {Frame(1, 1, 3, {0, 0, 255, 128}), kRed, 128 / 255.0},
      {Frame(1, 1, 7, {0, 0, 255, 200}, 0, 100), kRed, 200 / 255.0 * 100 / 255.0},
      // Rounding the opacity's share on its own first would be one level off here.
      {Frame(1, 1, 7, {0, 0, 255, 3}, 0, 100), kRed, 3 / 255.0 * 100 / 255.0},
      {Frame(1, 1, 3, {}, 2), {255, 255, 255}, 1}};  // "UNSUPPORTED" has no alpha plane: opaque
  ScriptedUserInterface ui;
  for (const auto& [frame, colour, alpha] : cases) {
    for (bool selected : {false, true}) {
      SCOPED_TRACE(::testing::Message() << "format " << frame.Format << ", pixels "
                                        << ::testing::PrintToString(frame.Pixels) << ", opacity "
                                        << int(frame.Opacity) << (selected ? ", selected" : ""));
      const Rgb back = selected ? kBlue : kGrey;
      const TPicture cell = RenderThumbnail(&frame, {.Selected = selected}, ui);
      for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(int{cell.Row(60)[180 + i]}, std::lround(colour[i] * alpha + back[i] * (1 - alpha)))
            << kChannels[i];
      }
      EXPECT_EQ(CountUnlike(cell, back) - CountUnlike(cell, back, 60, 60, 61, 61), 0);
    }
  }
}

// The bold black "ANI" at the bottom left marks a drawn shape cell of several
// frames; frame cells never carry it, and a column past the last frame is
// blank. The large highlight covers the outer three pixels.
TEST(Thumbnail, AnimatedMarkAndLargeHighlight) {
  const int top = 120 - TextHeight() - 3, right = 3 + TextWidth("ANI", true);
  const TPatchSubFrame dot = Frame(1, 1, 1, {249});
  // A 1 x 1000 frame fits to 0 x 120, which stops before the mark.
  const std::pair<TPatchFrame, bool> cases[] = {{Shape({}), false},
                                                {Shape({dot}), false},
                                                {Shape({Frame(1, 1, 1, {0}), dot}), true},
                                                {Shape({Frame(1, 1000, 1, Bytes(1000, 249)), dot}), false},
                                                {Shape({Frame(1, 1, 5, {}), dot}), false}};
  ScriptedUserInterface ui;
  for (int i = 0; const auto& [shape, marked] : cases) {
    SCOPED_TRACE(i++);
    const TPicture picture = RenderShapeCell(shape, {}, ui);
    const int mark = CountUnlike(picture, kGrey, 3, top, right, 117);
    EXPECT_EQ(mark > 0, marked);
    EXPECT_EQ(mark, CountUnlike(picture, kGrey) - CountUnlike(picture, kGrey, 60, 60, 61, 61));
    EXPECT_EQ(CountUnlike(picture, kBlack, 3, top, right, 117) + mark, (right - 3) * (117 - top));
    EXPECT_EQ(CountUnlike(RenderFrameCell(shape, 1, {}, ui), kGrey, 0, 61), 0);
    EXPECT_EQ(CountUnlike(RenderFrameCell(shape, 2, {}, ui), kGrey), 0);
  }
  TPicture cell = RenderFrameCell(Shape({}), 0, {}, ui);
  DrawLargeHighlight(cell, {255, 0, 0});
  EXPECT_EQ(CountUnlike(cell, kGrey, 3, 3, 117, 117), 0);
  EXPECT_EQ(CountUnlike(cell, kRed), 114 * 114);
}

}  // namespace quillmere::test
