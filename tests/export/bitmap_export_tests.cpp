#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "app/scripted_user_interface.h"
#include "export/bitmap_export.h"
#include "export/bmp_writer.h"
#include "model/shape_palette.h"
#include "support/test_files.h"

namespace quillmere {
namespace {

using namespace test;

// A bitmap's file and information headers, for a picture 2 rows high.
Bytes Header(std::uint32_t size, std::uint32_t offset, int w, int bits, std::uint32_t imageBytes,
             int colours) {
  // clang-format off
  return ByteBuilder().Text("BM").U32(size).U32(0).U32(offset).U32(40).U32(w).U32(2).U16(1).U16(bits).U32(0)
      .U32(imageBytes).U32(0).U32(0).U32(colours).U32(0);
  // clang-format on
}

// Rows bottom-up, colour as blue, green, red, each row padded to 4 bytes; the
// 8-bit colour table is the game palette as blue, green, red, 0.
TEST(BitmapExport, BmpFilesByteForByte) {
  TempDir dir;
  TPicture indexed(3, 2, TPictureDepth::Indexed8), colour(2, 2, TPictureDepth::Rgb24);
  indexed.Pixels = {1, 2, 3, 4, 5, 6};
  colour.Pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  WriteBmp(indexed, dir.File("8.bmp"));
  WriteBmp(colour, dir.File("24.bmp"));
  EXPECT_EQ(ReadFile(dir.File("24.bmp")), ByteBuilder()
                                              .Raw(Header(70, 54, 2, 24, 16, 0))
                                              .Raw({9, 8, 7, 12, 11, 10, 0, 0, 3, 2, 1, 6, 5, 4, 0, 0})
                                              .Get());
  ByteBuilder expected;
  expected.Raw(Header(1086, 1078, 3, 8, 8, 256));
  for (const TRGB& entry : ShapePalette()) expected.U8(entry.Blue).U8(entry.Green).U8(entry.Red).U8(0);
  EXPECT_EQ(ReadFile(dir.File("8.bmp")), expected.Raw({4, 5, 6, 0, 1, 2, 3, 0}).Get());
}

TEST(BitmapExport, FrameFilesAreNumberedBesideTheChosenName) {
  EXPECT_EQ(StripExtension("C:\\a.b\\walls"), "C:\\a.b\\walls");  // a folder's dot is not an extension
  EXPECT_EQ(StripExtension("/a.b/walls.old.bmp"), "/a.b/walls.old");
  EXPECT_EQ(FrameBitmapName("C:\\out\\walls.old.bmp", 0), "C:\\out\\walls.old-0.bmp");
  EXPECT_EQ(FrameBitmapName("/a.b/walls", 11), "/a.b/walls-11");
}

// An indexed frame, a colour frame with alpha, one of an unknown format; then
// Pillow, another program, reads the files back.
TEST(BitmapExport, ShapeFramesGoToNumberedFilesPillowCanRead) {
  TPatchFrame shape{0,
                    -1,
                    {{2, 2, 0, 0, 0, 0, 1, 255, 0, {1, 2, 3, 4}},
                     {1, 2, 0, 0, 0, 0, 3, 255, 0, {0, 0, 255, 10, 20, 30, 7, 7}},
                     {1, 1, 0, 0, 0, 0, 5, 255, 0, {1}}},
                    {}};
  TempDir dir;
  ScriptedUserInterface ui;
  const std::vector<std::string> written = ExportShapeBitmaps(shape, dir.File("object3.bmp"), ui);
  EXPECT_TRUE(ExportShapeBitmaps(TPatchFrame{}, dir.File("none.bmp"), ui).empty());
  EXPECT_EQ(written, (std::vector{dir.File("object3-0.bmp"), dir.File("object3-1.bmp")}));
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"object3-0.bmp", "object3-1.bmp"}));
  EXPECT_EQ(ui.DebugLines(), std::vector<std::string>{"Unsupported Frame Format"});
  ASSERT_EQ(written.size(), 2u);

  if (std::system("/usr/bin/python3 -c 'import PIL.Image' >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "/usr/bin/python3 can't import PIL";
  }
  const std::string script =
      "import sys\nfrom PIL import Image\nfor p in sys.argv[1:]:\n"
      "  im = Image.open(p); pal = im.getpalette() or []\n"
      "  px = [im.getpixel((x, y)) for y in range(im.height) for x in range(im.width)]\n"
      "  print(im.mode, im.width, im.height, px, pal[0:3], pal[21:24], pal[765:768])\n";
  FILE* pipe =
      ::popen(("/usr/bin/python3 -c '" + script + "' " + written[0] + " " + written[1]).c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  EXPECT_EQ(::pclose(pipe), 0);
  EXPECT_EQ(output,
            "P 2 2 [3, 4, 1, 2] [199, 144, 186] [192, 192, 192] [255, 255, 255]\n"
            "RGB 2 1 [(255, 0, 0), (30, 20, 10)] [] [] []\n");
}

}  // namespace
}  // namespace quillmere
