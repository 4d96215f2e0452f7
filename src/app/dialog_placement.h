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

}  // namespace quillmere
