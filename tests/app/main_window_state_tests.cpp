#include <gtest/gtest.h>

#include <filesystem>

#include "app/editing_commands.h"
#include "app/main_window_state.h"
#include "support/message_printing.h"
#include "support/test_files.h"

namespace quillmere::test {
namespace {

using Texts = std::vector<std::string>;

std::string SettingsFile(const TempDir& dir) { return dir.Path() + "/Tarnwick/Quillmere/quillmere.ini"; }

std::string TextOf(const std::string& file) {
  const Bytes bytes = ReadFile(file);
  return {bytes.begin(), bytes.end()};
}

// The options as the menus show them, by name.
std::string Options(const TMainWindowState& s) {
  std::string text;
  const std::pair<bool, const char*> checks[] = {{s.Settings.Tips(), "Tips"},
                                                 {s.Settings.DragDrop(), "DragDrop"},
                                                 {s.MoveMode(), "MoveObjects"},
                                                 {s.Settings.LargeHighlight(), "LargeHighlight"},
                                                 {s.SaveFBJInformation(), "SaveFBJ"}};
  for (const auto& [on, name] : checks) {
    if (on) text += std::string(name) + " ";
  }
  return text + "MBC=" + std::to_string(s.Settings.MainHighlight()) +
         " SBC=" + std::to_string(s.Settings.SubFrameHighlight());
}

TEST(StartUp, AFirstStartHasTheDefaultsAndMakesTheFolder) {
  TempDir dir;
  ScriptedUserInterface ui;
  const auto state = StartUp(ui, dir.Path());
  const TWorkspace& w = state->Workspace;
  EXPECT_EQ(Options(*state), "SaveFBJ MBC=255 SBC=32768");
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path() + "/Tarnwick/Quillmere"));
  EXPECT_FALSE(FileExists(SettingsFile(dir)));  // nothing written until there is something to keep
  EXPECT_EQ(std::tuple(w.DestRecentFiles.IniSection(), w.DestRecentFiles.MaxFiles(), w.DestRecentFiles.Files(),
                       w.SourceRecentFiles.IniSection(), w.SourceRecentFiles.MaxFiles(), w.SourceRecentFiles.Files()),
            std::tuple("MRU - Destination", 8u, Texts{}, "MRU - Source", 8u, Texts{}));
  EXPECT_EQ(std::tuple(w.Panes.Dest.Tab, w.Panes.Src.Tab), std::tuple(TPaneTab::Main, TPaneTab::Main));
  // The destination's click handler has run: nothing to shift, nothing to replace.
  EXPECT_EQ(std::tuple(w.Panes.Enabled.MoveLeft, w.Panes.Enabled.MoveRight, w.Panes.Enabled.Replaceit),
            std::tuple(false, false, false));
  EXPECT_EQ(w.Captions().Dest, (TPaneCaptions{"Destination", "Shapes: 0", "Selected Shape: 0", "Filename: None",
                                               "Frames: N/A", "Selected Frame: N/A"}));
  EXPECT_TRUE(ui.Shown().empty());
}

TEST(StartUp, StoredOptionsTakeEffectAsTheirCommandsDo) {
  TempDir dir;
  std::filesystem::create_directories(dir.Path() + "/Tarnwick/Quillmere");
  WriteFile(SettingsFile(dir), ByteBuilder().Text("[Main]\r\nTips=1\r\nHighlighter=1\r\nCopymode=0\r\nMBC=abc\r\n"));
  ScriptedUserInterface ui;
  auto state = StartUp(ui, dir.Path());
  EXPECT_EQ(Options(*state), "Tips MoveObjects LargeHighlight SaveFBJ MBC=255 SBC=32768");
  // Move mode is on in earnest: a frame tab disables the inserts.
  TWorkspace& w = state->Workspace;
  w.Source.Shapes.resize(1);
  w.Panes.RefreshGridCounts();
  w.Panes.DestPagesChange(TPaneTab::Main);
  EXPECT_TRUE(w.Panes.Enabled.InsertFore);
  w.Panes.SrcPagesChange(TPaneTab::SubFrames);
  w.Panes.DestPagesChange(TPaneTab::SubFrames);
  EXPECT_EQ(std::tuple(w.Panes.Enabled.InsertFore, w.Panes.Enabled.InsertAft, w.Panes.Enabled.Replaceit),
            std::tuple(false, false, false));

  // Unchecking the FBJ option lasts for this run only; the commands write at once.
  state->SaveFBJInformation1Click();
  state->CopyObjects1Click();
  EXPECT_EQ(Options(*state), "Tips LargeHighlight MBC=255 SBC=32768");
  EXPECT_FALSE(w.SaveOptions.SaveFBJInformation);
  EXPECT_EQ(Options(*StartUp(ui, dir.Path())), "Tips LargeHighlight SaveFBJ MBC=255 SBC=32768");
}

TEST(ShutDown, OptionsThenBothRecentListsRoundTripThroughTheFile) {
  TempDir dir;
  ScriptedUserInterface ui;
  {
    auto state = StartUp(ui, dir.Path());
    state->DragandDrop1Click();
    state->SetSubFrameHighlight(0x00FF00);
    // Nine files: the oldest drops out at eight.
    for (int i = 1; i <= 9; ++i) state->Workspace.DestRecentFiles.AddFile("/shapes/d" + std::to_string(i) + ".fox");
    state->Workspace.SourceRecentFiles.AddFile("/shapes/s.fsh");
    ShutDown(*state);
  }
  // The commands wrote their keys first; shutdown adds the rest in its order.
  EXPECT_EQ(TextOf(SettingsFile(dir)),
            "[Main]\nDragDrop=1\nSBC=65280\nTips=0\nCopymode=1\nHighlighter=0\nMBC=255\n\n"
            "[MRU - Destination]\n1=/shapes/d9.fox\n2=/shapes/d8.fox\n3=/shapes/d7.fox\n4=/shapes/d6.fox\n"
            "5=/shapes/d5.fox\n6=/shapes/d4.fox\n7=/shapes/d3.fox\n8=/shapes/d2.fox\n\n"
            "[MRU - Source]\n1=/shapes/s.fsh\n2=\n3=\n4=\n5=\n6=\n7=\n8=\n");
  const auto again = StartUp(ui, dir.Path());
  EXPECT_EQ(again->Workspace.DestRecentFiles.Files().size(), 8u);
  EXPECT_EQ(again->Workspace.DestRecentFiles.Files().back(), "/shapes/d2.fox");
  EXPECT_EQ(again->Workspace.SourceRecentFiles.Files(), Texts{"/shapes/s.fsh"});
  EXPECT_EQ(Options(*again), "DragDrop SaveFBJ MBC=255 SBC=65280");
  EXPECT_TRUE(ui.Shown().empty());
}

TEST(ShutDown, AFailedWriteIsShownOnceAndStopsTheRest) {
  TempDir dir;
  WriteFile(dir.File("plain"), {});  // a file where the settings folder should be defeats even root
  ScriptedUserInterface ui;
  auto state = StartUp(ui, dir.File("plain"));
  EXPECT_TRUE(ui.Shown().empty());  // reading never fails
  state->tooltipsBalloonHelp1Click();
  EXPECT_TRUE(state->Settings.Tips());  // the choice holds for this run
  ShutDown(*state);
  const TMessage unable{"Quillmere", "Unable to write to " + dir.File("plain") + "/Tarnwick/Quillmere/quillmere.ini",
                        TMsgIcon::Error, TMsgButtons::Ok};
  EXPECT_EQ(MessagesOf(ui), std::vector({unable, unable}));  // the command's and shutdown's, not one per entry
}

}  // namespace
}  // namespace quillmere::test

namespace quillmere::test {

// Undo and redo act on the document whose grid last had the focus (the
// destination's before any grid had it), and their items name the step they
// would take or are off.
TEST(UndoMenu, FollowsTheGridThatLastHadTheFocus) {
  TempDir dir;
  ScriptedUserInterface ui;
  const auto state = StartUp(ui, dir.Path());
  TWorkspace& w = state->Workspace;
  const TPatchSubFrame frame{.Height = 1, .Width = 2, .Opacity = 255, .Pixels = {1, 2}};
  w.Destination.Shapes = {TPatchFrame{.Frames = {frame}, .Script = {}}};
  w.Source.Shapes = w.Destination.Shapes;
  w.Panes.RefreshGridCounts();
  w.Replaced(TDocumentKind::Destination);
  w.Replaced(TDocumentKind::Source);
  EXPECT_EQ(state->UndoItems(), (TUndoItems{"&Undo", false, "&Redo", false}));

  FlipCommand(w, TDocumentKind::Destination, true, ui);
  EXPECT_EQ(state->UndoItems(), (TUndoItems{"&Undo Flip Horizontally", true, "&Redo", false}));
  state->GridFocused(TGridId::SrcSubGrid);
  EXPECT_EQ(state->UndoTarget(), TDocumentKind::Source);
  EXPECT_EQ(state->UndoItems(), (TUndoItems{"&Undo", false, "&Redo", false}));
  FlipCommand(w, TDocumentKind::Source, true, ui);
  state->Undo1Click();
  EXPECT_EQ(w.Source.Shapes[0].Frames[0].Pixels, (ByteBuffer{1, 2}));
  EXPECT_EQ(w.Destination.Shapes[0].Frames[0].Pixels, (ByteBuffer{2, 1}));
  EXPECT_EQ(state->UndoItems(), (TUndoItems{"&Undo", false, "&Redo Flip Horizontally", true}));

  state->GridFocused(TGridId::DestSubGrid);
  state->Undo1Click();
  EXPECT_EQ(w.Destination.Shapes[0].Frames[0].Pixels, (ByteBuffer{1, 2}));
  state->Redo1Click();
  EXPECT_EQ(w.Destination.Shapes[0].Frames[0].Pixels, (ByteBuffer{2, 1}));
  EXPECT_EQ(w.Source.Shapes[0].Frames[0].Pixels, (ByteBuffer{1, 2}));
  EXPECT_EQ(state->UndoItems(), (TUndoItems{"&Undo Flip Horizontally", true, "&Redo", false}));
}

}  // namespace quillmere::test
