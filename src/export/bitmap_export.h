#pragma once

#include <string>
#include <vector>

#include "model/patch_frame.h"

namespace quillmere {

class UserInterface;

// The name up to, not including, the last "." of its final component; a name
// without a dot is returned whole ("C:\a.b\walls" stays as it is).
std::string StripExtension(const std::string& name);

// Where frame `index` of a shape goes when the user chose `chosenName`:
// "C:\out\walls.old.bmp" and 0 give "C:\out\walls.old-0.bmp".
std::string FrameBitmapName(const std::string& chosenName, std::size_t index);

// Writes every frame of `shape` as a bitmap named by FrameBitmapName; the
// chosen file itself is not written. Format 1 frames become 8-bit bitmaps with
// the game palette, formats 2, 3 and 7 24-bit bitmaps of their colour plane
// (no transparency). A frame of an unknown format, or too large to decode, is
// left out (the decoder says why on the debugging output) and the other frames
// keep their numbers, so that a file's name always tells its frame. Returns
// the names written, in order. A failed write raises WriteError and ends the
// export; the files already written stay.
std::vector<std::string> ExportShapeBitmaps(const TPatchFrame& shape, const std::string& chosenName,
                                            UserInterface& ui);

}  // namespace quillmere
