#include <gtest/gtest.h>

#include "app/drag_drop.h"
#include "support/message_printing.h"

namespace quillmere::test {
namespace {

using enum TGridAction;
using enum TGridId;

TDocument Document(int shapes) {
  TDocument document;
  document.Shapes.assign(static_cast<std::size_t>(shapes), TPatchFrame{{}, {}, {{}, {}, {}}, {}});
  return document;
}

TEST(DragDrop, StartAcceptAndHalves) {
  TCommandStates on, off;
  off.InsertFore = false;
  EXPECT_TRUE(CanStartDrag(true, true, on, 0));
  EXPECT_FALSE(CanStartDrag(false, true, on, 0) || CanStartDrag(true, false, on, 0) ||
               CanStartDrag(true, true, off, 0) || CanStartDrag(true, true, on, std::nullopt) ||
               CanStartDrag(true, true, on, -1));
  for (TGridId target : {DestGrid, DestSubGrid}) {
    EXPECT_TRUE(AcceptsDrag(target, SrcGrid) && AcceptsDrag(target, SrcSubGrid));
    EXPECT_FALSE(AcceptsDrag(target, DestGrid) || AcceptsDrag(SrcGrid, SrcSubGrid));
  }
  // Cell 1 spans 120..239 and its right edge is 240.
  EXPECT_EQ(
      std::vector({DropsAfter(120, 240), DropsAfter(179, 240), DropsAfter(180, 240), DropsAfter(239, 240)}),
      std::vector({false, false, true, true}));
}

TEST(DragDrop, EndDragSelectsTheCellOrRefuses) {
  TDocument dest = Document(4), src = Document(2), empty;
  TPaneState panes(dest, src), blank(empty, src);
  panes.RefreshGridCounts(), blank.RefreshGridCounts();
  panes.Dest.Grid.Click(0);
  panes.Dest.Grid.ShiftClick(3);
  ScriptedUserInterface ui;
  EXPECT_EQ(EndDrag(panes, DestGrid, std::nullopt, 50, 120, ui), TGridCommand{});
  EXPECT_EQ(MessagesOf(ui), (std::vector<TMessage>{{"Sorry", "You need to drop items on a valid cell.",
                                                    TMsgIcon::Error, TMsgButtons::Ok}}));
  EXPECT_EQ(panes.Dest.Grid.Right(), 3);  // a refused drop changes nothing
  EXPECT_EQ(EndDrag(panes, DestGrid, 2, 300, 360, ui), (TGridCommand{InsertAfter, DestGrid}));
  // The click handler ran.
  EXPECT_EQ(std::tuple(panes.Dest.Grid.Left(), panes.Dest.Grid.Right(), panes.Dest.ShapeStatus),
            std::tuple(2, 2, "Selected Shape: 2"));
  EXPECT_EQ(EndDrag(panes, DestSubGrid, 1, 130, 240, ui), (TGridCommand{InsertBefore, DestSubGrid}));
  // An empty destination still shows one blank cell, column 0.
  EXPECT_EQ(EndDrag(blank, DestGrid, 0, 10, 120, ui), (TGridCommand{InsertBefore, DestGrid}));
  EXPECT_EQ(ui.Shown().size(), 1u);
}

TEST(GridKeys, EachGridAndTheWindow) {
  TDocument dest = Document(3), src = Document(3);
  TPaneState panes(dest, src);
  panes.RefreshGridCounts();
  panes.Dest.Grid.Click(1);
  panes.DestGridClick();
  using K = TGridKeyCode;
  // clang-format off
  const std::tuple<TGridId, K, TGridCommand> cases[] = {
      {DestSubGrid, K::Down, {FocusGrid, SrcGrid}}, {DestGrid, K::Delete, {Delete, DestGrid}},
      {DestGrid, K::F5, {ReloadDestination, DestGrid}}, {SrcSubGrid, K::Up, {FocusGrid, DestGrid}},
      {SrcGrid, K::F5, {ReloadSource, SrcGrid}}, {SrcGrid, K::Delete, {}}, {DestGrid, K::Up, {}}};
  // clang-format on
  const char* const grids[] = {"DestGrid", "DestSubGrid", "SrcGrid", "SrcSubGrid"};
  const char* const keys[] = {"Up", "Down", "Delete", "F5", "Other"};
  const char* const actions[] = {"None",       "FocusGrid", "InsertBefore",      "InsertAfter", "Delete",
                                 "ShiftLeft", "ShiftRight", "ReloadDestination", "ReloadSource"};
  for (const auto& [grid, key, expected] : cases) {
    const TGridCommand command = GridKeyDown(panes, grid, key);
    EXPECT_EQ(command, expected) << keys[int(key)] << " on " << grids[int(grid)] << " gave "
                                 << actions[int(command.Action)] << " " << grids[int(command.Grid)]
                                 << ", expected " << actions[int(expected.Action)] << " "
                                 << grids[int(expected.Grid)];
  }
  // The focus goes to the pane's visible grid.
  panes.DestPagesChange(TPaneTab::SubFrames);
  EXPECT_EQ(GridKeyDown(panes, SrcGrid, K::Up), (TGridCommand{FocusGrid, DestSubGrid}));
  // Delete on the first frame follows the disabled Delete button.
  EXPECT_EQ(GridKeyDown(panes, DestSubGrid, K::Delete), TGridCommand{});

  TCommandStates states;
  EXPECT_EQ(WindowKeyDown(states, ',', true), (TGridCommand{ShiftLeft, DestGrid}));
  EXPECT_EQ(WindowKeyDown(states, '.', true), (TGridCommand{ShiftRight, DestGrid}));
  states.MoveLeft = false;
  EXPECT_EQ(WindowKeyDown(states, ',', true), TGridCommand{});
}

}  // namespace
}  // namespace quillmere::test
