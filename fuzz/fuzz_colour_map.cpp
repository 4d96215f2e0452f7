// A colour map read by the colour map's INI reader and a colour code applied
// with it, as a GIF export's "Remapped" option applies the shipped one.
//
// Input: the colour code, a line break, then the map's text.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "export/colour_remap.h"
#include "export/corva_ini.h"
#include "fuzz_support.h"
#include "interface/platform_error.h"

namespace {

using namespace quillmere;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::TSplit parts = fuzz::SplitAt(fuzz::AsText(data, size), "\n");
  const TCorvaINIv2 map(parts.Second);
  try {
    const TColorRemapTable table = BuildRemapTable(map, parts.First);
    for (std::size_t i = 0; i < table.size(); ++i) {
      for (std::size_t j = i + 1; j < table.size(); ++j) {
        fuzz::Check(table[i].first != table[j].first, "each source is replaced once");
      }
    }
  } catch (const PlatformError&) {
    // An entry name or value that is not an integer.
  }

  // Every entry a section lists is found by its name, in every letter case.
  for (std::string_view rest = parts.Second; !rest.empty();) {
    const fuzz::TSplit line = fuzz::SplitAt(rest, "\n");
    rest = line.Second;
    if (line.First.size() < 2 || line.First.front() != '[' || line.First.back() != ']') continue;
    const std::string section(line.First.substr(1, line.First.size() - 2));
    std::vector<std::string> names;
    map.ReadSection(section, names);
    for (const std::string& name : names) {
      fuzz::Check(map.ReadString(section, name, TCorvaINIv2::kNoEntry) != TCorvaINIv2::kNoEntry,
                  "a listed entry is found");
      std::string lower = name;
      for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
      fuzz::Check(map.ReadString(section, lower, TCorvaINIv2::kNoEntry) != TCorvaINIv2::kNoEntry,
                  "entry names match in any letter case");
      try {
        map.ReadInteger(section, name, 0);
      } catch (const PlatformError&) {
      }
    }
  }
  return 0;
}
