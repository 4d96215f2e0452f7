#pragma once

#include <cstddef>
#include <cstdint>

#include "model/byte_buffer.h"

namespace quillmere {

// Decodes the PNG stream that starts at `position` in `payload` into one raw
// pixel plane of `width` x `height` pixels of `bytesPerPixel` bytes, laid out
// as a raw plane is stored (rows one after another, no padding). A PNG plane
// holds the stored bytes as a top-down image, so its rows and channel bytes
// map onto the stored plane unchanged; a PNG's own palette is ignored.
// Pixels the PNG does not cover are 0, and extra PNG rows and columns are
// ignored. `position` moves past the PNG's IEND chunk.
// Raises ReadError with the decoder's complaint for a damaged stream.
// Where the PNG stream starting at `position` ends (after its IEND chunk),
// found from its chunk lengths without decoding. Raises ReadError when the
// bytes there are not a complete PNG stream.
std::size_t PNGStreamEnd(const ByteBuffer& payload, std::size_t position);

// Receives the rows of a PNG plane in stored order: row `index` (from 0), its
// first `count` bytes in the plane's layout (count is at most width x
// bytesPerPixel; rows and columns the PNG lacks are not delivered).
using TPNGRowSink = void (*)(void* context, std::uint32_t index, const std::uint8_t* row, std::size_t count);

// The decoder under ReadPNGPlane, for callers that place rows themselves and
// so need no intermediate plane.
void DecodePNGRows(const ByteBuffer& payload, std::size_t& position, std::uint16_t width, std::uint16_t height,
                   int bytesPerPixel, TPNGRowSink sink, void* context);

ByteBuffer ReadPNGPlane(const ByteBuffer& payload, std::size_t& position, std::uint16_t width,
                        std::uint16_t height, int bytesPerPixel);

}  // namespace quillmere
