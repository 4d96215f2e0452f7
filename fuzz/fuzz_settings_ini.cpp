// A settings file as the editor finds it at start-up: the options and both
// recent-file lists read from it. Then the options are written back, a recent
// file is added, and everything must read back as it was written, with the
// lines the program does not own kept.

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/ini_file.h"
#include "app/most_recent_files.h"
#include "app/settings.h"
#include "fuzz_support.h"
#include "interface/platform_error.h"

namespace {

using namespace quillmere;

struct TOptions {
  bool Tips, DragDrop, CopyMode, LargeHighlight;
  std::uint32_t Main, SubFrame;
  bool operator==(const TOptions&) const = default;
};

TOptions OptionsOf(const TSettings& settings) {
  return {settings.Tips(),           settings.DragDrop(),      settings.CopyMode(),
          settings.LargeHighlight(), settings.MainHighlight(), settings.SubFrameHighlight()};
}

TMostRecentFiles List(const char* section, const TIniFile& ini) {
  TMostRecentFiles list;
  list.SetIniSection(section);
  list.Load(ini);
  list.MenuEntries();
  return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(fuzz::AsText(data, size));
  const std::string folder = fuzz::ScratchFile("config");
  static const std::string file = TSettings(folder).FileName();
  fuzz::PutFile(file, text);
  TSettings settings(folder);
  const TOptions options = OptionsOf(settings);
  fuzz::Check(options.Main <= 0xFFFFFF && options.SubFrame <= 0xFFFFFF, "highlight colours are colours");

  TIniFile& ini = settings.Ini();
  const std::string before = ini.Text();
  TMostRecentFiles destination = List("MRU - Destination", ini);
  List("MRU - Source", ini);

  // The document reads back as the same document.
  const std::string copy = fuzz::ScratchFile("copy.ini");
  fuzz::PutFile(copy, before);
  fuzz::Check(TIniFile(copy).Text() == before, "a settings file reads back as written");

  try {
    settings.Save();
    fuzz::Check(OptionsOf(TSettings(folder)) == options, "saved options read back unchanged");
    const std::string name = "C:\\Shapes\\" + text.substr(0, 40);
    destination.AddFile(name);
    // One key is enough to see the write; every key is another atomic write.
    destination.SetMaxFiles(1);
    destination.Save(ini);
    TIniFile again(settings.FileName());
    const TMostRecentFiles reread = List("MRU - Destination", again);
    fuzz::Check(!reread.Files().empty() && reread.Files().front() == name.substr(0, name.find_first_of("\r\n")),
                "an added recent file reads back first");
    fuzz::Check(OptionsOf(TSettings(folder)) == options, "the recent list leaves the options alone");
  } catch (const WriteError&) {
    fuzz::Fail("the scratch settings file can always be written");
  }
  return 0;
}
