#include "app/grid_view.h"

#include <algorithm>

namespace quillmere {

int TGridView::LastLeftColumn(int count, int visibleColumns) {
  return std::max(0, count - std::max(1, visibleColumns));
}

void TGridView::Clamp(int count) {
  LeftColumn = std::clamp(LeftColumn, 0, LastLeftColumn(count, VisibleColumns));
}

void TGridView::ShowColumn(int column, int count) {
  const int visible = std::max(1, VisibleColumns);
  if (column < LeftColumn) {
    LeftColumn = column;
  } else if (column >= LeftColumn + visible) {
    LeftColumn = column - visible + 1;
  }
  Clamp(count);
}

void TGridView::FollowShift(bool toRight, int focus, int count) {
  LeftColumn += toRight ? 1 : -1;
  Clamp(count);
  ShowColumn(focus, count);
}

}  // namespace quillmere
