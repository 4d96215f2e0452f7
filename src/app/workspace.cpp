#include "app/workspace.h"

#include <type_traits>

#include "documents/changed_on_disk.h"
#include "documents/open_shape_file.h"
#include "documents/save_destination.h"
#include "editing/object_offset.h"
#include "formats/file_name.h"
#include "formats/fox_format.h"
#include "interface/messages.h"
#include "interface/platform_error.h"

namespace quillmere {
namespace {

bool IsShapeFileName(const std::string& fileName) {
  const std::string extension = UpperCase(ExtractFileExt(fileName));
  return extension == ".FSH" || extension == ".FS2" || extension == ".FOX";
}

TPaneCaptions PaneCaptions(std::string_view group, const TDocument& document, TPane& pane) {
  TPaneCaptions captions;
  captions.Group = std::string(group) + (document.Modified ? " (Modified)" : "");
  captions.Shapes = "Shapes: " + std::to_string(document.Shapes.size());
  captions.SelectedShape = SelectedShapeStatus(pane.Grid.Focus(), document.Offset);
  captions.FileName = "Filename: " + ExtractFileName(document.FileName);
  const auto focused = static_cast<std::size_t>(pane.Grid.Focus());
  if (focused < document.Shapes.size()) {
    captions.Frames = FramesStatus(static_cast<int>(document.Shapes[focused].Frames.size()));
    captions.SelectedFrame = SelectedFrameStatus(pane.SubGrid.Focus());
  } else {
    captions.Frames = "Frames: " + std::string(kNoShapeStatus);
    captions.SelectedFrame = "Selected Frame: " + std::string(kNoShapeStatus);
  }
  // The pane's status panels are the same panels; keep them in step.
  pane.ShapeStatus = captions.SelectedShape;
  pane.FramesStatus = captions.Frames;
  pane.FrameStatus = captions.SelectedFrame;
  return captions;
}

// Asks `question` about unsaved changes: Cancel keeps the document (false),
// No lets it go unsaved (true), Yes runs `save` and goes on only if it wrote.
bool AskToSave(UserInterface& ui, TMsgId question, const std::function<bool()>& save) {
  switch (Show(ui, question)) {
    case TMsgAnswer::Yes:
    case TMsgAnswer::Ok:
      return save();
    case TMsgAnswer::No:
      return true;
    case TMsgAnswer::Cancel:
      break;
  }
  return false;
}

}  // namespace

TWorkspace::TWorkspace(UserInterface& ui) : ui_(ui) {
  DestRecentFiles.SetMaxFiles(kRecentFiles);
  SourceRecentFiles.SetMaxFiles(kRecentFiles);
  UpdateCaptions();
}

TFileUsed TWorkspace::Remember(TDocumentKind kind) {
  return [this, kind](const std::string& fileName) { RecentFiles(kind).AddFile(fileName); };
}

// An error that ends a flow goes to the general error handler; whatever the
// read or write already did to a document stays and the captions show it.
template <typename TFlow>
auto TWorkspace::Guarded(TFlow flow) -> decltype(flow()) {
  using TResult = decltype(flow());
  try {
    if constexpr (std::is_void_v<TResult>) {
      flow();
      UpdateCaptions();
      return;
    } else {
      TResult result = flow();
      UpdateCaptions();
      return result;
    }
  } catch (const PlatformError& error) {
    ShowGeneralError(ui_, error.what());
    UpdateCaptions();
    if constexpr (std::is_void_v<TResult>) {
      return;
    } else {
      return TResult{};
    }
  }
}

void TWorkspace::Notify(TDocumentKind kind, TChangeKind change) {
  if (observer_) observer_(TDocumentChange{kind, change});
}

void TWorkspace::RefreshPane(TDocumentKind kind) {
  Panes.RefreshGridCounts();
  if (kind == TDocumentKind::Destination) {
    Panes.DestGridClick();
  } else {
    Panes.SrcGridClick();
  }
}

// No click handler runs here: they put a frame grid back on its first frame,
// and an edit must leave the person's selection where the edit left it.
void TWorkspace::Change(TDocumentKind kind, const std::function<void(TDocument&)>& edit) {
  const TStep step = Step("Edit");
  history_.Touch(kind);
  TDocument& document = Document(kind);
  edit(document);
  document.Modified = true;
  Panes.RefreshGridCounts();
  Panes.RefreshTransferButtons();
  UpdateCaptions();
}

TWorkspace::TStep TWorkspace::Step(std::string_view name) {
  history_.Begin(name);
  return TStep(*this);
}

TWorkspace::TStep::~TStep() { workspace_.EndStep(); }

// Runs as a step's scope ends, perhaps while an error leaves the command: the
// history must not be left half-recorded, and nothing may escape.
void TWorkspace::EndStep() {
  try {
    for (TDocumentKind kind : history_.End()) Notify(kind, TChangeKind::Edited);
  } catch (...) {
    // Out of memory while recording: both histories start again from the
    // documents as they now are, which the grids must show.
    try {
      for (TDocumentKind kind : {TDocumentKind::Destination, TDocumentKind::Source}) {
        history_.Reset(kind);
        Notify(kind, TChangeKind::Edited);
      }
    } catch (...) {
    }
  }
}

std::vector<TDocumentKind> TWorkspace::Undo(TDocumentKind kind) { return Travel(kind, true); }

std::vector<TDocumentKind> TWorkspace::Redo(TDocumentKind kind) { return Travel(kind, false); }

std::vector<TDocumentKind> TWorkspace::Travel(TDocumentKind kind, bool undo) {
  const TUndoStep* next = undo ? history_.NextUndo(kind) : history_.NextRedo(kind);
  if (next == nullptr) return {};
  const std::string name = next->Name;
  std::vector<TDocumentKind> changed;
  const TUndoOutcome outcome = undo ? history_.Undo(kind, changed) : history_.Redo(kind, changed);
  if (outcome == TUndoOutcome::OtherDocumentFirst) {
    const std::string other = OtherDocument(kind) == TDocumentKind::Destination ? "Destination" : "Source";
    Show(ui_, undo ? TMsgId::UndoOtherDocumentFirst : TMsgId::RedoOtherDocumentFirst, {name, other});
    return {};
  }
  Panes.RefreshTransferButtons();
  UpdateCaptions();
  for (TDocumentKind each : changed) Notify(each, TChangeKind::Edited);
  return changed;
}

void TWorkspace::Replaced(TDocumentKind kind) {
  history_.Reset(kind);
  Notify(kind, TChangeKind::Replaced);
}

// Takes the name by value: reloading passes the document's own name, which
// the open may set to "None" on the way.
void TWorkspace::Load(TDocumentKind kind, std::string fileName) {
  TPane& pane = kind == TDocumentKind::Destination ? Panes.Dest : Panes.Src;
  auto showNewList = [&] {
    pane.Grid.Click(0);
    RefreshPane(kind);
    Replaced(kind);
  };
  try {
    OpenShapeFile(fileName, Document(kind), ui_, Remember(kind));
  } catch (const FileOpenError&) {
    throw;  // nothing was read, so the document and its grid stay as they were
  } catch (...) {
    showNewList();
    throw;
  }
  showNewList();
}

void TWorkspace::ClearDocument(TDocumentKind kind) {
  TPane& pane = kind == TDocumentKind::Destination ? Panes.Dest : Panes.Src;
  Document(kind).Shapes.clear();
  pane.Grid.Click(0);
  pane.Grid.SetCount(1);
  Replaced(kind);
}

void TWorkspace::New1Click() {
  Guarded([&] {
    if (!DoQuerySaveDestination()) return;
    Destination.ForgetFile();
    ClearDocument(TDocumentKind::Destination);
    Panes.DestGridClick();
    Destination.Modified = false;
  });
}

void TWorkspace::Open1Click() {
  Guarded([&] {
    if (!DoQuerySaveDestination()) return;
    if (auto name = ui_.ChooseOpenFile(std::string(kOpenFilter), std::string(kDefaultExtension))) {
      Load(TDocumentKind::Destination, *name);
    }
  });
}

void TWorkspace::Import1Click() {
  Guarded([&] {
    auto name = ui_.ChooseOpenFile(std::string(kOpenFilter), std::string(kDefaultExtension));
    if (name && DoQuerySaveSource()) Load(TDocumentKind::Source, *name);
  });
}

void TWorkspace::ReloadDestination1Click() {
  Guarded([&] {
    if (!Destination.HasFile() || !DoQuerySaveDestination()) return;
    Load(TDocumentKind::Destination, Destination.FileName);
  });
}

// Reloading the source is how its changes are thrown away, so it asks nothing.
void TWorkspace::RefreshSource1Click() {
  Guarded([&] {
    if (!Source.HasFile()) return;
    Source.Offset = 0;
    Load(TDocumentKind::Source, Source.FileName);
  });
}

bool TWorkspace::SaveDestination() {
  if (!Destination.HasFile()) return DoSaveAs();
  return SaveDestinationFile(std::string(Destination.FileName), Destination, ui_, SaveOptions,
                             Remember(TDocumentKind::Destination));
}

void TWorkspace::SaveDestination1Click() {
  Guarded([&] { SaveDestination(); });
}

bool TWorkspace::DoSaveAs() {
  const std::string initial = Destination.HasFile() ? Destination.FileName : std::string();
  auto name = ui_.ChooseSaveFile(std::string(kSaveFilter), std::string(kDefaultExtension), initial);
  return name && SaveDestinationFile(*name, Destination, ui_, SaveOptions, Remember(TDocumentKind::Destination));
}

bool TWorkspace::SaveAs1Click() {
  return Guarded([&] { return DoSaveAs(); });
}

// The source is written back in its own type, chosen by its extension; it
// never changes type, so there is no loss to warn about.
bool TWorkspace::SaveSource() {
  // A half-read source has no file to go back to; say so rather than leave the
  // person wondering why the save or the close did nothing.
  if (!Source.HasFile()) {
    Show(ui_, TMsgId::SourceHasNoFile);
    return false;
  }
  if (!MayOverwrite(Source, Source.FileName, ui_)) return false;
  const bool written = UpperCase(ExtractFileExt(Source.FileName)) == ".FOX"
                           ? SaveFOXFile(Source.FileName, Source.Shapes)
                           : SaveFSHFile(Source.FileName, Source.Shapes, ui_, SaveOptions);
  if (written) NoteWritten(Source);
  return written;
}

// An emptied source would be an empty file: offer the trash instead. The
// document keeps its file when the trash refuses, as the file is still there.
bool TWorkspace::TrashEmptySource() {
  if (!ui_.MoveToTrash(Source.FileName)) return false;
  Source.ForgetFile();
  Source.Modified = false;
  return true;
}

void TWorkspace::SaveSourceChanges() {
  if (!Source.HasFile()) {
    SaveSource();  // which says why nothing can be written
    return;
  }
  if (Source.Modified && Source.Shapes.empty()) {
    if (Show(ui_, TMsgId::SourceEmptyDelete) == TMsgAnswer::Yes) TrashEmptySource();
    return;
  }
  if (Show(ui_, TMsgId::SaveSourceConfirm) == TMsgAnswer::Yes) SaveSource();
}

void TWorkspace::SaveSourceChanges1Click() {
  Guarded([&] { SaveSourceChanges(); });
}

void TWorkspace::SaveSourceDestination1Click() {
  Guarded([&] {
    SaveSourceChanges();
    SaveDestination();
  });
}

bool TWorkspace::DoQuerySaveDestination() {
  return !Destination.Modified || AskToSave(ui_, TMsgId::UnsavedChanges, [&] { return SaveDestination(); });
}

bool TWorkspace::DoQuerySaveSource() {
  if (!Source.Modified) return true;
  if (Source.HasFile() && Source.Shapes.empty()) {
    return AskToSave(ui_, TMsgId::SourceUnsavedNoObjects, [&] { return TrashEmptySource(); });
  }
  return AskToSave(ui_, TMsgId::SourceUnsavedChanges, [&] { return SaveSource(); });
}

bool TWorkspace::QuerySaveDestination() {
  return Guarded([&] { return DoQuerySaveDestination(); });
}

bool TWorkspace::QuerySaveSource() {
  return Guarded([&] { return DoQuerySaveSource(); });
}

// The source question is not asked once the destination's was declined.
bool TWorkspace::FormCloseQuery() {
  return Guarded([&] { return DoQuerySaveDestination() && DoQuerySaveSource(); });
}

void TWorkspace::DestRecentClick(const std::string& fileName) {
  Guarded([&] {
    if (!TMostRecentFiles::FileExists(fileName)) {
      Show(ui_, TMsgId::RecentFileNotFound);
    } else if (DoQuerySaveDestination()) {
      Load(TDocumentKind::Destination, fileName);
    }
  });
}

// Unlike reloading, picking another file must not drop unsaved source work.
void TWorkspace::SourceRecentClick(const std::string& fileName) {
  Guarded([&] {
    if (!TMostRecentFiles::FileExists(fileName)) {
      Show(ui_, TMsgId::RecentFileNotFound);
    } else if (DoQuerySaveSource()) {
      Load(TDocumentKind::Source, fileName);
    }
  });
}

// A drop is as easy to do by accident as a menu choice, so it asks about
// unsaved changes just as Open and Import do.
void TWorkspace::FilesDropped(const std::string& fileName, TDropTarget target) {
  if (target == TDropTarget::Other) return;
  Guarded([&] {
    if (!IsShapeFileName(fileName)) {
      Show(ui_, TMsgId::UnrecognisedFiletype, {fileName});
    } else if (target == TDropTarget::Destination) {
      if (DoQuerySaveDestination()) Load(TDocumentKind::Destination, fileName);
    } else if (DoQuerySaveSource()) {
      Load(TDocumentKind::Source, fileName);
    }
  });
}

const TCaptions& TWorkspace::UpdateCaptions() {
  captions_.Dest = PaneCaptions("Destination", Destination, Panes.Dest);
  captions_.Src = PaneCaptions("Source", Source, Panes.Src);
  captions_.SaveSourceDestinationVisible = Source.Modified;
  return captions_;
}

}  // namespace quillmere
