#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "export/palette_text.h"
#include "interface/scripted_user_interface.h"
#include "model/shape_palette.h"
#include "support/message_printing.h"
#include "support/test_files.h"

namespace quillmere::test {
namespace {

Bytes TextBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

// The columns are read where they stand, whatever lies between or after
// them, and spaces around a number don't count.
TEST(PaletteText, ColumnsAreReadByPosition) {
  using B = std::array<std::uint8_t, 3>;
  const std::pair<std::string_view, B> lines[] = {
      {"199 144 186", B{199, 144, 186}}, {"  0   7  12", B{0, 7, 12}},   {"255x255y255 trailing", B{255, 255, 255}},
      {"1   2   3", B{1, 2, 3}},          {" +5 -0 010", B{5, 0, 10}}, {"255\t  1  2", B{255, 1, 2}}};
  for (const auto& [line, bytes] : lines) EXPECT_EQ(ParsePaletteLine(line, "p.txt", 1), bytes) << line;
}

// A column that is not a number, or not a byte, is an error naming the file,
// the line and what was found.
TEST(PaletteText, BadColumnsNameTheLine) {
  const std::pair<std::string_view, std::string> bad[] = {
      {"256   0   0", "p.txt, line 9: 256 is not a byte value (0 to 255)"},
      {"  0  -1   0", "p.txt, line 9: -1 is not a byte value (0 to 255)"},
      {"  0   0", "p.txt, line 9: '' is not a valid integer value"},
      {"", "p.txt, line 9: '' is not a valid integer value"},
      {"  0 1 2   3", "p.txt, line 9: '1 2' is not a valid integer value"},
      {"  0   0  0x", "p.txt, line 9: '0x' is not a valid integer value"},
      {"  0   -   0", "p.txt, line 9: '-' is not a valid integer value"}};
  for (const auto& [line, text] : bad) {
    try {
      ParsePaletteLine(line, "p.txt", 9);
      ADD_FAILURE() << line << " was accepted";
    } catch (const PaletteTextError& error) {
      EXPECT_EQ(error.what(), text);
    }
  }
}

// The game palette written as text comes back byte for byte, whatever the
// line ends; a final line end adds no line, a missing one loses none. "Done."
// follows a conversion.
TEST(PaletteText, ConvertsAWholePaletteAtomically) {
  TempDir dir;
  Bytes expected;
  std::string text;
  for (const TRGB& c : ShapePalette()) {
    char line[16];
    std::snprintf(line, sizeof line, "%3u %3u %3u", c.Red, c.Green, c.Blue);
    text += std::string(line) + "\r\n";
    expected.insert(expected.end(), {c.Red, c.Green, c.Blue});
  }
  std::string unixText = text, macText = text;  // LF alone, CR alone
  std::erase(unixText, '\r');
  std::erase(macText, '\n');
  for (const std::string& variant : {text, unixText, macText, text.substr(0, text.size() - 2)}) {
    WriteFile(dir.File("in.txt"), TextBytes(variant));
    ScriptedUserInterface ui;
    EXPECT_EQ(ConvertTextPalette(dir.File("in.txt"), dir.File("furc.pal"), ui), 256);
    EXPECT_EQ(ReadFile(dir.File("furc.pal")), expected);
    EXPECT_EQ(MessagesOf(ui), std::vector<TMessage>({{"Palette Convertor", "Done.", TMsgIcon::Information,
                                                      TMsgButtons::Ok}}));
  }

  // An empty line at the end stops the conversion: the old palette stays and
  // nothing else is left in the folder.
  const Bytes old = {1, 2, 3};
  WriteFile(dir.File("furc.pal"), old);
  WriteFile(dir.File("in.txt"), TextBytes("  1   2   3\n\n"));
  ScriptedUserInterface ui;
  EXPECT_THROW(ConvertTextPalette(dir.File("in.txt"), dir.File("furc.pal"), ui), PaletteTextError);
  EXPECT_EQ(ReadFile(dir.File("furc.pal")), old);
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"furc.pal", "in.txt"}));
  EXPECT_TRUE(ui.Shown().empty());
  EXPECT_THROW(ConvertTextPalette(dir.File("missing.txt"), dir.File("furc.pal"), ui), FileOpenError);
}

// Only the columns of a line are kept, so a line of a megabyte converts
// like a short one.
TEST(PaletteText, LongLinesCostNothing) {
  TempDir dir;
  std::string text = "  9   8   7" + std::string(1 << 20, ' ') + "\n 10  11  12";
  WriteFile(dir.File("in.txt"), TextBytes(text));
  ScriptedUserInterface ui;
  EXPECT_EQ(ConvertTextPalette(dir.File("in.txt"), dir.File("out.pal"), ui), 2);
  EXPECT_EQ(ReadFile(dir.File("out.pal")), (Bytes{9, 8, 7, 10, 11, 12}));
}

}  // namespace
}  // namespace quillmere::test
