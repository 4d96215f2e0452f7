#include "app/undo_stack.h"

#include <algorithm>
#include <unordered_set>

namespace quillmere {
namespace {

// Bytes a payload's buffer takes beyond its frame: the buffer's own
// bookkeeping, and its bytes when `counted` says no one else holds them.
constexpr std::size_t kBufferOverhead = sizeof(ByteBuffer) + 2 * sizeof(void*);

std::size_t MetadataBytes(const TPatchFrame& shape) {
  return sizeof(TPatchFrame) + shape.Frames.capacity() * sizeof(TPatchSubFrame) +
         shape.Script.capacity() * sizeof(TKSStep);
}

// What a step holds that neither the document nor the step's other run does:
// the shapes' metadata, and the pixels of shapes the step took out of the
// document unless the step's new run still shares them. Pixels of a run
// still in the document are counted by the step that takes them out.
std::size_t StepBytes(const TUndoStep& step) {
  std::unordered_set<const std::uint8_t*> kept;
  std::size_t bytes = sizeof(TUndoStep) + step.Name.capacity();
  for (const TPatchFrame& shape : step.After) {
    bytes += MetadataBytes(shape);
    for (const TPatchSubFrame& frame : shape.Frames) {
      if (!frame.Pixels.empty()) kept.insert(frame.Pixels.data());
    }
  }
  std::unordered_set<const std::uint8_t*> counted;
  for (const TPatchFrame& shape : step.Before) {
    bytes += MetadataBytes(shape);
    for (const TPatchSubFrame& frame : shape.Frames) {
      if (frame.Pixels.empty() || kept.contains(frame.Pixels.data())) continue;
      if (counted.insert(frame.Pixels.data()).second) bytes += frame.Pixels.size() + kBufferOverhead;
    }
  }
  return bytes;
}

// Whether shape `i` of `a` equals shape `j` of `b`. The walk is bound by
// fetching each shape's frames and script from memory, so those a few shapes
// ahead (in the walk's `direction`) are asked for early.
bool Same(const TShapeList& a, std::size_t i, const TShapeList& b, std::size_t j, std::ptrdiff_t direction) {
  constexpr std::ptrdiff_t kAhead = 8;
  const auto ahead = [&](const TShapeList& list, std::size_t at) {
    const std::ptrdiff_t k = static_cast<std::ptrdiff_t>(at) + direction * kAhead;
    if (k >= 0 && k < static_cast<std::ptrdiff_t>(list.size())) {
      const TPatchFrame& shape = list[static_cast<std::size_t>(k)];
      __builtin_prefetch(shape.Frames.data());
      if (!shape.Script.empty()) __builtin_prefetch(shape.Script.data());
    }
  };
  ahead(a, i);
  ahead(b, j);
  return a[i] == b[j];
}

}  // namespace

void TUndoStack::Reset(const TShapeList& shapes, bool modified) {
  steps_.clear();
  shadow_ = shapes;
  done_ = 0;
  saved_ = modified ? std::nullopt : std::optional<std::size_t>(0);
  bytes_ = 0;
}

const TUndoStep* TUndoStack::Record(std::string name, const TShapeList& shapes, const TPaneSelections& before,
                                    const TPaneSelections& after, std::uint64_t link, TDropped& dropped) {
  // Shapes that compare equal share their pixels nearly always, and shared
  // pixels compare without a look at them, so the search costs little more
  // than a walk over the shapes' metadata.
  const std::size_t oldCount = shadow_.size(), newCount = shapes.size();
  std::size_t prefix = 0;
  while (prefix < oldCount && prefix < newCount && Same(shadow_, prefix, shapes, prefix, 1)) ++prefix;
  if (prefix == oldCount && prefix == newCount) return nullptr;
  std::size_t suffix = 0;
  while (suffix < oldCount - prefix && suffix < newCount - prefix &&
         Same(shadow_, oldCount - 1 - suffix, shapes, newCount - 1 - suffix, -1)) {
    ++suffix;
  }

  for (std::size_t i = done_; i < steps_.size(); ++i) {
    if (steps_[i].Link != 0) dropped.Redo.push_back(steps_[i].Link);
    bytes_ -= steps_[i].Bytes;
  }
  steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(done_), steps_.end());
  if (saved_ && *saved_ > done_) saved_.reset();  // the saved state was among the steps dropped

  TUndoStep step;
  step.Name = std::move(name);
  step.Position = prefix;
  const auto oldEnd = shadow_.begin() + static_cast<std::ptrdiff_t>(oldCount - suffix);
  step.Before.assign(std::make_move_iterator(shadow_.begin() + static_cast<std::ptrdiff_t>(prefix)),
                     std::make_move_iterator(oldEnd));
  step.After.assign(shapes.begin() + static_cast<std::ptrdiff_t>(prefix),
                    shapes.begin() + static_cast<std::ptrdiff_t>(newCount - suffix));
  step.SelectionBefore = before;
  step.SelectionAfter = after;
  step.Link = link;
  step.Bytes = StepBytes(step);
  Splice(shadow_, prefix, step.Before.size(), step.After);

  bytes_ += step.Bytes;
  steps_.push_back(std::move(step));
  ++done_;
  std::size_t excess = 0;
  std::size_t bytes = bytes_;
  while (steps_.size() - excess > 1 && (steps_.size() - excess > limits_.Steps || bytes > limits_.Bytes)) {
    bytes -= steps_[excess].Bytes;
    ++excess;
  }
  DropFront(excess, &dropped.Oldest);
  return &steps_.back();
}

const TUndoStep* TUndoStack::Undo(TShapeList& shapes) {
  if (done_ == 0) return nullptr;
  const TUndoStep& step = steps_[--done_];
  Splice(shapes, step.Position, step.After.size(), step.Before);
  Splice(shadow_, step.Position, step.After.size(), step.Before);
  return &step;
}

const TUndoStep* TUndoStack::Redo(TShapeList& shapes) {
  if (done_ == steps_.size()) return nullptr;
  const TUndoStep& step = steps_[done_++];
  Splice(shapes, step.Position, step.Before.size(), step.After);
  Splice(shadow_, step.Position, step.Before.size(), step.After);
  return &step;
}

// Assigns over the shapes both runs cover, so only a difference in length
// moves the shapes behind the run.
void TUndoStack::Splice(TShapeList& shapes, std::size_t position, std::size_t removed, const TShapeList& inserted) {
  const std::size_t common = std::min(removed, inserted.size());
  const auto at = shapes.begin() + static_cast<std::ptrdiff_t>(position);
  std::copy_n(inserted.begin(), common, at);
  if (inserted.size() > common) {
    shapes.insert(at + static_cast<std::ptrdiff_t>(common), inserted.begin() + static_cast<std::ptrdiff_t>(common),
                  inserted.end());
  } else {
    shapes.erase(at + static_cast<std::ptrdiff_t>(common), at + static_cast<std::ptrdiff_t>(removed));
  }
}

void TUndoStack::DropFront(std::size_t count, std::vector<std::uint64_t>* links) {
  for (std::size_t i = 0; i < count; ++i) {
    if (links != nullptr && steps_.front().Link != 0) links->push_back(steps_.front().Link);
    bytes_ -= steps_.front().Bytes;
    steps_.pop_front();
    if (done_ > 0) --done_;
    if (saved_) saved_ = *saved_ > 0 ? std::optional<std::size_t>(*saved_ - 1) : std::nullopt;
  }
}

void TUndoStack::DropOldestThrough(std::uint64_t link) {
  for (std::size_t i = 0; i < steps_.size(); ++i) {
    if (steps_[i].Link == link) {
      DropFront(i + 1, nullptr);
      return;
    }
  }
}

void TUndoStack::DropRedoFrom(std::uint64_t link) {
  for (std::size_t i = done_; i < steps_.size(); ++i) {
    if (steps_[i].Link != link) continue;
    for (std::size_t j = i; j < steps_.size(); ++j) bytes_ -= steps_[j].Bytes;
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(i), steps_.end());
    if (saved_ && *saved_ > i) saved_.reset();
    return;
  }
}

void TUndoStack::Unlink(std::uint64_t link) {
  for (TUndoStep& step : steps_) {
    if (step.Link == link) step.Link = 0;
  }
}

std::vector<std::uint64_t> TUndoStack::Links() const {
  std::vector<std::uint64_t> links;
  for (const TUndoStep& step : steps_) {
    if (step.Link != 0) links.push_back(step.Link);
  }
  return links;
}

}  // namespace quillmere
