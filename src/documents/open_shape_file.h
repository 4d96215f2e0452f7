#pragma once

#include <string>

#include "documents/document.h"
#include "formats/file_type.h"
#include "formats/load_frame.h"
#include "interface/user_interface.h"

namespace quillmere {

struct TOpenResult {
  TFileTypeInfo Type;
  TLoadOutcome Outcome;
};

// Opens `fileName` into `document` with the reader its content selects, then
// warns when the content does not match the extension. `used` hears of the
// name in any case; a read that did not complete leaves
// the document without a file name ("None"), so that a plain Save can't
// overwrite a file that was not fully read. Raises FileOpenError, changing
// nothing, when the file can't be opened; a read error raises after the
// document has been brought to that state.
TOpenResult OpenShapeFile(const std::string& fileName, TDocument& document, UserInterface& ui,
                          const TFileUsed& used = nullptr);

}  // namespace quillmere
