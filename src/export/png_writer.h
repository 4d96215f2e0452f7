#pragma once

#include <string>

#include "model/picture.h"

namespace quillmere {

// Writes a picture as a PNG file through libpng, replacing `fileName` only
// once the file is complete: colour pictures as RGB, indexed ones with the
// game palette as their colour map. Raises WriteError.
void WritePNGFile(const std::string& fileName, const TPicture& picture);

}  // namespace quillmere
