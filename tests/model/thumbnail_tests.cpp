#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "app/scripted_user_interface.h"
#include "model/frame_decoding.h"
#include "model/thumbnail.h"

namespace quillmere {
namespace {

const TRGB kGrey{128, 128, 128}, kBlue{0, 120, 215}, kRed{255, 0, 0}, kBlack{};

TPatchSubFrame Frame(int width, int height, std::int32_t format, std::vector<std::uint8_t> payload,
                     std::uint8_t opacity = 255) {
  TPatchSubFrame frame{std::uint16_t(height), std::uint16_t(width), 0, 0, 0, 0, format, opacity, 0, {}};
  frame.Pixels.assign(payload.begin(), payload.end());
  return frame;
}

// A format-1 frame filled with one palette index (249 is red, 0 the key).
TPatchSubFrame Plain(int width, int height, std::uint8_t index) {
  return Frame(width, height, kFormatIndexed, std::vector<std::uint8_t>(std::size_t(width) * height, index));
}

TRGB At(const TPicture& picture, int x, int y) {
  const std::uint8_t* p = picture.Row(y) + x * 3;
  return {p[0], p[1], p[2]};
}

int CountUnlike(const TPicture& picture, TRGB colour, int left = 0, int top = 0, int right = 120,
                int bottom = 120) {
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) count += At(picture, x, y) == colour ? 0 : 1;
  return count;
}

TPicture Render(const TPatchSubFrame* frame, bool selected = false) {
  ScriptedUserInterface ui;
  return RenderThumbnail(frame, {120, 120, kGrey, kBlue, selected, false}, ui);
}

TEST(ThumbnailFit, ShrinksKeepingProportionsAndCentres) {
  const struct {
    int W, H, CellW, CellH;
    TThumbnailFit Fit;
  } cases[] = {
      {120, 120, 120, 120, {0, 0, 120, 120}}, {60, 40, 120, 120, {30, 40, 60, 40}},
      {240, 120, 120, 120, {0, 30, 120, 60}}, {200, 150, 120, 120, {0, 15, 120, 90}},
      {100, 300, 120, 120, {41, 0, 39, 120}},  // 120 x (1/3) is below 40 only in extended precision
      {121, 10, 120, 120, {0, 56, 120, 9}},   {1000, 1, 120, 120, {0, 60, 120, 0}},
      {1, 1000, 120, 120, {60, 0, 0, 120}},   {65535, 0, 120, 120, {0, 60, 120, 0}},
      {120, 120, 60, 30, {15, 0, 30, 30}},    {300, 100, 60, 10, {15, 0, 30, 10}},
  };
  for (const auto& c : cases) {
    const TThumbnailFit f = FitThumbnail(c.W, c.H, c.CellW, c.CellH);
    EXPECT_EQ(f, c.Fit) << c.W << "x" << c.H << " gave " << f.Width << "x" << f.Height << " at " << f.Left
                        << "," << f.Top;
  }
}

// A 1 x 1 frame lands on (60, 60): the pixel there is the frame's colour
// mixed with the cell's background by the effective alpha, and the rest of
// the cell is background.
TEST(Thumbnail, KeyAlphaAndOpacityBlendOverTheBackground) {
  const struct {
    TPatchSubFrame Frame;
    double Alpha;
  } cases[] = {
      {Plain(1, 1, 0), 0},
      {Plain(1, 1, 249), 1},
      {Frame(1, 1, kFormatIndexed, {249}, 0), 0},
      {Frame(1, 1, kFormatIndexed, {249}, 128), 128 / 255.0},
      {Frame(1, 1, kFormatColour, {0, 0, 0}), 0},
      {Frame(1, 1, kFormatColour, {0, 0, 255}, 64), 64 / 255.0},
      {Frame(1, 1, kFormatColourAlpha, {0, 0, 255, 128}), 128 / 255.0},
      {Frame(1, 1, kFormatColourAlpha7, {0, 0, 255, 200}, 100), 200 / 255.0 * 100 / 255.0},
      {Frame(1, 1, 5, {0, 0, 255}), 0},
  };
  for (const auto& c : cases) {
    for (bool selected : {false, true}) {
      SCOPED_TRACE(testing::Message() << (&c - cases) << (selected ? " selected" : ""));
      const TRGB back = selected ? kBlue : kGrey;
      const TPicture cell = Render(&c.Frame, selected);
      const TRGB got = At(cell, 60, 60);
      EXPECT_NEAR(got.Red, 255 * c.Alpha + back.Red * (1 - c.Alpha), 1.0);
      EXPECT_NEAR(got.Green, back.Green * (1 - c.Alpha), 1.0);
      EXPECT_NEAR(got.Blue, back.Blue * (1 - c.Alpha), 1.0);
      EXPECT_EQ(CountUnlike(cell, back) - CountUnlike(cell, back, 60, 60, 61, 61), 0);
    }
  }
}

TEST(Thumbnail, AnimatedMarkOnlyOnDrawnShapeCellsWithSeveralFrames) {
  const int top = 120 - TextHeight() - 3, right = 3 + TextWidth("ANI", true);
  const TPatchSubFrame dot = Plain(1, 1, 249);
  const struct {
    std::vector<TPatchSubFrame> Frames;
    bool Marked;
  } cases[] = {
      {{dot}, false},
      {{Plain(1, 1, 0), dot}, true},
      {{Plain(1000, 1, 249), dot}, true},   // 120 x 0 draws no picture, but still the mark
      {{Plain(1, 1000, 249), dot}, false},  // 0 x 120 stops before the mark
      {{Frame(1, 1, 5, {}), dot}, false},
  };
  ScriptedUserInterface ui;
  const TThumbnailCell cell{120, 120, kGrey, kBlue, false, false};
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    const TPatchFrame shape{0, -1, c.Frames, {}};
    const TPicture picture = RenderShapeCell(shape, cell, ui);
    const int mark = CountUnlike(picture, kGrey, 3, top, right, 117);
    EXPECT_EQ(mark > 0, c.Marked);
    EXPECT_EQ(mark, CountUnlike(picture, kGrey) - CountUnlike(picture, kGrey, 60, 60, 61, 61));
    EXPECT_EQ(CountUnlike(picture, kBlack, 3, top, right, 117) + mark, (right - 3) * (117 - top));  // black
    EXPECT_EQ(CountUnlike(RenderFrameCell(shape, 1, cell, ui), kGrey, 0, 61), 0);
    EXPECT_EQ(CountUnlike(RenderFrameCell(shape, 2, cell, ui), kGrey), 0);
  }
}

// The 100 x 40 area at (10, 40) shows the frame's "UNSUPPORTED" picture, its
// text from row 10; the same frame raw is all key colour or alpha 0.
TEST(Thumbnail, UndecodableEncodingShowsTheUnsupportedPicture) {
  for (std::int32_t format : {kFormatIndexed, kFormatColour, kFormatColourAlpha}) {
    SCOPED_TRACE(format);
    TPatchSubFrame frame = Frame(100, 40, format, {});
    EXPECT_EQ(CountUnlike(Render(&frame), kGrey), 0);
    frame.Encoding = 2;
    const TPicture cell = Render(&frame);
    const TRGB paper = At(cell, 10, 40);
    EXPECT_NE(paper, kGrey);
    EXPECT_EQ(CountUnlike(cell, kGrey) - CountUnlike(cell, kGrey, 10, 40, 110, 80), 0);
    EXPECT_EQ(CountUnlike(cell, paper, 10, 40, 110, 50), 0);
    EXPECT_GT(CountUnlike(cell, paper, 10, 50, 10 + TextWidth("UNSUPPORTED"), 50 + TextHeight()), 0);
  }
}

TEST(Thumbnail, LargeHighlightCoversTheOuterThreePixels) {
  TPicture cell = Render(nullptr);
  DrawLargeHighlight(cell, kRed);
  EXPECT_EQ(CountUnlike(cell, kGrey, 3, 3, 117, 117), 0);
  for (const auto& [left, top, right, bottom] : {std::array{0, 0, 120, 3}, std::array{0, 117, 120, 120},
                                                 std::array{0, 0, 3, 120}, std::array{117, 0, 120, 120}})
    EXPECT_EQ(CountUnlike(cell, kRed, left, top, right, bottom), 0) << left << "," << top;
}

}  // namespace
}  // namespace quillmere
