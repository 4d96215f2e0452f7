#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "app/editing_commands.h"
#include "app/transfer_commands.h"
#include "formats/fox_format.h"
#include "interface/scripted_user_interface.h"
#include "support/test_files.h"

namespace quillmere::test {
namespace {

using enum TTransferCommand;
constexpr TDocumentKind kDest = TDocumentKind::Destination;
constexpr TDocumentKind kSrc = TDocumentKind::Source;

// Shapes that differ in every field a FOX file keeps: 2 x 2 frames (so that
// flips change them), flags, replacement indices, positions and scripts.
TShapeList Shapes(int count, int frames, int seed) {
  TShapeList shapes;
  for (int s = 0; s < count; ++s) {
    TPatchFrame& shape = shapes.emplace_back();
    const int n = seed + s * 10;
    shape.Flags = static_cast<std::uint16_t>(n % 8);
    shape.ReplacementIndex = static_cast<std::int16_t>(s % 2 == 0 ? n : -1);
    if (s % 2 == 1) shape.Script = {TKSStep{1, static_cast<std::int16_t>(n), 0}, TKSStep{2, 100, 0}};
    for (int f = 0; f < frames; ++f) {
      const auto b = static_cast<std::uint8_t>(n + f * 2);
      shape.Frames.push_back({.Height = 2, .Width = 2, .ShapePosX = std::int16_t(n + f), .ShapePosY = std::int16_t(-f),
                              .FurrePosX = std::int16_t(f), .Opacity = 255, .Pixels = {b, 1, 2, 3}});
    }
  }
  return shapes;
}

// What the document would save.
Bytes Saved(const TDocument& document) {
  TempDir folder;
  SaveFOXFile(folder.File("saved.fox"), document.Shapes);
  return ReadFile(folder.File("saved.fox"));
}

std::string Describe(const TPane& pane) {
  std::ostringstream text;
  text << pane.Grid.Anchor() << "-" << pane.Grid.Focus() << " " << pane.SubGrid.Anchor() << "-"
       << pane.SubGrid.Focus();
  return text.str();
}

// Both documents as they would be saved, their flags, and both panes' selections.
struct TState {
  Bytes Dest, Src;
  bool DestModified = false, SrcModified = false;
  std::string DestPane, SrcPane;
  bool operator==(const TState&) const = default;
  friend void PrintTo(const TState& s, std::ostream* out) {
    *out << "dest " << s.Dest.size() << " bytes" << (s.DestModified ? " modified " : " ") << s.DestPane << ", src "
         << s.Src.size() << " bytes" << (s.SrcModified ? " modified " : " ") << s.SrcPane;
  }
};

// Selects shapes first..last (the click handler follows), then the tab and,
// on a SubFrames tab, frames firstFrame..lastFrame.
void Pick(TWorkspace& w, TDocumentKind kind, int first, int last, int firstFrame = -1, int lastFrame = -1) {
  const bool dest = kind == kDest;
  TPane& pane = dest ? w.Panes.Dest : w.Panes.Src;
  pane.Grid.Click(first);
  pane.Grid.Drag(last);
  dest ? w.Panes.DestGridClick() : w.Panes.SrcGridClick();
  const TPaneTab tab = firstFrame < 0 ? TPaneTab::Main : TPaneTab::SubFrames;
  dest ? w.Panes.DestPagesChange(tab) : w.Panes.SrcPagesChange(tab);
  if (tab == TPaneTab::Main) return;
  pane.SubGrid.Click(firstFrame);
  pane.SubGrid.Drag(lastFrame);
  dest ? w.Panes.DestSubGridClick() : w.Panes.SrcSubGridClick();
}

// A workspace whose documents were just loaded: five destination shapes of
// four frames (shape 3 a copy of shape 1) and four source shapes of three.
struct TDesk {
  ScriptedUserInterface ui;
  TWorkspace work{ui};
  TDesk() {
    work.Destination.Shapes = Shapes(5, 4, 0);
    work.Destination.Shapes[3] = work.Destination.Shapes[1];
    work.Source.Shapes = Shapes(4, 3, 100);
    work.Panes.RefreshGridCounts();
    work.Replaced(kDest);
    work.Replaced(kSrc);
  }
  TState State() {
    return {Saved(work.Destination), Saved(work.Source), work.Destination.Modified, work.Source.Modified,
            Describe(work.Panes.Dest), Describe(work.Panes.Src)};
  }
};

struct TCase {
  std::string Label;
  std::string Step;      // the name the step is undone by
  TDocumentKind Undone;  // the document whose grid runs undo and redo
  std::function<void(TWorkspace&)> Select;
  std::function<void(TWorkspace&, UserInterface&)> Run;
};

std::vector<TCase> Cases() {
  std::vector<TCase> cases;
  const std::pair<TTransferCommand, const char*> transfers[] = {
      {InsertBefore, "Insert Before"}, {InsertAfter, "Insert After"}, {Replace, "Replace"},
      {Delete, "Delete"},              {ShiftLeft, "Shift Left"},     {ShiftRight, "Shift Right"}};
  for (bool move : {false, true}) {
    for (bool frames : {false, true}) {
      for (const auto& [command, name] : transfers) {
        const bool takesSource = command == InsertBefore || command == InsertAfter || command == Replace;
        if (move && frames && takesSource) continue;  // disabled: Move takes whole shapes only
        cases.push_back({std::string(name) + (move ? " move" : " copy") + (frames ? " frames" : " main"), name,
                         kDest,
                         [move, frames](TWorkspace& w) {
                           SetTransferMode(w, move);
                           frames ? Pick(w, kDest, 1, 1, 1, 2) : Pick(w, kDest, 1, 2);
                           frames ? Pick(w, kSrc, 2, 2, 0, 1) : Pick(w, kSrc, 0, 1);
                         },
                         [command](TWorkspace& w, UserInterface&) { ASSERT_TRUE(RunTransferCommand(w, command)); }});
      }
    }
  }
  for (TDocumentKind kind : {kDest, kSrc}) {
    const std::string where = kind == kDest ? " destination" : " source";
    for (bool horizontally : {true, false}) {
      const std::string name = horizontally ? "Flip Horizontally" : "Flip Vertically";
      cases.push_back({name + where + " main", name, kind, [kind](TWorkspace& w) { Pick(w, kind, 1, 2); },
                       [kind, horizontally](TWorkspace& w, UserInterface& ui) {
                         FlipCommand(w, kind, horizontally, ui);
                       }});
      cases.push_back({name + where + " frames", name, kind, [kind](TWorkspace& w) { Pick(w, kind, 2, 2, 0, 1); },
                       [kind, horizontally](TWorkspace& w, UserInterface& ui) {
                         FlipCommand(w, kind, horizontally, ui);
                       }});
    }
    cases.push_back({"properties" + where + " main", "Shape Properties", kind,
                     [kind](TWorkspace& w) { Pick(w, kind, 0, 2); },
                     [kind](TWorkspace& w, UserInterface&) {
                       TPropertyEditor editor = TPropertyEditor::ForShapes(w.Document(kind).Shapes, 0, 2);
                       editor.ShapePosX = {7, true};
                       editor.Walkable.State = TCheckState::Checked;
                       ASSERT_TRUE(ApplyPropertiesCommand(w, kind, editor));
                     }});
    cases.push_back({"properties" + where + " frames", "Shape Properties", kind,
                     [kind](TWorkspace& w) { Pick(w, kind, 1, 1, 1, 2); },
                     [kind](TWorkspace& w, UserInterface&) {
                       TPropertyEditor editor = TPropertyEditor::ForFrames(w.Document(kind).Shapes[1], 1, 2);
                       editor.FurrePosY = {-9, true};
                       ASSERT_TRUE(ApplyPropertiesCommand(w, kind, editor));
                     }});
    cases.push_back({"script" + where, "Edit KitterSpeak Script", kind, [kind](TWorkspace& w) { Pick(w, kind, 1, 1); },
                     [kind](TWorkspace& w, UserInterface&) {
                       TScriptEditor editor(w.Document(kind).Shapes[1]);
                       editor.LoadStep(0);
                       editor.Add();
                       StoreScriptCommand(w, kind, 1, editor);
                     }});
  }
  cases.push_back({"remove duplicates", "Remove Duplicates", kDest, [](TWorkspace& w) { Pick(w, kDest, 4, 4); },
                   [](TWorkspace& w, UserInterface& ui) {
                     TDedupeOptions options;
                     RemoveDuplicatesCommand(w, options, ui, [](TDedupeDialogState&) { return true; });
                   }});
  return cases;
}

}  // namespace

// Every kind of edit, undone from the grid of the document it changed, gives
// back exactly the bytes both documents would have saved before it, their
// flags and the selections; redone, exactly those after it. Each is one step
// named after its command.
TEST(Undo, EveryEditUndoesAndRedoesExactly) {
  for (const TCase& c : Cases()) {
    SCOPED_TRACE(c.Label);
    TDesk desk;
    c.Select(desk.work);
    const TState before = desk.State();
    c.Run(desk.work, desk.ui);
    const TState after = desk.State();
    ASSERT_NE(after, before);
    ASSERT_NE(desk.work.History().NextUndo(c.Undone), nullptr);
    EXPECT_EQ(desk.work.History().NextUndo(c.Undone)->Name, c.Step);

    desk.work.Undo(c.Undone);
    EXPECT_EQ(desk.State(), before);
    EXPECT_EQ(desk.work.History().NextUndo(c.Undone), nullptr);
    EXPECT_EQ(desk.work.Captions().Dest.Group, "Destination");
    desk.work.Redo(c.Undone);
    EXPECT_EQ(desk.State(), after);
    EXPECT_EQ(desk.work.History().NextRedo(c.Undone), nullptr);
    desk.work.Undo(c.Undone);
    EXPECT_EQ(desk.State(), before);
  }
}

// A Move is one step on each document, undone and redone together from
// either grid. While the other document has a later step of its own, undo
// says to take that back first and changes nothing; the same for redo.
TEST(Undo, MoveUndoesOnBothDocuments) {
  TDesk desk;
  TWorkspace& w = desk.work;
  std::vector<TDocumentChange> heard;
  w.SetObserver([&](const TDocumentChange& change) { heard.push_back(change); });
  SetTransferMode(w, true);
  Pick(w, kDest, 0, 0);
  Pick(w, kSrc, 1, 2);
  const TState before = desk.State();
  ASSERT_TRUE(RunTransferCommand(w, InsertAfter));
  const TState moved = desk.State();
  EXPECT_EQ(heard, (std::vector<TDocumentChange>{{kDest, TChangeKind::Edited}, {kSrc, TChangeKind::Edited}}));
  EXPECT_EQ(w.Source.Shapes.size(), 2u);

  Pick(w, kSrc, 0, 0);
  FlipCommand(w, kSrc, true, desk.ui);
  const TState flipped = desk.State();
  heard.clear();
  w.Undo(kDest);
  EXPECT_EQ(desk.State(), flipped);
  EXPECT_TRUE(heard.empty());
  ASSERT_EQ(desk.ui.Shown().size(), 1u);
  EXPECT_EQ(desk.ui.Shown()[0].Message.Text,
            "\"Insert After\" changed both documents, and the Source has been changed since.\r"
            "Undo its later changes there first.");

  w.Undo(kSrc);  // the flip
  w.Undo(kSrc);  // the move, on both
  EXPECT_EQ(desk.State(), before);
  EXPECT_EQ(w.History().NextUndo(kDest), nullptr);

  // Redo from the destination's grid brings the move back on both, undo from
  // the source's takes it away from both, and the source redoes it and the flip.
  w.Redo(kDest);
  EXPECT_EQ(desk.State(), moved);
  w.Undo(kSrc);
  EXPECT_EQ(desk.State(), before);
  w.Redo(kSrc);
  w.Redo(kSrc);
  EXPECT_EQ(desk.State(), flipped);
  EXPECT_EQ(desk.ui.Shown().size(), 1u);

  // A new step in the source drops the move's redo on both sides.
  w.Undo(kSrc);
  w.Undo(kSrc);
  FlipCommand(w, kSrc, false, desk.ui);
  EXPECT_EQ(w.History().NextRedo(kDest), nullptr);
  EXPECT_EQ(w.History().NextRedo(kSrc), nullptr);
}

// Redo waits while the other document still has to redo what came before
// the shared step.
TEST(Undo, RedoOfAMoveWaitsForTheOtherDocument) {
  TDesk desk;
  TWorkspace& w = desk.work;
  Pick(w, kSrc, 3, 3);
  FlipCommand(w, kSrc, true, desk.ui);
  SetTransferMode(w, true);
  Pick(w, kDest, 0, 0);
  Pick(w, kSrc, 1, 2);
  ASSERT_TRUE(RunTransferCommand(w, InsertBefore));
  w.Undo(kDest);
  w.Undo(kSrc);  // the flip, before the move
  const TState undone = desk.State();
  w.Redo(kDest);
  EXPECT_EQ(desk.State(), undone);
  ASSERT_EQ(desk.ui.Shown().size(), 1u);
  EXPECT_EQ(desk.ui.Shown()[0].Message.Text,
            "\"Insert Before\" changes both documents, and the Source has earlier changes to redo.\r"
            "Redo those there first.");
}

// The saved state is a place in the history: undoing or redoing back to it
// clears "(Modified)", leaving it sets it again, and once a new step replaces
// the steps that led to it no state matches the file.
TEST(Undo, SavesMarkTheUnmodifiedState) {
  TempDir folder;
  TDesk desk;
  TWorkspace& w = desk.work;
  w.Destination.FileName = folder.File("walls.fox");
  Pick(w, kDest, 0, 0);
  FlipCommand(w, kDest, true, desk.ui);
  w.SaveDestination1Click();
  ASSERT_FALSE(w.Destination.Modified);
  FlipCommand(w, kDest, false, desk.ui);
  EXPECT_EQ(w.Captions().Dest.Group, "Destination (Modified)");
  w.Undo(kDest);
  EXPECT_EQ(w.Captions().Dest.Group, "Destination");
  EXPECT_EQ(Saved(w.Destination), ReadFile(w.Destination.FileName));
  w.Undo(kDest);
  EXPECT_EQ(w.Captions().Dest.Group, "Destination (Modified)");
  w.Redo(kDest);
  EXPECT_FALSE(w.Destination.Modified);
  w.Redo(kDest);
  EXPECT_TRUE(w.Destination.Modified);

  w.Undo(kDest);
  w.Undo(kDest);
  Pick(w, kDest, 4, 4);
  FlipCommand(w, kDest, true, desk.ui);
  w.Undo(kDest);
  EXPECT_TRUE(w.Destination.Modified);
  EXPECT_EQ(w.History().NextUndo(kDest), nullptr);
  w.Redo(kDest);
  EXPECT_TRUE(w.Destination.Modified);

  // The source's save is marked the same way.
  w.Source.FileName = folder.File("import.fox");
  Pick(w, kSrc, 0, 0);
  FlipCommand(w, kSrc, true, desk.ui);
  desk.ui = ScriptedUserInterface({TMsgAnswer::Yes});
  w.SaveSourceChanges1Click();
  ASSERT_FALSE(w.Source.Modified);
  w.Undo(kSrc);
  EXPECT_TRUE(w.Source.Modified);
  w.Redo(kSrc);
  EXPECT_FALSE(w.Source.Modified);
}

// Loading, New and reloading start a document's history afresh; a Move whose
// other document was reloaded undoes on this one alone. An edit that changes
// nothing (a refused transfer) makes no step and tells no one.
TEST(Undo, LoadsStartAfreshAndNoOpsLeaveNoStep) {
  TempDir folder;
  TDesk desk;
  TWorkspace& w = desk.work;
  w.Source.FileName = folder.File("import.fox");
  SaveFOXFile(w.Source.FileName, w.Source.Shapes);
  SetTransferMode(w, true);
  Pick(w, kDest, 0, 0);
  Pick(w, kSrc, 0, 0);
  const Bytes destBefore = Saved(w.Destination);
  ASSERT_TRUE(RunTransferCommand(w, Replace));
  w.RefreshSource1Click();
  EXPECT_EQ(w.History().NextUndo(kSrc), nullptr);
  const Bytes reloaded = Saved(w.Source);
  w.Undo(kDest);
  EXPECT_EQ(Saved(w.Destination), destBefore);
  EXPECT_EQ(Saved(w.Source), reloaded);

  std::vector<TDocumentChange> heard;
  w.SetObserver([&](const TDocumentChange& change) { heard.push_back(change); });
  desk.ui = ScriptedUserInterface({TMsgAnswer::No});
  w.Redo(kDest);
  heard.clear();
  w.New1Click();
  EXPECT_EQ(w.History().NextUndo(kDest), nullptr);
  EXPECT_EQ(w.History().NextRedo(kDest), nullptr);
  EXPECT_EQ(heard, (std::vector<TDocumentChange>{{kDest, TChangeKind::Replaced}}));

  // An enabled Delete on an empty selection past the list runs nothing.
  heard.clear();
  w.Destination.Shapes = Shapes(2, 1, 0);
  w.Panes.RefreshGridCounts();
  w.Replaced(kDest);
  heard.clear();
  Pick(w, kDest, 0, 0);
  ApplyPropertiesCommand(w, kDest, TPropertyEditor::ForShapes(w.Destination.Shapes, 0, 0));
  EXPECT_TRUE(w.Destination.Modified);  // OK marks the document even when nothing changed
  EXPECT_EQ(w.History().NextUndo(kDest), nullptr);
  EXPECT_TRUE(heard.empty());
}

// The history keeps at most its number of steps and its bytes of pixels that
// only it holds, dropping the oldest; the newest step stays whatever its size.
// Pixels a step shares with the document cost it nothing.
TEST(Undo, LimitsDropTheOldestSteps) {
  TShapeList shapes = Shapes(8, 1, 0);
  for (TPatchFrame& shape : shapes) shape.Frames[0].Pixels = ByteBuffer(1000, 7);
  TUndoStack stack({.Steps = 3, .Bytes = 3000});
  stack.Reset(shapes, false);
  TUndoStack::TDropped dropped;
  const TPaneSelections none;

  // Inserting copies costs metadata only: the pixels stay in the document.
  shapes.push_back(shapes[0]);
  ASSERT_NE(stack.Record("Insert After", shapes, none, none, 0, dropped), nullptr);
  EXPECT_LT(stack.Bytes(), 1000u);
  // Each delete holds the 1,000 bytes it took out: the third passes the step
  // count, which drops the insert, and the bytes, which drop the first delete.
  for (int i = 0; i < 3; ++i) {
    shapes.erase(shapes.begin());
    stack.Record("Delete", shapes, none, none, 0, dropped);
  }
  EXPECT_EQ(stack.Size(), 2u);
  EXPECT_GE(stack.Bytes(), 2000u);
  EXPECT_FALSE(stack.AtSavedState());
  stack.Undo(shapes);
  stack.Undo(shapes);
  EXPECT_EQ(stack.NextUndo(), nullptr);
  EXPECT_EQ(shapes.size(), 8u);  // back to after the first delete, no further
  EXPECT_EQ(stack.Undo(shapes), nullptr);
  EXPECT_FALSE(stack.AtSavedState());

  // One step larger than the limit alone is kept.
  TShapeList big = shapes;
  big.clear();
  stack.Record("Delete", big, none, none, 0, dropped);
  EXPECT_EQ(stack.Size(), 1u);
  EXPECT_GT(stack.Bytes(), 3000u);

  // A step count of three keeps three.
  TUndoStack counted({.Steps = 3});
  TShapeList list = Shapes(6, 1, 0);
  counted.Reset(list, false);
  for (int i = 0; i < 5; ++i) {
    list[static_cast<std::size_t>(i)].Flags ^= 1;
    counted.Record("Shape Properties", list, none, none, 0, dropped);
  }
  EXPECT_EQ(counted.Size(), 3u);
}

// When one document's bound drops the older half of a Move, the other drops
// its half (and what is older) too, so neither undoes half a move.
TEST(Undo, BoundsDropBothHalvesOfAMove) {
  TDocument dest, src;
  dest.Shapes = Shapes(3, 1, 0);
  src.Shapes = Shapes(3, 1, 50);
  TPaneState panes(dest, src);
  TUndoHistory history(dest, src, panes, {.Steps = 2});
  auto step = [&](bool onDest, bool onSrc) {
    history.Begin("Insert After");
    if (onDest) {
      dest.Shapes.push_back(dest.Shapes[0]);
      history.Touch(kDest);
    }
    if (onSrc) {
      src.Shapes.pop_back();
      history.Touch(kSrc);
    }
    history.End();
  };
  step(true, false);
  step(true, true);  // the move
  step(true, false);
  EXPECT_EQ(history.Stack(kDest).Size(), 2u);
  step(true, false);  // drops the destination's half of the move
  EXPECT_EQ(history.Stack(kDest).Size(), 2u);
  EXPECT_EQ(history.Stack(kSrc).Size(), 0u);
}

}  // namespace quillmere::test
