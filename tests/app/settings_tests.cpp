#include <gtest/gtest.h>

#include <filesystem>

#include "app/settings.h"
#include "interface/platform_error.h"
#include "support/message_printing.h"
#include "support/test_files.h"

namespace quillmere::test {
namespace {

using namespace std::literals;

auto Options(const TSettings& s) {
  return std::tuple(s.Tips(), s.DragDrop(), s.CopyMode(), s.LargeHighlight(), s.MainHighlight(),
                    s.SubFrameHighlight());
}

TEST(Settings, MissingOrDamagedValuesReadAsTheirDefaults) {
  // File content (none: no file), then Tips, DragDrop, Copymode, Highlighter, MBC, SBC.
  const std::tuple<std::optional<std::string>, bool, bool, bool, bool, unsigned, unsigned> cases[] = {
      {std::nullopt, false, false, true, false, 255, 32768},
      {"[main]\r\n tips = 7 \r\nHighlighter=1\r\nMBC=abc\r\nSBC=-5\r\n", true, false, true, true, 255, 32768},
      {"\0\xff\n[Main\rDragDrop=1\rMBC=16777216\rSBC=0x10"s, false, true, true, false, 255, 32768},
      {"[Other]\nTips=1\n[Main]\nCopymode=0\nMBC=65280\nSBC=+0\n[Main]\nTips=1\n", false, false, false, false,
       65280, 0},
  };
  for (const auto& [content, tips, dragDrop, copy, large, main, sub] : cases) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path() + "/Tarnwick/Quillmere");
    if (content) WriteFile(dir.Path() + "/Tarnwick/Quillmere/quillmere.ini", ByteBuilder().Text(*content));
    const TSettings settings(dir.Path());
    EXPECT_EQ(Options(settings), std::tuple(tips, dragDrop, copy, large, main, sub))
        << content.value_or("no file");
  }
  TempDir dir;  // the folders are made at start
  EXPECT_EQ(TSettings(dir.Path()).FileName(), dir.Path() + "/Tarnwick/Quillmere/quillmere.ini");
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path() + "/Tarnwick/Quillmere"));
}

TEST(Settings, EveryCommandIsWrittenAtOnceAndReadAtTheNextStart) {
  TempDir dir;
  TSettings settings(dir.Path());
  settings.ToggleTips();
  settings.ToggleDragDrop();
  settings.SetCopyMode(false);
  settings.ToggleLargeHighlight();
  settings.SetMainHighlight(0xFF123456);  // the picker's colour; the top byte is no colour
  settings.SetSubFrameHighlight(0);
  const Bytes written = ReadFile(settings.FileName());
  EXPECT_EQ(std::string(written.begin(), written.end()),
            "[Main]\nTips=1\nDragDrop=1\nCopymode=0\nHighlighter=1\nMBC=1193046\nSBC=0\n");
  EXPECT_EQ(Options(TSettings(dir.Path())), std::tuple(true, true, false, true, 0x123456u, 0u));

  // Cancel keeps the colours, OK resets them.
  ScriptedUserInterface ui({TMsgAnswer::Cancel, TMsgAnswer::Ok});
  EXPECT_FALSE(settings.ResetColorsToDefault(ui));
  EXPECT_TRUE(settings.ResetColorsToDefault(ui));
  EXPECT_EQ(
      MessagesOf(ui),
      std::vector(2, TMessage{"Color Reset", "Are you sure you want to reset highlight colors to defaults?",
                              TMsgIcon::Question, TMsgButtons::OkCancel}));
  EXPECT_EQ(Options(TSettings(dir.Path())), std::tuple(true, true, false, true, 255u, 32768u));
}

// A file last saved by a Windows editor or an old Mac one reads line for line,
// and a change writes the same lines back, each ended by LF alone.
TEST(Settings, CRLFAndCRLineEndsReadAndRewriteLineForLine) {
  const std::string written =
      "[Main]\nTips=1\nDragDrop=1\n\n[MRU - Destination]\n1=/shapes/walls.fox\n2=/shapes/trees.fox\n";
  const std::string cases[] = {
      "[Main]\r\nTips=1\r\n\r\n[MRU - Destination]\r\n1=/shapes/walls.fox\r\n2=/shapes/trees.fox\r\n",
      "[Main]\rTips=1\r\r[MRU - Destination]\r1=/shapes/walls.fox\r2=/shapes/trees.fox",
      "[Main]\r\nTips=1\n\r\n[MRU - Destination]\r1=/shapes/walls.fox\n2=/shapes/trees.fox\r\n",
  };
  for (const std::string& content : cases) {
    SCOPED_TRACE(::testing::PrintToString(content));
    TempDir dir;
    std::filesystem::create_directories(dir.Path() + "/Tarnwick/Quillmere");
    WriteFile(dir.Path() + "/Tarnwick/Quillmere/quillmere.ini", ByteBuilder().Text(content));
    TSettings settings(dir.Path());
    EXPECT_TRUE(settings.Tips());
    EXPECT_EQ(settings.Ini().ReadString("MRU - Destination", "1", ""), "/shapes/walls.fox");
    EXPECT_EQ(settings.Ini().ReadString("MRU - Destination", "2", ""), "/shapes/trees.fox");
    settings.ToggleDragDrop();
    const Bytes bytes = ReadFile(settings.FileName());
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), written);
  }
}

TEST(Settings, AWriteThatFailsNamesTheFileAndKeepsTheChoice) {
  TempDir dir;
  WriteFile(dir.File("plain"), {});  // a file where a folder should be defeats even root
  TSettings settings(dir.File("plain"));
  try {
    settings.ToggleTips();
    ADD_FAILURE() << "no error";
  } catch (const WriteError& error) {
    EXPECT_EQ(error.what(), "Unable to write to " + dir.File("plain") + "/Tarnwick/Quillmere/quillmere.ini");
  }
  EXPECT_TRUE(settings.Tips());
}

}  // namespace
}  // namespace quillmere::test
