#include "model/picture.h"

namespace quillmere {

TPicture::TPicture(int width, int height, TPictureDepth depth)
    : Width(width),
      Height(height),
      Depth(depth),
      Pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                 (depth == TPictureDepth::Rgb24 ? 3u : 1u),
             0) {}

}  // namespace quillmere
