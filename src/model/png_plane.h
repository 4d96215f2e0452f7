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
ByteBuffer ReadPNGPlane(const ByteBuffer& payload, std::size_t& position, std::uint16_t width,
                        std::uint16_t height, int bytesPerPixel);

}  // namespace quillmere
