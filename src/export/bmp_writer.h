#pragma once

#include <string>

#include "model/picture.h"

namespace quillmere {

// Writes `picture` as a Windows bitmap, replacing any file of that name
// atomically: an indexed picture at 8 bits per pixel with the game palette as
// its colour table (so its indices survive a paint program), a colour picture
// at 24 bits per pixel. Raises WriteError when the file can't be written or
// the picture is too large for the format.
void WriteBmp(const TPicture& picture, const std::string& path);

}  // namespace quillmere
