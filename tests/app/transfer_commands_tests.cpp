#include <gtest/gtest.h>

#include <sstream>

#include "app/editing_commands.h"
#include "app/transfer_commands.h"
#include "interface/scripted_user_interface.h"
#include "support/letter_documents.h"

namespace quillmere::test {
namespace {

using enum TTransferCommand;

// A pane's selections as "<tab> <shape anchor>-<shape focus> <frame
// anchor>-<frame focus>": "frames 0-0 2-4" shows shape 0's frames with 2 to 4
// selected by dragging from 2 to 4.
std::string Describe(const TPane& pane) {
  std::ostringstream text;
  text << (pane.OnFrames() ? "frames " : "main ") << pane.Grid.Anchor() << "-" << pane.Grid.Focus() << " "
       << pane.SubGrid.Anchor() << "-" << pane.SubGrid.Focus();
  return text.str();
}

// Selects as the person does: the shapes (the click handler follows), the
// tab, then on a SubFrames tab the frames.
void Pick(TWorkspace& w, TDocumentKind kind, const std::string& selection) {
  const bool dest = kind == TDocumentKind::Destination;
  TPane& pane = dest ? w.Panes.Dest : w.Panes.Src;
  std::istringstream words(selection);
  std::string tab;
  int shapeAnchor = 0, shapeFocus = 0, frameAnchor = 0, frameFocus = 0;
  char dash = 0;
  words >> tab >> shapeAnchor >> dash >> shapeFocus >> frameAnchor >> dash >> frameFocus;
  pane.Grid.Click(shapeAnchor);
  pane.Grid.Drag(shapeFocus);
  dest ? w.Panes.DestGridClick() : w.Panes.SrcGridClick();
  const TPaneTab page = tab == "frames" ? TPaneTab::SubFrames : TPaneTab::Main;
  dest ? w.Panes.DestPagesChange(page) : w.Panes.SrcPagesChange(page);
  if (page == TPaneTab::Main) return;
  pane.SubGrid.Click(frameAnchor);
  pane.SubGrid.Drag(frameFocus);
  dest ? w.Panes.DestSubGridClick() : w.Panes.SrcSubGridClick();
}

std::string EnabledButtons(const TCommandStates& s) {
  std::string names;
  const std::pair<bool, const char*> buttons[] = {{s.Trash, "Trash"},         {s.InsertFore, "InsertFore"},
                                                  {s.InsertAft, "InsertAft"}, {s.Replaceit, "Replaceit"},
                                                  {s.MoveLeft, "MoveLeft"},   {s.MoveRight, "MoveRight"}};
  for (const auto& [on, name] : buttons) {
    if (on) names += std::string(names.empty() ? "" : " ") + name;
  }
  return names;
}

// The documents after the commands, the selections the grids are left with,
// which documents are modified and, where given, the enabled buttons.
struct TOutcome {
  std::string Dest, Src, DestPane, SrcPane, Modified, Enabled;
  bool operator==(const TOutcome&) const = default;
};

void PrintTo(const TOutcome& o, std::ostream* os) {
  *os << "\n  destination \"" << o.Dest << "\" " << o.DestPane << "\n  source \"" << o.Src << "\" " << o.SrcPane
      << "\n  modified: " << o.Modified << "\n  enabled: " << o.Enabled;
}

// The four tab combinations in both modes, run through the workspace as the
// centre panel runs them: inserts leave the destination's selection alone,
// shifts carry it with the moved items, and only the handlers each operation
// names may put a frame grid back on its first frame.
TEST(TransferCommands, SelectionsStayWhereTheOperationLeavesThem) {
  const char* dest = "abcde f gh";
  const char* src = "pqr Q R S T U V W X";
  struct TCase {
    const char* Name;
    bool Move;
    const char* DestPick;
    const char* SrcPick;
    std::vector<TTransferCommand> Commands;
    TOutcome After;  // Enabled empty: not checked
  };
  // clang-format off
  const TCase cases[] = {
      {"main/main before", false, "main 1-1 0-0", "main 1-2 0-0", {InsertBefore},
       {"abcde q r f gh", src, "main 1-1 0-0", "main 1-2 0-0", "destination", ""}},
      {"main/main after the last appends", false, "main 2-2 0-0", "main 1-1 0-0", {InsertAfter},
       {"abcde f gh q", src, "main 3-3 0-0", "main 1-1 0-0", "destination", ""}},
      {"main/frames after", false, "main 0-0 0-0", "frames 0-0 1-2", {InsertAfter},
       {"abcde q r f gh", src, "main 0-0 0-0", "frames 0-0 1-2", "destination", ""}},
      {"frames/main before", false, "frames 0-0 3-1", "main 1-2 0-0", {InsertBefore},
       {"aqrbcde f gh", src, "frames 0-0 3-1", "main 1-2 0-0", "destination", ""}},
      {"frames/frames after frames 2 to 4 goes after frame 2", false, "frames 0-0 2-4", "frames 0-0 0-1",
       {InsertAfter}, {"abcpqde f gh", src, "frames 0-0 2-4", "frames 0-0 0-1", "destination", ""}},
      {"frames/frames replace", false, "frames 0-0 1-2", "frames 0-0 2-1", {Replace},
       {"aqrde f gh", src, "frames 0-0 1-2", "frames 0-0 2-1", "destination", ""}},
      {"main/main replace", false, "main 2-1 0-0", "main 0-0 0-0", {Replace},
       {"abcde pqr", src, "main 1-1 0-0", "main 0-0 0-0", "destination", ""}},
      {"delete frames 2 to 3 keeps Trash", false, "frames 0-0 2-3", "main 0-0 0-0", {Delete},
       {"abe f gh", src, "frames 0-0 2-2", "main 0-0 0-0", "destination",
        "Trash InsertFore InsertAft Replaceit MoveLeft"}},
      {"delete shapes", false, "main 0-1 0-0", "main 0-0 0-0", {Delete},
       {"gh", src, "main 0-0 0-0", "main 0-0 0-0", "destination", ""}},
      {"shift frames right twice moves the block twice", false, "frames 0-0 1-2", "main 0-0 0-0",
       {ShiftRight, ShiftRight},
       {"adebc f gh", src, "frames 0-0 3-4", "main 0-0 0-0", "destination",
        "Trash InsertFore InsertAft Replaceit MoveLeft"}},
      {"shift shapes left twice", false, "main 2-2 0-0", "main 0-0 0-0", {ShiftLeft, ShiftLeft},
       {"gh abcde f", src, "main 0-0 0-0", "main 0-0 0-0", "destination",
        "Trash InsertFore InsertAft Replaceit MoveRight"}},
      {"shift left at the first frame is disabled", false, "frames 0-0 0-1", "main 0-0 0-0", {ShiftLeft},
       {dest, src, "frames 0-0 0-1", "main 0-0 0-0", "none", ""}},
      {"move main/main: the source keeps 3 to 5", true, "main 1-1 0-0", "main 3-5 0-0", {InsertBefore},
       {"abcde S T U f gh", "pqr Q R V W X", "main 1-1 0-0", "main 3-5 0-0", "both", ""}},
      {"move main/main replace", true, "main 0-0 0-0", "main 1-1 0-0", {Replace},
       {"Q f gh", "pqr R S T U V W X", "main 0-0 0-0", "main 1-1 0-0", "both", ""}},
      {"move into frames is disabled", true, "frames 0-0 1-1", "main 1-1 0-0", {InsertBefore, InsertAfter, Replace},
       {dest, src, "frames 0-0 1-1", "main 1-1 0-0", "none", "Trash MoveLeft MoveRight"}},
      {"move from frames is disabled", true, "main 0-0 0-0", "frames 0-0 1-1", {InsertBefore, Replace},
       {dest, src, "main 0-0 0-0", "frames 0-0 1-1", "none", "Trash MoveRight"}},
      {"move frames to frames is disabled", true, "frames 0-0 1-1", "frames 0-0 1-1", {InsertAfter},
       {dest, src, "frames 0-0 1-1", "frames 0-0 1-1", "none", "Trash MoveLeft MoveRight"}},
  };
  // clang-format on
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ScriptedUserInterface ui;
    TWorkspace w(ui);
    w.Destination.Shapes = LetterDocument(dest).Shapes;
    w.Source.Shapes = LetterDocument(src).Shapes;
    w.Panes.RefreshGridCounts();
    SetTransferMode(w, c.Move);
    Pick(w, TDocumentKind::Destination, c.DestPick);
    Pick(w, TDocumentKind::Source, c.SrcPick);
    for (TTransferCommand command : c.Commands) RunTransferCommand(w, command);
    const bool destModified = w.Destination.Modified, srcModified = w.Source.Modified;
    const char* modified = destModified ? (srcModified ? "both" : "destination") : (srcModified ? "source" : "none");
    const TOutcome outcome{Letters(w.Destination), Letters(w.Source), Describe(w.Panes.Dest),
                           Describe(w.Panes.Src),  modified,          *c.After.Enabled.c_str() ? EnabledButtons(w.Panes.Enabled) : ""};
    EXPECT_EQ(outcome, c.After);
  }
}

}  // namespace
}  // namespace quillmere::test
