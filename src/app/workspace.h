#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/document_kind.h"
#include "app/most_recent_files.h"
#include "app/pane_state.h"
#include "app/undo_history.h"
#include "documents/document.h"
#include "formats/fsh_format.h"
#include "interface/user_interface.h"

namespace quillmere {

// Where a dragged file was let go: one of the shape grids or anywhere else.
enum class TDropTarget { Destination, Source, Other };

// Edited: an operation changed the shapes. Replaced: a load or New put a
// different list in place, so an undo history starts afresh.
enum class TChangeKind { Edited, Replaced };

struct TDocumentChange {
  TDocumentKind Document;
  TChangeKind Kind;
  bool operator==(const TDocumentChange&) const = default;
};

// The texts one document shows: its group box and its two status bars.
struct TPaneCaptions {
  std::string Group;          // "Destination (Modified)"
  std::string Shapes;         // "Shapes: 3"
  std::string SelectedShape;  // "Selected Shape: *10"
  std::string FileName;       // "Filename: walls.fox"
  std::string Frames;         // "Frames: 2" or "Frames: N/A"
  std::string SelectedFrame;  // "Selected Frame: 0" or "Selected Frame: N/A"
  bool operator==(const TPaneCaptions&) const = default;
};

struct TCaptions {
  TPaneCaptions Dest;
  TPaneCaptions Src;
  bool SaveSourceDestinationVisible = false;  // "Save Source && Destination"
  bool operator==(const TCaptions&) const = default;
};

inline constexpr std::string_view kOpenFilter =
    "All Supported Files|*.fox;*.fsh;*.fs2|Furcadia FOX|*.fox|Furcadia Shape File (FSH)|*.fsh|"
    "Furcadia Shape Patch (FS2)|*.fs2";
inline constexpr std::string_view kSaveFilter =
    "Furcadia FOX|*.fox|Furcadia Shape File (FSH)|*.fsh|Furcadia Shape Patch (FS2)|*.fs2";
inline constexpr std::string_view kDefaultExtension = "fox";

// The two documents of the main window, the grids' state that follows them
// and every flow that opens, saves or gives up a document. The flows are named
// after the window's handlers; the window calls them and renders Captions().
// Errors raised by reading or writing end the flow at its boundary and are
// shown through the general error handler, the documents left as the read or
// write left them.
class TWorkspace {
 public:
  explicit TWorkspace(UserInterface& ui);
  TWorkspace(const TWorkspace&) = delete;
  TWorkspace& operator=(const TWorkspace&) = delete;

  static constexpr std::uint32_t kRecentFiles = 8;

  TDocument Destination;
  TDocument Source;
  // The files each document was last opened from or saved to.
  TMostRecentFiles DestRecentFiles;
  TMostRecentFiles SourceRecentFiles;
  TSaveOptions SaveOptions;
  TPaneState Panes{Destination, Source};

  TDocument& Document(TDocumentKind kind) {
    return kind == TDocumentKind::Destination ? Destination : Source;
  }
  TMostRecentFiles& RecentFiles(TDocumentKind kind) {
    return kind == TDocumentKind::Destination ? DestRecentFiles : SourceRecentFiles;
  }

  // The one way an operation edits a document: runs `edit`, marks the
  // document modified, brings the grid counts, the transfer buttons and the
  // captions up to date and tells the observer, which is where an undo history
  // can take its snapshots. The selections stay as the edit left them (cut to
  // the new counts); an operation that must run a click handler runs it after.
  //
  // The observer hears of an edit once its step ends, and only when it
  // changed the document's shapes.
  void Change(TDocumentKind kind, const std::function<void(TDocument&)>& edit);

  // An undo step open while it lives: every Change until it ends makes one
  // step named `name` ("Insert After") in each document it changed. Steps
  // nest; a Change made outside any is a step of its own.
  class TStep {
   public:
    TStep(const TStep&) = delete;
    TStep& operator=(const TStep&) = delete;
    ~TStep();

   private:
    friend class TWorkspace;
    explicit TStep(TWorkspace& workspace) : workspace_(workspace) {}
    TWorkspace& workspace_;
  };
  [[nodiscard]] TStep Step(std::string_view name);

  // Undo and redo of a document's next step, with the selection it had; a
  // step that changed both documents goes on both, and when the other has
  // moved on since, a message says which changes to take back first. They
  // return the documents they changed.
  std::vector<TDocumentKind> Undo(TDocumentKind kind);
  std::vector<TDocumentKind> Redo(TDocumentKind kind);
  const TUndoHistory& History() const { return history_; }

  // The document's shapes were put in place anew (a load, New, or a list set
  // directly): its history starts again from them.
  void Replaced(TDocumentKind kind);
  void SetObserver(std::function<void(const TDocumentChange&)> observer) { observer_ = std::move(observer); }

  void New1Click();
  void Open1Click();
  void Import1Click();
  void ReloadDestination1Click();
  void RefreshSource1Click();
  void SaveDestination1Click();
  bool SaveAs1Click();  // whether the destination was written
  void SaveSourceChanges1Click();
  void SaveSourceDestination1Click();
  bool FormCloseQuery();  // whether the window may close
  void DestRecentClick(const std::string& fileName);
  void SourceRecentClick(const std::string& fileName);
  // The first dropped file only; the window ignores the others.
  void FilesDropped(const std::string& fileName, TDropTarget target);

  // True when the caller may go on and discard the document.
  bool QuerySaveDestination();
  bool QuerySaveSource();

  // Empties the document and sets its grid back to one blank, selected cell.
  void ClearDocument(TDocumentKind kind);

  const TCaptions& UpdateCaptions();
  const TCaptions& Captions() const { return captions_; }

 private:
  template <typename TFlow>
  auto Guarded(TFlow flow) -> decltype(flow());

  bool DoQuerySaveDestination();
  bool DoQuerySaveSource();
  bool DoSaveAs();
  bool SaveDestination();
  void SaveSourceChanges();
  bool SaveSource();
  bool TrashEmptySource();
  void Load(TDocumentKind kind, std::string fileName);
  void RefreshPane(TDocumentKind kind);
  void EndStep();
  std::vector<TDocumentKind> Travel(TDocumentKind kind, bool undo);
  void Notify(TDocumentKind kind, TChangeKind change);
  TFileUsed Remember(TDocumentKind kind);

  UserInterface& ui_;
  TCaptions captions_;
  std::function<void(const TDocumentChange&)> observer_;
  TUndoHistory history_{Destination, Source, Panes};
};

}  // namespace quillmere
