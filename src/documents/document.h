#pragma once

#include <functional>
#include <string>
#include <string_view>

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

  bool HasFile() const { return FileName != kNoFileName; }
};

// Told the name of each file a document is opened from or saved to, so that
// the window's recent-files list can remember it.
using TFileUsed = std::function<void(const std::string& fileName)>;

}  // namespace quillmere
