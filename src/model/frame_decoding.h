#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "model/byte_buffer.h"
#include "model/patch_sub_frame.h"
#include "model/picture.h"

namespace quillmere {

class UserInterface;

// Frames larger than this many pixels are not decoded: a damaged file may
// announce 65535 x 65535 pixels backed by a few bytes, and no picture of the
// game comes near it.
inline constexpr std::size_t kMaxDecodedPixels = 64u * 1024 * 1024;

// Reads one raw plane from `payload` at `position` (which moves past it) into
// `target`, whose size and depth say how many bytes to read. Stored rows run
// bottom to top; colour pixels are stored blue, green, red. Bytes the payload
// lacks leave their pixels 0.
void ReadIndexedPlane(const ByteBuffer& payload, std::size_t& position, TPicture& target);
void ReadColourPlane(const ByteBuffer& payload, std::size_t& position, TPicture& target);

// Reads one PNG stream into `target` (Indexed8 or Rgb24), flipping rows and
// channel order as a PNG plane stores them. Raises ReadError for a damaged
// stream.
void ReadPNGPicture(const ByteBuffer& payload, std::size_t& position, TPicture& target);

struct TDecodedFrame {
  std::optional<TPicture> Picture;  // none for an unknown format or an oversized frame
  std::optional<TPicture> Alpha;    // formats 3 and 7, when decoded
};

// The full decoding used for thumbnails and bitmap export: format 1 an indexed
// picture, 2 a colour picture, 3 and 7 a colour picture plus an alpha plane.
// Raw and PNG planes are decoded; any other encoding gives a picture of the
// frame's size carrying "UNSUPPORTED". Unknown formats write "Unsupported
// Frame Format" to the debugging output and give no picture.
TDecodedFrame DecodeFrame(const TPatchSubFrame& frame, UserInterface& ui);

// DecodeFrame shrunk to width x height by nearest neighbour: target pixel
// (x, y) is the decoded pixel (floor(x * Width / width), floor(y * Height /
// height)); width and height are at most the frame's. Only the sampled
// pixels are placed, so a thumbnail of a large frame costs little beyond
// inflating its PNG planes.
TDecodedFrame DecodeFrameSampled(const TPatchSubFrame& frame, int width, int height, UserInterface& ui);

// The picture used by playback and GIF export: as DecodeFrame without the
// alpha plane. Unknown formats give an empty (0 x 0) picture.
TPicture FrameToBitmap(const TPatchSubFrame& frame, UserInterface& ui);

// Draws `text` with the program's built-in font, its top-left at (x, y), in
// palette index `index` (indexed pictures) or `colour` (colour pictures);
// pixels outside the picture are skipped. `bold` thickens the strokes.
void DrawText(TPicture& picture, int x, int y, std::string_view text, std::uint8_t index,
              std::uint8_t red, std::uint8_t green, std::uint8_t blue, bool bold = false);

// Height in pixels of the built-in font's text, and the width of `text`.
int TextHeight();
int TextWidth(std::string_view text, bool bold = false);

}  // namespace quillmere
