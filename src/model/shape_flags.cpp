#include "model/shape_flags.h"

namespace quillmere {

TShapeFlags UnpackFlags(std::uint16_t flags) {
  TShapeFlags switches;
  switches.Sittable = (flags & kFlagSittable) != 0;
  switches.Walkable = (flags & kFlagWalkable) != 0;
  switches.Gettable = (flags & kFlagGettable) != 0;
  return switches;
}

std::uint16_t PackFlags(bool furreXSet, bool furreYSet, const TShapeFlags& switches) {
  std::uint16_t flags = 0;
  if (switches.Walkable) flags |= kFlagWalkable;
  if (switches.Gettable) flags |= kFlagGettable;
  if (switches.Sittable) flags |= kFlagSittable;
  if (furreXSet) flags |= kFlagFurreX;
  if (furreYSet) flags |= kFlagFurreY;
  return flags;
}

bool WouldLoseData(const TShapeList& shapes, TShapeFileType target) {
  if (target != TShapeFileType::ftFSH && target != TShapeFileType::ftFS2) return false;
  for (const TPatchFrame& shape : shapes) {
    if (shape.Frames.size() > 1) return true;
    if (!shape.Script.empty()) return true;
    if (!shape.Frames.empty()) {
      const TPatchSubFrame& first = shape.Frames.front();
      if (first.Format != kFormatIndexed) return true;
      if (first.Opacity != 255) return true;
    }
  }
  return false;
}

}  // namespace quillmere
