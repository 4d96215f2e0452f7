#pragma once

#include <string>
#include <string_view>

#include "model/shape_file_type.h"

namespace quillmere {

struct TFileTypeInfo {
  TShapeFileType FileType = TShapeFileType::ftFSHPlain;
  bool ExtensionMatches = false;

  bool operator==(const TFileTypeInfo&) const = default;
};

// Decides a shape file's type by its content, then compares the name's
// extension (upper-cased) with the one that type expects. Raises
// FileOpenError when the file can't be opened.
TFileTypeInfo DetectFileType(const std::string& fileName);

// ".FOX", ".FS2" or ".FSH".
std::string_view ExpectedExtension(TShapeFileType type);

// "fox", "fs2", "fsh", "fsh-plain": the type's name in machine-readable output.
std::string_view FileTypeName(TShapeFileType type);

}  // namespace quillmere
