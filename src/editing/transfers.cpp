#include "editing/transfers.h"

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

namespace quillmere {

TPatchSubFrame CopyFrame(const TPatchSubFrame& frame) { return frame; }

TPatchFrame CopyShape(const TPatchFrame& shape) {
  // Field by field, so a field added later starts at its default in the copy
  // rather than being carried over unseen.
  TPatchFrame copy;
  copy.Flags = shape.Flags;
  for (const TPatchSubFrame& frame : shape.Frames) copy.Frames.push_back(CopyFrame(frame));
  copy.Script = shape.Script;
  return copy;
}

namespace {

using Span = std::pair<std::size_t, std::size_t>;  // first item, one past the last

int Columns(std::size_t items) { return std::max(1, static_cast<int>(items)); }

bool Fits(TGridRange range, std::size_t items) {
  return range.Left >= 0 && range.Left <= range.Right && range.Right < Columns(items);
}

// The items behind a range's columns: none for the column an empty grid shows.
Span Covered(TGridRange range, std::size_t items) {
  const std::size_t last = std::min(static_cast<std::size_t>(range.Right) + 1, items);
  return {std::min(static_cast<std::size_t>(range.Left), last), last};
}

template <typename Item>
void EraseCovered(std::vector<Item>& list, TGridRange range) {
  const Span span = Covered(range, list.size());
  list.erase(list.begin() + span.first, list.begin() + span.second);
}

TGridRange Clamp(TGridRange range, int columns) {
  range.Right = std::min(range.Right, columns - 1);
  range.Left = std::min(range.Left, range.Right);
  return range;
}

// The shape whose frames the frame operations act on.
TPatchFrame& CurrentShape(TDocument& document, const TPaneSelection& pane) {
  return document.Shapes[static_cast<std::size_t>(pane.Shapes.Left)];
}

bool Valid(const TPaneSelection& pane, const TDocument& document) {
  if (!Fits(pane.Shapes, document.Shapes.size())) return false;
  if (pane.FocusedShape < 0 || pane.FocusedShape >= Columns(document.Shapes.size())) return false;
  if (pane.Tab == TTransferTab::Main || document.Shapes.empty()) return true;
  return Fits(pane.Frames, document.Shapes[static_cast<std::size_t>(pane.Shapes.Left)].Frames.size());
}

// The selections the grids can show once the lists have changed size.
TPaneSelection Settled(TPaneSelection pane, const TDocument& document) {
  const int shapes = Columns(document.Shapes.size());
  pane.Shapes = Clamp(pane.Shapes, shapes);
  pane.FocusedShape = std::min(pane.FocusedShape, shapes - 1);
  const std::size_t frames = document.Shapes.empty()
                                 ? 0
                                 : document.Shapes[static_cast<std::size_t>(pane.FocusedShape)].Frames.size();
  pane.Frames = Clamp(pane.Frames, Columns(frames));
  pane.FocusedFrame = std::min(pane.FocusedFrame, Columns(frames) - 1);
  return pane;
}

TTransferResult NotRun(const TTransfer& transfer) {
  return {false, transfer.DestinationPane, transfer.SourcePane};
}

TTransferResult Finished(const TTransfer& transfer, const TPaneSelection& destination) {
  transfer.Destination.Modified = true;
  return {true, Settled(destination, transfer.Destination), Settled(transfer.SourcePane, transfer.Source)};
}

bool TransferAllowed(const TTransfer& transfer) {
  const bool destOnFrames = transfer.DestinationPane.Tab == TTransferTab::SubFrames;
  const bool srcOnFrames = transfer.SourcePane.Tab == TTransferTab::SubFrames;
  return &transfer.Destination != &transfer.Source && Valid(transfer.DestinationPane, transfer.Destination) &&
         Valid(transfer.SourcePane, transfer.Source) && !transfer.Source.Shapes.empty() &&
         !(destOnFrames && transfer.Destination.Shapes.empty()) &&
         !(transfer.Mode == TTransferMode::Move && (destOnFrames || srcOnFrames));
}

// The source items as shapes for the destination's Main tab: whole shapes
// (copied, or taken out of the source in Move mode), or one new shape per
// selected frame.
std::vector<TPatchFrame> SourceShapes(const TTransfer& transfer) {
  TDocument& source = transfer.Source;
  const TPaneSelection& pane = transfer.SourcePane;
  std::vector<TPatchFrame> shapes;
  if (pane.Tab == TTransferTab::SubFrames) {
    const auto& frames = CurrentShape(source, pane).Frames;
    const Span span = Covered(pane.Frames, frames.size());
    for (std::size_t i = span.first; i < span.second; ++i) {
      shapes.emplace_back().Frames.push_back(CopyFrame(frames[i]));
    }
    return shapes;
  }
  const Span span = Covered(pane.Shapes, source.Shapes.size());
  const auto first = source.Shapes.begin() + span.first;
  const auto last = source.Shapes.begin() + span.second;
  if (transfer.Mode == TTransferMode::Move) {
    shapes.assign(std::make_move_iterator(first), std::make_move_iterator(last));
    source.Shapes.erase(first, last);
    source.Modified = true;
  } else {
    std::transform(first, last, std::back_inserter(shapes), CopyShape);
  }
  return shapes;
}

// The source items as frames for the destination's SubFrames tab: every frame
// of each selected shape, or the selected frames.
std::vector<TPatchSubFrame> SourceFrames(const TTransfer& transfer) {
  const TPaneSelection& pane = transfer.SourcePane;
  std::vector<TPatchSubFrame> frames;
  if (pane.Tab == TTransferTab::SubFrames) {
    const auto& all = CurrentShape(transfer.Source, pane).Frames;
    const Span span = Covered(pane.Frames, all.size());
    std::transform(all.begin() + span.first, all.begin() + span.second, std::back_inserter(frames),
                   CopyFrame);
    return frames;
  }
  const Span span = Covered(pane.Shapes, transfer.Source.Shapes.size());
  for (std::size_t i = span.first; i < span.second; ++i) {
    for (const TPatchSubFrame& frame : transfer.Source.Shapes[i].Frames) frames.push_back(CopyFrame(frame));
  }
  return frames;
}

template <typename Item>
std::size_t InsertAt(std::vector<Item>& list, std::size_t at, std::vector<Item> items) {
  // A position past the end appends: the SubFrames grid of a shape without
  // frames still shows one column to insert after.
  at = std::min(at, list.size());
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), std::make_move_iterator(items.begin()),
              std::make_move_iterator(items.end()));
  return items.size();
}

// Puts the source items into the destination's list at `at`; returns how many.
std::size_t PutSourceItems(const TTransfer& transfer, int at) {
  const auto position = static_cast<std::size_t>(at);
  if (transfer.DestinationPane.Tab == TTransferTab::Main) {
    return InsertAt(transfer.Destination.Shapes, position, SourceShapes(transfer));
  }
  return InsertAt(CurrentShape(transfer.Destination, transfer.DestinationPane).Frames, position,
                  SourceFrames(transfer));
}

void FocusShape(TPaneSelection& pane, int column) {
  pane.FocusedShape = column;
  pane.Shapes = {column, column};
}

TTransferResult Shift(const TTransfer& transfer, int step) {
  TDocument& destination = transfer.Destination;
  if (!Valid(transfer.DestinationPane, destination) || destination.Shapes.empty()) return NotRun(transfer);
  TPaneSelection pane = transfer.DestinationPane;
  const auto shift = [step](auto& list, TGridRange& range) {
    if (step < 0 ? range.Left == 0 : range.Right == Columns(list.size()) - 1) return false;
    const auto begin = list.begin();
    if (step < 0) {
      std::rotate(begin + range.Left - 1, begin + range.Left, begin + range.Right + 1);
    } else {
      std::rotate(begin + range.Left, begin + range.Right + 1, begin + range.Right + 2);
    }
    range.Left += step;
    range.Right += step;
    return true;
  };
  if (pane.Tab == TTransferTab::Main) {
    if (!shift(destination.Shapes, pane.Shapes)) return NotRun(transfer);
    pane.FocusedShape += step;  // the focus stays on its shape
  } else if (!shift(CurrentShape(destination, pane).Frames, pane.Frames)) {
    return NotRun(transfer);
  } else {
    pane.FocusedFrame += step;
  }
  return Finished(transfer, pane);
}

}  // namespace

TTransferResult InsertBefore(const TTransfer& transfer) {
  if (!TransferAllowed(transfer)) return NotRun(transfer);
  const TPaneSelection& dest = transfer.DestinationPane;
  PutSourceItems(transfer, dest.Tab == TTransferTab::Main ? dest.Shapes.Left : dest.Frames.Left);
  return Finished(transfer, dest);
}

TTransferResult InsertAfter(const TTransfer& transfer) {
  if (!TransferAllowed(transfer)) return NotRun(transfer);
  TPaneSelection dest = transfer.DestinationPane;
  if (dest.Tab == TTransferTab::SubFrames) {
    // After the first selected frame, as the frames' Insert After always did.
    PutSourceItems(transfer, dest.Frames.Left + 1);
    return Finished(transfer, dest);
  }
  const int columns = Columns(transfer.Destination.Shapes.size());
  if (transfer.SourcePane.Tab == TTransferTab::SubFrames) {
    const int after = dest.Shapes.Left + 1;
    // With no shape after the first selected one the new shapes go before it.
    if (after > columns - 1) return InsertBefore(transfer);
    PutSourceItems(transfer, after);
    return Finished(transfer, dest);
  }
  const int after = dest.Shapes.Right + 1;
  const int count = static_cast<int>(PutSourceItems(transfer, after));
  if (after <= columns - 1) {
    if (after + count <= columns - 1) FocusShape(dest, dest.FocusedShape + 1);
  } else if (Columns(transfer.Destination.Shapes.size()) > 1) {
    FocusShape(dest, after);  // appended: the focus goes to the first new shape
  }
  return Finished(transfer, dest);
}

TTransferResult Replace(const TTransfer& transfer) {
  if (!TransferAllowed(transfer)) return NotRun(transfer);
  const TPaneSelection& dest = transfer.DestinationPane;
  if (dest.Tab == TTransferTab::Main) {
    EraseCovered(transfer.Destination.Shapes, dest.Shapes);
    PutSourceItems(transfer, dest.Shapes.Left);
  } else {
    EraseCovered(CurrentShape(transfer.Destination, dest).Frames, dest.Frames);
    PutSourceItems(transfer, dest.Frames.Left);
  }
  return Finished(transfer, dest);
}

TTransferResult Delete(const TTransfer& transfer) {
  const TPaneSelection& dest = transfer.DestinationPane;
  TDocument& destination = transfer.Destination;
  if (!Valid(dest, destination) || destination.Shapes.empty()) return NotRun(transfer);
  if (dest.Tab == TTransferTab::Main) {
    EraseCovered(destination.Shapes, dest.Shapes);
  } else {
    // A shape keeps its first frame: Delete never removes frame 0.
    if (dest.Frames.Left == 0) return NotRun(transfer);
    EraseCovered(CurrentShape(destination, dest).Frames, dest.Frames);
  }
  return Finished(transfer, dest);
}

TTransferResult ShiftLeft(const TTransfer& transfer) { return Shift(transfer, -1); }

TTransferResult ShiftRight(const TTransfer& transfer) { return Shift(transfer, 1); }

}  // namespace quillmere
