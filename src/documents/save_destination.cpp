#include "documents/save_destination.h"

#include "formats/file_name.h"
#include "formats/fox_format.h"
#include "interface/messages.h"
#include "model/shape_flags.h"

namespace quillmere {

bool SaveDestinationFile(const std::string& fileName, TDocument& destination, UserInterface& ui,
                         const TSaveOptions& options, const TFileUsed& used) {
  bool written = false;
  if (UpperCase(ExtractFileExt(fileName)) == ".FOX") {
    destination.FileName = fileName;
    if (used) used(fileName);
    written = SaveFOXFile(fileName, destination.Shapes);
  } else {
    // A declined loss warning changes nothing, not even the document's name.
    if (WouldLoseData(destination.Shapes, TShapeFileType::ftFSH) &&
        Show(ui, TMsgId::DataLossFSH) != TMsgAnswer::Ok) {
      Show(ui, TMsgId::FileNotSaved);
      return false;
    }
    destination.FileName = fileName;
    if (used) used(fileName);
    written = SaveFSHFile(fileName, destination.Shapes, ui, options);
  }
  if (written) destination.Modified = false;
  return written;
}

}  // namespace quillmere
