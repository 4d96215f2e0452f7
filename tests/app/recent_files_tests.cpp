#include <gtest/gtest.h>

#include <filesystem>

#include "app/ini_file.h"
#include "app/most_recent_files.h"
#include "support/message_printing.h"
#include "support/test_files.h"

namespace quillmere::test {
namespace {

using Texts = std::vector<std::string>;

TMostRecentFiles ListOf(const Texts& added, std::uint32_t maxFiles = 8) {
  TMostRecentFiles recent;
  recent.SetMaxFiles(maxFiles);
  for (const std::string& name : added) recent.AddFile(name);
  return recent;
}

TEST(RecentFiles, NewestFirstWithoutDuplicatesOfAnyCaseUpToTheLimit) {
  TMostRecentFiles recent;
  // "a.fox" when "A.FOX" is first changes nothing.
  for (const char* name : {"a.fox", "b.fox", "A.FOX", "a.fox"}) recent.AddFile(name);
  EXPECT_EQ(recent.Files(), (Texts{"A.FOX", "b.fox"}));
  for (const char* name : {"1", "2", "3"}) recent.AddFile(name);
  EXPECT_EQ(recent.Files(), (Texts{"3", "2", "1", "A.FOX"}));  // four at most unless told otherwise
  recent.SetMaxFiles(0);
  EXPECT_EQ(recent.Files(), Texts{"3"});
  recent.SetMaxFiles(20);
  EXPECT_EQ(recent.MaxFiles(), 8u);
}

TEST(RecentFiles, SavedSectionsLoadBackUpToTheFirstGap) {
  TempDir dir;
  const std::string path = dir.File("q.ini");
  WriteFile(path, ByteBuilder().Text("; kept\n[mru - destination]\n1=old\n"));
  TIniFile ini(path);
  TIniFile(path).WriteString("Main", "Tips", "1");  // another object on the file, as the settings are
  TMostRecentFiles saved = ListOf({"/b.fsh", "C:\\Shapes\\walls.fox"});
  saved.SetIniSection("MRU - Destination");
  saved.Save(ini);
  const Bytes written = ReadFile(path);
  EXPECT_EQ(std::string(written.begin(), written.end()),
            "; kept\n[mru - "
            "destination]\n1=C:\\Shapes\\walls.fox\n2=/b.fsh\n3=\n4=\n5=\n6=\n7=\n8=\n\n[Main]\nTips=1\n");
  // Section content, MaxFiles, then the list loaded.
  const std::tuple<std::string, std::uint32_t, Texts> cases[] = {{"1=a\n3=c\n", 8, {"a"}},
                                                                 {"1=a\n2=b\n3=c\n", 2, {"a", "b"}}};
  for (const auto& [section, maxFiles, expected] : cases) {
    WriteFile(path, ByteBuilder().Text("[MRU - Destination]\n" + section + "[MRU - Source]\n1=s\n"));
    TMostRecentFiles loaded = ListOf({"old"}, maxFiles);
    loaded.SetIniSection("mru - destination");
    loaded.Load(TIniFile(path));
    EXPECT_EQ(loaded.Files(), expected) << section;
  }
}

TEST(RecentFiles, ChoosingAnEntryMovesItFirstOrDropsAVanishedFile) {
  TempDir dir;
  const std::string a = dir.File("a.fox"), b = dir.File("b.fox"), c = dir.File("R&D.fox"), d = dir.File("d");
  WriteFile(a, {});
  WriteFile(c, {});
  std::filesystem::create_directory(d);  // a folder is no file to open
  auto gone = [](const std::string& name) {
    return TMessage{"Quillmere", "The file ...\n\"" + name + "\"\nno longer exists.", TMsgIcon::Information,
                    TMsgButtons::Ok};
  };
  // Index chosen, what opens, the list after, the messages.
  // clang-format off
  const std::tuple<std::size_t, std::optional<std::string>, Texts, std::vector<TMessage>> cases[] = {
      {2, c, {c, a, b, d}, {}}, {1, std::nullopt, {a, c, d}, {gone(b)}}, {3, {}, {a, b, c}, {gone(d)}}};
  // clang-format on
  for (const auto& [index, opened, files, messages] : cases) {
    TMostRecentFiles recent = ListOf({d, c, b, a});
    ScriptedUserInterface ui;
    EXPECT_EQ(recent.ChooseEntry(index, ui), opened) << index;
    EXPECT_EQ(std::tuple(recent.Files(), MessagesOf(ui)), std::tuple(files, messages)) << index;
  }
  // Captions follow the new order; "&" in a name is doubled to show as itself.
  TMostRecentFiles recent = ListOf({c, "C:\\Shapes\\walls.fox"});
  ScriptedUserInterface ui;
  recent.ChooseEntry(1, ui, [](const std::string&) { return true; });
  EXPECT_EQ(recent.MenuEntries(), (std::vector<TMostRecentFiles::TMenuEntry>{
                                      {"&1  R&&D.fox", c}, {"&2  walls.fox", "C:\\Shapes\\walls.fox"}}));
}

}  // namespace
}  // namespace quillmere::test
