#include "app/transfer_commands.h"

#include <string_view>

#include "editing/transfers.h"

namespace quillmere {
namespace {

bool Enabled(const TCommandStates& states, TTransferCommand command) {
  switch (command) {
    case TTransferCommand::Delete:
      return states.Trash;
    case TTransferCommand::InsertBefore:
      return states.InsertFore;
    case TTransferCommand::InsertAfter:
      return states.InsertAft;
    case TTransferCommand::Replace:
      return states.Replaceit;
    case TTransferCommand::ShiftLeft:
      return states.MoveLeft;
    case TTransferCommand::ShiftRight:
      return states.MoveRight;
  }
  return false;
}

// The undo step's name: the button's caption without its mnemonic, and the
// shifts named as their hints name them.
std::string_view StepName(TTransferCommand command) {
  switch (command) {
    case TTransferCommand::Delete:
      return "Delete";
    case TTransferCommand::InsertBefore:
      return "Insert Before";
    case TTransferCommand::InsertAfter:
      return "Insert After";
    case TTransferCommand::Replace:
      return "Replace";
    case TTransferCommand::ShiftLeft:
      return "Shift Left";
    case TTransferCommand::ShiftRight:
      return "Shift Right";
  }
  return {};
}

TTransferResult Run(TTransferCommand command, const TTransfer& transfer) {
  switch (command) {
    case TTransferCommand::Delete:
      return Delete(transfer);
    case TTransferCommand::InsertBefore:
      return InsertBefore(transfer);
    case TTransferCommand::InsertAfter:
      return InsertAfter(transfer);
    case TTransferCommand::Replace:
      return Replace(transfer);
    case TTransferCommand::ShiftLeft:
      return ShiftLeft(transfer);
    case TTransferCommand::ShiftRight:
      return ShiftRight(transfer);
  }
  return {};
}

TPaneSelection SelectionOf(const TPane& pane) {
  TPaneSelection selection;
  selection.Tab = pane.OnFrames() ? TTransferTab::SubFrames : TTransferTab::Main;
  selection.Shapes = {pane.Grid.Left(), pane.Grid.Right()};
  selection.FocusedShape = pane.Grid.Focus();
  selection.Frames = {pane.SubGrid.Left(), pane.SubGrid.Right()};
  selection.FocusedFrame = pane.SubGrid.Focus();
  return selection;
}

// Selects `range` with the focus on `focus` (one of its ends).
void Select(TGridSelection& grid, TGridRange range, int focus) {
  const int anchor = focus == range.Left ? range.Right : range.Left;
  grid.Click(anchor);
  grid.ShiftClick(focus);
}

// The shape grids first: the frame grids' counts follow the shapes they then show.
void ApplySelections(TPaneState& panes, const TTransferResult& result) {
  Select(panes.Dest.Grid, result.DestinationPane.Shapes, result.DestinationPane.FocusedShape);
  Select(panes.Src.Grid, result.SourcePane.Shapes, result.SourcePane.FocusedShape);
  panes.RefreshGridCounts();
  Select(panes.Dest.SubGrid, result.DestinationPane.Frames, result.DestinationPane.FocusedFrame);
  Select(panes.Src.SubGrid, result.SourcePane.Frames, result.SourcePane.FocusedFrame);
}

// The click handlers each operation runs once it has changed the lists. The
// inserts run none, so the destination keeps its selection; a handler that
// does run on a Main tab resets only the frame grid that tab hides.
void RunClickHandlers(TPaneState& panes, TTransferCommand command) {
  const bool destOnFrames = panes.Dest.OnFrames();
  switch (command) {
    case TTransferCommand::InsertBefore:
    case TTransferCommand::InsertAfter:
      break;
    case TTransferCommand::Replace:
      // The source pane's texts and frame grid follow a changed source.
      if (!destOnFrames && !panes.Src.OnFrames()) panes.SrcGridClick();
      break;
    case TTransferCommand::Delete:
      if (!destOnFrames) panes.DestGridClick();
      break;
    case TTransferCommand::ShiftLeft:
    case TTransferCommand::ShiftRight:
      destOnFrames ? panes.DestSubGridClick() : panes.DestGridClick();
      break;
  }
}

}  // namespace

bool RunTransferCommand(TWorkspace& workspace, TTransferCommand command) {
  if (!Enabled(workspace.Panes.Enabled, command)) return false;
  // One step, so that a Move undoes on both documents at once, and ending
  // after the selections below, which it keeps for redo.
  const TWorkspace::TStep step = workspace.Step(StepName(command));
  TTransfer transfer{workspace.Destination, workspace.Source, SelectionOf(workspace.Panes.Dest),
                     SelectionOf(workspace.Panes.Src),
                     workspace.Panes.MoveMode ? TTransferMode::Move : TTransferMode::Copy};
  const bool destinationWasModified = workspace.Destination.Modified;
  TTransferResult result;
  workspace.Change(TDocumentKind::Destination, [&](TDocument&) { result = Run(command, transfer); });
  if (!result.Ran) {
    // The button was enabled but the transfer found nothing to do: it changed
    // nothing, so neither may the flag.
    workspace.Destination.Modified = destinationWasModified;
    workspace.UpdateCaptions();
    return false;
  }
  // A Move may have taken shapes out of the source, modified before or not;
  // the step finds out whether it did.
  if (transfer.Mode == TTransferMode::Move && workspace.Source.Modified) {
    workspace.Change(TDocumentKind::Source, [](TDocument&) {});
  }
  ApplySelections(workspace.Panes, result);
  RunClickHandlers(workspace.Panes, command);
  workspace.Panes.RefreshTransferButtons();
  workspace.UpdateCaptions();
  return true;
}

}  // namespace quillmere
