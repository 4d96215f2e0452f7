#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/pane_state.h"

namespace quillmere::test {
namespace {

TDocument Document(int shapes, int frames_each = 3) {
  TDocument document;
  document.Shapes.assign(static_cast<std::size_t>(shapes), TPatchFrame{});
  for (auto& shape : document.Shapes) shape.Frames.resize(static_cast<std::size_t>(frames_each));
  return document;
}

// Trash InsertFore InsertAft Replaceit MoveLeft MoveRight, the destination
// exports, the source exports, Save Source Changes: "1" enabled.
std::string States(const TCommandStates& s) {
  std::string out;
  for (bool TCommandStates::*state :
       {&TCommandStates::Trash, &TCommandStates::InsertFore, &TCommandStates::InsertAft,
        &TCommandStates::Replaceit, &TCommandStates::MoveLeft, &TCommandStates::MoveRight,
        &TCommandStates::ExportDestObject, &TCommandStates::DestAnimatedGif, &TCommandStates::ExportSrcObject,
        &TCommandStates::SrcAnimatedGif, &TCommandStates::SaveSourceChanges}) {
    out += std::string(out.size() == 6 || out.size() == 9 || out.size() == 12 ? " " : "") +
           (s.*state ? '1' : '0');
  }
  return out;
}

// Steps: c click, s shift+click, d drag, n set count, then a column or a
// count; k a key (< > h e, Home and End as h and e), K the key with Shift.
void Select(TGridSelection& grid, const std::string& steps) {
  std::istringstream tokens(steps);
  for (std::string token; tokens >> token;) {
    const char op = token[0], arg = token[1];
    const int value = arg - '0';
    const auto key = static_cast<TGridKey>(std::string("<>he").find(arg));  // in TGridKey's order
    if (op == 'c') grid.Click(value);
    if (op == 's') grid.ShiftClick(value);
    if (op == 'd') grid.Drag(value);
    if (op == 'n') grid.SetCount(value);
    if (op == 'k' || op == 'K') grid.Key(key, op == 'K');
  }
}

TEST(GridSelection, Readings) {
  const std::vector<std::tuple<std::string, int, int, int>> cases = {
      {"c5 s2", 2, 2, 5},    {"c2 d5", 5, 2, 5},    {"c3 K> K>", 5, 3, 5}, {"c3 Ke k<", 6, 6, 6},
      {"c5 Kh", 0, 0, 5},    {"c0 k<", 0, 0, 0},    {"c9", 7, 7, 7},       {"c7 k>", 7, 7, 7},
      {"c2 s6 n4", 3, 2, 3}, {"c6 s2 n4", 2, 2, 3}, {"c5 n0", 0, 0, 0},    {"c1 K> K> K<", 2, 1, 2},
      {"c4 d6 d2", 2, 2, 4},
  };
  for (const auto& [steps, focus, left, right] : cases) {
    TGridSelection grid;
    grid.SetCount(8);
    Select(grid, steps);
    EXPECT_EQ(grid.Focus(), focus) << steps;
    EXPECT_EQ(grid.Left(), left) << steps;
    EXPECT_EQ(grid.Right(), right) << steps;
  }
}

// The status texts and the frame grid follow the focused column, the shape
// commands the selection's Left.
TEST(PaneState, ReadingsOfADraggedRange) {
  TDocument dest, src;
  for (int i = 0; i < 8; i += 1) dest.Shapes.push_back(Document(1, i).Shapes[0]);
  dest.Offset = 100;
  TPaneState panes(dest, src);
  panes.RefreshGridCounts();
  EXPECT_EQ(panes.CurrentSourceShape(), std::nullopt);
  panes.Dest.Grid.Click(2);
  panes.Dest.Grid.Drag(5);
  panes.DestGridClick();
  EXPECT_EQ(panes.CurrentDestShape(), 2u);
  EXPECT_EQ(panes.Dest.ShapeStatus, "Selected Shape: *105");
  EXPECT_EQ(panes.Dest.FramesStatus, "Frames: 5");
  EXPECT_EQ(panes.Dest.SubGrid.Count(), 5);
  panes.Dest.SubGrid.Click(3);
  panes.DestSubGridClick();
  EXPECT_EQ(panes.Dest.FrameStatus, "Selected Frame: 3");
  EXPECT_EQ(panes.DestSubGridDrawCell(4), &dest.Shapes[5].Frames[4]);
  EXPECT_EQ(panes.DestSubGridDrawCell(5), nullptr);

  panes.Dest.Grid.Click(0);  // a shape without frames: one blank frame cell
  panes.DestGridClick();
  EXPECT_EQ(panes.Dest.FramesStatus, "Frames: 0");
  EXPECT_EQ(panes.Dest.SubGrid.Count(), 1);
  EXPECT_EQ(panes.DestSubGridDrawCell(0), nullptr);

  EXPECT_EQ(panes.DestGridDrawCell(7), &dest.Shapes[7]);
}

// Steps, named after the rules: A UpdateTransferButtons, B to G the click and
// tab handlers (F and G pick "SubFrames"), H to K a paint of the column given;
// T and t show the destination's and the source's "SubFrames" tab without a
// handler; g and s select a range of the destination's main and frame grid.
void RunSteps(TPaneState& p, const std::string& steps) {
  std::istringstream tokens(steps);
  for (std::string token; tokens >> token;) {
    const int from = token.size() > 1 ? token[1] - '0' : 0, to = token.size() > 2 ? token[2] - '0' : from;
    const auto frames = TPaneTab::SubFrames;
    const char op = token[0];
    if (op == 'A') p.UpdateTransferButtons();
    if (op == 'B') p.DestGridClick();
    if (op == 'C') p.DestSubGridClick();
    if (op == 'D') p.SrcGridClick();
    if (op == 'F') p.DestPagesChange(frames);
    if (op == 'G') p.SrcPagesChange(frames);
    if (op == 'H') p.DestGridDrawCell(from);
    if (op == 'I') p.DestSubGridDrawCell(from);
    if (op == 'J') p.SrcGridDrawCell(from);
    if (op == 'K') p.SrcSubGridDrawCell(from);
    if (op == 'T') p.Dest.Tab = frames;
    if (op == 't') p.Src.Tab = frames;
    if (op == 'g') p.Dest.Grid.Click(from), p.Dest.Grid.Drag(to);
    if (op == 's') p.Dest.SubGrid.Click(from), p.Dest.SubGrid.Drag(to);
  }
}

// Shape counts of the destination and the source (3 frames each); options: f the
// source has a file, m Move mode, 1 every state enabled before the steps.
TEST(PaneState, EnablingRules) {
  const std::vector<std::tuple<std::string, int, int, std::string, std::string, std::string>> cases = {
      {"A range reaching the last shape", 5, 2, "f", "g14 A", "011110 00 00 0"},
      {"A empty source keeps the inserts", 5, 0, "f1", "A", "111001 11 11 1"},
      {"C first frame: no Trash, no MoveLeft", 5, 2, "f", "F", "011101 00 00 0"},
      {"C last frame: no MoveRight", 5, 2, "f", "F s12 C", "111110 00 00 0"},
      {"C empty source on frames", 5, 0, "f1", "F", "011001 11 11 1"},
      {"C move mode, source on frames", 5, 2, "fm1", "t C", "100011 11 11 1"},
      {"D empty destination", 0, 2, "f", "D", "001000 00 00 0"},
      {"D empty destination on frames", 0, 2, "f1", "T D", "000000 11 11 1"},
      {"D move mode, destination on frames", 5, 2, "fm1", "T D", "100011 11 11 1"},
      {"D move mode, only the source on frames", 5, 2, "fm", "G", "001100 00 00 0"},
      {"F empty destination to frames", 0, 2, "f1", "F", "000000 11 11 1"},
      {"F move mode, destination to frames", 5, 2, "fm1", "F", "000001 11 11 1"},
      {"G then K: move mode, source to frames", 5, 2, "fm1", "G K0", "100011 11 10 1"},
      {"H a shape", 2, 0, "f", "H1", "100000 11 00 0"},
      {"H past the last shape", 2, 0, "f1", "H2", "011111 00 11 1"},
      {"I first frame selected", 2, 0, "f1", "I0", "111111 10 11 1"},
      {"I later frame selected", 2, 0, "f", "B s12 I0", "100001 10 00 0"},
      {"I empty destination", 0, 0, "f1", "I0", "011111 00 11 1"},
      {"J destination on main", 2, 2, "", "J1", "010000 00 11 1"},
      {"J destination on frames", 2, 2, "", "T J1", "000000 00 11 1"},
      {"J past the last shape", 2, 2, "f1", "J2", "100111 11 00 0"},
      {"J emptied source file", 2, 0, "f1", "J0", "100111 11 00 1"},
      {"J no source file", 2, 0, "1", "J0", "100111 11 00 0"},
      {"K a frame", 2, 2, "f", "K0", "000000 00 10 0"},
      {"K empty source", 2, 0, "f1", "K0", "100111 11 00 1"},
      {"K empty destination on frames", 0, 2, "f1", "T K0", "000000 11 10 1"},
      {"K move mode", 2, 2, "fm1", "K0", "100011 11 10 1"},
  };
  for (const auto& [name, dest_shapes, src_shapes, options, steps, expected] : cases) {
    TDocument dest = Document(dest_shapes), src = Document(src_shapes);
    if (options.find('f') != std::string::npos) src.FileName = "walls.fsh";
    TPaneState panes(dest, src);
    panes.RefreshGridCounts();
    panes.MoveMode = options.find('m') != std::string::npos;
    const bool on = options.find('1') != std::string::npos;
    panes.Enabled = {on, on, on, on, on, on, on, on, on, on, on};
    RunSteps(panes, steps);
    EXPECT_EQ(States(panes.Enabled), expected) << name;
  }
}

}  // namespace
}  // namespace quillmere::test
