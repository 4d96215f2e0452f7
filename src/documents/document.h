#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "formats/file_identity.h"
#include "model/patch_frame.h"

namespace quillmere {

// The file name of a document that has no file.
inline constexpr std::string_view kNoFileName = "None";

// One of the two documents (Destination or Source): its shapes and where they
// came from.
struct TDocument {
  TShapeList Shapes;
  std::string FileName{kNoFileName};
  bool Modified = false;
  int Offset = 0;  // added to shape numbers shown to the user
  // The file as it was when the document was read from it or last written
  // to it, so that a save can tell when another program changed it since.
  std::optional<TFileIdentity> OnDisk;

  bool HasFile() const { return FileName != kNoFileName; }
  // Gives up the file: the name becomes "None" and nothing is remembered of it.
  void ForgetFile() {
    FileName = std::string(kNoFileName);
    OnDisk.reset();
  }
};

// Told the name of each file a document is opened from or saved to, so that
// the window's recent-files list can remember it.
using TFileUsed = std::function<void(const std::string& fileName)>;

}  // namespace quillmere
