#pragma once

#include <cstdint>

#include "model/patch_frame.h"
#include "model/shape_file_type.h"

namespace quillmere {

// The three switches of the property editor.
struct TShapeFlags {
  bool Sittable = false;
  bool Walkable = false;
  bool Gettable = false;

  bool operator==(const TShapeFlags&) const = default;
};

// Reads the three switches from a flag word; bits 3 and up are ignored.
TShapeFlags UnpackFlags(std::uint16_t flags);

// Builds a flag word from the switches and whether the first frame's furre
// position is set; every other bit is 0.
std::uint16_t PackFlags(bool furreXSet, bool furreYSet, const TShapeFlags& switches);

// True when saving `shapes` as `target` would drop something: for FSH and FS2,
// extra frames, a script, a first frame that is not 8-bit or not fully opaque.
// Other targets hold everything.
bool WouldLoseData(const TShapeList& shapes, TShapeFileType target);

}  // namespace quillmere
