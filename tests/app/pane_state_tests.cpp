#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>

#include "app/pane_state.h"

namespace quillmere::test {
namespace {

TDocument Document(int shapes, int frames_each = 3) {
  TDocument document;
  document.Shapes.assign(static_cast<std::size_t>(shapes), TPatchFrame{});
  for (auto& shape : document.Shapes) shape.Frames.resize(static_cast<std::size_t>(frames_each));
  return document;
}

// The states in the order the table's codes give them, "1" for enabled:
// Trash InsertFore InsertAft Replaceit MoveLeft MoveRight, the destination
// exports, the source exports, Save Source Changes.
constexpr std::pair<const char*, bool TCommandStates::*> kStates[] = {
    {"Trash", &TCommandStates::Trash},
    {"InsertFore", &TCommandStates::InsertFore},
    {"InsertAft", &TCommandStates::InsertAft},
    {"Replaceit", &TCommandStates::Replaceit},
    {"MoveLeft", &TCommandStates::MoveLeft},
    {"MoveRight", &TCommandStates::MoveRight},
    {"ExportDestObject", &TCommandStates::ExportDestObject},
    {"DestAnimatedGif", &TCommandStates::DestAnimatedGif},
    {"ExportSrcObject", &TCommandStates::ExportSrcObject},
    {"SrcAnimatedGif", &TCommandStates::SrcAnimatedGif},
    {"SaveSourceChanges", &TCommandStates::SaveSourceChanges},
};

// The states that differ from `code`, by name ("Trash on, expected off"), so
// that a failure says which button is wrong; "" when all agree.
std::string Mismatches(const TCommandStates& s, std::string code) {
  std::erase(code, ' ');
  if (code.size() != std::size(kStates)) return "a code of " + std::to_string(code.size()) + " states";
  std::string out;
  for (std::size_t i = 0; i < code.size(); ++i) {
    const bool on = s.*kStates[i].second;
    if (code[i] != '0' && code[i] != '1') return std::string("a code holding '") + code[i] + "'";
    if (on == (code[i] == '1')) continue;
    out += std::string(out.empty() ? "" : "; ") + kStates[i].first;
    out += on ? " on, expected off" : " off, expected on";
  }
  return out;
}

// Steps: c click, s shift+click, d drag, n set count, then a column or a
// count; k a key (< > h e, Home and End as h and e), K the key with Shift.
TEST(GridSelection, Readings) {
  const std::vector<std::tuple<std::string, int, int, int>> cases = {
      {"c5 s2", 2, 2, 5},    {"c2 d5", 5, 2, 5}, {"c3 K> K>", 5, 3, 5},    {"c3 Ke k<", 6, 6, 6},
      {"c5 Kh", 0, 0, 5},    {"c9", 7, 7, 7},    {"c1 K> K> K<", 2, 1, 2}, {"c4 d6 d2", 2, 2, 4},
      {"c2 s6 n4", 3, 2, 3}, {"c0 k<", 0, 0, 0}, {"c7 k>", 7, 7, 7},       {"c5 n0", 0, 0, 0},
  };
  for (const auto& [steps, focus, left, right] : cases) {
    TGridSelection grid;
    grid.SetCount(8);
    std::istringstream tokens(steps);
    for (std::string t; tokens >> t;) {
      const int value = t[1] - '0';
      if (t[0] == 'c') grid.Click(value);
      if (t[0] == 's') grid.ShiftClick(value);
      if (t[0] == 'd') grid.Drag(value);
      if (t[0] == 'n') grid.SetCount(value);
      if (t[0] == 'k' || t[0] == 'K') grid.Key(TGridKey(std::string("<>he").find(t[1])), t[0] == 'K');
    }
    EXPECT_EQ(std::tuple(grid.Focus(), grid.Left(), grid.Right()), std::tuple(focus, left, right))
        << "focus, left and right after " << steps;
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
  panes.Dest.Grid.Click(2);
  panes.Dest.Grid.Drag(5);
  panes.DestGridClick();
  EXPECT_EQ(std::tuple(panes.CurrentDestShape(), panes.Dest.ShapeStatus, panes.Dest.FramesStatus),
            std::tuple(std::optional<std::size_t>(2), "Selected Shape: *105", "Frames: 5"));
}

// Steps, named after the rules: A UpdateTransferButtons, C to G the click and
// tab handlers (F and G pick "SubFrames"), H to K a paint of the column given;
// T shows the destination's "SubFrames" tab without a handler; s selects a
// range of the destination's frame grid. Shape counts of the destination and
// the source (3 frames each); options: f the source has a file, m Move mode, 1
// every state enabled before the steps.
TEST(PaneState, EnablingRules) {
  const std::vector<std::tuple<std::string, int, int, std::string, std::string, std::string>> cases = {
      {"A empty source keeps the inserts", 5, 0, "f1", "A", "111001 11 11 1"},
      {"C first frame: no Trash, no MoveLeft", 5, 2, "f", "F", "011101 00 00 0"},
      {"C last frame: no MoveRight", 5, 2, "f", "F s12 C", "111110 00 00 0"},
      {"D empty destination", 0, 2, "f", "D", "001000 00 00 0"},
      {"F move mode, destination to frames", 5, 2, "fm1", "F", "000001 11 11 1"},
      {"G then K: move mode, source to frames", 5, 2, "fm1", "G K0", "100011 11 10 1"},
      {"H a shape", 2, 0, "f", "H1", "100000 11 00 0"},
      {"I first frame selected", 2, 0, "f1", "I0", "111111 10 11 1"},
      {"J destination on main", 2, 2, "", "J1", "010000 00 11 1"},
      {"J emptied source file", 2, 0, "f1", "J0", "100111 11 00 1"},
      {"K empty destination on frames", 0, 2, "f1", "T K0", "000000 11 10 1"},
  };
  for (const auto& [name, dest_shapes, src_shapes, options, steps, expected] : cases) {
    TDocument dest = Document(dest_shapes), src = Document(src_shapes);
    if (options.find('f') != std::string::npos) src.FileName = "walls.fsh";
    TPaneState p(dest, src);
    p.RefreshGridCounts();
    p.MoveMode = options.find('m') != std::string::npos;
    const bool on = options.find('1') != std::string::npos;
    p.Enabled = {on, on, on, on, on, on, on, on, on, on, on};
    std::istringstream tokens(steps);
    for (std::string t; tokens >> t;) {
      const int from = t.size() > 1 ? t[1] - '0' : 0;
      const auto frames = TPaneTab::SubFrames;
      if (t[0] == 'A') p.UpdateTransferButtons();
      if (t[0] == 'C') p.DestSubGridClick();
      if (t[0] == 'D') p.SrcGridClick();
      if (t[0] == 'F') p.DestPagesChange(frames);
      if (t[0] == 'G') p.SrcPagesChange(frames);
      if (t[0] == 'H') p.DestGridDrawCell(from);
      if (t[0] == 'I') p.DestSubGridDrawCell(from);
      if (t[0] == 'J') p.SrcGridDrawCell(from);
      if (t[0] == 'K') p.SrcSubGridDrawCell(from);
      if (t[0] == 'T') p.Dest.Tab = frames;
      if (t[0] == 's') p.Dest.SubGrid.Click(from), p.Dest.SubGrid.Drag(t[2] - '0');
    }
    EXPECT_EQ(Mismatches(p.Enabled, expected), "") << name;
  }
}

}  // namespace
}  // namespace quillmere::test
