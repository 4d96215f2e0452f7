#include <gtest/gtest.h>
#include <png.h>

#include <tuple>

#include "app/platform_error.h"
#include "app/scripted_user_interface.h"
#include "model/frame_decoding.h"
#include "model/shape_palette.h"
#include "support/test_files.h"

namespace quillmere {
namespace {

using test::ByteBuilder;
using test::Bytes;

TPatchSubFrame Frame(int w, int h, std::int32_t format, const Bytes& payload, std::uint8_t encoding = 0) {
  return {static_cast<std::uint16_t>(h),   static_cast<std::uint16_t>(w), 0, 0, 0, 0, format, 255, encoding,
          {payload.begin(), payload.end()}};
}

// A 3 x 2 PNG of `pixels` top-down, as libpng's own writer makes it.
Bytes Png(const Bytes& pixels, bool colour) {
  png_image image{nullptr, PNG_IMAGE_VERSION, 3, 2, colour ? PNG_FORMAT_RGB : PNG_FORMAT_GRAY, 0, 0, 0, {}};
  png_alloc_size_t size = 4096;
  Bytes out(size);
  EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr));
  out.resize(size);
  return out;
}

TEST(FrameDecoding, RawPlanesRunBottomUpInBlueGreenRed) {
  const std::tuple<int, int, int, Bytes, Bytes, Bytes> cases[] = {
      {2, 2, 1, {1, 2, 3, 4}, {3, 4, 1, 2}, {}},
      {1, 1, 2, {0, 0, 0xFF}, {0xFF, 0, 0}, {}},
      {1, 1, 3, {0, 0, 0xFF, 0x80}, {0xFF, 0, 0}, {0x80}},
      {1, 1, 7, {1, 2, 3, 9}, {3, 2, 1}, {9}},
      {2, 2, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {9, 8, 7, 12, 11, 10, 3, 2, 1, 6, 5, 4}, {}},
      // Bytes the payload lacks leave 0s; a cut pixel keeps the channels it has.
      {2, 2, 1, {1, 2, 3}, {3, 0, 1, 2}, {}},
      {2, 1, 2, {1, 2, 3, 4}, {3, 2, 1, 0, 0, 4}, {}},
      {1, 1, 3, {1, 2, 3}, {3, 2, 1}, {0}},
  };
  for (const auto& [w, h, format, payload, picture, alpha] : cases) {
    SCOPED_TRACE(::testing::PrintToString(payload));
    ScriptedUserInterface ui;
    const TDecodedFrame decoded = DecodeFrame(Frame(w, h, format, payload), ui);
    ASSERT_TRUE(decoded.Picture);
    EXPECT_EQ(decoded.Picture->Pixels, picture);
    EXPECT_EQ(decoded.Picture->Depth == TPictureDepth::Rgb24, format != 1);
    EXPECT_EQ(decoded.Alpha ? decoded.Alpha->Pixels : Bytes{}, alpha);
    EXPECT_EQ(FrameToBitmap(Frame(w, h, format, payload), ui), *decoded.Picture);
  }
  EXPECT_EQ(ShapePalette()[0], (TRGB{199, 144, 186}));
  EXPECT_EQ(ShapePalette()[7], (TRGB{192, 192, 192}));
  EXPECT_EQ(ShapePalette()[255], (TRGB{255, 255, 255}));
}

// Odd width and distinct bytes, so a missed row flip or channel swap shows.
TEST(FrameDecoding, PngPlanesDecodeLikeTheirRawPlanes) {
  const Bytes colour{1, 14, 27, 40, 53, 66, 79, 92, 105, 118, 131, 144, 157, 170, 183, 196, 209, 222};
  const Bytes alpha{9, 8, 7, 6, 5, 4};
  for (std::int32_t format : {1, 2, 3, 7}) {
    const Bytes plane(colour.begin(), colour.begin() + (format == 1 ? 6 : 18));
    const Bytes raw = ByteBuilder().Raw(plane).Raw(format >= 3 ? alpha : Bytes{});
    const Bytes png =
        ByteBuilder().Raw(Png(plane, format != 1)).Raw(format >= 3 ? Png(alpha, false) : Bytes{});
    ScriptedUserInterface ui;
    const TDecodedFrame expected = DecodeFrame(Frame(3, 2, format, raw), ui);
    const TDecodedFrame actual = DecodeFrame(Frame(3, 2, format, png, kEncodingPNG), ui);
    EXPECT_EQ(actual.Picture, expected.Picture) << format;
    EXPECT_EQ(actual.Alpha, expected.Alpha) << format;
    EXPECT_EQ(FrameToBitmap(Frame(3, 2, format, png, kEncodingPNG), ui), *expected.Picture) << format;
  }
  ScriptedUserInterface ui;
  Bytes damaged = Png(alpha, false);
  damaged[20] ^= 0xFF;  // inside the header chunk: its checksum fails
  EXPECT_THROW(DecodeFrame(Frame(3, 2, 1, damaged, kEncodingPNG), ui), ReadError);
}

// An unknown encoding gives the "UNSUPPORTED" picture: white (255 in either
// depth) with text from row 10 down, clipped here at the right and bottom.
// An unknown format or a huge frame gives nothing, the latter refused before
// its 12 GiB would be allocated.
TEST(FrameDecoding, FramesThatCannotBeDecoded) {
  for (std::int32_t format : {1, 3}) {
    ScriptedUserInterface ui;
    const TPatchSubFrame frame = Frame(30, 14, format, Bytes(100, 1), 2);
    const TDecodedFrame decoded = DecodeFrame(frame, ui);
    ASSERT_TRUE(decoded.Picture && !decoded.Alpha);
    EXPECT_EQ(FrameToBitmap(frame, ui), *decoded.Picture);
    const Bytes& pixels = decoded.Picture->Pixels;
    EXPECT_EQ(std::tuple(decoded.Picture->Width, pixels.size()),
              std::tuple(30, 30u * 14 * (format == 1 ? 1 : 3)));
    const auto text = pixels.begin() + static_cast<long>(10 * decoded.Picture->RowBytes());
    EXPECT_EQ(std::count(pixels.begin(), text, 255), text - pixels.begin());
    EXPECT_GT(std::count_if(text, pixels.end(), [](std::uint8_t b) { return b != 255; }), 20);
  }
  for (const TPatchSubFrame& frame : {Frame(2, 2, 5, {1}), Frame(2, 2, 0, {1}, 2),
                                      Frame(65535, 65535, 3, {1}), Frame(65535, 65535, 1, {1}, 2)}) {
    ScriptedUserInterface ui;
    EXPECT_FALSE(DecodeFrame(frame, ui).Picture);
    EXPECT_EQ(FrameToBitmap(frame, ui), TPicture());
    ASSERT_EQ(ui.DebugLines().size(), 2u);
    EXPECT_EQ(ui.DebugLines()[0], ui.DebugLines()[1]);
    EXPECT_EQ(ui.DebugLines()[0] == "Unsupported Frame Format", frame.Width == 2);
  }
}

}  // namespace
}  // namespace quillmere
