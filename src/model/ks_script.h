#pragma once

#include "model/patch_frame.h"

namespace quillmere {

// An independent copy of the shape's steps, for editing.
TKSScript LoadScript(const TPatchFrame& shape);

// Replaces the shape's steps (count and contents) by `steps`.
void StoreScript(TPatchFrame& shape, TKSScript steps);

}  // namespace quillmere
