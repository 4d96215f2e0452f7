#pragma once

#include <array>
#include <cstdint>

namespace quillmere {

// The program's own small font, so that pictures can carry text (the
// "UNSUPPORTED" mark, the "ANI" mark of thumbnails) without a GUI toolkit.
// Glyphs are 5 x 7 pixels on a 6-pixel advance; lower-case letters are drawn
// as upper-case, and characters the font lacks as a hollow box.
inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;
inline constexpr int kGlyphAdvance = 6;

// Seven rows, top first; bit 4 of each row is the leftmost column.
using TGlyph = std::array<std::uint8_t, kGlyphHeight>;

const TGlyph& GlyphOf(char c);

}  // namespace quillmere
