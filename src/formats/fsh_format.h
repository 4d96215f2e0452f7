#pragma once

#include <string>

#include "formats/load_frame.h"
#include "interface/user_interface.h"
#include "model/patch_frame.h"

namespace quillmere {

struct TSaveOptions {
  // "Save FBJ Information (FSH Only)": write the FBJ companion beside an FSH file.
  bool SaveFBJInformation = true;
};

// Reads an FSH file, or an FS2 patch when `fs2Mode` is set, with its FBJ
// companion when one lies beside it, into `shapes` (cleared first). Every
// shape gets one 8-bit frame. Refusals are shown through `ui`; a read past
// the end raises ReadError after the loading-error message.
TLoadOutcome LoadFSHFile(const std::string& fileName, TShapeList& shapes, UserInterface& ui, bool fs2Mode);

// Writes `shapes` as FSH, or as FS2 when the name's extension is ".FS2" (any
// case), keeping only what those formats hold. The FBJ companion is written
// beside an FSH file when the option asks for it. Refusals are shown through
// `ui` and write nothing; failures raise WriteError with the previous files
// untouched. Returns whether the file was written.
bool SaveFSHFile(const std::string& fileName, const TShapeList& shapes, UserInterface& ui,
                 const TSaveOptions& options);

}  // namespace quillmere
