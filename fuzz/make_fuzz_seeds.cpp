// make-fuzz-seeds SOURCE-DIR
//
// Writes the fuzz targets' seed corpora into SOURCE-DIR/fuzz/corpus/<target>/:
// small valid inputs made by the program's own writers (FOX 1 and 3 with raw
// and PNG frames and scripts, FSH and FS2 with their FBJ companions, frames of
// every format, clipboard texts, colour maps, settings files), and the
// hand-made regression inputs of faults found earlier. Every name is written
// the same way each time, so a run shows as no change in git.

#include <png.h>
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/most_recent_files.h"
#include "app/settings.h"
#include "formats/fbj_companion.h"
#include "formats/fox_format.h"
#include "formats/fsh_format.h"
#include "fuzz_support.h"
#include "interface/scripted_user_interface.h"
#include "model/ks_clipboard.h"
#include "model/ks_commands.h"
#include "model/patch_frame.h"
#include "shape_file_fuzz.h"

namespace {

using namespace quillmere;
using Bytes = std::vector<std::uint8_t>;

std::filesystem::path gCorpus;

void Put(const std::string& target, const std::string& name, const std::string& bytes) {
  const std::filesystem::path folder = gCorpus / target;
  std::filesystem::create_directories(folder);
  std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + (folder / name).string());
  std::cout << (folder / name).string() << "\n";
}


// ---- pictures ----------------------------------------------------------------

Bytes Plane(int width, int height, int bytesPerPixel, int seed) {
  Bytes plane(static_cast<std::size_t>(width * height * bytesPerPixel));
  for (std::size_t i = 0; i < plane.size(); ++i) plane[i] = static_cast<std::uint8_t>((i * 37 + seed * 11) % 251);
  return plane;
}

Bytes PNGStream(const Bytes& plane, int width, int height, bool colour) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = colour ? PNG_FORMAT_RGB : PNG_FORMAT_GRAY;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, plane.data(), 0, nullptr)) {
    throw std::runtime_error(std::string("PNG encoding failed: ") + image.message);
  }
  Bytes out(size);
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, plane.data(), 0, nullptr)) {
    throw std::runtime_error(std::string("PNG encoding failed: ") + image.message);
  }
  out.resize(size);
  return out;
}

void PutU32BE(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

// The stream with its header's width, height and interlace method replaced,
// the header's checksum made right again, so only the sizes are wrong.
Bytes WithHeader(Bytes png, std::uint32_t width, std::uint32_t height, std::uint8_t interlace) {
  // Signature (8), length (4), "IHDR" (4), then the header's 13 bytes.
  PutU32BE(png, 16, width);
  PutU32BE(png, 20, height);
  png[28] = interlace;
  const uLong crc = crc32(0, png.data() + 12, 17);
  PutU32BE(png, 29, static_cast<std::uint32_t>(crc));
  return png;
}

// A frame with its payload: raw planes or PNG streams back to back.
TPatchSubFrame Frame(std::int32_t format, int width, int height, std::uint8_t encoding, int seed,
                     std::uint8_t opacity = 255) {
  TPatchSubFrame frame;
  frame.Format = format;
  frame.Width = static_cast<std::uint16_t>(width);
  frame.Height = static_cast<std::uint16_t>(height);
  frame.ShapePosX = static_cast<std::int16_t>(-width / 2);
  frame.ShapePosY = static_cast<std::int16_t>(-height);
  frame.Opacity = opacity;
  frame.Encoding = encoding;
  const bool colour = format != kFormatIndexed;
  std::vector<Bytes> planes{Plane(width, height, colour ? 3 : 1, seed)};
  if (format == kFormatColourAlpha || format == kFormatColourAlpha7) planes.push_back(Plane(width, height, 1, seed + 1));
  ByteBuffer& pixels = frame.Pixels.Edit();
  for (std::size_t i = 0; i < planes.size(); ++i) {
    const Bytes bytes = encoding == kEncodingPNG ? PNGStream(planes[i], width, height, colour && i == 0) : planes[i];
    pixels.insert(pixels.end(), bytes.begin(), bytes.end());
  }
  return frame;
}

// The frame target's input: the frame record's fields, then the payload.
std::string FrameInput(const TPatchSubFrame& frame) {
  std::string input;
  const auto u16 = [&](unsigned value) {
    input += static_cast<char>(value & 0xFF);
    input += static_cast<char>((value >> 8) & 0xFF);
  };
  u16(static_cast<std::uint16_t>(frame.Format));
  u16(frame.Width);
  u16(frame.Height);
  input += static_cast<char>(frame.Opacity);
  input += static_cast<char>(frame.Encoding);
  input.append(frame.Pixels.begin(), frame.Pixels.end());
  return input;
}

TKSScript LoopScript(int frames) {
  TKSScript script;
  for (int f = 0; f < frames; ++f) {
    script.push_back({ksShowFrame, static_cast<std::int16_t>(f), 0});
    script.push_back({ksDelay, static_cast<std::int16_t>(50 + 25 * f), 0});
  }
  script.push_back({ksFrameX, 3, 0});
  script.push_back({ksFrameY, -2, 0});
  script.push_back({ksLoopToStep, 0, 2});
  script.push_back({ksStop, 0, 0});
  return script;
}

// ---- shape files -------------------------------------------------------------

std::string SavedFOX(const TShapeList& shapes) {
  const std::string name = fuzz::ScratchFile("seed.fox");
  SaveFOXFile(name, shapes);
  return fuzz::GetFile(name);
}

// An FSH or FS2 file and, after the marker, the FBJ companion an FSH save
// writes for the same shapes.
std::string SavedFSH(const TShapeList& shapes, bool fs2, bool withFBJ) {
  ScriptedUserInterface ui;
  const std::string fsh = fuzz::ScratchFile("seed.fsh");
  SaveFSHFile(fsh, shapes, ui, TSaveOptions{true});
  std::string bytes = fuzz::GetFile(fsh);
  if (fs2) {
    const std::string name = fuzz::ScratchFile("seed.fs2");
    SaveFSHFile(name, shapes, ui, TSaveOptions{false});
    bytes = fuzz::GetFile(name);
  }
  if (withFBJ) bytes += fuzz::kFBJMarker + fuzz::GetFile(FBJFileName(fsh));
  return bytes;
}

TPatchFrame Shape(std::vector<TPatchSubFrame> frames, TKSScript script = {}, std::uint16_t flags = 0,
                  std::int16_t replaces = -1) {
  TPatchFrame shape;
  shape.Flags = flags;
  shape.ReplacementIndex = replaces;
  shape.Frames = std::move(frames);
  shape.Script = std::move(script);
  return shape;
}

void ShapeSeeds() {
  // Version 1: raw opaque frames only.
  const TShapeList raw = {
      Shape({Frame(kFormatIndexed, 4, 3, kEncodingRaw, 1), Frame(kFormatIndexed, 4, 3, kEncodingRaw, 2)}, LoopScript(2),
            kFlagWalkable),
      Shape({Frame(kFormatColour, 3, 2, kEncodingRaw, 3)}),
  };
  // Version 3: PNG planes, opacity, alpha, an unknown encoding.
  const TShapeList v3 = {
      Shape({Frame(kFormatIndexed, 5, 4, kEncodingPNG, 4), Frame(kFormatColourAlpha, 3, 3, kEncodingPNG, 5, 128)},
            LoopScript(2)),
      Shape({Frame(kFormatColourAlpha7, 2, 2, kEncodingRaw, 6), Frame(kFormatColour, 2, 2, 2, 7)}),
      Shape({}),
  };
  Put("fox", "fox1-raw-script", SavedFOX(raw));
  Put("fox", "fox3-png-alpha-script", SavedFOX(v3));
  Put("fox", "fox-empty", SavedFOX({}));

  // Flags with furre positions, so the companion's optional bytes are there.
  TShapeList small = {
      Shape({Frame(kFormatIndexed, 3, 2, kEncodingRaw, 8)}, {}, kFlagWalkable | kFlagFurreX | kFlagFurreY, 2),
      Shape({Frame(kFormatIndexed, 2, 2, kEncodingRaw, 9)}, {}, kFlagSittable, 1),
      Shape({Frame(kFormatIndexed, 1, 1, kEncodingRaw, 10)}, {}, kFlagGettable | kFlagFurreY, 5),
  };
  small[0].Frames[0].FurrePosX = -3;
  small[0].Frames[0].FurrePosY = 7;
  small[2].Frames[0].FurrePosY = -1;
  Put("fsh", "fsh-fbj", SavedFSH(small, false, true));
  Put("fsh", "fsh-alone", SavedFSH(small, false, false));
  Put("fs2", "fs2-fbj", SavedFSH(small, true, true));
  Put("fs2", "fs2-alone", SavedFSH(small, true, false));

  // The playback target: four option bytes, then a FOX file.
  const std::string ksMode("\x03\x0a\x20\x05", 4);
  const std::string directOptimised("\x0e\x05\x01\x00", 4);
  const std::string remapped("\x13\x0a\x10\x07", 4);
  Put("playback_gif", "ks-raw", ksMode + SavedFOX(raw));
  Put("playback_gif", "direct-optimised-png", directOptimised + SavedFOX(v3));
  Put("playback_gif", "ks-remapped-png", remapped + SavedFOX(v3));

  // Regression: a frame of an unknown format and a large size sized the
  // canvas, so every frame of the export was written at 17 Mpx.
  TPatchSubFrame unknown = Frame(kFormatIndexed, 0, 0, kEncodingRaw, 11);
  unknown.Format = -1531;
  unknown.Width = 1571;
  unknown.Height = 11001;
  const TShapeList hostile = {
      Shape({Frame(kFormatIndexed, 3, 3, kEncodingRaw, 12), unknown},
            {{ksShowFrame, 0, 0}, {ksShowFrame, 1, 0}, {ksLoopToStep, 0, 20}})};
  Put("playback_gif", "regress-unknown-format-sizes-canvas", ksMode + SavedFOX(hostile));
  Put("playback_gif", "regress-unknown-format-sizes-canvas-direct", directOptimised + SavedFOX(hostile));
  // Regression: a frame drawn at the position playback kept from a frame it
  // showed without drawing was cut off left of the canvas.
  TPatchSubFrame undrawn = Frame(kFormatIndexed, 0, 0, kEncodingRaw, 13);
  undrawn.Format = 63;
  undrawn.Width = undrawn.Height = 3;
  undrawn.ShapePosX = -100;
  TPatchSubFrame drawn = Frame(kFormatIndexed, 4, 4, kEncodingRaw, 14);
  drawn.ShapePosX = drawn.ShapePosY = 0;
  const TShapeList kept = {Shape({drawn, undrawn}, {{ksShowFrame, 1, 0}, {ksFrameY, 0, 0}, {ksShowFrame, 0, 0},
                                                    {ksShowFrame, 0, 0}, {ksStop, 0, 0}})};
  Put("playback_gif", "regress-position-kept-from-undrawn-frame", ksMode + SavedFOX(kept));
}

void FrameSeeds() {
  Put("frame", "indexed-raw", FrameInput(Frame(kFormatIndexed, 6, 4, kEncodingRaw, 1)));
  Put("frame", "colour-raw", FrameInput(Frame(kFormatColour, 4, 3, kEncodingRaw, 2)));
  Put("frame", "alpha-raw", FrameInput(Frame(kFormatColourAlpha, 3, 3, kEncodingRaw, 3, 200)));
  Put("frame", "indexed-png", FrameInput(Frame(kFormatIndexed, 7, 5, kEncodingPNG, 4)));
  Put("frame", "colour-png", FrameInput(Frame(kFormatColour, 5, 2, kEncodingPNG, 5)));
  Put("frame", "alpha7-png", FrameInput(Frame(kFormatColourAlpha7, 4, 4, kEncodingPNG, 6, 90)));
  Put("frame", "unknown-encoding", FrameInput(Frame(kFormatColour, 9, 3, 5, 7)));
  Put("frame", "unknown-format", FrameInput(Frame(42, 2, 2, kEncodingRaw, 8)));

  // Regressions, each a PNG plane whose header disagrees with its frame.
  // A 10 x 10 frame whose plane claims 0x7FFFFFFF columns made libpng ask for 8 GiB.
  TPatchSubFrame wide = Frame(kFormatIndexed, 10, 10, kEncodingPNG, 9);
  const Bytes widePNG = WithHeader(Bytes(wide.Pixels.begin(), wide.Pixels.end()), 0x7FFFFFFF, 10, 0);
  wide.Pixels.Edit().assign(widePNG.begin(), widePNG.end());
  Put("frame", "regress-png-width-0x7fffffff", FrameInput(wide));
  // An interlaced plane of 100,663,296 x 5 in a 5 x 5 frame took 300 MB a decode.
  TPatchSubFrame interlaced = Frame(kFormatColour, 5, 5, kEncodingPNG, 10);
  const Bytes interlacedPNG = WithHeader(Bytes(interlaced.Pixels.begin(), interlaced.Pixels.end()), 100663296, 5, 1);
  interlaced.Pixels.Edit().assign(interlacedPNG.begin(), interlacedPNG.end());
  Put("frame", "regress-png-interlaced-100663296x5", FrameInput(interlaced));
  // A PNG-encoded frame of width 0 cleared a row through a null pointer.
  TPatchSubFrame empty = Frame(kFormatIndexed, 1, 5, kEncodingPNG, 11);
  empty.Width = 0;
  Put("frame", "regress-png-width-0", FrameInput(empty));
  // A colour frame of width 0 wrote its empty bitmap rows from a null pointer.
  Put("frame", "regress-bmp-width-0", FrameInput(Frame(kFormatColour, 0, 3, kEncodingRaw, 12)));
}

void TextSeeds(const std::filesystem::path& source) {
  Put("ks_clipboard", "loop", EncodeKSClipboardText(LoopScript(3)));
  Put("ks_clipboard", "extremes", EncodeKSClipboardText({{-32768, 32767, -1}, {13, 0, 0}, {0, -5, 100}}));
  Put("ks_clipboard", "prefix-only", "KitterSpeak:");
  Put("ks_clipboard", "not-an-integer", "KitterSpeak:2:2, 1:x:0, 2:100:0");

  std::ifstream shipped(source / "data" / "colourmap.ini", std::ios::binary);
  const std::string map{std::istreambuf_iterator<char>(shipped), std::istreambuf_iterator<char>()};
  if (map.empty()) throw std::runtime_error("data/colourmap.ini not found under " + source.string());
  // The shipped map's first sections: a slot and the mappings it names.
  const std::size_t cut = map.find("\n[", map.size() / 8);
  Put("colour_map", "shipped-head", "t#$%&'()*+,\n" + map.substr(0, cut));
  Put("colour_map", "small", std::string("t$##\r\n[Fur]\r\n0=FurA\r\n1=FurB\r\n\r\n[FurA]\r\n1=2\r\n+3=-4\r\n\r\n") +
                                 "[FurB]\r\nx=5\r\n");

  const std::string folder = fuzz::ScratchFile("config");
  {
    TSettings settings(folder);
    settings.ToggleTips();
    settings.SetCopyMode(false);
    settings.SetMainHighlight(0x123456);
    settings.Save();
    TMostRecentFiles destination;
    destination.SetIniSection("MRU - Destination");
    destination.AddFile("C:\\Shapes\\walls.fox");
    destination.AddFile("/home/artist/import.fsh");
    destination.Save(settings.Ini());
    TMostRecentFiles source2;
    source2.SetIniSection("MRU - Source");
    source2.AddFile("D:\\Art\\trees.fs2");
    source2.Save(settings.Ini());
    Put("settings_ini", "written", settings.Ini().Text());
  }
  Put("settings_ini", "hand-edited", "; comment\r\n[main]\r\n tips = 1 \r\nMBC=-5\r\nSBC=99999999\r\n[MRU - Source\r\n1=a.fox\r\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make-fuzz-seeds SOURCE-DIR\n";
    return 2;
  }
  try {
    gCorpus = std::filesystem::path(argv[1]) / "fuzz" / "corpus";
    ShapeSeeds();
    FrameSeeds();
    TextSeeds(argv[1]);
  } catch (const std::exception& error) {
    std::cerr << "make-fuzz-seeds: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
