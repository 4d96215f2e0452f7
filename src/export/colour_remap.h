#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "export/corva_ini.h"
#include "model/picture.h"

namespace quillmere {

// Palette-index replacements of one colour code: (source, target) pairs, each
// source at most once.
using TColorRemapTable = std::vector<std::pair<int, int>>;

// Reads the shipped colour map (start-up does this; later calls do nothing).
void LoadColourMap();

// The replacements a Furcadia colour code ("t" and one character per slot)
// asks for; unknown or missing colours fall back to colour 0 of their slot.
TColorRemapTable BuildRemapTable(std::string_view colourCode);
// The same with another colour map, for checking maps other than the shipped one.
TColorRemapTable BuildRemapTable(const TCorvaINIv2& map, std::string_view colourCode);

// Applies `colourCode` to an indexed picture in place, each pixel looked up
// once. An empty code or a colour picture is left unchanged.
void RemapBitmap(TPicture& picture, std::string_view colourCode);

}  // namespace quillmere
