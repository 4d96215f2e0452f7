#pragma once

#include <string>

#include "formats/load_frame.h"
#include "interface/user_interface.h"
#include "model/patch_frame.h"

namespace quillmere {

// Reads a FOX file of any version up to 3 into `shapes` (cleared first).
// Refusals (not FOX, unknown version, encrypted) are shown through `ui`;
// a read past the end or a negative payload length raises ReadError after the
// loading-error message, keeping the shapes completed before it.
TLoadOutcome LoadFOXFile(const std::string& fileName, TShapeList& shapes, UserInterface& ui);

// Writes every shape, frame and step. Version 1 when every frame is fully
// opaque and raw; otherwise version 3, so opacity and PNG planes survive.
// A value the format can't hold (more than 65535 frames or steps, a format
// code beyond 16 bits, a payload beyond 2 GiB) or a failed write raises
// WriteError and leaves the previous file untouched. Returns true once written.
bool SaveFOXFile(const std::string& fileName, const TShapeList& shapes);

}  // namespace quillmere
