#pragma once

#include <string>

#include "documents/document.h"
#include "formats/fsh_format.h"
#include "interface/user_interface.h"

namespace quillmere {

// Saves the destination under `fileName` in the type its extension names
// (".FOX" FOX, ".FS2" FS2, anything else FSH), asking first when the file is
// the document's own and was changed on disk since, then when FSH or FS2
// would lose data. A written save gives the document that name, tells `used`
// of it and clears the modified flag. Returns whether the file was
// written; write errors raise WriteError with the document's flag unchanged.
bool SaveDestinationFile(const std::string& fileName, TDocument& destination, UserInterface& ui,
                         const TSaveOptions& options, const TFileUsed& used = nullptr);

}  // namespace quillmere
