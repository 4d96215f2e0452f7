#include <gtest/gtest.h>

#include <optional>

#include "app/scripted_user_interface.h"
#include "editing/drag_drop.h"
#include "support/message_printing.h"

namespace quillmere::test {
namespace {

TDocument Document(int shapes) {
  TDocument document;
  document.Shapes.assign(static_cast<std::size_t>(shapes), TPatchFrame{});
  for (auto& shape : document.Shapes) shape.Frames.resize(3);
  return document;
}

using A = TGridAction;
using G = TGridId;

}  // namespace

TEST(DragDrop, StartAcceptAndHalves) {
  TCommandStates on, off;
  off.InsertFore = false;
  EXPECT_TRUE(CanStartDrag(true, true, on, 0));
  for (const auto& [left, option, states, column] :
       {std::tuple{false, true, on, std::optional(0)}, std::tuple{true, false, on, std::optional(0)},
        std::tuple{true, true, off, std::optional(0)}, std::tuple{true, true, on, std::optional<int>()},
        std::tuple{true, true, on, std::optional(-1)}}) {
    EXPECT_FALSE(CanStartDrag(left, option, states, column));
  }
  for (G target : {G::DestGrid, G::DestSubGrid}) {
    EXPECT_TRUE(AcceptsDrag(target, G::SrcGrid));
    EXPECT_TRUE(AcceptsDrag(target, G::SrcSubGrid));
    EXPECT_FALSE(AcceptsDrag(target, G::DestGrid));
    EXPECT_FALSE(AcceptsDrag(G::SrcGrid, G::SrcSubGrid));
  }
  // Cell 1 spans 120..239 and its right edge is 240.
  for (const auto& [x, after] : {std::pair{120, false}, {179, false}, {180, true}, {239, true}}) {
    EXPECT_EQ(DropsAfter(x, 240), after) << x;
  }
}

TEST(DragDrop, EndDragSelectsTheCellOrRefuses) {
  TDocument dest = Document(4), src = Document(2), empty;
  TPaneState panes(dest, src);
  panes.RefreshGridCounts();
  panes.Dest.Grid.Click(0);
  panes.Dest.Grid.ShiftClick(3);
  ScriptedUserInterface ui;
  EXPECT_EQ(EndDrag(panes, G::DestGrid, std::nullopt, 50, 120, ui), TGridCommand{});
  EXPECT_EQ(MessagesOf(ui), (std::vector<TMessage>{{"Sorry", "You need to drop items on a valid cell.",
                                                    TMsgIcon::Error, TMsgButtons::Ok}}));
  EXPECT_EQ(panes.Dest.Grid.Right(), 3);  // a refused drop changes nothing

  EXPECT_EQ(EndDrag(panes, G::DestGrid, 2, 300, 360, ui), (TGridCommand{A::InsertAfter, G::DestGrid}));
  EXPECT_EQ(panes.Dest.Grid.Left(), 2);
  EXPECT_EQ(panes.Dest.Grid.Right(), 2);
  EXPECT_EQ(panes.Dest.ShapeStatus.empty(), false);  // the click handler ran

  EXPECT_EQ(EndDrag(panes, G::DestSubGrid, 1, 130, 240, ui), (TGridCommand{A::InsertBefore, G::DestSubGrid}));
  EXPECT_EQ(panes.Dest.SubGrid.Focus(), 1);

  // An empty destination still shows one blank cell, column 0.
  TPaneState blank(empty, src);
  blank.RefreshGridCounts();
  EXPECT_EQ(EndDrag(blank, G::DestGrid, 0, 10, 120, ui), (TGridCommand{A::InsertBefore, G::DestGrid}));
  EXPECT_EQ(ui.Shown().size(), 1u);
}

TEST(GridKeys, EachGridAndTheWindow) {
  TDocument dest = Document(3), src = Document(3);
  TPaneState panes(dest, src);
  panes.RefreshGridCounts();
  panes.Dest.Grid.Click(1);
  panes.DestGridClick();
  using K = TGridKeyCode;
  const std::tuple<G, K, TGridCommand> cases[] = {{G::DestGrid, K::Down, {A::FocusGrid, G::SrcGrid}},
                                                  {G::DestSubGrid, K::Down, {A::FocusGrid, G::SrcGrid}},
                                                  {G::DestGrid, K::Delete, {A::Delete, G::DestGrid}},
                                                  {G::DestGrid, K::F5, {A::ReloadDestination, G::DestGrid}},
                                                  {G::DestGrid, K::Up, {}},
                                                  {G::SrcSubGrid, K::Up, {A::FocusGrid, G::DestGrid}},
                                                  {G::SrcGrid, K::F5, {A::ReloadSource, G::SrcGrid}},
                                                  {G::SrcGrid, K::Delete, {}},
                                                  {G::SrcGrid, K::Down, {}},
                                                  {G::SrcGrid, K::Other, {}}};
  for (const auto& [grid, key, expected] : cases) {
    EXPECT_EQ(GridKeyDown(panes, grid, key), expected) << int(grid) << " " << int(key);
  }
  // The focus goes to the pane's visible grid.
  panes.SrcPagesChange(TPaneTab::SubFrames);
  panes.DestPagesChange(TPaneTab::SubFrames);
  EXPECT_EQ(GridKeyDown(panes, G::DestGrid, K::Down), (TGridCommand{A::FocusGrid, G::SrcSubGrid}));
  EXPECT_EQ(GridKeyDown(panes, G::SrcGrid, K::Up), (TGridCommand{A::FocusGrid, G::DestSubGrid}));
  // Delete on the first frame follows the disabled Delete button.
  panes.Dest.SubGrid.Click(0);
  panes.DestSubGridClick();
  EXPECT_EQ(GridKeyDown(panes, G::DestSubGrid, K::Delete), TGridCommand{});

  TCommandStates states;
  EXPECT_EQ(WindowKeyDown(states, ',', true), (TGridCommand{A::ShiftLeft, G::DestGrid}));
  EXPECT_EQ(WindowKeyDown(states, '.', true), (TGridCommand{A::ShiftRight, G::DestGrid}));
  EXPECT_EQ(WindowKeyDown(states, ',', false), TGridCommand{});
  states.MoveLeft = states.MoveRight = false;
  EXPECT_EQ(WindowKeyDown(states, ',', true), TGridCommand{});
  EXPECT_EQ(WindowKeyDown(states, '.', true), TGridCommand{});
}

}  // namespace quillmere::test
