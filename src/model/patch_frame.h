#pragma once

#include <cstdint>
#include <vector>

#include "model/ks_step.h"
#include "model/patch_sub_frame.h"

namespace quillmere {

// Object flag bits. Bits above 4 are carried through unchanged.
enum TShapeFlagBits : std::uint16_t {
  kFlagWalkable = 1,
  kFlagGettable = 2,
  kFlagSittable = 4,
  kFlagFurreX = 8,   // the first frame's furre X is non-zero
  kFlagFurreY = 16,  // the first frame's furre Y is non-zero
};

// A shape (an "object" to the user). It owns its frames and its script;
// frame 0 is the first frame, which FSH and FS2 files store.
struct TPatchFrame {
  std::uint16_t Flags = 0;
  std::int16_t ReplacementIndex = -1;  // -1: replaces nothing
  std::vector<TPatchSubFrame> Frames;
  TKSScript Script;

  bool operator==(const TPatchFrame&) const = default;
};

// A document's ordered list of shapes; index 0 is the first shape.
using TShapeList = std::vector<TPatchFrame>;

}  // namespace quillmere
