#include <functional>

#include "app/workspace.h"
#include "formats/file_name.h"
#include "formats/file_type.h"
#include "formats/fox_format.h"
#include "interface/messages.h"
#include "support/frames.h"
#include "support/message_printing.h"

namespace quillmere::test {
namespace {

using enum TMsgId;
using enum TMsgAnswer;
using enum TDocumentKind;
using Texts = std::vector<std::string>;

TPatchFrame Plain(std::uint8_t pixel, std::size_t frames = 1) {
  return Shape(std::vector(frames, Frame(1, 1, kFormatIndexed, {pixel})));
}

void AddShape(TDocument& d) { d.Shapes.push_back(Plain(9)); }

// What a flow leaves behind: the destination's name and flag, the source's
// name and flag, the flow's answer and the files in the folder.
using TState = std::tuple<std::string, bool, std::string, bool, bool, Texts>;

TEST(Workspace, FlowsAskTheRightQuestionsAndLeaveTheDocumentsAsAnswered) {
  std::unique_ptr<TempDir> dir;
  auto path = [&](const std::string& name) { return dir->File(name); };
  using TStep = std::function<void(TWorkspace&)>;
  const TStep openDest = [&](TWorkspace& w) { w.DestRecentClick(path("dest.fox")); };
  const TStep openSrc = [&](TWorkspace& w) { w.SourceRecentClick(path("src.fox")); };
  const TStep editDest = [](TWorkspace& w) { w.Change(Destination, AddShape); };
  const TStep editSrc = [](TWorkspace& w) { w.Change(Source, AddShape); };
  const TStep emptySrc = [](TWorkspace& w) { w.Change(Source, [](TDocument& d) { d.Shapes.clear(); }); };
  auto act = [](void (TWorkspace::*flow)()) { return [flow](TWorkspace& w) { return (w.*flow)(), true; }; };
  const std::function<bool(TWorkspace&)> close = [](TWorkspace& w) { return w.FormCloseQuery(); };
  const std::function<bool(TWorkspace&)> drop = [&](TWorkspace& w) {
    return w.FilesDropped(path("dest.fox"), TDropTarget::Destination), true;
  };
  // A source read only in part keeps no file name.
  const TStep openTorn = [&](TWorkspace& w) {
    const Bytes whole = ReadFile(path("src.fox"));
    WriteFile(path("torn.fox"), Bytes(whole.begin(), whole.end() - 1));
    w.SourceRecentClick(path("torn.fox"));
  };
  const Texts both = {"dest.fox", "src.fox"}, withTorn = {"dest.fox", "src.fox", "torn.fox"};
  const TMessage noFile = MakeMessage(SourceHasNoFile);
  const TMessage unsaved = MakeMessage(UnsavedChanges), srcUnsaved = MakeMessage(SourceUnsavedChanges);
  struct TCase {
    const char* Name;
    std::vector<TStep> Prepare;
    std::vector<TMsgAnswer> Answers;
    const char* Choice;  // a name in the folder, "" cancels the dialog
    std::function<bool(TWorkspace&)> Act;
    std::vector<TMessage> Shown;
    TState After;
  };
  // clang-format off
  const TCase cases[] = {
      {"new, modified, cancel", {openDest, editDest}, {Cancel}, nullptr, act(&TWorkspace::New1Click),
       {unsaved}, {"dest.fox", true, "None", false, true, both}},
      {"new, modified, no", {openDest, editDest}, {No}, nullptr, act(&TWorkspace::New1Click),
       {unsaved}, {"None", false, "None", false, true, both}},
      {"new, unmodified: no question", {openDest}, {}, nullptr, act(&TWorkspace::New1Click),
       {}, {"None", false, "None", false, true, both}},
      {"reload destination, modified, cancel", {openDest, editDest}, {Cancel}, nullptr,
       act(&TWorkspace::ReloadDestination1Click), {unsaved}, {"dest.fox", true, "None", false, true, both}},
      {"reload destination, modified, no", {openDest, editDest}, {No}, nullptr,
       act(&TWorkspace::ReloadDestination1Click), {unsaved}, {"dest.fox", false, "None", false, true, both}},
      {"save without a name, dialog cancelled", {editDest}, {}, "", act(&TWorkspace::SaveDestination1Click),
       {}, {"None", true, "None", false, true, both}},
      {"drop a text file", {}, {}, nullptr,
       [](TWorkspace& w) { return w.FilesDropped("/home/a/notes.txt", TDropTarget::Source), true; },
       {MakeMessage(UnrecognisedFiletype, {"/home/a/notes.txt"})}, {"None", false, "None", false, true, both}},
      {"recent file gone", {}, {}, nullptr,
       [&](TWorkspace& w) { return w.DestRecentClick(path("gone.fox")), true; },
       {MakeMessage(RecentFileNotFound)}, {"None", false, "None", false, true, both}},
      {"close, emptied source, cancel", {openSrc, emptySrc}, {Cancel}, nullptr, close,
       {MakeMessage(SourceUnsavedNoObjects)}, {"None", false, "src.fox", true, false, both}},
      {"save a source read in part", {openTorn, editSrc}, {Yes}, nullptr,
       act(&TWorkspace::SaveSourceChanges1Click), {noFile}, {"None", false, "None", true, true, withTorn}},
      {"close, source read in part, yes", {openTorn, editSrc}, {Yes}, nullptr, close,
       {srcUnsaved, noFile}, {"None", false, "None", true, false, withTorn}},
      {"two frames as fs2, cancel", {openDest, editDest}, {Cancel}, "out.fs2",
       [](TWorkspace& w) { return w.SaveAs1Click(); }, {MakeMessage(DataLossFSH), MakeMessage(FileNotSaved)},
       {"dest.fox", true, "None", false, false, both}},
      {"close, only source modified, cancel", {openSrc, editSrc}, {Cancel}, nullptr, close, {srcUnsaved},
       {"None", false, "src.fox", true, false, both}},
      {"drop on modified destination, cancel", {editDest}, {Cancel}, nullptr, drop, {unsaved},
       {"None", true, "None", false, true, both}},
      {"drop on modified destination, no", {editDest}, {No}, nullptr, drop, {unsaved},
       {"dest.fox", false, "None", false, true, both}},
      {"source recent, modified, cancel", {openSrc, editSrc}, {Cancel}, nullptr,
       [&](TWorkspace& w) { return w.SourceRecentClick(path("dest.fox")), true; }, {srcUnsaved},
       {"None", false, "src.fox", true, true, both}},
      {"save emptied source, yes trashes", {openSrc, emptySrc}, {Yes}, nullptr,
       act(&TWorkspace::SaveSourceChanges1Click), {MakeMessage(SourceEmptyDelete)},
       {"None", false, "None", false, true, {"dest.fox"}}},
      {"save source and destination", {openSrc, editSrc, openDest, editDest}, {Yes}, nullptr,
       act(&TWorkspace::SaveSourceDestination1Click), {MakeMessage(SaveSourceConfirm)},
       {"dest.fox", false, "src.fox", false, true, both}},
  };
  // clang-format on
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    // "dest.fox"'s second shape has two frames, which FSH and FS2 can't hold.
    dir = std::make_unique<TempDir>();
    ASSERT_TRUE(SaveFOXFile(dir->File("dest.fox"), {Plain(1), Plain(2, 2)}));
    ASSERT_TRUE(SaveFOXFile(dir->File("src.fox"), {Plain(3), Plain(4), Plain(5)}));
    ScriptedUserInterface ui(c.Answers);
    TWorkspace w(ui);
    for (const TStep& step : c.Prepare) step(w);
    ui.Clear();
    if (c.Choice) ui.SetFileChoices({*c.Choice ? path(c.Choice) : ""});
    const bool result = c.Act(w);
    EXPECT_EQ(MessagesOf(ui), c.Shown);
    EXPECT_EQ(TState(ExtractFileName(w.Destination.FileName), w.Destination.Modified,
                     ExtractFileName(w.Source.FileName), w.Source.Modified, result, dir->List()),
              c.After);
  }
}

// Opening or reloading a document sets its own offset back to 0 and leaves
// the other pane's alone; reloading the source asks nothing, nor does
// reloading an unmodified destination.
TEST(Workspace, OpeningAndReloadingResetOnlyThatPanesOffset) {
  TempDir dir;
  ASSERT_TRUE(SaveFOXFile(dir.File("dest.fox"), {Plain(1)}));
  ASSERT_TRUE(SaveFOXFile(dir.File("src.fox"), {Plain(3), Plain(4)}));
  ScriptedUserInterface ui;
  TWorkspace w(ui);
  auto offsets = [&] { return std::tuple(w.Destination.Offset, w.Source.Offset); };
  w.DestRecentClick(dir.File("dest.fox"));
  w.SourceRecentClick(dir.File("src.fox"));
  w.Destination.Offset = 5;
  w.Source.Offset = 7;
  w.Change(Source, AddShape);
  w.RefreshSource1Click();
  EXPECT_EQ(offsets(), std::tuple(5, 0));
  EXPECT_EQ(std::tuple(w.Source.Shapes.size(), w.Source.Modified), std::tuple(2u, false));
  w.Source.Offset = 7;
  w.ReloadDestination1Click();
  EXPECT_EQ(offsets(), std::tuple(0, 7));
  w.Destination.Offset = 4;
  w.SourceRecentClick(dir.File("dest.fox"));
  EXPECT_EQ(offsets(), std::tuple(4, 0));
  EXPECT_TRUE(ui.Shown().empty());
}

// The type a plain Save writes comes from the name, not from what was read:
// a FOX file named "x.fsh" is warned about and then saved as FSH with its FBJ.
TEST(Workspace, SaveWritesTheTypeTheNameSays) {
  TempDir dir;
  ASSERT_TRUE(SaveFOXFile(dir.File("x.fsh"), {Plain(1), Plain(2)}));
  ScriptedUserInterface ui;
  TWorkspace w(ui);
  w.DestRecentClick(dir.File("x.fsh"));
  w.Change(Destination, AddShape);
  w.SaveDestination1Click();
  EXPECT_EQ(MessagesOf(ui), std::vector{MakeMessage(FiletypeMismatch)});
  EXPECT_EQ(std::tuple(DetectFileType(dir.File("x.fsh")).FileType, dir.List(), w.Destination.Modified),
            std::tuple(TShapeFileType::ftFSH, Texts{"x.fbj", "x.fsh"}, false));
  w.ReloadDestination1Click();
  EXPECT_EQ(w.Destination.Shapes.size(), 3u);
}

TEST(Workspace, CaptionsFollowTheDocumentsAndTheSelection) {
  TempDir dir;
  ASSERT_TRUE(SaveFOXFile(dir.File("walls.fox"), {Plain(1), Plain(2, 2)}));
  ScriptedUserInterface ui;
  TWorkspace w(ui);
  w.DestRecentClick(dir.File("walls.fox"));
  w.Destination.Offset = 10;
  w.Change(Destination, [](TDocument&) {});
  w.Panes.Dest.Grid.Click(1);
  w.Panes.DestGridClick();
  w.Panes.Dest.SubGrid.Click(1);
  w.Change(Source, AddShape);
  EXPECT_EQ(w.Captions(), (TCaptions{{"Destination (Modified)", "Shapes: 2", "Selected Shape: *11",
                                      "Filename: walls.fox", "Frames: 2", "Selected Frame: 1"},
                                     {"Source (Modified)", "Shapes: 1", "Selected Shape: 0", "Filename: None",
                                      "Frames: 1", "Selected Frame: 0"},
                                     true}));
}

TEST(Workspace, ChangesAndLoadsReachTheObserverAndTheGrids) {
  TempDir dir;
  ASSERT_TRUE(SaveFOXFile(dir.File("a.fox"), {Plain(1), Plain(2), Plain(3)}));
  ScriptedUserInterface ui;
  TWorkspace w(ui);
  std::vector<TDocumentChange> changes;
  w.SetObserver([&](const TDocumentChange& change) { changes.push_back(change); });
  ui.SetFileChoices({dir.File("a.fox"), ""});
  w.Import1Click();
  w.Panes.Src.Grid.Click(2);
  w.Change(Source, [](TDocument& d) { d.Shapes.pop_back(); });  // the grids follow at once
  EXPECT_EQ(std::tuple(w.Panes.Src.Grid.Count(), w.Panes.Src.Grid.Focus()), std::tuple(2, 1));
  w.New1Click();
  using enum TChangeKind;
  EXPECT_EQ(changes,
            (std::vector<TDocumentChange>{{Source, Replaced}, {Source, Edited}, {Destination, Replaced}}));
  w.SaveAs1Click();  // Import, then Save As
  ASSERT_EQ(ui.FileRequests().size(), 2u);
  for (const auto& r : ui.FileRequests()) {
    const bool save = &r == &ui.FileRequests().back();
    EXPECT_EQ(std::tie(r.Save, r.Filter, r.DefaultExtension),
              std::tuple(save, save ? kSaveFilter : kOpenFilter, "fox"));
  }
}

}  // namespace
}  // namespace quillmere::test
