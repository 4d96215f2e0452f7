#include <cstdlib>

#include "export/bitmap_export.h"
#include "model/shape_palette.h"
#include "support/frames.h"

namespace quillmere::test {

// A bitmap's file and information headers, for a picture 2 rows high.
static ByteBuilder Header(std::uint32_t size, std::uint32_t offset, int w, int bits, std::uint32_t image) {
  // clang-format off
  return ByteBuilder().Text("BM").U32(size).U32(0).U32(offset).U32(40).U32(w).U32(2).U16(1).U16(bits).U32(0)
      .U32(image).U32(0).U32(0).U32(bits == 8 ? 256 : 0).U32(0);
  // clang-format on
}

// An indexed frame, one of an unknown format, whose number stays unused, and a
// colour frame with alpha, which a bitmap leaves out. Frames and bitmaps both
// store rows bottom-up and colour as blue, green, red; a bitmap pads each row
// to 4 bytes, and its 8-bit colour table is the game palette as blue, green,
// red, 0. Then Pillow, another program, reads the files back.
TEST(BitmapExport, ShapeFramesGoToNumberedBitmaps) {
  EXPECT_EQ(StripExtension("C:\\a.b\\walls"), "C:\\a.b\\walls");  // a folder's dot is not an extension
  EXPECT_EQ(FrameBitmapName("C:\\out\\walls.old.bmp", 0), "C:\\out\\walls.old-0.bmp");
  const TPatchFrame shape = Shape({Frame(3, 2, 1, {1, 2, 3, 4, 5, 6}), Frame(1, 1, 5, {1}),
                                   Frame(2, 2, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 7, 7, 7, 7})});
  TempDir dir;
  ScriptedUserInterface ui;
  const std::vector<std::string> written = ExportShapeBitmaps(shape, dir.File("object3.bmp"), ui);
  ASSERT_EQ(written, (std::vector{dir.File("object3-0.bmp"), dir.File("object3-2.bmp")}));
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"object3-0.bmp", "object3-2.bmp"}));
  EXPECT_EQ(ui.DebugLines(), std::vector<std::string>{"Unsupported Frame Format"});
  ByteBuilder indexed = Header(1086, 1078, 3, 8, 8);
  for (const TRGB& entry : ShapePalette()) indexed.U8(entry.Blue).U8(entry.Green).U8(entry.Red).U8(0);
  EXPECT_EQ(ReadFile(written[0]), indexed.Raw({1, 2, 3, 0, 4, 5, 6, 0}).Get());
  EXPECT_EQ(ReadFile(written[1]),
            Header(70, 54, 2, 24, 16).Raw({1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}).Get());

  if (std::system("/usr/bin/python3 -c 'import PIL.Image' 2>/dev/null") != 0) GTEST_SKIP() << "no PIL";
  const std::string script =
      "import sys\nfrom PIL import Image\nfor im in map(Image.open, sys.argv[1:]):\n"
      " p = im.getpalette() or []; print(im.mode, im.size, list(im.getdata()), p[0:3], p[21:24], p[765:])\n";
  const std::string command =
      "/usr/bin/python3 -c '" + script + "' " + written[0] + " " + written[1] + " >" + dir.File("pillow.txt");
  ASSERT_EQ(std::system(command.c_str()), 0);
  const Bytes output = ReadFile(dir.File("pillow.txt"));
  EXPECT_EQ(std::string(output.begin(), output.end()),
            "P (3, 2) [4, 5, 6, 1, 2, 3] [199, 144, 186] [192, 192, 192] [255, 255, 255]\n"
            "RGB (2, 2) [(9, 8, 7), (12, 11, 10), (3, 2, 1), (6, 5, 4)] [] [] []\n");
}

// A frame without columns is still a bitmap: the headers and no row bytes,
// whose empty rows must not be copied from a picture that holds no memory.
TEST(BitmapExport, AFrameWithoutColumnsGivesAnEmptyBitmap) {
  TempDir dir;
  ScriptedUserInterface ui;
  const std::vector<std::string> written =
      ExportShapeBitmaps(Shape({Frame(0, 3, kFormatColour, {}), Frame(0, 2, kFormatIndexed, {})}), dir.File("empty.bmp"), ui);
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ(ReadFile(written[0]),
            ByteBuilder().Text("BM").U32(54).U32(0).U32(54).U32(40).U32(0).U32(3).U16(1).U16(24).U32(0).U32(0)
                .U32(0).U32(0).U32(0).U32(0).Get());
  EXPECT_EQ(ReadFile(written[1]).size(), 1078u);  // the headers and the palette
}

}  // namespace quillmere::test
