#pragma once

namespace quillmere {

struct TDialogPlace {
  int Left = 0;
  int Top = 0;
  bool operator==(const TDialogPlace&) const = default;
};

// Where a dialog of `width` x `height` goes to sit centred over its owner
// window: each half-size is rounded down before subtracting, so a box one
// pixel wider than an odd owner still lands on whole pixels the same way on
// every run.
TDialogPlace CentredOver(int ownerLeft, int ownerTop, int ownerWidth, int ownerHeight, int width, int height);

// The place moved as little as needed to keep a `width` x `height` dialog on
// the screen's free area: a dialog wider than its owner, centred over a
// window near the screen's edge, would otherwise hang off it. Where the
// dialog is larger than the screen its top-left corner stays visible.
TDialogPlace KeptOnScreen(TDialogPlace place, int width, int height, int screenLeft, int screenTop,
                          int screenWidth, int screenHeight);

}  // namespace quillmere
