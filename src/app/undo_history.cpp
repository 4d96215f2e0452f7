#include "app/undo_history.h"

namespace quillmere {

TUndoHistory::TUndoHistory(TDocument& destination, TDocument& source, TPaneState& panes, TUndoLimits limits)
    : destination_(destination), source_(source), panes_(panes), dest_(limits), src_(limits) {
  dest_.Reset(destination_.Shapes, destination_.Modified);
  src_.Reset(source_.Shapes, source_.Modified);
}

// A save clears a document's flag without telling the history; the flag as
// it stands before a step or an undo says where the saved state is.
void TUndoHistory::NoteSaves() {
  dest_.NoteModified(destination_.Modified);
  src_.NoteModified(source_.Modified);
}

void TUndoHistory::Begin(std::string_view name) {
  if (depth_++ > 0) return;
  name_ = name;
  touchedDest_ = touchedSrc_ = false;
  destBefore_ = Selections(TDocumentKind::Destination);
  srcBefore_ = Selections(TDocumentKind::Source);
  NoteSaves();
}

std::vector<TDocumentKind> TUndoHistory::End() {
  std::vector<TDocumentKind> changed;
  if (--depth_ > 0) return changed;
  const std::uint64_t link = touchedDest_ && touchedSrc_ ? ++lastLink_ : 0;
  for (TDocumentKind kind : {TDocumentKind::Destination, TDocumentKind::Source}) {
    const bool dest = kind == TDocumentKind::Destination;
    if (!(dest ? touchedDest_ : touchedSrc_)) continue;
    TUndoStack::TDropped dropped;
    if (StackOf(kind).Record(name_, Document(kind).Shapes, dest ? destBefore_ : srcBefore_, Selections(kind), link,
                             dropped) != nullptr) {
      changed.push_back(kind);
    }
    Forget(OtherDocument(kind), dropped);
  }
  // A linked step whose other half changed nothing undoes alone.
  if (link != 0 && changed.size() == 1) StackOf(changed.front()).Unlink(link);
  touchedDest_ = touchedSrc_ = false;
  return changed;
}

// What one document's history dropped of a linked step cannot stay in the
// other's: its older steps up to it go too, as do its redo steps from it on.
void TUndoHistory::Forget(TDocumentKind kind, const TUndoStack::TDropped& dropped) {
  for (std::uint64_t link : dropped.Redo) StackOf(kind).DropRedoFrom(link);
  for (std::uint64_t link : dropped.Oldest) StackOf(kind).DropOldestThrough(link);
}

void TUndoHistory::Reset(TDocumentKind kind) {
  for (std::uint64_t link : StackOf(kind).Links()) StackOf(OtherDocument(kind)).Unlink(link);
  StackOf(kind).Reset(Document(kind).Shapes, Document(kind).Modified);
}

void TUndoHistory::Show(TDocumentKind kind, const TPaneSelections& selections) {
  TPane& pane = Pane(kind);
  pane.Grid = selections.Grid;
  pane.SubGrid = selections.SubGrid;
  panes_.RefreshGridCounts();
}

TUndoOutcome TUndoHistory::Undo(TDocumentKind kind, std::vector<TDocumentKind>& changed) {
  return Travel(kind, true, changed);
}

TUndoOutcome TUndoHistory::Redo(TDocumentKind kind, std::vector<TDocumentKind>& changed) {
  return Travel(kind, false, changed);
}

// A linked step goes only while it is next on both documents.
TUndoOutcome TUndoHistory::Travel(TDocumentKind kind, bool undo, std::vector<TDocumentKind>& changed) {
  NoteSaves();
  auto next = [&](TDocumentKind each) { return undo ? StackOf(each).NextUndo() : StackOf(each).NextRedo(); };
  const TUndoStep* step = next(kind);
  if (step == nullptr) return TUndoOutcome::Nothing;
  std::vector<TDocumentKind> kinds{kind};
  if (step->Link != 0) {
    const TUndoStep* other = next(OtherDocument(kind));
    if (other == nullptr || other->Link != step->Link) return TUndoOutcome::OtherDocumentFirst;
    kinds.push_back(OtherDocument(kind));
  }
  for (TDocumentKind each : kinds) {
    TDocument& document = Document(each);
    TUndoStack& stack = StackOf(each);
    if (undo) {
      Show(each, stack.Undo(document.Shapes)->SelectionBefore);
    } else {
      Show(each, stack.Redo(document.Shapes)->SelectionAfter);
    }
    document.Modified = !stack.AtSavedState();
    changed.push_back(each);
  }
  return TUndoOutcome::Done;
}

}  // namespace quillmere
