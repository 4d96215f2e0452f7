#pragma once

#include <optional>

#include "app/pane_state.h"
#include "interface/user_interface.h"

namespace quillmere {

// The four grids of the main window.
enum class TGridId { DestGrid, DestSubGrid, SrcGrid, SrcSubGrid };

inline bool IsDestinationGrid(TGridId grid) {
  return grid == TGridId::DestGrid || grid == TGridId::DestSubGrid;
}
inline bool IsFrameGrid(TGridId grid) { return grid == TGridId::DestSubGrid || grid == TGridId::SrcSubGrid; }
// The grid a pane shows now: its frames' when on the frames tab.
TGridId VisibleGrid(const TPane& pane, bool destination);

// Every grid column is this wide; a drop on the right half of a cell inserts
// after it.
inline constexpr int kGridColumnWidth = 120;

// What the window runs after a drag or a key: the transfer of that name on the
// destination pane, a reload, or moving the keyboard focus to `Grid`.
enum class TGridAction {
  None,
  FocusGrid,
  InsertBefore,
  InsertAfter,
  Delete,
  ShiftLeft,
  ShiftRight,
  ReloadDestination,
  ReloadSource,
};

struct TGridCommand {
  TGridAction Action = TGridAction::None;
  TGridId Grid = TGridId::DestGrid;  // FocusGrid only: the grid to focus

  bool operator==(const TGridCommand&) const = default;
};

// A drag starts (once the mouse has moved the platform's threshold) only with
// the left button, the "Drag and Drop" option checked, Insert Before enabled
// (which it is not while the source is empty) and a column under the mouse.
bool CanStartDrag(bool leftButton, bool dragAndDropOption, const TCommandStates& enabled,
                  std::optional<int> column);

// Only the destination grids take drops, and only of the source grids' items.
bool AcceptsDrag(TGridId target, TGridId dragSource);

// Whether a drop at `x` lands in the right half of the cell whose right edge
// is `cellRight`, the half that inserts after the cell.
bool DropsAfter(int x, int cellRight, int columnWidth = kGridColumnWidth);

// The end of a drag over the destination grid `target` (DestGrid or
// DestSubGrid). Outside every cell (`column` empty) it shows "Sorry" and
// changes nothing. Otherwise the target grid selects that one cell, as a click
// on it would (its click handler runs), and the insertion to run is returned;
// the window runs it with the source pane's selection as the dragged items.
TGridCommand EndDrag(TPaneState& panes, TGridId target, std::optional<int> column, int x, int cellRight,
                     UserInterface& ui);

// The keys the grids answer; modifiers are not looked at, so Shift+Down moves
// the focus as Down does. The window passes every key on to the grid
// afterwards, so arrows still move within it.
enum class TGridKeyCode { Up, Down, Delete, F5, Other };

// DestGridKeyDown and SrcGridKeyDown: Down in a destination grid focuses the
// source pane's visible grid, Up in a source grid the destination's; Delete in
// a destination grid deletes while Delete is enabled; F5 reloads the grid's
// document.
TGridCommand GridKeyDown(const TPaneState& panes, TGridId grid, TGridKeyCode key);

// The main window's Alt+comma and Alt+period: Shift Left and Shift Right,
// while their buttons are enabled. Any other key gives None.
TGridCommand WindowKeyDown(const TCommandStates& enabled, char key, bool alt);

}  // namespace quillmere
