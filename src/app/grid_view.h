#pragma once

namespace quillmere {

// Which columns a single-row grid shows: the first one on the left (its
// scroll position, in whole columns) and how many fit whole in the view.
// The scroll bar moves in whole columns, so a column is never cut on the left.
struct TGridView {
  int LeftColumn = 0;
  int VisibleColumns = 1;

  // The largest first column that still fills the view, for `count` columns.
  static int LastLeftColumn(int count, int visibleColumns);
  // `left` brought inside 0..LastLeftColumn.
  void Clamp(int count);
  // Scrolls as little as possible so that `column` is whole in the view.
  void ShowColumn(int column, int count);
  // A shift moves the selection one column; the view follows it one column
  // the same way, then keeps the focused column in view.
  void FollowShift(bool toRight, int focus, int count);
  // A new list (New, a load, a reload) is shown from its first column.
  void Reset() { LeftColumn = 0; }
};

}  // namespace quillmere
