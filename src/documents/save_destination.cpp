#include "documents/save_destination.h"

#include "documents/changed_on_disk.h"
#include "formats/file_name.h"
#include "formats/fox_format.h"
#include "interface/messages.h"
#include "model/shape_flags.h"

namespace quillmere {

bool SaveDestinationFile(const std::string& fileName, TDocument& destination, UserInterface& ui,
                         const TSaveOptions& options, const TFileUsed& used) {
  bool written = false;
  if (!MayOverwrite(destination, fileName, ui)) return false;
  // What was remembered of the old file says nothing about a file of another name.
  auto takeName = [&] {
    if (destination.FileName != fileName) destination.OnDisk.reset();
    destination.FileName = fileName;
  };
  if (UpperCase(ExtractFileExt(fileName)) == ".FOX") {
    takeName();
    if (used) used(fileName);
    written = SaveFOXFile(fileName, destination.Shapes);
  } else {
    // A declined loss warning changes nothing, not even the document's name.
    if (WouldLoseData(destination.Shapes, TShapeFileType::ftFSH) &&
        Show(ui, TMsgId::DataLossFSH) != TMsgAnswer::Ok) {
      Show(ui, TMsgId::FileNotSaved);
      return false;
    }
    takeName();
    if (used) used(fileName);
    written = SaveFSHFile(fileName, destination.Shapes, ui, options);
  }
  if (written) NoteWritten(destination);
  return written;
}

}  // namespace quillmere
