#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/grid_selection.h"
#include "documents/document.h"

namespace quillmere {

// What a pane selects, kept with each step so that undo and redo show the
// shapes they changed as they were selected then.
struct TPaneSelections {
  TGridSelection Grid;
  TGridSelection SubGrid;
};

// One undoable step of one document: the run of shapes it changed, as it was
// before and as it is after, starting at the same shape. Shapes outside the
// run are the same before and after, so undo and redo splice one run for the
// other. The runs share their frames' pixels with the document and with other
// steps.
struct TUndoStep {
  std::string Name;  // "Insert After"
  std::size_t Position = 0;
  TShapeList Before;
  TShapeList After;
  TPaneSelections SelectionBefore;
  TPaneSelections SelectionAfter;
  // Not 0: the other document's step of the same link belongs to the same
  // command (a Move), and the two are undone and redone together.
  std::uint64_t Link = 0;
  std::size_t Bytes = 0;  // memory only this step holds
};

// How much history a document keeps: the oldest steps go once either bound is passed.
struct TUndoLimits {
  std::size_t Steps = 100;
  std::size_t Bytes = std::size_t{512} << 20;
};

// The undo history of one document. It keeps a copy of the shape list as of
// its last step (sharing every pixel with the document), and a step is what
// the document's list differs from that copy by, found from both ends, so
// that a step costs what it changed rather than the whole document.
class TUndoStack {
 public:
  explicit TUndoStack(TUndoLimits limits = {}) : limits_(limits) {}

  // Forgets every step: `shapes` starts the history, and is what the file
  // holds unless `modified`.
  void Reset(const TShapeList& shapes, bool modified);

  // A document that is not modified matches its file as it stands: a save
  // marks the place in the history where "(Modified)" goes away again.
  void NoteModified(bool modified) {
    if (!modified) saved_ = done_;
  }

  // The links of the steps a Record dropped: those that could have been
  // redone, and the oldest, dropped to keep within the limits.
  struct TDropped {
    std::vector<std::uint64_t> Redo;
    std::vector<std::uint64_t> Oldest;
  };

  // Records how `shapes` differ from the last recorded state as a step and
  // returns it, or returns null when nothing differs. Steps that could be
  // redone are dropped first, and the oldest once the limits are passed; the
  // newest step is kept even when it alone passes them.
  const TUndoStep* Record(std::string name, const TShapeList& shapes, const TPaneSelections& before,
                          const TPaneSelections& after, std::uint64_t link, TDropped& dropped);

  const TUndoStep* NextUndo() const { return done_ > 0 ? &steps_[done_ - 1] : nullptr; }
  const TUndoStep* NextRedo() const { return done_ < steps_.size() ? &steps_[done_] : nullptr; }

  // Puts the step back into (or again into) `shapes`, which must be the state
  // the history last saw; returns the step, or null when there is none.
  const TUndoStep* Undo(TShapeList& shapes);
  const TUndoStep* Redo(TShapeList& shapes);

  // Whether the shapes are as their file holds them.
  bool AtSavedState() const { return saved_ == done_; }

  // Drops the oldest steps up to and including the one of `link`, and the
  // steps to redo from the one of `link` on: what the other document's half
  // of a dropped linked step leaves behind cannot be undone or redone alone.
  void DropOldestThrough(std::uint64_t link);
  void DropRedoFrom(std::uint64_t link);
  // The steps of `link` undo and redo on this document alone from now on.
  void Unlink(std::uint64_t link);
  // The links of every step kept.
  std::vector<std::uint64_t> Links() const;

  std::size_t Size() const { return steps_.size(); }
  std::size_t Bytes() const { return bytes_; }

 private:
  void DropFront(std::size_t count, std::vector<std::uint64_t>* links);
  void Splice(TShapeList& shapes, std::size_t position, std::size_t removed, const TShapeList& inserted);

  TUndoLimits limits_;
  TShapeList shadow_;  // the shapes as of the last step, undo or redo
  std::deque<TUndoStep> steps_;
  std::size_t done_ = 0;  // steps_[0, done_) are done, the rest can be redone
  std::optional<std::size_t> saved_ = 0;  // the value of done_ that matches the file, if any
  std::size_t bytes_ = 0;
};

}  // namespace quillmere
