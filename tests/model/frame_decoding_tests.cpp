#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <random>

#include "interface/platform_error.h"
#include "model/frame_decoding.h"
#include "model/shape_palette.h"
#include "support/frames.h"

namespace quillmere::test {

// A PNG of `pixels` top-down, as libpng's own writer makes it.
static Bytes Png(int w, int h, const Bytes& pixels, bool colour) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION, image.format = colour ? PNG_FORMAT_RGB : PNG_FORMAT_GRAY;
  image.width = png_uint_32(w), image.height = png_uint_32(h);
  Bytes out(PNG_IMAGE_PNG_SIZE_MAX(image));
  png_alloc_size_t size = out.size();
  EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr));
  return {out.begin(), out.begin() + long(size)};
}

// Stored rows run bottom-up, colour pixels blue, green, red; a PNG plane holds
// the stored bytes as a top-down picture, so each full payload is decoded
// again from its PNG twin, and a damaged twin fails. Bytes a short payload
// lacks leave 0s.
TEST(FrameDecoding, RawAndPngPlanes) {
  const std::tuple<int, int, int, Bytes, Bytes, Bytes> cases[] = {
      {2, 2, 1, {1, 2, 3, 4}, {3, 4, 1, 2}, {}},
      {1, 1, 2, {0, 0, 0xFF}, {0xFF, 0, 0}, {}},
      {1, 1, 3, {0, 0, 0xFF, 0x80}, {0xFF, 0, 0}, {0x80}},
      {1, 2, 7, {1, 2, 3, 4, 5, 6, 8, 9}, {6, 5, 4, 3, 2, 1}, {9, 8}},
      {2, 2, 1, {1, 2, 3}, {3, 0, 1, 2}, {}}};
  ScriptedUserInterface ui;
  for (const auto& [w, h, format, payload, picture, alpha] : cases) {
    SCOPED_TRACE(::testing::PrintToString(payload));
    const TDecodedFrame raw = DecodeFrame(Frame(w, h, format, payload), ui);
    ASSERT_TRUE(raw.Picture);
    EXPECT_EQ(raw.Picture->Pixels, picture);
    EXPECT_EQ(raw.Alpha ? raw.Alpha->Pixels : Bytes{}, alpha);
    EXPECT_EQ(FrameToBitmap(Frame(w, h, format, payload), ui), *raw.Picture);
    if (payload.size() < picture.size() + alpha.size()) continue;
    const auto split = payload.begin() + long(picture.size());
    Bytes png = Png(w, h, {payload.begin(), split}, format != 1);
    if (!alpha.empty()) png = ByteBuilder().Raw(png).Raw(Png(w, h, {split, payload.end()}, false));
    const TPatchSubFrame twin = Frame(w, h, format, png, kEncodingPNG);
    EXPECT_EQ(DecodeFrame(twin, ui).Alpha, raw.Alpha);
    EXPECT_EQ(FrameToBitmap(twin, ui), *raw.Picture);
    png[20] ^= 0xFF;  // inside the colour stream's header chunk: its checksum fails
    EXPECT_THROW(DecodeFrame(Frame(w, h, format, png, kEncodingPNG), ui), ReadError);
  }
  EXPECT_EQ((std::vector{ShapePalette()[0], ShapePalette()[7], ShapePalette()[255]}),
            (std::vector<TRGB>{{199, 144, 186}, {192, 192, 192}, {255, 255, 255}}));
}

// An unknown encoding gives the "UNSUPPORTED" picture: white (255 in either
// depth) with text from row 10 down. An unknown format or a huge frame gives
// nothing, the latter refused before its gigabytes would be allocated, even
// for the "UNSUPPORTED" picture.
TEST(FrameDecoding, FramesThatCannotBeDecoded) {
  ScriptedUserInterface ui;
  for (std::int32_t format : {1, 3}) {
    const TPatchSubFrame frame = Frame(30, 14, format, Bytes(100, 1), 2);
    const TDecodedFrame decoded = DecodeFrame(frame, ui);
    ASSERT_TRUE(decoded.Picture && !decoded.Alpha);
    EXPECT_EQ(FrameToBitmap(frame, ui), *decoded.Picture);
    const Bytes& pixels = decoded.Picture->Pixels;
    EXPECT_EQ(pixels.size(), 30u * 14 * (format == 1 ? 1 : 3));
    const auto text = pixels.begin() + long(10 * decoded.Picture->RowBytes());
    EXPECT_EQ(std::count(pixels.begin(), text, 255), text - pixels.begin());
    EXPECT_GT(std::count_if(text, pixels.end(), [](std::uint8_t b) { return b != 255; }), 20);
  }
  for (const auto& [frame, line] :
       {std::pair{Frame(2, 2, 5, {1}, 2), "Unsupported Frame Format"},
        std::pair{Frame(65535, 65535, 1, {1}, 2), "Frame too large to decode (65535 x 65535 pixels)"}}) {
    ScriptedUserInterface fresh;
    EXPECT_FALSE(DecodeFrame(frame, fresh).Picture);
    EXPECT_EQ(FrameToBitmap(frame, fresh), TPicture());
    EXPECT_EQ(fresh.DebugLines(), std::vector<std::string>(2, line));
  }
}

// A PNG whose header claims another size (and interlacing), its checksum
// made good again so that only the claim is wrong.
static Bytes ClaimingSize(Bytes png, std::uint32_t width, std::uint32_t height, bool interlaced = false) {
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = std::uint8_t(width >> (24 - 8 * i));
    png[20 + i] = std::uint8_t(height >> (24 - 8 * i));
  }
  png[28] = interlaced ? 1 : 0;
  const std::uint32_t crc = std::uint32_t(crc32(0, png.data() + 12, 17));
  for (int i = 0; i < 4; ++i) png[29 + i] = std::uint8_t(crc >> (24 - 8 * i));
  return png;
}

// A plane is exactly its frame's size: a header claiming more is refused by
// the header alone, before any row is sized for it (a 10 x 10 frame once made
// libpng ask for 8 GiB), and one claiming less is refused too rather than
// shown with made-up rows. A frame 0 pixels wide decodes to nothing.
TEST(FrameDecoding, PngPlanesMustMatchTheirFrame) {
  ScriptedUserInterface ui;
  const Bytes colour = Png(5, 5, Bytes(75, 9), true);
  const Bytes alpha = Png(5, 5, Bytes(25, 200), false);
  const auto refusal = [&](std::uint16_t w, std::uint16_t h, const Bytes& png) -> std::string {
    try {
      DecodeFrame(Frame(w, h, 3, png, kEncodingPNG), ui);
    } catch (const ReadError& error) {
      return error.what();
    }
    return "decoded";
  };
  const Bytes both = ByteBuilder().Raw(colour).Raw(alpha);
  EXPECT_EQ(refusal(5, 5, both), "decoded");
  for (const auto& [w, h, png] : {
           std::tuple{10, 10, ByteBuilder().Raw(ClaimingSize(colour, 0x7FFFFFFF, 1)).Raw(alpha).Get()},
           std::tuple{5, 5, ByteBuilder().Raw(ClaimingSize(colour, 5, 100663296, true)).Raw(alpha).Get()},
           std::tuple{6, 5, both},
           std::tuple{5, 4, both},
           std::tuple{0, 5, both},
       }) {
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    const std::string why = refusal(std::uint16_t(w), std::uint16_t(h), png);
    EXPECT_TRUE(why.find("Invalid IHDR") != std::string::npos ||
                why.find("does not match") != std::string::npos)
        << why;
  }
}

}  // namespace quillmere::test

namespace quillmere::test {

// The thumbnail's sampled decoding gives exactly the nearest-neighbour
// samples of the full decoding, for raw and PNG planes, short payloads, the
// "UNSUPPORTED" picture of an unknown encoding (frames both smaller and larger
// than its mark) and every format.
TEST(FrameDecoding, SampledDecodingMatchesSamplingTheFullPicture) {
  std::mt19937 random(7);
  ScriptedUserInterface ui;
  for (int round = 0; round < 160; ++round) {
    const bool unsupported = round >= 120;
    const int most = unsupported ? 200 : 40;
    const int w = 1 + int(random() % most), h = 1 + int(random() % most),
              format = std::array{1, 2, 3, 7}[round % 4];
    const int colourBytes = w * h * (format == 1 ? 1 : 3), alphaBytes = format >= 3 ? w * h : 0;
    Bytes payload(std::size_t(colourBytes + alphaBytes));
    for (auto& b : payload) b = std::uint8_t(random());
    TPatchSubFrame frame = Frame(w, h, format, payload);
    if (round % 3 == 1) {  // PNG planes
      const auto split = payload.begin() + colourBytes;
      Bytes png = Png(w, h, {payload.begin(), split}, format != 1);
      if (alphaBytes) png = ByteBuilder().Raw(png).Raw(Png(w, h, {split, payload.end()}, false));
      frame = Frame(w, h, format, png, kEncodingPNG);
    } else if (round % 3 == 2) {
      frame.Pixels.resize(random() % frame.Pixels.size());  // a payload cut short
    }
    if (unsupported) frame.Encoding = 2;
    const int tw = 1 + int(random() % w), th = 1 + int(random() % h);
    const TDecodedFrame full = DecodeFrame(frame, ui), sampled = DecodeFrameSampled(frame, tw, th, ui);
    for (const auto& [whole, part] :
         {std::pair{full.Picture, sampled.Picture}, {full.Alpha, sampled.Alpha}}) {
      ASSERT_EQ(bool(whole), bool(part));
      if (!whole) continue;
      const int bpp = whole->BytesPerPixel();
      for (int y = 0; y < th; ++y)
        for (int x = 0; x < tw; ++x)
          ASSERT_TRUE(std::equal(part->Row(y) + x * bpp, part->Row(y) + (x + 1) * bpp,
                                 whole->Row(y * h / th) + (x * w / tw) * bpp))
              << "round " << round << " at " << x << "," << y;
    }
  }
}

}  // namespace quillmere::test
