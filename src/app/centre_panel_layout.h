#pragma once

#include <array>

namespace quillmere {

// The centre panel's six buttons, left to right.
enum class TPanelButton { Trash, InsertFore, InsertAft, Replaceit, MoveLeft, MoveRight };

struct TButtonPlace {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  bool operator==(const TButtonPlace&) const = default;
};

inline constexpr int kCentrePanelHeight = 30;

// Where each button of the centre panel sits for a panel `clientWidth`
// pixels wide: Delete stays at the left edge, the other five keep to the
// right edge, Move Right 2 pixels from it. A 613-pixel panel puts them at
// 2, 286, 378, 470, 563 and 588.
std::array<TButtonPlace, 6> CentrePanelLayout(int clientWidth);

}  // namespace quillmere
