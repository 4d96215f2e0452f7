#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <tuple>

#include "app/ini_file.h"
#include "app/platform_error.h"
#include "app/scripted_user_interface.h"
#include "app/settings.h"
#include "support/message_printing.h"
#include "support/test_files.h"

namespace quillmere {
namespace {

using namespace test;
using namespace std::literals;

std::string Text(const std::string& path) {
  const Bytes bytes = ReadFile(path);
  return {bytes.begin(), bytes.end()};
}

auto Options(const TSettings& s) {
  return std::tuple(s.Tips(), s.DragDrop(), s.CopyMode(), s.LargeHighlight(), s.MainHighlight(),
                    s.SubFrameHighlight(), s.SaveFBJInformation());
}

TEST(Settings, MissingOrDamagedValuesReadAsTheirDefaults) {
  // File content (none: no file), then Tips, DragDrop, Copymode, Highlighter, MBC, SBC.
  const std::tuple<std::optional<std::string>, bool, bool, bool, bool, unsigned, unsigned> cases[] = {
      {std::nullopt, false, false, true, false, 255, 32768},
      {"[Main]\nTips=1\nHighlighter=1\nCopymode=0\n", true, false, false, true, 255, 32768},
      {"[main]\r\n tips = 7 \r\nMBC=abc\r\nSBC=-5\r\n", true, false, true, false, 255, 32768},
      {"\0\xff\n[Main\rDragDrop=1\rMBC=16777216\rSBC=0x10"s, false, true, true, false, 255, 32768},
      {"[Other]\nTips=1\n[Main]\nCopymode=\nMBC=65280\nSBC=+0\n[Main]\nTips=1\n", false, false, true, false,
       65280, 0},
  };
  for (const auto& [content, tips, dragDrop, copy, large, main, sub] : cases) {
    TempDir dir;
    const std::string folder = dir.Path() + "/Tarnwick/Quillmere";
    std::filesystem::create_directories(folder);
    if (content) WriteFile(folder + "/quillmere.ini", Bytes(content->begin(), content->end()));
    const TSettings settings(dir.Path());
    EXPECT_EQ(Options(settings), std::tuple(tips, dragDrop, copy, large, main, sub, true))
        << content.value_or("no file");
  }
  TempDir dir;
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
  settings.ToggleSaveFBJInformation();
  settings.SetMainHighlight(0xFF123456);  // the picker's colour; the top byte is no colour
  settings.SetSubFrameHighlight(0);
  const std::string written = "[Main]\nTips=1\nDragDrop=1\nCopymode=0\nHighlighter=1\nMBC=1193046\nSBC=0\n";
  EXPECT_EQ(Text(settings.FileName()), written);
  // The FBJ option is not kept between runs.
  EXPECT_EQ(Options(TSettings(dir.Path())), std::tuple(true, true, false, true, 0x123456u, 0u, true));

  // Cancel keeps the colours, OK resets them.
  const TMessage question{"Color Reset", "Are you sure you want to reset highlight colors to defaults?",
                          TMsgIcon::Question, TMsgButtons::OkCancel};
  ScriptedUserInterface ui({TMsgAnswer::Cancel, TMsgAnswer::Ok});
  EXPECT_FALSE(settings.ResetColorsToDefault(ui));
  EXPECT_TRUE(settings.ResetColorsToDefault(ui));
  EXPECT_EQ(MessagesOf(ui), std::vector(2, question));
  EXPECT_EQ(Text(settings.FileName()),
            "[Main]\nTips=1\nDragDrop=1\nCopymode=0\nHighlighter=1\nMBC=255\nSBC=32768\n");
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
  EXPECT_EQ(settings.Ini().ReadString("Main", "Tips", "none"), "none");
}

TEST(IniFile, NamesAndValuesStayAsTypedAndOtherLinesSurvive) {
  TempDir dir;
  const std::string path = dir.File("q.ini"),
                    before = "; kept\n[Main]\nTips=1\n\n[mru - destination]\n1=old\n";
  WriteFile(path, Bytes(before.begin(), before.end()));
  TIniFile first(path), second(path);
  first.WriteString("MRU - Source", "1", "C:\\Shapes\\walls.fox");
  // Another object on the same file keeps what the first one wrote.
  second.WriteString("Main", "MBC", "7\nTips=0");
  second.WriteString("MRU - Destination", "1", "new");
  EXPECT_EQ(Text(path),
            "; kept\n[Main]\nTips=1\nMBC=7\n\n[mru - destination]\n1=new\n\n[MRU - "
            "Source]\n1=C:\\Shapes\\walls.fox\n");
  first.Reload();
  EXPECT_EQ(std::tuple(first.ReadInteger("MAIN", "mbc", 0), first.ReadBool("Main", "Tips", false),
                       first.ReadString("mru - SOURCE", "1", "")),
            std::tuple(7, true, "C:\\Shapes\\walls.fox"s));
}

}  // namespace
}  // namespace quillmere
