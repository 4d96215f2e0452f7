#pragma once

#include <string>

namespace quillmere {

// The name without its folder: "C:\a\walls.fox" and "/a/walls.fox" give "walls.fox".
std::string ExtractFileName(const std::string& path);

// The extension from the last "." of the name on, dot included; "" when the
// name has no dot.
std::string ExtractFileExt(const std::string& path);

// `path` with its extension replaced by `extension` (which carries its dot);
// a name without an extension gets it appended.
std::string ChangeFileExt(const std::string& path, const std::string& extension);

// ASCII upper case, as extensions are compared.
std::string UpperCase(std::string text);

}  // namespace quillmere
