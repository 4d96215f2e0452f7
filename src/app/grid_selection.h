#pragma once

namespace quillmere {

// Keys that move a grid's focused column.
enum class TGridKey { Left, Right, Home, End };

// The selection of one single-row grid: a focused column and a contiguous
// range Left..Right with the focus at one end and the anchor at the other.
// Columns are 0-based; a grid always has at least one column, so an empty
// list still shows one blank cell.
class TGridSelection {
 public:
  int Count() const { return count_; }
  int Focus() const { return focus_; }
  int Anchor() const { return anchor_; }
  int Left() const { return focus_ < anchor_ ? focus_ : anchor_; }
  int Right() const { return focus_ < anchor_ ? anchor_ : focus_; }
  int Last() const { return count_ - 1; }

  // Counts below 1 become 1; the focus and the anchor move inside the new count.
  void SetCount(int count);

  // A plain click, or the program setting the focused column: the selection
  // becomes that one cell.
  void Click(int column);
  // Shift+click: the range runs from the anchor to the clicked column.
  void ShiftClick(int column);
  // Dragging with the button held: the anchor is where the button went down,
  // so a range dragged left to right leaves the focus on its right end.
  void Drag(int column) { ShiftClick(column); }
  // Arrow, Home and End keys; with Shift they extend the range from the anchor.
  void Key(TGridKey key, bool shift);

 private:
  int Clamp(int column) const;

  int count_ = 1;
  int focus_ = 0;
  int anchor_ = 0;
};

}  // namespace quillmere
