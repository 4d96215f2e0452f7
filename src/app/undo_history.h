#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/document_kind.h"
#include "app/pane_state.h"
#include "app/undo_stack.h"

namespace quillmere {

enum class TUndoOutcome {
  Done,
  Nothing,             // no step to undo or redo
  OtherDocumentFirst,  // the step changed both documents, and the other one has moved on since
};

// The undo histories of the two documents and the steps that commands make
// in them. A command opens a step (Begin), every change it makes to a
// document is noted (Touch), and when the step ends each document it changed
// gets one step of the command's name; a command that changed both (a Move)
// gets two linked steps, undone and redone together. Undo and redo put back
// the shapes, the pane's selections and the modified flag; the object number
// offset and the options are not history.
class TUndoHistory {
 public:
  // The documents and panes must outlive this object.
  TUndoHistory(TDocument& destination, TDocument& source, TPaneState& panes, TUndoLimits limits = {});

  // Steps nest: only the outermost one counts, under its own name.
  void Begin(std::string_view name);
  void Touch(TDocumentKind kind) { (kind == TDocumentKind::Destination ? touchedDest_ : touchedSrc_) = true; }
  // Ends a step; the outermost returns the documents whose shapes it changed.
  std::vector<TDocumentKind> End();

  // A load, New, Reload or Clear: the document's history starts afresh from
  // its shapes as they now are, and steps the other document shares with it
  // undo and redo there alone.
  void Reset(TDocumentKind kind);

  // Undoes or redoes the document's next step (on both documents for a
  // linked one), adding the documents changed to `changed`.
  TUndoOutcome Undo(TDocumentKind kind, std::vector<TDocumentKind>& changed);
  TUndoOutcome Redo(TDocumentKind kind, std::vector<TDocumentKind>& changed);

  const TUndoStep* NextUndo(TDocumentKind kind) const { return Stack(kind).NextUndo(); }
  const TUndoStep* NextRedo(TDocumentKind kind) const { return Stack(kind).NextRedo(); }
  const TUndoStack& Stack(TDocumentKind kind) const { return kind == TDocumentKind::Destination ? dest_ : src_; }

 private:
  TUndoStack& StackOf(TDocumentKind kind) { return kind == TDocumentKind::Destination ? dest_ : src_; }
  TDocument& Document(TDocumentKind kind) { return kind == TDocumentKind::Destination ? destination_ : source_; }
  TPane& Pane(TDocumentKind kind) { return kind == TDocumentKind::Destination ? panes_.Dest : panes_.Src; }
  TPaneSelections Selections(TDocumentKind kind) { return {Pane(kind).Grid, Pane(kind).SubGrid}; }
  TUndoOutcome Travel(TDocumentKind kind, bool undo, std::vector<TDocumentKind>& changed);
  void NoteSaves();
  void Show(TDocumentKind kind, const TPaneSelections& selections);
  void Forget(TDocumentKind kind, const TUndoStack::TDropped& dropped);

  TDocument& destination_;
  TDocument& source_;
  TPaneState& panes_;
  TUndoStack dest_;
  TUndoStack src_;
  int depth_ = 0;
  std::string name_;
  bool touchedDest_ = false;
  bool touchedSrc_ = false;
  TPaneSelections destBefore_;
  TPaneSelections srcBefore_;
  std::uint64_t lastLink_ = 0;
};

}  // namespace quillmere
