#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/gif_export.h"
#include "export/script_preview.h"
#include "kitterspeak/playback.h"
#include "model/frame_decoding.h"
#include "model/ks_commands.h"
#include "model/shape_palette.h"
#include "support/frames.h"

namespace quillmere {
namespace {

using namespace test;

TKSStep C(int code, int a = 0, int b = 0) { return {std::int16_t(code), std::int16_t(a), std::int16_t(b)}; }
TKSStep S(int frame) { return C(ksShowFrame, frame); }
TKSStep D(int ms) { return C(ksDelay, ms); }

// Three frames of different sizes and places; the left-most and top-most
// positions are (-2, 1), so the canvas shift is (2, -1).
TPatchFrame Shape3() {
  return Shape({Solid(2, 2, 0, 1, 10), Solid(3, 1, -2, 4, 20), Solid(1, 3, 5, 2, 30)});
}

// Up to `limit` frames of a preview, "frame@x,y:delay" each, then "|" if it ended.
std::string Frames(TScriptPreview& preview, int limit = 8) {
  std::string out;
  for (int i = 0; i < limit; ++i) {
    const auto frame = preview.Next();
    if (!frame) break;
    out += std::to_string(frame->Frame) + "@" + std::to_string(frame->X) + "," + std::to_string(frame->Y) + ":" +
           std::to_string(frame->Delay) + " ";
  }
  return out + (preview.Ended() ? "|" : "");
}

TEST(ScriptPreview, PlaysTheGivenScriptAsPlaybackDoes) {
  const TPatchFrame shape = Shape3();  // its own script is empty: the preview plays the one it is given
  // clang-format off
  const struct { TKSScript Script; std::string Shown; } cases[] = {
      {{S(0), D(100), S(1), D(200)}, "0@2,0:100 1@0,3:200 0@2,0:100 1@0,3:200 "},
      // Default delays, a new default, and a Set X keeping the Y already held.
      {{S(2), C(ksDefaultDelay, 70), C(ksFrameX, -1), S(0)}, "2@7,1:10 0@1,1:70 2@7,1:70 0@1,1:70 "},
      // Delays of 0 or below, direct or by default, still show the frame a while.
      {{C(ksDefaultDelay, -5), S(1), S(0), D(0)}, "1@0,3:10 0@2,0:10 1@0,3:10 0@2,0:10 "},
      // Play ends at a Stop, at a frame the shape lacks, with no steps at all,
      // and in a loop that never shows a frame; the frame before the end is shown.
      {{S(1), C(ksStop)}, "1@0,3:10 |"},
      {{S(0), D(40), S(3)}, "0@2,0:40 |"},
      {{}, "|"},
      {{D(5), C(ksJumpToStep, 0)}, "|"},
  };
  // clang-format on
  for (const auto& c : cases) {
    TScriptPreview preview(shape, c.Script);
    EXPECT_EQ(Frames(preview, 4), c.Shown);
    // An ended preview stays ended.
    if (preview.Ended()) {
      EXPECT_EQ(preview.Next(), std::nullopt);
    }
    EXPECT_TRUE(shape.Script.empty());
  }
}

TEST(ScriptPreview, RunsWithoutEndPastTheExportsStepLimit) {
  const TPatchFrame shape = Shape3();
  TScriptPreview preview(shape, {S(0), C(ksFurreX, 1), C(ksJumpToStep, 0)});
  // Three steps a frame: this is more steps than one frame may take and than
  // an export may run.
  const int frames = kMaxMaxSteps / 3 + 10;
  for (int i = 0; i < frames; ++i) ASSERT_TRUE(preview.Next().has_value()) << i;
  EXPECT_FALSE(preview.Ended());
}

TEST(ScriptPreview, ComposesEachFrameAsTheExportDoesAndOnlyOnce) {
  TPatchFrame shape = Shape3();
  // A colour frame takes the nearest palette entries, as in the export.
  shape.Frames.push_back(Placed(1, 1, 0, 1, {0, 0, 255}, kFormatColour));
  TScriptPreview preview(shape, {S(0), S(1), C(ksFrameX, 3), S(2), S(3)});
  EXPECT_EQ(preview.Canvas(), (TCanvasSize{3, 3}));
  ScriptedUserInterface ui;
  PaletteMatcher matcher;
  for (int i = 0; i < 4; ++i) {
    const TPreviewFrame frame = *preview.Next();
    TPicture bitmap = FrameToBitmap(shape.Frames[static_cast<std::size_t>(frame.Frame)], ui);
    matcher.Convert(bitmap);
    const TPicture& shown = preview.Picture(frame, ui);
    EXPECT_EQ(shown, PlaceFrameOnCanvas(bitmap, frame.X, frame.Y, 3, 3)) << i;
    EXPECT_EQ(shown.Depth, TPictureDepth::Indexed8);
    // The same frame at the same place is the very picture composed before.
    EXPECT_EQ(&preview.Picture(frame, ui), &shown) << i;
  }
  // Frame 2 set to X 3 lies right of the screen, which widens for it.
  EXPECT_EQ(preview.Picture({2, 5, 1, 10}, ui).Width, 6);
  // Pixels the alpha plane leaves less than half opaque are transparent.
  shape.Frames.push_back(Placed(3, 1, 0, 1, {0, 0, 255, 0, 0, 255, 0, 0, 255, 127, 128, 0}, kFormatColourAlpha));
  const TPicture& alpha = preview.Picture({4, 0, 0, 10}, ui);
  const std::uint8_t red = NearestPaletteIndex(255, 0, 0);
  EXPECT_EQ(std::vector<std::uint8_t>(alpha.Row(0), alpha.Row(0) + 3), (std::vector<std::uint8_t>{0, red, 0}));
  EXPECT_TRUE(ui.Shown().empty());
}

TEST(ScriptPreview, RefusesCanvasesTooLargeAndFramesTheShapeLacks) {
  // A damaged frame announcing 65535 x 65535 pixels with none behind them.
  TPatchFrame shape = Shape({Placed(65535, 65535, 0, 0, {})});
  TScriptPreview preview(shape, {S(0)});
  ScriptedUserInterface ui;
  const TPreviewFrame frame = *preview.Next();
  EXPECT_TRUE(preview.Picture(frame, ui).Empty());
  EXPECT_TRUE(preview.Picture({1, 0, 0, 10}, ui).Empty());
  // A frame of a format nobody knows shows nothing, and is decoded (and
  // reported) once however often it is shown.
  TPatchFrame unknown = Shape({Placed(1, 1, 0, 0, {7}, 9)});
  TScriptPreview shown(unknown, {S(0)});
  for (int i = 0; i < 3; ++i) EXPECT_EQ(shown.Picture(*shown.Next(), ui).Pixels, std::vector<std::uint8_t>{0});
  EXPECT_EQ(ui.DebugLines().size(), 1u);
  EXPECT_TRUE(preview.Picture({-1, 0, 0, 10}, ui).Empty());
}

}  // namespace
}  // namespace quillmere
