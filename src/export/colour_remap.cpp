#include "export/colour_remap.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "export/corva_ini.h"

namespace quillmere::embedded {
extern const std::string_view colour_map;
}  // namespace quillmere::embedded

namespace quillmere {
namespace {

// The slot sections in the order of the code's characters after the "t".
constexpr std::array<std::string_view, 10> kSlotSections = {"Fur",  "Markings", "Hair", "Eyes",  "Badge",
                                                            "Vest", "Bracers",  "Cape", "Boots", "Trousers"};

const TCorvaINIv2& ColourMap() {
  static const TCorvaINIv2 map(embedded::colour_map);
  return map;
}

void Assign(TColorRemapTable& table, int source, int target) {
  const auto found =
      std::find_if(table.begin(), table.end(), [source](const auto& pair) { return pair.first == source; });
  if (found != table.end()) {
    found->second = target;
  } else {
    table.emplace_back(source, target);
  }
}

}  // namespace

void LoadColourMap() { ColourMap(); }

TColorRemapTable BuildRemapTable(std::string_view colourCode) { return BuildRemapTable(ColourMap(), colourCode); }

TColorRemapTable BuildRemapTable(const TCorvaINIv2& map, std::string_view colourCode) {
  std::string_view code = colourCode;
  if (code == "t" || !code.starts_with('t')) code = "t################";
  code.remove_prefix(1);

  TColorRemapTable table;
  std::vector<std::string> sources;
  for (std::size_t p = 0; p < kSlotSections.size(); ++p) {
    // A missing character gives -35, which no slot has, so the slot takes its colour 0.
    const int n = p < code.size() ? static_cast<unsigned char>(code[p]) - 35 : -35;
    const std::string_view slot = kSlotSections[p];
    std::string mapping = map.ReadString(slot, std::to_string(n), "");
    if (mapping.empty()) mapping = map.ReadString(slot, "0", "");
    if (mapping.empty()) continue;
    sources.clear();
    map.ReadSection(mapping, sources);
    for (const std::string& source : sources) {
      Assign(table, ParseDecimalInteger(source), map.ReadInteger(mapping, source, 0));
    }
  }
  return table;
}

void RemapBitmap(TPicture& picture, std::string_view colourCode) {
  if (colourCode.empty() || picture.Depth != TPictureDepth::Indexed8) return;
  // One lookup per pixel through a full table, so a target that is another
  // slot's source is never replaced a second time.
  std::array<std::uint8_t, 256> lookup;
  for (std::size_t i = 0; i < lookup.size(); ++i) lookup[i] = static_cast<std::uint8_t>(i);
  for (const auto& [source, target] : BuildRemapTable(colourCode)) {
    // A source no pixel can hold changes nothing; a target keeps the low byte
    // that storing it in a pixel would keep.
    if (source >= 0 && source < 256)
      lookup[static_cast<std::size_t>(source)] = static_cast<std::uint8_t>(target);
  }
  for (std::uint8_t& pixel : picture.Pixels) pixel = lookup[pixel];
}

}  // namespace quillmere
