#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <random>

#include "app/platform_error.h"
#include "app/scripted_user_interface.h"
#include "export/gif_export.h"
#include "model/ks_commands.h"
#include "model/shape_palette.h"
#include "support/message_printing.h"
#include "support/test_files.h"

namespace quillmere {
namespace {

using namespace test;
using namespace std::literals;
using nlohmann::json;

// A raw indexed frame; one-row or one-colour frames read the same either way up.
TPatchSubFrame Frame(int w, int h, int x, int y, Bytes px) {
  return {static_cast<std::uint16_t>(h),
          static_cast<std::uint16_t>(w),
          static_cast<std::int16_t>(x),
          static_cast<std::int16_t>(y),
          0,
          0,
          kFormatIndexed,
          255,
          kEncodingRaw,
          {px.begin(), px.end()}};
}
TPatchSubFrame Solid(int w, int h, int x, int y, std::uint8_t index) {
  return Frame(w, h, x, y, Bytes(static_cast<std::size_t>(w * h), index));
}
TKSStep Step(TKSCommand command, int arg1 = 0) { return {command, static_cast<std::int16_t>(arg1), 0}; }
TGifExportOptions Options(bool played, int delay = 10, int maxSteps = 1, bool ignorePos = false) {
  return {played, delay, true, ignorePos, false, "", maxSteps};
}

// Pillow's reading: screen, loop, comment, colour 0, and per frame the image
// extent, duration (ms), transparency, disposal, mode and the palette indices
// at the probes ([frame, x, y]).
constexpr std::string_view kReader = R"(import json, sys
try:
    from PIL import Image, GifImagePlugin
except ImportError:
    print('{"nopil": true}'); sys.exit(0)
GifImagePlugin.LOADING_STRATEGY = GifImagePlugin.LoadingStrategy.RGB_AFTER_DIFFERENT_PALETTE_ONLY
im, probes, frames = Image.open(sys.argv[1]), json.loads(sys.argv[2]), []
out = {"size": list(im.size), "head": [im.info.get("loop"), im.info.get("background"), im.info.get("comment")]}
for i in range(im.n_frames):
    im.seek(i)
    f = {"extent": list(im.tile[0][1]), "duration": im.info.get("duration"),
         "transparency": im.info.get("transparency", -1), "disposal": im.disposal_method}
    im.load()
    frames.append(dict(f, mode=im.mode, pixels=[im.getpixel((x, y)) for n, x, y in probes if n == i]))
print(json.dumps(dict(out, frames=frames, colour0=im.getpalette()[:3]), default=lambda b: b.decode()))
)";

class GifExport : public ::testing::Test {
 protected:
  // Exports to target_, then has Pillow decode the file.
  json Export(const TPatchFrame& shape, const TGifExportOptions& options,
              const json& probes = json::array()) {
    const TGifExportResult result = ExportAnimatedGif(shape, options, target_, ui_);
    EXPECT_TRUE(result.Written && ui_.Shown().empty());
    WriteFile(dir_.File("read.py"), Bytes(kReader.begin(), kReader.end()));
    const std::string command =
        "/usr/bin/python3 '" + dir_.File("read.py") + "' '" + target_ + "' '" + probes.dump() + "'";
    std::string output(1 << 16, '\0');
    FILE* pipe = ::popen(command.c_str(), "r");
    output.resize(pipe ? std::fread(output.data(), 1, output.size(), pipe) : 0);
    if (pipe) ::pclose(pipe);
    json gif = json::parse(output, nullptr, false);
    if (gif.contains("frames")) {
      EXPECT_EQ(result.Frames, static_cast<int>(gif["frames"].size()));
    }
    return gif;
  }
  static json Field(const json& gif, const char* name) {
    json values = json::array();
    for (const json& frame : gif["frames"]) values.push_back(frame[name]);
    return values;
  }

  TempDir dir_;
  std::string target_ = dir_.File("out.gif");
  ScriptedUserInterface ui_;
};

#define DECODED(gif)                     \
  if ((gif).contains("nopil")) {         \
    GTEST_SKIP() << "Pillow is missing"; \
  }                                      \
  ASSERT_TRUE((gif).contains("frames")) << "Pillow could not read the GIF"

TEST_F(GifExport, DirectFramesLandOnCanvasesGrownForThem) {
  // Positions -10 and +5 with Width 40: the second frame at X 15 (and 3 rows
  // lower) on a canvas grown to 55 x 5, and the logical screen with it.
  const TPatchFrame shape{0, -1, {Solid(40, 2, -10, 0, 7), Solid(40, 2, 5, 3, 9)}, {}};
  const json gif =
      Export(shape, Options(false), {{0, 39, 1}, {1, 14, 3}, {1, 15, 3}, {1, 54, 4}, {1, 20, 1}});
  DECODED(gif);
  EXPECT_EQ(json({gif["size"], gif["head"]}), json({{55, 5}, {0, 0, kGifComment}}));
  EXPECT_EQ(Field(gif, "extent"), json({{0, 0, 40, 2}, {0, 0, 55, 5}}));
  EXPECT_EQ(json({Field(gif, "duration"), Field(gif, "transparency"), Field(gif, "disposal")}),
            json({{100, 100}, {0, 0}, {2, 2}}));
  EXPECT_EQ(Field(gif, "pixels"), json({{7}, {0, 9, 9, 0}}));
  // The loop extension follows the colour table, then comes the comment.
  const Bytes file = ReadFile(target_);
  const std::string start = "\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00\x21\xFE"s;
  EXPECT_EQ(std::string(file.begin() + 781, file.begin() + 781 + static_cast<long>(start.size())), start);
  // Sticking out left or up cuts a frame off; it never grows the canvas.
  TPicture frame(3, 2, TPictureDepth::Indexed8);
  frame.Pixels = {1, 2, 3, 4, 5, 6};
  EXPECT_EQ(PlaceFrameOnCanvas(frame, -2, -1, 2, 2).Pixels, Bytes({6, 0, 0, 0}));
}

TEST_F(GifExport, PlayedFramesTakeTheScriptsDelaysAndPositions) {
  const int rounding[][2] = {{5, 0}, {15, 2}, {25, 2}, {35, 4}, {16, 2}, {-25, 0}};
  for (const auto& [ms, hundredths] : rounding) EXPECT_EQ(GifDelayFromMilliseconds(ms), hundredths) << ms;
  const std::vector<TPatchSubFrame> frames = {Solid(10, 1, 0, 0, 3), Solid(10, 1, 0, 0, 4)};
  const struct {
    TKSScript Script;
    int Base, MaxSteps;
    json Durations;
  } cases[] = {
      {{Step(ksShowFrame, 0), Step(ksShowFrame, 1)}, 10, 3, {10, 10, 10}},  // no Delay step: 10 ms
      {{Step(ksShowFrame, 0), Step(ksShowFrame, 1)}, 25, 2, {20, 20}},
      {{Step(ksShowFrame, 0), Step(ksDelay, 5), Step(ksShowFrame, 1), Step(ksDelay, 15)}, 10, 4, {0, 20}},
  };
  for (const auto& c : cases) {
    const json gif = Export({0, -1, frames, c.Script}, Options(true, c.Base, c.MaxSteps));
    DECODED(gif);
    EXPECT_EQ(Field(gif, "duration"), c.Durations);
  }
  // Set frame X -20 shifts everything by 20: the first frame, placed by the
  // step, lands at 0; the second, at its own X 0, at 20. Ignore Pos undoes it.
  const TPatchFrame moved{0, -1, frames, {Step(ksFrameX, -20), Step(ksShowFrame, 0), Step(ksShowFrame, 1)}};
  json gif = Export(moved, Options(true, 10, 3), {{0, 0, 0}, {1, 19, 0}, {1, 20, 0}, {1, 29, 0}});
  DECODED(gif);
  EXPECT_EQ(json({Field(gif, "extent"), Field(gif, "pixels")}),
            json({{{0, 0, 10, 1}, {0, 0, 30, 1}}, {{3}, {0, 4, 4}}}));
  gif = Export(moved, Options(true, 10, 3, true));
  DECODED(gif);
  EXPECT_EQ(json({gif["size"], Field(gif, "extent")}), json({{10, 1}, {{0, 0, 10, 1}, {0, 0, 10, 1}}}));
}

TEST_F(GifExport, OptionsShapeTheFramesPixels) {
  // Ignore Pos: each frame at its own size; an undecodable one keeps its place
  // as one pixel, and its diagnostic comes once although played twice.
  TPatchSubFrame unknown = Solid(4, 4, 0, 0, 5);
  unknown.Format = 9;
  json gif = Export({0, -1, {Solid(3, 2, 100, -50, 6), Solid(5, 4, -30, 8, 8), unknown}, {}},
                    Options(false, 7, 1, true));
  DECODED(gif);
  EXPECT_EQ(json({gif["size"], Field(gif, "extent"), Field(gif, "duration")}),
            json({{5, 4}, {{0, 0, 3, 2}, {0, 0, 5, 4}, {0, 0, 1, 1}}, {70, 70, 70}}));
  EXPECT_EQ(ui_.DebugLines().size(), 1u);

  // Transparent off: no transparent colour; the canvas shows mauve index 0.
  TGifExportOptions options = Options(false);
  options.Transparent = false;
  gif = Export({0, -1, {Solid(2, 2, 0, 0, 6), Solid(2, 2, 1, 1, 6)}, {}}, options, {{1, 0, 0}, {1, 1, 1}});
  DECODED(gif);
  EXPECT_EQ(json({Field(gif, "transparency"), gif["colour0"], gif["frames"][1]["pixels"]}),
            json({{-1, -1}, {199, 144, 186}, {0, 6}}));
  // Remapped with colour 0 of every slot: hair 128, 129 become 12, 13.
  options.Remapped = true;
  options.ColourCode = "t##";
  gif =
      Export({0, -1, {Frame(4, 1, 0, 0, {128, 0, 129, 7})}, {}}, options, {{0, 0, 0}, {0, 2, 0}, {0, 3, 0}});
  DECODED(gif);
  EXPECT_EQ(gif["frames"][0]["pixels"], json({12, 13, 7}));

  // 24-bit frames take the nearest palette entry, placed or not: nothing is
  // nearer and ties go to the lowest index, also for colours a few steps
  // apart (which a 5- or 6-bit cache key would merge).
  const TPalette& palette = ShapePalette();
  auto distance = [&](int i, const TRGB& c) {
    return std::pair((palette[i].Red - c.Red) * (palette[i].Red - c.Red) +
                         (palette[i].Green - c.Green) * (palette[i].Green - c.Green) +
                         (palette[i].Blue - c.Blue) * (palette[i].Blue - c.Blue),
                     i);
  };
  std::mt19937 random(7);
  TPatchSubFrame colour = Frame(300, 1, 0, 0, {});
  colour.Format = kFormatColour;
  json probes = json::array();
  std::vector<TRGB> colours;
  for (int x = 0; x < 300; ++x) {
    const TRGB base = palette[random() % 256];
    colours.push_back({static_cast<std::uint8_t>(std::clamp(base.Red + int(random() % 9) - 4, 0, 255)),
                       base.Green, static_cast<std::uint8_t>(x % 2 ? base.Blue : random())});
    colour.Pixels.insert(colour.Pixels.end(),
                         {colours.back().Blue, colours.back().Green, colours.back().Red});
    probes.push_back({0, x, 0});
  }
  for (bool ignorePos : {false, true}) {
    gif = Export({0, -1, {colour}, {}}, Options(false, 10, 1, ignorePos), probes);
    DECODED(gif);
    ASSERT_EQ(gif["frames"][0]["mode"], "P");
    for (int x = 0; x < 300; ++x) {
      const int chosen = gif["frames"][0]["pixels"][x];
      for (int i = 0; i < 256; ++i) ASSERT_GE(distance(i, colours[x]), distance(chosen, colours[x])) << x;
    }
  }
}

TEST_F(GifExport, RefusalsAndFailuresLeaveTheTargetAsItWas) {
  const Bytes old = {'o', 'l', 'd'};
  const TPatchSubFrame frame = Solid(4, 4, 0, 0, 1);
  TPatchSubFrame wide = Solid(1, 1, 0, 0, 1), tall = wide;
  wide.Width = tall.Height = 65535;  // a canvas of 4 gigapixels
  const struct {
    TPatchFrame Shape;
    bool Played;
    std::string Text;
  } refused[] = {
      {{0, -1, {}, {Step(ksShowFrame, 0)}}, true, "This object has no frames to export."},
      {{0, -1, {frame}, {}}, true, "This object has no KitterSpeak steps to play."},
      {{0, -1, {frame}, {Step(ksShowFrame, 7)}},
       true,
       "Playing the KitterSpeak script of this object shows no frame."},
      {{0, -1, {frame}, {Step(ksDelay, 20), Step(ksStop)}},
       true,
       "Playing the KitterSpeak script of this object shows no frame."},
      {{0, -1, {wide, tall}, {}},
       false,
       "Picture 1 of this animation needs 65535 x 65535 pixels, too large for a GIF export."},
  };
  for (const auto& c : refused) {
    WriteFile(target_, old);
    ui_.Clear();
    EXPECT_FALSE(ExportAnimatedGif(c.Shape, Options(c.Played, 10, 100000), target_, ui_).Written);
    EXPECT_EQ(MessagesOf(ui_), std::vector<TMessage>({{"Quillmere", c.Text + "\rNo file was written.",
                                                       TMsgIcon::Error, TMsgButtons::Ok}}));
    EXPECT_EQ(ReadFile(target_), old);
    EXPECT_EQ(dir_.List(), std::vector<std::string>({"out.gif"}));
  }
  // A write failing in the middle, at the file size limit, raises WriteError
  // and leaves neither a changed target nor a temporary file.
  std::mt19937 random(3);
  Bytes noise(512 * 512);
  for (auto& pixel : noise) pixel = static_cast<std::uint8_t>(random());
  const TPatchFrame big{0, -1, {Frame(512, 512, 0, 0, noise), Frame(512, 512, 0, 0, noise)}, {}};
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 64 * 1024;
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string error;
  try {
    ExportAnimatedGif(big, Options(false), target_, ui_);
  } catch (const WriteError& e) {
    error = e.what();
  }
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_NE(error.find("out.gif"), std::string::npos) << error;
  EXPECT_EQ(ReadFile(target_), old);
  EXPECT_EQ(dir_.List(), std::vector<std::string>({"out.gif"}));
  EXPECT_THROW(ExportAnimatedGif(big, Options(false), dir_.File("missing/out.gif"), ui_), WriteError);
}

}  // namespace
}  // namespace quillmere
