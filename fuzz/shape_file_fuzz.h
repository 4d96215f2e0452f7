#pragma once

#include <cstddef>
#include <cstdint>

#include "model/shape_file_type.h"

namespace quillmere::fuzz {

// The body of the three shape-file targets. The input is a shape file,
// optionally followed by kFBJMarker and the FBJ companion's bytes; it is
// opened the way the editor opens a file (type detection, then the reader the
// content selects) under a name with `type`'s extension. Whatever loaded is
// then written in `type`'s format and read back, twice: the second generation
// must read back whole and equal to the first, and a file of `type` that
// loaded whole must come back as it was (less what the format can't hold).
void FuzzShapeFile(const std::uint8_t* data, std::size_t size, TShapeFileType type);

inline constexpr const char* kFBJMarker = "\n--FBJ--\n";

}  // namespace quillmere::fuzz
