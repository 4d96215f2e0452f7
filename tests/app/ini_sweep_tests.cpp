// Every prefix of the settings file and of the colour map, and each with any
// one byte of a section header changed: the readers never crash, and every
// entry whose line survived whole reads as it did in the whole file.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "app/ini_file.h"
#include "app/most_recent_files.h"
#include "app/settings.h"
#include "export/corva_ini.h"
#include "support/test_files.h"

namespace quillmere::embedded {
extern const std::string_view colour_map;
}  // namespace quillmere::embedded

namespace quillmere::test {
namespace {

// One "name=value" line of an INI text: where it lies and which section holds it.
struct TEntry {
  std::string Section, Name;
  std::size_t Start = 0, End = 0;  // End: just past the line break
};

// The entries of `text` (lines ending in LF) under their "[...]" headers.
std::vector<TEntry> EntriesOf(std::string_view text, bool headerIsWholeLine) {
  std::vector<TEntry> entries;
  std::string section;
  bool inSection = false;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view line = text.substr(start, end - start);
    if (line.starts_with('[')) {
      section = headerIsWholeLine ? std::string(line) : std::string(line.substr(1, line.find(']') - 1));
      inSection = true;
    } else if (line.empty() && headerIsWholeLine) {
      inSection = false;  // the colour map's sections end at an empty line
    } else if (inSection && line.find('=') != std::string_view::npos) {
      entries.push_back({section, std::string(line.substr(0, line.find('='))), start, end + 1});
    }
    start = end + 1;
  }
  return entries;
}

// The bytes of every section header line, with the line break after it.
std::vector<std::size_t> HeaderBytes(std::string_view text, std::size_t headers) {
  std::vector<std::size_t> at;
  for (std::size_t start = 0; start < text.size() && headers > 0;) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    if (text[start] == '[') {
      for (std::size_t i = start; i <= end && i < text.size(); ++i) at.push_back(i);
      --headers;
    }
    start = end + 1;
  }
  return at;
}

std::vector<char> ChangedValues(char value) {
  std::vector<char> values;
  for (const char v : {'\0', '\xFF', static_cast<char>(value ^ 0x80), static_cast<char>(value + 1)}) {
    if (v != value && std::find(values.begin(), values.end(), v) == values.end()) values.push_back(v);
  }
  return values;
}

// The section a changed byte damages: the header line it lies on, or the one
// its line break ends.
std::string SectionAt(std::string_view text, std::size_t at, bool headerIsWholeLine) {
  const std::size_t start = text.rfind('\n', at == 0 ? 0 : at - 1);
  const std::size_t lineStart = (start == std::string_view::npos || at == 0) ? 0 : start + 1;
  const std::size_t end = std::min(text.find('\n', lineStart), text.size());
  const std::string_view line = text.substr(lineStart, end - lineStart);
  return headerIsWholeLine ? std::string(line) : std::string(line.substr(1, line.find(']') - 1));
}

using TOptions = std::tuple<bool, bool, bool, bool, std::uint32_t, std::uint32_t>;
TOptions OptionsOf(const TSettings& s) {
  return {s.Tips(), s.DragDrop(), s.CopyMode(), s.LargeHighlight(), s.MainHighlight(), s.SubFrameHighlight()};
}

// A cut settings file costs only the entries it cut: each entry whose line is
// whole reads as before, the cut one reads a beginning of its value or not at
// all, and the options read from it are those of the whole file or the
// defaults. A changed header hides its own section and no other.
TEST(IniSweep, ACutOrChangedSettingsFileCostsOnlyWhatItLost) {
  TempDir dir;
  std::string path;
  {
    TSettings settings(dir.Path());
    settings.ToggleTips();
    settings.SetCopyMode(false);
    settings.ToggleLargeHighlight();
    settings.SetMainHighlight(0x123456);
    settings.SetSubFrameHighlight(0x654321);
    for (const char* section : {"MRU - Destination", "MRU - Source"}) {
      TMostRecentFiles recent;
      recent.SetIniSection(section);
      recent.SetMaxFiles(8);
      for (const char* name : {"/art/walls.fox", "/art/import.fsh", "/art/patch.fs2"}) {
        recent.AddFile(std::string(name) + (section[6] == 'S' ? ".src" : ""));
      }
      recent.Save(settings.Ini());
    }
    path = settings.FileName();
  }
  const Bytes bytes = ReadFile(path);
  const std::string whole(bytes.begin(), bytes.end());
  const std::vector<TEntry> entries = EntriesOf(whole, false);
  ASSERT_GE(entries.size(), 12u);
  const TIniFile original(path);
  const TOptions before = OptionsOf(TSettings(dir.Path()));
  TempDir empty;
  const TOptions defaults = OptionsOf(TSettings(empty.Path()));
  constexpr std::string_view kAbsent = "(absent)";

  for (std::size_t n = whole.size(); n-- > 0;) {
    SCOPED_TRACE(::testing::Message() << "first " << n << " bytes");
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(n)), 0);
    const TIniFile ini(path);
    for (const TEntry& e : entries) {
      const std::string value = ini.ReadString(e.Section, e.Name, kAbsent);
      const std::string was = original.ReadString(e.Section, e.Name, kAbsent);
      if (e.End <= n) {
        EXPECT_EQ(value, was) << e.Section << "/" << e.Name;
      } else {
        EXPECT_TRUE(value == kAbsent || was.starts_with(value)) << e.Section << "/" << e.Name << ": " << value;
      }
    }
    const TOptions options = OptionsOf(TSettings(dir.Path()));
    const auto check = [&](auto got, auto wanted, auto fallback, const char* key) {
      const auto line = std::find_if(entries.begin(), entries.end(), [&](const TEntry& e) { return e.Name == key; });
      if (line->End <= n) {
        EXPECT_EQ(got, wanted) << key;
      } else if (line->Start + std::string_view(key).size() + 1 >= n) {
        EXPECT_EQ(got, fallback) << key;
      }
    };
    check(std::get<0>(options), std::get<0>(before), std::get<0>(defaults), "Tips");
    check(std::get<2>(options), std::get<2>(before), std::get<2>(defaults), "Copymode");
    check(std::get<3>(options), std::get<3>(before), std::get<3>(defaults), "Highlighter");
    check(std::get<4>(options), std::get<4>(before), std::get<4>(defaults), "MBC");
    check(std::get<5>(options), std::get<5>(before), std::get<5>(defaults), "SBC");
    TMostRecentFiles recent;
    recent.SetIniSection("MRU - Source");
    recent.SetMaxFiles(8);
    recent.Load(ini);
    TMostRecentFiles all = recent;
    all.Load(original);
    ASSERT_LE(recent.Files().size(), all.Files().size());
    for (std::size_t i = 0; i + 1 < recent.Files().size(); ++i) EXPECT_EQ(recent.Files()[i], all.Files()[i]);
  }
  WriteFile(path, bytes);
  for (const std::size_t at : HeaderBytes(whole, 3)) {
    for (const char value : ChangedValues(whole[at])) {
      SCOPED_TRACE(::testing::Message() << "byte " << at << " set to " << int(value));
      std::string changed = whole;
      changed[at] = value;
      WriteFile(path, Bytes(changed.begin(), changed.end()));
      const TIniFile ini(path);
      const std::string hit = SectionAt(whole, at, false);
      for (const TEntry& e : entries) {
        if (e.Section == hit) continue;
        EXPECT_EQ(ini.ReadString(e.Section, e.Name, kAbsent), original.ReadString(e.Section, e.Name, kAbsent))
            << e.Section << "/" << e.Name;
      }
      const TOptions options = OptionsOf(TSettings(dir.Path()));
      if (hit != "Main") {
        EXPECT_EQ(options, before);
      }
    }
  }
}

// The colour map read from any prefix keeps every entry whose line is whole
// (a cut one reads a beginning of its value, or not at all); a changed
// section header hides its own section and no other.
TEST(IniSweep, ACutOrChangedColourMapCostsOnlyWhatItLost) {
  const std::string_view whole = embedded::colour_map;
  const std::vector<TEntry> entries = EntriesOf(whole, true);
  ASSERT_GE(entries.size(), 100u);
  const TCorvaINIv2 original(whole);
  auto section = [](const TEntry& e) { return e.Section.substr(1, e.Section.find(']') - 1); };
  // Every length up to 400 (the first section and the start of the second),
  // then a stride, and the lengths around the start of some later sections.
  std::vector<std::size_t> lengths;
  for (std::size_t n = 0; n < whole.size(); n += n < 400 ? 1 : 401) lengths.push_back(n);
  std::vector<std::size_t> starts;
  for (const std::size_t at : HeaderBytes(whole, 1000)) {
    if (whole[at] == '[') starts.push_back(at);
  }
  for (std::size_t i = 1; i < starts.size(); i += 7) {
    for (std::size_t n = starts[i] - 2; n < starts[i] + 3; ++n) lengths.push_back(n);
  }
  std::vector<std::string> was;
  for (const TEntry& e : entries) was.push_back(original.ReadString(section(e), e.Name, TCorvaINIv2::kNoEntry));
  for (const std::size_t n : lengths) {
    SCOPED_TRACE(::testing::Message() << "first " << n << " bytes");
    // A buffer of exactly n bytes, so that a read past the cut is an overflow
    // the sanitizers see rather than a read of the bytes that were cut.
    const std::unique_ptr<char[]> cut(new char[n]);
    std::copy_n(whole.data(), n, cut.get());
    const TCorvaINIv2 map(std::string_view(cut.get(), n));
    // The entries near the cut, and all of them for the short prefixes: far
    // from the cut a longer text reads as the shorter one did.
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const TEntry& e = entries[i];
      if (e.Start > n + 256) break;
      if (n > 400 && e.End + 2048 < n) continue;
      const std::string value = map.ReadString(section(e), e.Name, TCorvaINIv2::kNoEntry);
      if (e.End <= n) {
        EXPECT_EQ(value, was[i]) << e.Section << "/" << e.Name;
      } else if (e.Start >= n) {
        EXPECT_EQ(value, TCorvaINIv2::kNoEntry) << e.Section << "/" << e.Name;
      } else {
        EXPECT_TRUE(value == TCorvaINIv2::kNoEntry || was[i].starts_with(value)) << e.Section << "/" << e.Name;
      }
    }
    if (HasFailure()) return;
  }
  for (const std::size_t at : HeaderBytes(whole, 2)) {
    for (const char value : ChangedValues(whole[at])) {
      SCOPED_TRACE(::testing::Message() << "byte " << at << " set to " << int(value));
      std::string changed(whole);
      changed[at] = value;
      const TCorvaINIv2 map(changed);
      const std::string hit = SectionAt(whole, at, true);
      for (std::size_t i = 0; i < entries.size(); ++i) {
        const TEntry& e = entries[i];
        if (e.Section == hit) continue;
        EXPECT_EQ(map.ReadString(section(e), e.Name, TCorvaINIv2::kNoEntry), was[i]) << e.Section << "/" << e.Name;
      }
      if (HasFailure()) return;
    }
  }
}

}  // namespace
}  // namespace quillmere::test
