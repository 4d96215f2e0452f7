#pragma once

#include "documents/document.h"
#include "model/patch_frame.h"

namespace quillmere {

// A copy of a frame: every field, and its pixels, shared with the original
// until either is edited.
TPatchSubFrame CopyFrame(const TPatchSubFrame& frame);

// A deep copy of a shape's flags, frames and script. The copy replaces
// nothing (ReplacementIndex -1): it is a new shape, and only the original
// stands in for a game object.
TPatchFrame CopyShape(const TPatchFrame& shape);

// Which page a pane shows: its shapes, or the frames of one shape.
enum class TTransferTab { Main, SubFrames };

// Copy makes deep copies; Move takes shapes out of the source. Move is only
// for whole shapes between the two Main tabs.
enum class TTransferMode { Copy, Move };

// The selected columns of a grid, Left <= Right. A grid shows at least one
// column, so on an empty list the range is 0..0 and covers no item.
struct TGridRange {
  int Left = 0;
  int Right = 0;

  bool operator==(const TGridRange&) const = default;
};

// What one pane's grids select. `Frames` indexes the frames of the shape at
// `FocusedShape`, which the SubFrames grid shows; the frame operations act on
// the shape at `Shapes.Left` (the current shape), which is the same shape
// unless a range of shapes was dragged from left to right. Each focus is one
// end of its range.
struct TPaneSelection {
  TTransferTab Tab = TTransferTab::Main;
  TGridRange Shapes;
  int FocusedShape = 0;
  TGridRange Frames;
  int FocusedFrame = 0;

  bool operator==(const TPaneSelection&) const = default;
};

// One transfer as the window sees it when a button is pressed. The two
// documents must be different objects.
struct TTransfer {
  TDocument& Destination;
  TDocument& Source;
  TPaneSelection DestinationPane;
  TPaneSelection SourcePane;
  TTransferMode Mode = TTransferMode::Copy;
};

// The outcome: whether the operation ran and, when it did, what the grids
// select afterwards (ranges and focus kept within the new column counts).
// An operation that does not run changes nothing, and the selections are
// those of the input.
struct TTransferResult {
  bool Ran = false;
  TPaneSelection DestinationPane;
  TPaneSelection SourcePane;
};

// Each refuses to run in the states where its button is disabled: a range or
// focus outside its grid; for the three insertions an empty source, an empty
// destination on its SubFrames tab, or Move mode with either SubFrames tab
// showing; for Delete an empty destination or, on the SubFrames tab, a
// selection starting at the first frame; for the shifts an empty destination
// or a block already at the grid's end. A run marks the destination modified,
// and the source too when Move mode took shapes out of it.
TTransferResult InsertBefore(const TTransfer& transfer);
TTransferResult InsertAfter(const TTransfer& transfer);
TTransferResult Replace(const TTransfer& transfer);
TTransferResult Delete(const TTransfer& transfer);
TTransferResult ShiftLeft(const TTransfer& transfer);
TTransferResult ShiftRight(const TTransfer& transfer);

}  // namespace quillmere
