#include "documents/changed_on_disk.h"

#include "interface/messages.h"

namespace quillmere {

bool MayOverwrite(const TDocument& document, const std::string& fileName, UserInterface& ui) {
  if (!document.OnDisk || fileName != document.FileName) return true;
  const std::optional<TFileIdentity> now = FileIdentityOf(fileName);
  if (!now || *now == *document.OnDisk) return true;
  if (Show(ui, TMsgId::ChangedOnDisk, {fileName}) == TMsgAnswer::Yes) return true;
  Show(ui, TMsgId::FileNotSaved);
  return false;
}

void NoteWritten(TDocument& document) {
  document.Modified = false;
  document.OnDisk = FileIdentityOf(document.FileName);
}

}  // namespace quillmere
