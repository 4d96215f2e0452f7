#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "interface/platform_error.h"

namespace quillmere {

class UserInterface;

// A line of a text palette that is not three bytes. The text names the file
// and the line, for the general error handler.
class PaletteTextError : public PlatformError {
 public:
  using PlatformError::PlatformError;
};

// One line of a text palette: three right-aligned columns in characters 1 to
// 3, 5 to 7 and 9 to 11 ("199 144 186"), each a decimal number 0 to 255 once
// spaces are trimmed; anything past the eleventh character is ignored.
// Raises PaletteTextError naming `source` and `lineNumber` otherwise.
std::array<std::uint8_t, 3> ParsePaletteLine(std::string_view line, const std::string& source, int lineNumber);

// The palette converter: every line of the text file `in` becomes three bytes
// of `out`, so that 256 lines give the game palette's 768-byte layout. Lines
// end with LF, CR LF or CR; an end at the very end of the file starts no
// further line. The output replaces `out` only when every line converted:
// a bad line raises PaletteTextError and leaves `out` as it was. Shows "Done."
// on success and returns the entries written.
int ConvertTextPalette(const std::string& in, const std::string& out, UserInterface& ui);

}  // namespace quillmere
