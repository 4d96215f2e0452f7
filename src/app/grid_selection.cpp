#include "app/grid_selection.h"

#include <algorithm>

namespace quillmere {

int TGridSelection::Clamp(int column) const { return std::clamp(column, 0, Last()); }

void TGridSelection::SetCount(int count) {
  count_ = std::max(count, 1);
  focus_ = Clamp(focus_);
  anchor_ = Clamp(anchor_);
}

void TGridSelection::Click(int column) { focus_ = anchor_ = Clamp(column); }

void TGridSelection::ShiftClick(int column) { focus_ = Clamp(column); }

void TGridSelection::Key(TGridKey key, bool shift) {
  int column = focus_;
  switch (key) {
    case TGridKey::Left:
      column = focus_ - 1;
      break;
    case TGridKey::Right:
      column = focus_ + 1;
      break;
    case TGridKey::Home:
      column = 0;
      break;
    case TGridKey::End:
      column = Last();
      break;
  }
  shift ? ShiftClick(column) : Click(column);
}

}  // namespace quillmere
