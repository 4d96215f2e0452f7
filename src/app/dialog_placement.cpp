#include "app/dialog_placement.h"

#include <algorithm>

namespace quillmere {

TDialogPlace CentredOver(int ownerLeft, int ownerTop, int ownerWidth, int ownerHeight, int width, int height) {
  return {ownerLeft + ownerWidth / 2 - width / 2, ownerTop + ownerHeight / 2 - height / 2};
}

TDialogPlace KeptOnScreen(TDialogPlace place, int width, int height, int screenLeft, int screenTop,
                          int screenWidth, int screenHeight) {
  const auto keep = [](int start, int size, int areaStart, int areaSize) {
    start = std::min(start, areaStart + areaSize - size);
    return std::max(start, areaStart);
  };
  return {keep(place.Left, width, screenLeft, screenWidth), keep(place.Top, height, screenTop, screenHeight)};
}

}  // namespace quillmere
