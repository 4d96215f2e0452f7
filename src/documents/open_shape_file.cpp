#include "documents/open_shape_file.h"

#include "formats/fox_format.h"
#include "formats/fsh_format.h"
#include "interface/messages.h"

namespace quillmere {
namespace {

TLoadOutcome ReadInto(const std::string& fileName, TShapeFileType type, TShapeList& shapes, UserInterface& ui) {
  switch (type) {
    case TShapeFileType::ftFOX:
      return LoadFOXFile(fileName, shapes, ui);
    case TShapeFileType::ftFS2:
      return LoadFSHFile(fileName, shapes, ui, true);
    case TShapeFileType::ftFSH:
    case TShapeFileType::ftFSHPlain:
      break;
  }
  return LoadFSHFile(fileName, shapes, ui, false);
}

void ForgetUnreadFile(TDocument& document) { document.ForgetFile(); }

}  // namespace

TOpenResult OpenShapeFile(const std::string& fileName, TDocument& document, UserInterface& ui,
                          const TFileUsed& used) {
  TOpenResult result;
  result.Type = DetectFileType(fileName);
  document.FileName = fileName;
  document.OnDisk = FileIdentityOf(fileName);
  document.Modified = false;
  document.Offset = 0;
  try {
    result.Outcome = ReadInto(fileName, result.Type.FileType, document.Shapes, ui);
  } catch (...) {
    ForgetUnreadFile(document);
    if (used) used(fileName);
    throw;
  }
  if (!result.Outcome.Whole()) ForgetUnreadFile(document);
  if (!result.Type.ExtensionMatches) Show(ui, TMsgId::FiletypeMismatch);
  if (used) used(fileName);
  return result;
}

}  // namespace quillmere
