#include <gtest/gtest.h>

#include "app/editing_commands.h"
#include "support/frames.h"
#include "support/message_printing.h"

namespace quillmere::test {

// Edits go through the one way in: the document edited is marked modified
// (the Source as much as the Destination), the observer hears of it, and an
// edit that changes nothing leaves the flag alone.
TEST(EditingCommands, EditsMarkTheirOwnDocument) {
  ScriptedUserInterface ui;
  TWorkspace work(ui);
  std::vector<TDocumentChange> heard;
  work.SetObserver([&](const TDocumentChange& change) { heard.push_back(change); });
  work.Source.Shapes = {Shape({Frame(3, 1, kFormatIndexed, {1, 2, 3})}), Shape({Frame(1, 1, 2, {0, 0, 9})})};
  work.Panes.RefreshGridCounts();
  work.Panes.Src.Grid.Click(0);
  work.Panes.Src.Grid.ShiftClick(1);

  FlipCommand(work, TDocumentKind::Source, true, ui);
  EXPECT_EQ(work.Source.Shapes[0].Frames[0].Pixels, (ByteBuffer{3, 2, 1}));
  EXPECT_EQ(ui.DebugLines(), std::vector<std::string>{"FlipHoriz: Unsupported format! (2)"});
  EXPECT_TRUE(work.Source.Modified);
  EXPECT_FALSE(work.Destination.Modified);
  EXPECT_EQ(heard, (std::vector<TDocumentChange>{{TDocumentKind::Source, TChangeKind::Edited}}));
  EXPECT_EQ(work.Captions().Src.Group, "Source (Modified)");

  // Applying the property editor brings the furre bits in line; OK again
  // changes no value but still marks the document, as a confirmed edit does.
  EXPECT_TRUE(ApplyPropertiesCommand(work, TDocumentKind::Source, TPropertyEditor::ForShapes(work.Source.Shapes, 0, 1)));
  work.Source.Modified = false;
  EXPECT_FALSE(ApplyPropertiesCommand(work, TDocumentKind::Source, TPropertyEditor::ForShapes(work.Source.Shapes, 0, 1)));
  EXPECT_TRUE(work.Source.Modified);
  // Flipping an empty Destination does nothing at all.
  FlipCommand(work, TDocumentKind::Destination, false, ui);
  EXPECT_FALSE(work.Destination.Modified);
}

// A flip of frames 1 and 2 leaves them selected, so flipping again flips the
// same frames back rather than the shape's first frame.
TEST(EditingCommands, EditsLeaveTheFrameSelectionAlone) {
  ScriptedUserInterface ui;
  TWorkspace work(ui);
  const TPatchSubFrame frame = Frame(2, 1, kFormatIndexed, {1, 2});
  work.Destination.Shapes = {Shape({frame, frame, frame})};
  work.Panes.RefreshGridCounts();
  work.Panes.DestPagesChange(TPaneTab::SubFrames);
  work.Panes.Dest.SubGrid.Click(1);
  work.Panes.Dest.SubGrid.Drag(2);
  work.Panes.DestSubGridClick();
  for (int flips = 1; flips <= 2; ++flips) {
    FlipCommand(work, TDocumentKind::Destination, true, ui);
    const ByteBuffer flipped = flips == 1 ? ByteBuffer{2, 1} : ByteBuffer{1, 2};
    const auto& frames = work.Destination.Shapes[0].Frames;
    EXPECT_EQ(std::tie(frames[0].Pixels, frames[1].Pixels, frames[2].Pixels),
              std::tie(frame.Pixels, flipped, flipped));
    EXPECT_EQ(std::tuple(work.Panes.Dest.SubGrid.Left(), work.Panes.Dest.SubGrid.Right()), std::tuple(1, 2));
  }
}

// The editors open on the shape at the main grid's Left, and not at all on an
// empty document.
TEST(EditingCommands, EditorsOpenOnTheCurrentShapeOrSayThereIsNone) {
  ScriptedUserInterface ui;
  TWorkspace work(ui);
  const TMessage nothing{"Whoops!", "Nothing selected to edit!", TMsgIcon::Warning, TMsgButtons::Ok};
  EXPECT_FALSE(OpenScriptEditor(work, TDocumentKind::Source, ui));
  EXPECT_FALSE(OpenPropertyEditor(work, TDocumentKind::Destination, true, ui));
  EXPECT_EQ(MessagesOf(ui), std::vector({nothing, nothing}));

  TPatchFrame withScript = Shape({Frame(1, 1, kFormatIndexed, {1}), Frame(1, 1, kFormatIndexed, {2})},
                                 {{7, 1, 0}});
  work.Destination.Shapes = {Shape({}), withScript, withScript};
  work.Panes.RefreshGridCounts();
  work.Panes.Dest.Grid.Click(1);
  work.Panes.Dest.Grid.Drag(2);  // dragged: the focus on 2, the current shape 1
  const auto script = OpenScriptEditor(work, TDocumentKind::Destination, ui);
  ASSERT_TRUE(script);
  EXPECT_EQ(std::tuple(script->ShapeIndex, script->Caption, script->Editor.LineCount()),
            std::tuple(1u, "Animation Editor: Shape 1", 1));
  work.Panes.Dest.SubGrid.SetCount(2);
  work.Panes.Dest.SubGrid.Click(1);
  const auto frames = OpenPropertyEditor(work, TDocumentKind::Destination, true, ui);
  const auto shapes = OpenPropertyEditor(work, TDocumentKind::Destination, false, ui);
  ASSERT_TRUE(frames && shapes);
  EXPECT_EQ(std::tuple(frames->EditsFrames(), frames->RangeCaption, shapes->EditsFrames(), shapes->RangeCaption),
            std::tuple(true, "2", false, "2 - 3"));
  EXPECT_EQ(ui.Shown().size(), 2u);
}

// Typing 70000 as the replacement index shows 65535 at once and settles on
// the field's limit, 32000, when it loses the focus.
TEST(EditingCommands, TheReplacementIndexFieldKeepsItsLimits) {
  const std::tuple<const char*, const char*, int> cases[] = {
      {"70000", "65535", 32000}, {"65536", "65535", 32000}, {"65535", "65535", 32000},
      {"31999", "31999", 31999}, {"-7", "-7", -1},          {"", "", -1},
      {"-", "-", -1},            {"99999999999999999999", "65535", 32000},
  };
  for (const auto& [typed, shown, settled] : cases) {
    const std::string field = TypedReplacementIndex(typed);
    EXPECT_EQ(std::tuple(field, NumberFieldValue(field, kReplacementLimits.Min, kReplacementLimits.Max)),
              std::tuple(shown, settled))
        << typed;
  }
}

TEST(EditingCommands, MoveModeDisablesInsertsWhileAFrameTabShows) {
  ScriptedUserInterface ui;
  TWorkspace work(ui);
  work.Destination.Shapes = {Shape({Frame(1, 1, kFormatIndexed, {1})})};
  work.Source.Shapes = work.Destination.Shapes;
  work.Panes.RefreshGridCounts();
  work.Panes.DestPagesChange(TPaneTab::SubFrames);
  SetTransferMode(work, false);
  EXPECT_TRUE(work.Panes.Enabled.InsertFore);
  SetTransferMode(work, true);
  EXPECT_FALSE(work.Panes.Enabled.InsertFore || work.Panes.Enabled.InsertAft || work.Panes.Enabled.Replaceit);
}

}  // namespace quillmere::test
