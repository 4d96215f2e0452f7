#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "export/gif_export.h"
#include "interface/scripted_user_interface.h"
#include "model/ks_commands.h"
#include "support/frames.h"
#include "support/test_files.h"

// Export options name only the fields that differ from the dialog's defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace quillmere {
namespace {

using namespace test;
using nlohmann::json;

// Pillow, the independent decoder, shows both files frame by frame as a
// viewer does: each image drawn over what the disposal of the image before
// left (kept, restored to the background, or restored to what lay under it),
// transparent pixels leaving what is there, and the screen empty before the
// first. Every composited frame is compared as RGBA; a fully transparent
// pixel counts as equal whatever colour it hides. Pillow takes the
// background's look from the frame being disposed of (transparent when it has
// a transparent index, else the colour of index 0), which is why the
// optimised file keeps the plain file's transparency on such frames.
//
// The script compares plain-N.gif with small-N.gif in a folder for each N
// below the count given, one result per pair, in one run of the interpreter.
constexpr std::string_view kCompare = R"(
import json, sys
from PIL import Image, ImageSequence
def shown(path):
    with Image.open(path) as im:
        frames = []
        for frame in ImageSequence.Iterator(im):
            rgba = frame.convert("RGBA")
            seen = rgba.getchannel("A").point(lambda a: 255 if a else 0)
            frames.append((frame.info.get("duration"), Image.composite(rgba, Image.new("RGBA", rgba.size), seen).tobytes()))
        return dict(size=im.size, loop=im.info.get("loop"), frames=frames)
results = []
for n in range(int(sys.argv[2])):
    plain, small = (shown("%s/%s-%d.gif" % (sys.argv[1], kind, n)) for kind in ("plain", "small"))
    differ = [i for i, (a, b) in enumerate(zip(plain["frames"], small["frames"])) if a != b]
    results.append(dict(frames=[len(plain["frames"]), len(small["frames"])], differ=differ[:1],
                        same_screen=plain["size"] == small["size"] and plain["loop"] == small["loop"] == 0))
print(json.dumps(results))
)";

json Compare(const std::string& folder, std::size_t count) {
  const std::string command =
      "/usr/bin/python3 -c '" + std::string(kCompare) + "' '" + folder + "' " + std::to_string(count);
  std::string output(1 << 20, '\0');
  FILE* pipe = ::popen(command.c_str(), "r");
  output.resize(pipe ? std::fread(output.data(), 1, output.size(), pipe) : 0);
  if (pipe) ::pclose(pipe);
  return json::parse(output, nullptr, false);
}

TKSStep Step(TKSCommand command, int arg1 = 0) { return {command, static_cast<std::int16_t>(arg1), 0}; }

// A 12 x 8 scene: stripes of index 40 over transparent 0, a block of 7.
Bytes Scene() {
  Bytes pixels(12 * 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 12; ++x)
      pixels[static_cast<std::size_t>(y * 12 + x)] = x / 3 % 2 ? 40 : (y < 2 ? 7 : 0);
  return pixels;
}

// The scene with a 3 x 3 sprite of index 200 at (x, y).
TPatchSubFrame SceneWithSprite(int x, int y) {
  Bytes pixels = Scene();
  for (int row = y; row < y + 3; ++row)
    for (int column = x; column < x + 3; ++column) pixels[static_cast<std::size_t>(row * 12 + column)] = 200;
  return Placed(12, 8, 0, 0, pixels);
}

// Frames that each change a few blocks of the one before to 0 or a colour.
std::vector<TPatchSubFrame> Scribbles(int count) {
  std::uint32_t seed = 12345;
  const auto next = [&] { return (seed = seed * 1103515245 + 12345) >> 16; };
  Bytes pixels(16 * 12, 0);
  std::vector<TPatchSubFrame> frames;
  for (int f = 0; f < count; ++f) {
    for (int blocks = 0; blocks < 3; ++blocks) {
      const std::uint8_t colours[] = {0, 0, 3, 7, 200, 255};
      const std::uint8_t colour = colours[next() % 6];
      const unsigned x0 = next() % 16, y0 = next() % 12, w = 1 + next() % 5, h = 1 + next() % 4;
      for (unsigned y = y0; y < std::min(y0 + h, 12u); ++y)
        for (unsigned x = x0; x < std::min(x0 + w, 16u); ++x) pixels[y * 16 + x] = colour;
    }
    frames.push_back(Placed(16, 12, static_cast<int>(next() % 3) - 1, 0, pixels));
  }
  return frames;
}

struct TCase {
  std::string Why;
  TPatchFrame Shape;
  TGifExportOptions Options;
};

// Shapes made at random: frames of a few or of many colours, often mostly 0,
// each a few pixels off the one before or new, at times of another size, at
// positions near 0, played by a script of shows and moves or frame by frame,
// with or without Ignore Pos.
TCase RandomCase(std::uint32_t seed) {
  TCase c{"random shape " + std::to_string(seed), Shape({}), {}};
  const auto next = [&](std::uint32_t n) { return ((seed = seed * 1103515245 + 12345) >> 16) % n; };
  const std::uint32_t colours = next(2) ? 4 : 255;
  const auto pixel = [&] { return static_cast<std::uint8_t>(next(3) ? 0 : 1 + next(colours)); };
  const int width = 1 + static_cast<int>(next(24)), height = 1 + static_cast<int>(next(16));
  Bytes pixels(static_cast<std::size_t>(width * height));
  for (std::uint32_t f = 0, count = 1 + next(8); f < count; ++f) {
    int w = width, h = height;
    if (next(3) == 0) w = 1 + static_cast<int>(next(28)), h = 1 + static_cast<int>(next(18));
    Bytes own = w == width && h == height ? pixels : Bytes(static_cast<std::size_t>(w * h));
    if (own.size() != pixels.size() || next(4) == 0) {
      for (std::uint8_t& p : own) p = pixel();
    } else {
      for (std::uint32_t k = next(6); k > 0; --k) own[next(static_cast<std::uint32_t>(own.size()))] = pixel();
    }
    if (own.size() == pixels.size()) pixels = own;
    c.Shape.Frames.push_back(Placed(w, h, static_cast<int>(next(5)) - 2, static_cast<int>(next(5)) - 2, own));
  }
  const auto frames = static_cast<std::uint32_t>(c.Shape.Frames.size());
  for (int k = 0; k < 12; ++k) {
    const TKSCommand command = next(2) ? ksShowFrame : next(2) ? ksFrameX : ksFrameY;
    c.Shape.Script.push_back(Step(
        command, command == ksShowFrame ? static_cast<int>(next(frames)) : static_cast<int>(next(7)) - 3));
  }
  c.Options = {.KitterspeakMode = next(2) == 1, .IgnorePos = next(3) == 0, .MaxSteps = 12};
  return c;
}

TEST(GifOptimize, EveryFrameLooksAsInThePlainFile) {
  if (std::system("/usr/bin/python3 -c 'import PIL' 2>/dev/null") != 0) GTEST_SKIP() << "Pillow is missing";
  TempDir dir;
  Bytes colour;  // 24-bit, blue-green-red: near-palette colours, two frames one pixel apart
  for (int i = 0; i < 12; ++i)
    colour.insert(colour.end(), {std::uint8_t(i * 20), 90, std::uint8_t(255 - i * 9)});
  Bytes colour2 = colour;
  colour2[4] = 250;
  const TPatchSubFrame scene = Placed(12, 8, 0, 0, Scene());
  // clang-format off
  std::vector<TCase> cases = {
      {"positioned frames grow the canvas, then one falls back inside it",
       Shape({Solid(40, 2, -10, 0, 7), Solid(40, 2, 5, 3, 9), Placed(3, 3, 0, 1, {0, 5, 0, 5, 0, 5, 0, 5, 0})}),
       {.KitterspeakMode = false}},
      {"a sprite moves over a still scene, leaves it, and everything clears",
       Shape({scene, SceneWithSprite(0, 0), SceneWithSprite(2, 1), SceneWithSprite(5, 3), SceneWithSprite(9, 5),
              scene, Solid(12, 8, 0, 0, 0), Solid(12, 8, 0, 0, 0), SceneWithSprite(4, 4)}),
       {.KitterspeakMode = false}},
      {"frames identical to the one before",
       Shape({Solid(6, 4, 0, 0, 9), Solid(6, 4, 0, 0, 9), Solid(6, 4, 0, 0, 9), Solid(2, 2, 1, 1, 3)}),
       {.KitterspeakMode = false}},
      {"24-bit frames take their nearest palette colours",
       Shape({Placed(4, 3, 0, 0, colour, kFormatColour), Placed(4, 3, 0, 0, colour2, kFormatColour),
              Placed(4, 3, 1, 0, colour2, kFormatColour)}),
       {.KitterspeakMode = false}},
      {"a played script moves frames and holds them for its delays",
       Shape({scene, SceneWithSprite(3, 2), Solid(4, 4, 0, 0, 7)},
             {Step(ksShowFrame, 0), Step(ksDelay, 50), Step(ksShowFrame, 1), Step(ksFrameX, 5),
              Step(ksShowFrame, 2), Step(ksFrameY, -3), Step(ksShowFrame, 2), Step(ksFrameX, -2),
              Step(ksShowFrame, 1), Step(ksShowFrame, 1), Step(ksDelay, 200)}),
       {.MaxSteps = 11}},
      {"Ignore Pos: pictures of their own sizes, shrinking and growing",
       Shape({Solid(9, 5, 50, 50, 30), Solid(3, 7, -9, 2, 31), Solid(2, 2, 0, 0, 0), Placed(0, 0, 0, 0, {}),
              Solid(9, 7, 0, 0, 30)}),
       {.KitterspeakMode = false, .IgnorePos = true}},
      {"blocks scribbled over one another, some back to 0", Shape(Scribbles(24)), {.KitterspeakMode = false}},
      // Four colours fill the table; the second frame repaints a corner in
      // each of them and leaves the varied pixels between as they are, with
      // no index to spare for transparency.
      {"every colour of a full table repainted around pixels left as they are",
       Shape({Placed(6, 3, 0, 0, {1, 2, 5, 1, 2, 5, 5, 1, 2, 2, 1, 5, 2, 5, 1, 5, 5, 0}),
              Placed(6, 3, 0, 0, {0, 5, 5, 1, 2, 5, 5, 1, 2, 2, 1, 5, 2, 5, 1, 5, 1, 2})}),
       {.KitterspeakMode = false}},
  };
  // clang-format on
  for (std::uint32_t seed = 1; seed <= 40; ++seed) cases.push_back(RandomCase(seed));
  std::vector<std::pair<std::string, int>> written;  // what each pair shows, its frames
  for (const TCase& c : cases) {
    for (const bool transparent : {true, false}) {
      const std::string why = c.Why + (transparent ? "" : ", Transparent off");
      const std::string n = std::to_string(written.size());
      TGifExportOptions options = c.Options;
      options.Transparent = transparent;
      ScriptedUserInterface ui;
      const TGifExportResult plain = ExportAnimatedGif(c.Shape, options, dir.File("plain-" + n + ".gif"), ui);
      options.Optimize = true;
      const TGifExportResult small = ExportAnimatedGif(c.Shape, options, dir.File("small-" + n + ".gif"), ui);
      ASSERT_TRUE(plain.Written && small.Written) << why;
      // Never larger: with one frame and nearly every colour there is nothing to save.
      EXPECT_LE(ReadFile(dir.File("small-" + n + ".gif")).size(),
                ReadFile(dir.File("plain-" + n + ".gif")).size())
          << why;
      written.emplace_back(why, plain.Frames);
    }
  }
  const json seen = Compare(dir.Path(), written.size());
  ASSERT_TRUE(seen.is_array() && seen.size() == written.size()) << "Pillow could not read the files";
  for (std::size_t i = 0; i < written.size(); ++i) {
    EXPECT_EQ(seen[i], json({{"frames", {written[i].second, written[i].second}},
                             {"differ", json::array()},
                             {"same_screen", true}}))
        << written[i].first;
  }
}

TEST(GifOptimize, OversizedScreensKeepWholeFramesWithoutExhaustingMemory) {
  // With Ignore Pos a wide and a tall frame make a screen of 4 gigapixels,
  // which no frame fills: the file is written without following the screen.
  TempDir dir;
  ScriptedUserInterface ui;
  const TGifExportResult result = ExportAnimatedGif(
      Shape({Solid(65000, 1, 0, 0, 5), Solid(1, 65000, 0, 0, 6)}),
      {.KitterspeakMode = false, .IgnorePos = true, .Optimize = true}, dir.File("big.gif"), ui);
  EXPECT_TRUE(result.Written && ui.Shown().empty());
  EXPECT_LT(ReadFile(dir.File("big.gif")).size(), 2000u);
}

}  // namespace
}  // namespace quillmere
