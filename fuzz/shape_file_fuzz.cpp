#include "shape_file_fuzz.h"

#include <string>

#include "documents/open_shape_file.h"
#include "formats/fbj_companion.h"
#include "formats/file_type.h"
#include "formats/fox_format.h"
#include "formats/fsh_format.h"
#include "fuzz_support.h"
#include "interface/platform_error.h"
#include "interface/scripted_user_interface.h"

namespace quillmere::fuzz {
namespace {

bool SameReader(TShapeFileType a, TShapeFileType b) {
  const auto reader = [](TShapeFileType t) { return t == TShapeFileType::ftFSHPlain ? TShapeFileType::ftFSH : t; };
  return reader(a) == reader(b);
}

// Writes `shapes` in `type`'s format and reads the file back into `loaded`;
// false when the writer refused (a shape the format can't hold).
bool WriteAndRead(const TShapeList& shapes, TShapeFileType type, TShapeList& loaded) {
  ScriptedUserInterface ui;
  const std::string name = ScratchFile("out" + std::string(ExpectedExtension(type)));
  // The FS2 writer leaves no companion, so none may linger from an earlier input.
  PutFile(FBJFileName(name), {}, false);
  try {
    if (type == TShapeFileType::ftFOX) {
      SaveFOXFile(name, shapes);
    } else if (!SaveFSHFile(name, shapes, ui, TSaveOptions{type != TShapeFileType::ftFS2})) {
      return false;
    }
  } catch (const WriteError&) {
    return false;  // a value the format can't hold
  } catch (const ReadError&) {
    return false;  // a damaged PNG plane the FSH writer had to decode
  }
  TLoadOutcome outcome;
  if (type == TShapeFileType::ftFOX) {
    outcome = LoadFOXFile(name, loaded, ui);
  } else {
    outcome = LoadFSHFile(name, loaded, ui, type == TShapeFileType::ftFS2);
  }
  Check(outcome.Whole(), "a file just written reads back whole");
  Check(ui.Shown().empty(), "a file just written reads back without a message");
  return true;
}

// What `type`'s file keeps of shapes read from a file of that type: FS2 is
// written without its companion, so flags and furre positions go.
TShapeList Kept(TShapeList shapes, TShapeFileType type) {
  if (type != TShapeFileType::ftFS2) return shapes;
  for (TPatchFrame& shape : shapes) {
    shape.Flags = 0;
    for (TPatchSubFrame& frame : shape.Frames) frame.FurrePosX = frame.FurrePosY = 0;
  }
  return shapes;
}

}  // namespace

void FuzzShapeFile(const std::uint8_t* data, std::size_t size, TShapeFileType type) {
  const TSplit parts = SplitAt(AsText(data, size), kFBJMarker);
  const std::string name = ScratchFile("in" + std::string(ExpectedExtension(type)));
  PutFile(name, parts.First);
  PutFile(FBJFileName(name), parts.Second, parts.HasSecond);

  // A newer FBJ companion is tried, so its records are read too.
  ScriptedUserInterface ui({TMsgAnswer::Yes});
  TDocument document;
  TOpenResult opened;
  try {
    opened = OpenShapeFile(name, document, ui);
  } catch (const PlatformError&) {
    // The loading-error message came first; the shapes read before the damage stay.
    Check(!ui.Shown().empty(), "a read error is announced before it leaves the reader");
  }

  TShapeList second;
  if (!WriteAndRead(document.Shapes, type, second)) return;
  if (opened.Outcome.Whole() && SameReader(opened.Type.FileType, type)) {
    // What came back is what was written, so writing it again would repeat
    // the same round trip.
    Check(second == Kept(document.Shapes, type), "a whole file survives being written again");
    return;
  }
  TShapeList third;
  Check(WriteAndRead(second, type, third), "what was written once can be written again");
  Check(third == second, "writing and reading again changes nothing");
}

}  // namespace quillmere::fuzz
