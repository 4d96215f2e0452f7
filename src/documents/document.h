#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/most_recent_files.h"
#include "model/patch_frame.h"

namespace quillmere {

// The file name of a document that has no file.
inline constexpr std::string_view kNoFileName = "None";

// One of the two documents (Destination or Source): its shapes and where they
// came from.
struct TDocument {
  static constexpr std::uint32_t kRecentFiles = 8;

  TDocument() { Recent.SetMaxFiles(kRecentFiles); }

  TShapeList Shapes;
  std::string FileName{kNoFileName};
  bool Modified = false;
  int Offset = 0;  // added to shape numbers shown to the user
  TMostRecentFiles Recent;

  bool HasFile() const { return FileName != kNoFileName; }
};

}  // namespace quillmere
