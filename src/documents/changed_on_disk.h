#pragma once

#include <string>

#include "documents/document.h"
#include "interface/user_interface.h"

namespace quillmere {

// Whether a save of `document` to `fileName` may go ahead. Writing back to the
// file the document was read from or last saved to, after another program
// changed that file, would silently undo that program's work: the person is
// asked first, and No shows "File not saved." Any other name, a file that is
// gone, or a document that never saw its file, asks nothing.
bool MayOverwrite(const TDocument& document, const std::string& fileName, UserInterface& ui);

// After a written save: the document is unmodified and remembers its file as
// the save left it.
void NoteWritten(TDocument& document);

}  // namespace quillmere
