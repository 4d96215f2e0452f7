#include "app/drag_drop.h"

#include "interface/messages.h"

namespace quillmere {

TGridId VisibleGrid(const TPane& pane, bool destination) {
  if (destination) return pane.OnFrames() ? TGridId::DestSubGrid : TGridId::DestGrid;
  return pane.OnFrames() ? TGridId::SrcSubGrid : TGridId::SrcGrid;
}

bool CanStartDrag(bool leftButton, bool dragAndDropOption, const TCommandStates& enabled,
                  std::optional<int> column) {
  return leftButton && dragAndDropOption && enabled.InsertFore && column && *column >= 0;
}

bool AcceptsDrag(TGridId target, TGridId dragSource) {
  return IsDestinationGrid(target) && !IsDestinationGrid(dragSource);
}

bool DropsAfter(int x, int cellRight, int columnWidth) { return x >= cellRight - columnWidth / 2; }

TGridCommand EndDrag(TPaneState& panes, TGridId target, std::optional<int> column, int x, int cellRight,
                     UserInterface& ui) {
  if (!IsDestinationGrid(target)) return {};
  if (!column || *column < 0) {
    Show(ui, TMsgId::DropOnValidCell);
    return {};
  }
  // Setting the grid's column is a click on that cell: the status panels and
  // the enabled states follow the new selection before the insertion reads it.
  if (target == TGridId::DestGrid) {
    panes.Dest.Grid.Click(*column);
    panes.DestGridClick();
  } else {
    panes.Dest.SubGrid.Click(*column);
    panes.DestSubGridClick();
  }
  return {DropsAfter(x, cellRight) ? TGridAction::InsertAfter : TGridAction::InsertBefore, target};
}

TGridCommand GridKeyDown(const TPaneState& panes, TGridId grid, TGridKeyCode key) {
  const bool destination = IsDestinationGrid(grid);
  switch (key) {
    case TGridKeyCode::Down:
      if (destination) return {TGridAction::FocusGrid, VisibleGrid(panes.Src, false)};
      break;
    case TGridKeyCode::Up:
      if (!destination) return {TGridAction::FocusGrid, VisibleGrid(panes.Dest, true)};
      break;
    case TGridKeyCode::Delete:
      // The key reaches no further than the button would: Delete stays off
      // where its button is disabled, such as on the first frame.
      if (destination && panes.Enabled.Trash) return {TGridAction::Delete, grid};
      break;
    case TGridKeyCode::F5:
      return {destination ? TGridAction::ReloadDestination : TGridAction::ReloadSource, grid};
    case TGridKeyCode::Other:
      break;
  }
  return {};
}

TGridCommand WindowKeyDown(const TCommandStates& enabled, char key, bool alt) {
  if (!alt) return {};
  if (key == ',' && enabled.MoveLeft) return {TGridAction::ShiftLeft, TGridId::DestGrid};
  if (key == '.' && enabled.MoveRight) return {TGridAction::ShiftRight, TGridId::DestGrid};
  return {};
}

}  // namespace quillmere
