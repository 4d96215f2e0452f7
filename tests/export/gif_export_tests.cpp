#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <gif_lib.h>
#include <nlohmann/json.hpp>

#include "export/gif_export.h"
#include "export/gif_writer.h"
#include "interface/platform_error.h"
#include "interface/scripted_user_interface.h"
#include "model/ks_commands.h"
#include "model/shape_palette.h"
#include "support/frames.h"
#include "support/message_printing.h"
#include "support/test_files.h"

// Export options name only the fields that differ from the dialog's defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace quillmere {
namespace {

using namespace test;
using nlohmann::json;

TKSStep Step(TKSCommand command, int arg1 = 0) { return {command, static_cast<std::int16_t>(arg1), 0}; }

// Pillow's reading of a GIF: the screen, the first frame's extensions, the
// global colour table, per frame the image extent, duration (ms), transparent
// index, disposal and the colour-table index of every pixel of the composited
// frame, and the colour at each "frame x y" key of the expected "pixels".
// Frames stay indexed, as the file has no local colour tables.
constexpr std::string_view kReader = R"(
import json, sys
from PIL import Image, GifImagePlugin as G
G.LOADING_STRATEGY = G.LoadingStrategy.RGB_AFTER_DIFFERENT_PALETTE_ONLY
im, probes, frames, pixels = Image.open(sys.argv[1]), json.loads(sys.argv[2]).get("pixels", {}), [], {}
head = dict(size=im.size, loop=im.info.get("loop"), background=im.info.get("background"),
            comment=im.info.get("comment", b"").decode(), frames=im.n_frames)
for i in range(im.n_frames):
    im.seek(i)
    frames.append((im.tile[0][1], im.info["duration"], im.info.get("transparency", -1), im.disposal_method))
    im.load()
    frames[-1] += (list(im.getdata()),)
    pal = im.getpalette()
    pixels.update((p, pal[3 * im.getpixel(tuple(map(int, p.split()[1:]))):][:3]) for p in probes if p.startswith(f"{i} "))
columns = dict(zip(("extent", "duration", "transparency", "disposal", "indices"), zip(*frames)))
print(json.dumps(dict(head, pixels=pixels, colour0=im.getpalette()[:3], palette=im.getpalette(), **columns)))
)";

class GifExport : public ::testing::Test {
 protected:
  // Exports, has Pillow decode the file, and compares the facts every export
  // shares and those of `expected`.
  void ExpectDecoded(const TPatchFrame& shape, const TGifExportOptions& options, const json& expected) {
    SCOPED_TRACE(expected.dump());
    json want = expected;  // palette indices in the expectations become their colours
    for (auto& [probe, index] : want["pixels"].items()) {
      const TRGB& c = ShapePalette()[index.get<std::size_t>()];
      index = {c.Red, c.Green, c.Blue};
    }
    if (want["pixels"].is_null()) want.erase("pixels");
    ScriptedUserInterface ui;
    const TGifExportResult result = ExportAnimatedGif(shape, options, target_, ui);
    // A diagnostic comes once although the export plays the frames twice.
    EXPECT_TRUE(result.Written && ui.Shown().empty() && ui.DebugLines().size() <= 1);
    const std::string command =
        "/usr/bin/python3 -c '" + std::string(kReader) + "' '" + target_ + "' '" + expected.dump() + "'";
    std::string output(1 << 16, '\0');
    FILE* pipe = ::popen(command.c_str(), "r");
    output.resize(pipe ? std::fread(output.data(), 1, output.size(), pipe) : 0);
    if (pipe) ::pclose(pipe);
    json gif = json::parse(output, nullptr, false);
    ASSERT_TRUE(gif.contains("frames")) << "Pillow could not read the GIF";
    EXPECT_EQ(json({gif["frames"], gif["loop"], gif["background"], gif["comment"], gif["disposal"]}),
              json({result.Frames, 0, 0, kGifComment, std::vector<int>(result.Frames, 2)}));
    for (const auto& item : want.items()) EXPECT_EQ(gif[item.key()], item.value()) << item.key();
  }

  TempDir dir_;
  std::string target_ = dir_.File("out.gif");
};

TEST_F(GifExport, PillowDecodesWhatTheOptionsAskFor) {
  if (std::system("/usr/bin/python3 -c 'import PIL' 2>/dev/null") != 0) GTEST_SKIP() << "Pillow is missing";
  const std::vector<TPatchSubFrame> two = {Solid(10, 1, 0, 0, 3), Solid(10, 1, 0, 0, 4)};
  const TPatchSubFrame unknown = Placed(4, 4, 0, 0, Bytes(16, 5), 9);  // a format no decoder knows
  // clang-format off
  const struct { TPatchFrame Shape; TGifExportOptions Options; const char* Expected; } cases[] = {
      // Positions -10 and +5 with Width 40: the second frame at X 15 (3 rows lower) on a canvas,
      // and a screen, grown to 55 x 5. Direct Frames' Base Frame Delay (10) is in hundredths.
      {{0, -1, {Solid(40, 2, -10, 0, 7), Solid(40, 2, 5, 3, 9)}, {}}, {.KitterspeakMode = false},
       R"({"size": [55, 5], "extent": [[0, 0, 40, 2], [0, 0, 55, 5]], "duration": [100, 100],
           "transparency": [0, 0], "pixels": {"0 39 1": 7, "1 14 3": 0, "1 15 3": 9, "1 54 4": 9}})"},
      // Set frame X -20 shifts everything by 20: the first frame, placed by the step, lands at 0,
      // the second at its own X 0 at 20. Without Delay steps a frame lasts Base Frame Delay ms.
      {{0, -1, two, {Step(ksFrameX, -20), Step(ksShowFrame, 0), Step(ksShowFrame, 1)}}, {.MaxSteps = 3},
       R"({"size": [30, 1], "extent": [[0, 0, 10, 1], [0, 0, 30, 1]], "duration": [10, 10],
           "pixels": {"0 0 0": 3, "1 19 0": 0, "1 20 0": 4}})"},
      // Delay 5 ms rounds to 0 hundredths, 15 ms to 2.
      {{0, -1, two, {Step(ksShowFrame, 0), Step(ksDelay, 5), Step(ksShowFrame, 1), Step(ksDelay, 15)}},
       {.MaxSteps = 4}, R"({"duration": [0, 20]})"},
      // Ignore Pos: each frame at its own size; an undecodable one keeps its place as one pixel.
      {{0, -1, {Solid(3, 2, 100, -50, 6), Solid(5, 4, -30, 8, 8), unknown}, {}},
       {.KitterspeakMode = false, .BaseFrameDelay = 7, .IgnorePos = true},
       R"({"size": [5, 4], "extent": [[0, 0, 3, 2], [0, 0, 5, 4], [0, 0, 1, 1]], "duration": [70, 70, 70],
           "pixels": {"1 4 3": 8}})"},
      // Transparent off: the canvas shows mauve index 0. Hair 128 remaps to 12.
      {{0, -1, {Placed(2, 1, 0, 0, {128, 7}), Solid(2, 2, 1, 1, 6)}, {}},
       {.KitterspeakMode = false, .Transparent = false, .Remapped = true, .ColourCode = "t##"},
       R"({"transparency": [-1, -1], "colour0": [199, 144, 186],
           "pixels": {"0 0 0": 12, "0 1 0": 7, "1 0 0": 0, "1 1 1": 6}})"},
  };
  // clang-format on
  for (const auto& c : cases) ExpectDecoded(c.Shape, c.Options, json::parse(c.Expected));

  // A 24-bit frame takes the nearest palette entry, the lowest index among
  // equals (white is three entries), also for colours one step apart that
  // take different entries: (144 | 145, 95, 79), the second a tie, and
  // (0, 0, 125 | 126).
  const TRGB colours[] = {{255, 255, 255}, {144, 95, 79}, {145, 95, 79}, {0, 0, 125}, {0, 0, 126}};
  TPatchSubFrame colour = Placed(static_cast<int>(std::size(colours)), 1, 0, 0, {}, kFormatColour);
  json expected;
  for (const TRGB& c : colours) {
    const auto nearest = std::ranges::min_element(ShapePalette(), {}, [&](const TRGB& p) {
      return (p.Red - c.Red) * (p.Red - c.Red) + (p.Green - c.Green) * (p.Green - c.Green) +
             (p.Blue - c.Blue) * (p.Blue - c.Blue);
    });
    expected["pixels"]["0 " + std::to_string(&c - colours) + " 0"] = nearest - ShapePalette().begin();
    colour.Pixels.Edit().insert(colour.Pixels.Edit().end(), {c.Blue, c.Green, c.Red});
  }
  ExpectDecoded({0, -1, {colour}, {}}, {.KitterspeakMode = false}, expected);
}

TEST_F(GifExport, FramesKeepTheGamePaletteAndItsIndices) {
  if (std::system("/usr/bin/python3 -c 'import PIL' 2>/dev/null") != 0) GTEST_SKIP() << "Pillow is missing";
  // Colour codes recolour by index ranges, so a frame brought back from the
  // file must keep its indices: 200 and 255 stay 200 and 255, although a table
  // of the used colours alone would number them 1 and 2. The second frame
  // widens the screen to 5 x 2; the rest of each frame is index 0.
  json palette = json::array();
  for (const TRGB& c : ShapePalette()) palette.insert(palette.end(), {c.Red, c.Green, c.Blue});
  const TPatchFrame shape =
      Shape({Placed(4, 1, 0, 0, {0, 200, 255, 200}), Placed(3, 1, 2, 1, {255, 0, 200})});
  for (const bool transparent : {true, false}) {
    ExpectDecoded(shape, {.KitterspeakMode = false, .Transparent = transparent},
                  {{"palette", palette},
                   {"indices", {{0, 200, 255, 200, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 255, 0, 200}}}});
  }
}

TEST_F(GifExport, PlayedDelaysRoundHalvesToEven) {
  for (const auto& [ms, hundredths] : {std::pair{5, 0}, {15, 2}, {25, 2}, {16, 2}, {-25, 0}})
    EXPECT_EQ(GifDelayFromMilliseconds(ms), hundredths) << ms;
}

TEST_F(GifExport, RefusalsWriteNothingAndLeaveTheTargetAsItWas) {
  const Bytes old = {'o', 'l', 'd'};
  TPatchSubFrame frame = Solid(4, 4, 0, 0, 1), wide = frame, tall = frame;
  wide.Width = tall.Height = 65535;  // with the other, a canvas of 4 gigapixels
  // clang-format off
  const std::tuple<TPatchFrame, bool, std::string> refused[] = {
      {{0, -1, {}, {Step(ksShowFrame, 0)}}, true, "This object has no frames to export."},
      {{0, -1, {frame}, {}}, true, "This object has no KitterSpeak steps to play."},
      {{0, -1, {frame}, {Step(ksShowFrame, 7)}}, true,
       "Playing the KitterSpeak script of this object shows no frame."},
      {{0, -1, {wide, tall}, {}}, false,
       "Picture 1 of this animation needs 65535 x 65535 pixels, too large for a GIF export."}};
  // clang-format on
  for (const auto& [shape, played, text] : refused) {
    WriteFile(target_, old);
    ScriptedUserInterface ui;
    EXPECT_FALSE(ExportAnimatedGif(shape, {.KitterspeakMode = played}, target_, ui).Written);
    EXPECT_EQ(MessagesOf(ui), std::vector<TMessage>({{"Quillmere", text + "\rNo file was written.",
                                                      TMsgIcon::Error, TMsgButtons::Ok}}));
    EXPECT_EQ(ReadFile(target_), old);
    EXPECT_EQ(dir_.List(), std::vector<std::string>({"out.gif"}));
  }
}

// A write that fails part way, here at a file-size limit, raises WriteError
// and leaves the old file as it was, with no temporary file beside it, for
// the plain and the smallest file alike. The limit is set in a child
// process, which reports by its exit status.
TEST_F(GifExport, AFailedWriteLeavesTheOldFile) {
  const Bytes old = {'o', 'l', 'd'};
  // Noise, so that either file outgrows the writer's buffer and the failure
  // comes while frames are being written.
  std::vector<TPatchSubFrame> frames;
  std::uint32_t seed = 1;
  for (int i = 0; i < 8; ++i) {
    Bytes pixels(256 * 256);
    for (std::uint8_t& pixel : pixels)
      pixel = static_cast<std::uint8_t>((seed = seed * 1103515245 + 12345) >> 16);
    frames.push_back(Placed(256, 256, 0, 0, pixels));
  }
  for (const bool optimize : {false, true}) {
    WriteFile(target_, old);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{1000, 1000};
      ::setrlimit(RLIMIT_FSIZE, &limit);
      ScriptedUserInterface ui;
      try {
        ExportAnimatedGif(Shape(frames), {.KitterspeakMode = false, .Optimize = optimize}, target_, ui);
      } catch (const WriteError&) {
        ::_exit(0);
      } catch (...) {
        ::_exit(2);
      }
      ::_exit(1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << optimize << " " << status;
    EXPECT_EQ(ReadFile(target_), old);
    EXPECT_EQ(dir_.List(), std::vector<std::string>({"out.gif"}));
  }
}

// The progress callback sees the measuring pass, then every frame written of
// the known total; answering false at any point leaves no file, and an old
// one as it was, for the plain and the smallest file alike.
TEST_F(GifExport, ProgressCountsFramesAndCanAbandonTheExport) {
  const TPatchFrame shape = Shape({Solid(4, 4, 0, 0, 1), Solid(4, 4, 0, 0, 2), Solid(4, 4, 0, 0, 3)});
  for (const bool optimize : {false, true}) {
    ScriptedUserInterface ui;
    std::vector<std::tuple<TGifExportPhase, int, int>> seen;
    const TGifExportResult done = ExportAnimatedGif(shape, {.KitterspeakMode = false, .Optimize = optimize},
                                                    target_, ui, [&](const TGifExportProgress& p) {
                                                      seen.emplace_back(p.Phase, p.Done, p.Total);
                                                      return true;
                                                    });
    using P = TGifExportPhase;
    EXPECT_EQ(seen, (std::vector<std::tuple<P, int, int>>{{P::Measuring, 1, 0},
                                                          {P::Measuring, 2, 0},
                                                          {P::Measuring, 3, 0},
                                                          {P::Writing, 1, 3},
                                                          {P::Writing, 2, 3},
                                                          {P::Writing, 3, 3}}))
        << optimize;
    EXPECT_TRUE(done.Written && !done.Abandoned);

    const Bytes old = {'o', 'l', 'd'};
    for (const std::size_t stopAt : {1u, 4u, 6u}) {  // measuring, first frame written, last frame written
      WriteFile(target_, old);
      std::size_t calls = 0;
      const TGifExportResult stopped =
          ExportAnimatedGif(shape, {.KitterspeakMode = false, .Optimize = optimize}, target_, ui,
                            [&](const TGifExportProgress&) { return ++calls < stopAt; });
      EXPECT_EQ(std::tuple(stopped.Written, stopped.Abandoned, calls), std::tuple(false, true, stopAt));
      EXPECT_EQ(ReadFile(target_), old);
      EXPECT_EQ(dir_.List(), std::vector<std::string>({"out.gif"}));
    }
    EXPECT_TRUE(ui.Shown().empty());
  }
}

}  // namespace
}  // namespace quillmere

namespace quillmere::test {

// Only frames that are drawn size the canvas and shift it: a frame of an
// unknown format, or one too large to decode, shows nothing, and once made a
// 41-step export write 17 Mpx frames.
TEST(GifCanvas, FramesThatAreNeverDrawnDoNotSizeIt) {
  TPatchSubFrame unknown = Frame(1571, 11001, -1531, {1});
  unknown.ShapePosX = -50;
  unknown.ShapePosY = -60;
  const TPatchSubFrame huge = Frame(65535, 65535, 1, {1});
  const TPatchSubFrame drawn = Placed(4, 3, 2, 1, Bytes(12, 7));
  const TGifExportOptions plain{.KitterspeakMode = false};
  EXPECT_EQ(ComputeCanvasGeometry(Shape({unknown, drawn, huge}), plain), (TGifCanvasGeometry{4, 3, -2, -1}));
  EXPECT_EQ(ComputeCanvasGeometry(Shape({unknown, huge}), plain), TGifCanvasGeometry{});
}

// Playback keeps the position of a frame it shows even when that frame is
// never drawn, and a Set frame Y position step keeps it for the next Show
// Frame: that frame must still land on the canvas, not be cut off left of it.
TEST(GifCanvas, AFrameDrawnWhereAnUndrawnFrameLeftThePlaybackLandsOnIt) {
  TPatchSubFrame unknown = Frame(3, 3, 63, {});
  unknown.ShapePosX = -100;
  const TPatchFrame shape = Shape({Placed(4, 4, 0, 0, Bytes(16, 7)), unknown},
                                  {{ksShowFrame, 1, 0}, {ksFrameY, 0, 0}, {ksShowFrame, 0, 0}, {ksShowFrame, 0, 0},
                                   {ksStop, 0, 0}});
  TempDir dir;
  ScriptedUserInterface ui;
  const TGifExportResult result =
      ExportAnimatedGif(shape, {.KitterspeakMode = true, .Transparent = false, .MaxSteps = 10}, dir.File("a.gif"), ui);
  ASSERT_TRUE(result.Written);
  int error = 0;
  GifFileType* gif = DGifOpenFileName(dir.File("a.gif").c_str(), &error);
  ASSERT_NE(gif, nullptr);
  ASSERT_EQ(DGifSlurp(gif), GIF_OK);
  // Nothing, the frame where the unknown one stood, the frame at its own place.
  std::vector<std::pair<int, int>> shown;  // canvas width, pixels of the frame's colour
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    const int pixels = image.ImageDesc.Width * image.ImageDesc.Height;
    shown.emplace_back(image.ImageDesc.Width, static_cast<int>(std::count(image.RasterBits, image.RasterBits + pixels, 7)));
  }
  EXPECT_EQ(shown, (std::vector<std::pair<int, int>>{{4, 0}, {4, 16}, {104, 16}}));
  EXPECT_EQ(gif->SWidth, 104);
  DGifCloseFile(gif, &error);
}

}  // namespace quillmere::test
