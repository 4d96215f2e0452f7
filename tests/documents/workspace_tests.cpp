#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "app/messages.h"
#include "app/scripted_user_interface.h"
#include "documents/workspace.h"
#include "formats/file_name.h"
#include "formats/fox_format.h"
#include "support/message_printing.h"
#include "support/test_files.h"

namespace quillmere {
namespace {

using namespace test;
using enum TMsgId;
using enum TMsgAnswer;
using enum TDocumentKind;
using Texts = std::vector<std::string>;
using Messages = std::vector<TMessage>;

TPatchFrame Shape(std::uint8_t pixel, std::size_t frames = 1) {
  const TPatchSubFrame frame{1, 1, -1, 0, 0, 0, kFormatIndexed, 255, 0, {pixel}};
  return {0, -1, std::vector<TPatchSubFrame>(frames, frame), {}};
}

// A folder holding "dest.fox" (its second shape has two frames, which FSH
// and FS2 can't hold) and "src.fox" with three plain shapes.
std::unique_ptr<TempDir> Folder() {
  auto dir = std::make_unique<TempDir>();
  EXPECT_TRUE(SaveFOXFile(dir->File("dest.fox"), {Shape(1), Shape(2, 2)}));
  EXPECT_TRUE(SaveFOXFile(dir->File("src.fox"), {Shape(3), Shape(4), Shape(5)}));
  return dir;
}

void AddShape(TDocument& d) { d.Shapes.push_back(Shape(9)); }

// What a flow leaves behind: the documents' names and flags, its answer and
// the files in the folder.
struct TState {
  std::string DestName;
  bool DestModified;
  std::string DestGroup;
  std::string SrcName;
  bool SrcModified;
  int SrcOffset;
  bool Result;
  Texts Files;
  bool operator==(const TState&) const = default;
};

void PrintTo(const TState& s, std::ostream* os) {
  *os << "{" << s.DestName << ", " << s.DestModified << ", " << s.DestGroup << ", " << s.SrcName << ", "
      << s.SrcModified << ", " << s.SrcOffset << ", " << s.Result << ", files:";
  for (const auto& f : s.Files) *os << " " << f;
  *os << "}";
}

TEST(Workspace, FlowsAskTheRightQuestionsAndLeaveTheDocumentsAsAnswered) {
  std::unique_ptr<TempDir> dir;
  auto path = [&](const char* name) { return dir->File(name); };
  auto openDest = [&](TWorkspace& w) { w.DestRecentClick(path("dest.fox")); };
  auto openSrc = [&](TWorkspace& w) { w.SourceRecentClick(path("src.fox")); };
  auto editDest = [](TWorkspace& w) { w.Change(Destination, AddShape); };
  auto editSrc = [](TWorkspace& w) { w.Change(Source, AddShape); };
  auto emptySrc = [](TWorkspace& w) { w.Change(Source, [](TDocument& d) { d.Shapes.clear(); }); };
  using TStep = std::function<void(TWorkspace&)>;
  using TAct = std::function<bool(TWorkspace&)>;
  auto steps = [](std::vector<TStep> list) {
    return [list](TWorkspace& w) {
      for (const auto& step : list) step(w);
    };
  };
  auto act = [](void (TWorkspace::*flow)()) { return [flow](TWorkspace& w) { return (w.*flow)(), true; }; };
  const TAct close = [](TWorkspace& w) { return w.FormCloseQuery(); };
  const TAct saveAs = [](TWorkspace& w) { return w.SaveAs1Click(); };
  auto drop = [&](std::string name, TDropTarget target) {
    return [&, name, target](TWorkspace& w) {
      return w.FilesDropped(name[0] == '/' ? name : path(name.c_str()), target), true;
    };
  };
  const Texts both = {"dest.fox", "src.fox"};
  const TMessage unsaved = MakeMessage(UnsavedChanges), srcUnsaved = MakeMessage(SourceUnsavedChanges);
  const std::string mod = "Destination (Modified)", plain = "Destination";
  struct TCase {
    const char* Name;
    TStep Prepare;
    std::vector<TMsgAnswer> Answers;
    Texts Choices;  // names in the folder; "" cancels the dialog
    TAct Act;
    Messages Shown;
    TState After;
  };
  // clang-format off
  const TCase cases[] = {
      {"new, unmodified", openDest, {}, {}, act(&TWorkspace::New1Click), {},
       {"None", false, plain, "None", false, 0, true, both}},
      {"new, modified, cancel", steps({openDest, editDest}), {Cancel}, {}, act(&TWorkspace::New1Click), {unsaved},
       {"dest.fox", true, mod, "None", false, 0, true, both}},
      {"new, nameless, yes saves through the dialog", editDest, {Yes}, {"new.fox"}, act(&TWorkspace::New1Click),
       {unsaved}, {"None", false, plain, "None", false, 0, true, {"dest.fox", "new.fox", "src.fox"}}},
      {"save, nameless, dialog cancelled", editDest, {}, {""}, act(&TWorkspace::SaveDestination1Click), {},
       {"None", true, mod, "None", false, 0, true, both}},
      {"two frames as fs2, cancel", steps({openDest, editDest}), {Cancel}, {"out.fs2"}, saveAs,
       {MakeMessage(DataLossFSH), MakeMessage(FileNotSaved)}, {"dest.fox", true, mod, "None", false, 0, false, both}},
      {"close, only source modified, cancel", steps({openSrc, editSrc}), {Cancel}, {}, close, {srcUnsaved},
       {"None", false, plain, "src.fox", true, 0, false, both}},
      {"close, destination declined, source not asked", steps({openDest, editDest, openSrc, editSrc}), {Cancel}, {},
       close, {unsaved}, {"dest.fox", true, mod, "src.fox", true, 0, false, both}},
      {"drop txt", editDest, {}, {}, drop("/nowhere/notes.txt", TDropTarget::Destination),
       {MakeMessage(UnrecognisedFiletype, {"/nowhere/notes.txt"})}, {"None", true, mod, "None", false, 0, true, both}},
      {"drop on modified destination, cancel", editDest, {Cancel}, {}, drop("dest.fox", TDropTarget::Destination),
       {unsaved}, {"None", true, mod, "None", false, 0, true, both}},
      {"drop on modified destination, no", editDest, {No}, {}, drop("dest.fox", TDropTarget::Destination),
       {unsaved}, {"dest.fox", false, plain, "None", false, 0, true, both}},
      {"drop elsewhere", editDest, {}, {}, drop("dest.fox", TDropTarget::Other), {},
       {"None", true, mod, "None", false, 0, true, both}},
      {"source recent, modified, cancel", steps({openSrc, editSrc}), {Cancel}, {},
       [&](TWorkspace& w) { return w.SourceRecentClick(path("dest.fox")), true; }, {srcUnsaved},
       {"None", false, plain, "src.fox", true, 0, true, both}},
      {"recent file gone", {}, {}, {}, [&](TWorkspace& w) { return w.DestRecentClick(path("gone.fox")), true; },
       {MakeMessage(RecentFileNotFound)}, {"None", false, plain, "None", false, 0, true, both}},
      {"reload source", steps({openSrc, editSrc, [](TWorkspace& w) { w.Source.Offset = 5; }}), {}, {},
       act(&TWorkspace::RefreshSource1Click), {}, {"None", false, plain, "src.fox", false, 0, true, both}},
      {"save emptied source, yes trashes", steps({openSrc, emptySrc}), {Yes}, {},
       act(&TWorkspace::SaveSourceChanges1Click), {MakeMessage(SourceEmptyDelete)},
       {"None", false, plain, "None", false, 0, true, {"dest.fox"}}},
      {"close, emptied source, no", steps({openSrc, emptySrc}), {No}, {}, close,
       {MakeMessage(SourceUnsavedNoObjects)}, {"None", false, plain, "src.fox", true, 0, true, both}},
      {"save source and destination", steps({openSrc, editSrc, openDest, editDest}), {Yes}, {},
       act(&TWorkspace::SaveSourceDestination1Click), {MakeMessage(SaveSourceConfirm)},
       {"dest.fox", false, plain, "src.fox", false, 0, true, both}},
  };
  // clang-format on
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    dir = Folder();
    ScriptedUserInterface ui(c.Answers);
    TWorkspace w(ui);
    if (c.Prepare) c.Prepare(w);
    ASSERT_TRUE(ui.Shown().empty());
    Texts choices;
    for (const auto& name : c.Choices) choices.push_back(name.empty() ? "" : path(name.c_str()));
    ui.SetFileChoices(choices);
    const bool result = c.Act(w);
    const TState after{ExtractFileName(w.Destination.FileName),
                       w.Destination.Modified,
                       w.Captions().Dest.Group,
                       ExtractFileName(w.Source.FileName),
                       w.Source.Modified,
                       w.Source.Offset,
                       result,
                       dir->List()};
    EXPECT_EQ(MessagesOf(ui), c.Shown);
    EXPECT_EQ(after, c.After);
  }
}

TEST(Workspace, CaptionsFollowTheDocumentsAndTheSelection) {
  TempDir dir;
  ASSERT_TRUE(SaveFOXFile(dir.File("walls.fox"), {Shape(1), Shape(2, 2)}));
  ScriptedUserInterface ui;
  TWorkspace w(ui);
  const TPaneCaptions none{"Destination",    "Shapes: 0",   "Selected Shape: 0",
                           "Filename: None", "Frames: N/A", "Selected Frame: N/A"};
  EXPECT_EQ(w.Captions().Dest, none);

  w.DestRecentClick(dir.File("walls.fox"));
  w.Destination.Offset = 10;
  w.Panes.Dest.Grid.Click(1);
  w.Panes.DestGridClick();
  w.Panes.Dest.SubGrid.Click(1);
  w.Change(Source, AddShape);
  const TCaptions shown = w.Captions();
  EXPECT_EQ(shown.Dest, (TPaneCaptions{"Destination", "Shapes: 2", "Selected Shape: *11",
                                       "Filename: walls.fox", "Frames: 2", "Selected Frame: 1"}));
  EXPECT_EQ(shown.Src, (TPaneCaptions{"Source (Modified)", "Shapes: 1", "Selected Shape: 0", "Filename: None",
                                      "Frames: 1", "Selected Frame: 0"}));
  EXPECT_TRUE(shown.SaveSourceDestinationVisible);
  EXPECT_EQ(w.Panes.Dest.ShapeStatus, "Selected Shape: *11");

  w.Panes.Dest.Grid.Click(0);
  EXPECT_EQ(w.UpdateCaptions().Dest.SelectedShape, "Selected Shape: *10");

  // New keeps the offset.
  w.New1Click();
  EXPECT_EQ(w.Captions().Dest, (TPaneCaptions{"Destination", "Shapes: 0", "Selected Shape: *10",
                                              "Filename: None", "Frames: N/A", "Selected Frame: N/A"}));
}

TEST(Workspace, ChangesAndLoadsReachTheObserverAndTheGrids) {
  TempDir dir;
  ASSERT_TRUE(SaveFOXFile(dir.File("a.fox"), {Shape(1), Shape(2), Shape(3)}));
  ScriptedUserInterface ui;
  TWorkspace w(ui);
  std::vector<TDocumentChange> changes;
  w.SetObserver([&](const TDocumentChange& change) { changes.push_back(change); });

  ui.SetFileChoices({dir.File("a.fox"), ""});
  w.Import1Click();
  w.Panes.Src.Grid.Click(2);
  w.Change(Source, [](TDocument& d) { d.Shapes.pop_back(); });
  EXPECT_EQ(std::tuple(w.Panes.Src.Grid.Count(), w.Panes.Src.Grid.Focus(), w.Source.Modified),
            std::tuple(2, 1, true));
  w.New1Click();
  w.Open1Click();  // cancelled
  using enum TChangeKind;
  EXPECT_EQ(changes,
            (std::vector<TDocumentChange>{{Source, Replaced}, {Source, Edited}, {Destination, Replaced}}));

  const auto request = [](const ScriptedUserInterface::TFileRequest& r) {
    return std::tuple(r.Save, r.Filter, r.DefaultExtension);
  };
  ASSERT_EQ(ui.FileRequests().size(), 2u);
  EXPECT_EQ(request(ui.FileRequests()[1]), std::tuple(false, std::string(kOpenFilter), std::string("fox")));
  ui.SetFileChoices({""});
  w.SaveAs1Click();
  EXPECT_EQ(request(ui.FileRequests()[2]), std::tuple(true, std::string(kSaveFilter), std::string("fox")));
}

TEST(Workspace, ReadErrorsReachTheGeneralHandlerAndKeepWhatWasRead) {
  TempDir dir;
  ASSERT_TRUE(SaveFOXFile(dir.File("a.fox"), {Shape(1), Shape(2)}));
  Bytes torn = ReadFile(dir.File("a.fox"));
  torn.pop_back();
  WriteFile(dir.File("torn.fox"), torn);
  ScriptedUserInterface ui;
  TWorkspace w(ui);
  w.DestRecentClick(dir.File("torn.fox"));
  ASSERT_FALSE(ui.Shown().empty());
  const TMessage& last = ui.Shown().back().Message;
  EXPECT_EQ(std::tuple(last.Caption, last.Icon, last.Buttons),
            std::tuple(std::string(kGeneralErrorCaption), TMsgIcon::Error, TMsgButtons::Ok));
  // The shape before the short one stays, without a name a plain Save could overwrite.
  EXPECT_EQ(std::tuple(w.Destination.Shapes.size(), w.Captions().Dest.Shapes, w.Captions().Dest.FileName),
            std::tuple(std::size_t{1}, std::string("Shapes: 1"), std::string("Filename: None")));
}

}  // namespace
}  // namespace quillmere
