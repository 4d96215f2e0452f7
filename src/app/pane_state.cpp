#include "app/pane_state.h"

#include "editing/object_offset.h"

namespace quillmere {
namespace {

const TPatchFrame* ShapeAt(const TDocument& document, int column) {
  const auto index = static_cast<std::size_t>(column);
  return column >= 0 && index < document.Shapes.size() ? &document.Shapes[index] : nullptr;
}

const TPatchSubFrame* FrameAt(const TPatchFrame* shape, int column) {
  const auto index = static_cast<std::size_t>(column);
  return shape && column >= 0 && index < shape->Frames.size() ? &shape->Frames[index] : nullptr;
}

std::optional<std::size_t> ShapeIndexAt(const TDocument& document, int column) {
  if (!ShapeAt(document, column)) return std::nullopt;
  return static_cast<std::size_t>(column);
}

int FrameCount(const TPatchFrame* shape) { return shape ? static_cast<int>(shape->Frames.size()) : 0; }

// Shows the frames of the shape in the main grid's focused column, with the
// first frame focused. The count panel gives the shape's own frame count: a
// shape without frames reads "Frames: 0" though its grid keeps one blank cell.
void ShowFramesOfFocusedShape(TPane& pane, const TDocument& document) {
  const int frames = FrameCount(ShapeAt(document, pane.Grid.Focus()));
  pane.SubGrid.SetCount(frames);
  pane.FramesStatus = FramesStatus(frames);
  pane.SubGrid.Click(0);
}

}  // namespace

std::string FramesStatus(int frame_count) { return "Frames: " + std::to_string(frame_count); }

std::string SelectedFrameStatus(int column) { return "Selected Frame: " + std::to_string(column); }

void TPaneState::RefreshGridCounts() {
  Dest.Grid.SetCount(static_cast<int>(dest_.Shapes.size()));
  Src.Grid.SetCount(static_cast<int>(src_.Shapes.size()));
  Dest.SubGrid.SetCount(FrameCount(ShapeAt(dest_, Dest.Grid.Focus())));
  Src.SubGrid.SetCount(FrameCount(ShapeAt(src_, Src.Grid.Focus())));
}

void TPaneState::RefreshTransferButtons() {
  UpdateTransferButtons();
  DestSubGridClick();
}

std::optional<std::size_t> TPaneState::CurrentDestShape() const {
  return ShapeIndexAt(dest_, Dest.Grid.Left());
}

std::optional<std::size_t> TPaneState::CurrentSourceShape() const {
  return ShapeIndexAt(src_, Src.Grid.Left());
}

void TPaneState::DisableTransfers() {
  Enabled.Trash = Enabled.InsertFore = Enabled.InsertAft = false;
  Enabled.Replaceit = Enabled.MoveLeft = Enabled.MoveRight = false;
}

// Move mode moves whole shapes only, so nothing may be inserted or replaced
// while frames are showing.
void TPaneState::DisableMoveModeInserts() {
  Enabled.InsertAft = Enabled.InsertFore = Enabled.Replaceit = false;
}

void TPaneState::UpdateTransferButtons() {
  Enabled.MoveLeft = Dest.Grid.Left() != 0;
  Enabled.MoveRight = Dest.Grid.Right() != Dest.Grid.Last();
  if (!SrcEmpty()) {
    Enabled.InsertAft = Enabled.Replaceit = Enabled.InsertFore = true;
  } else {
    Enabled.Replaceit = false;
  }
}

void TPaneState::DestGridClick() {
  UpdateTransferButtons();
  Dest.ShapeStatus = SelectedShapeStatus(Dest.Grid.Focus(), dest_.Offset);
  if (!DestEmpty()) {
    ShowFramesOfFocusedShape(Dest, dest_);
    DestSubGridClick();
  } else {
    Dest.SubGrid.SetCount(0);
  }
}

void TPaneState::DestSubGridClick() {
  Dest.FrameStatus = SelectedFrameStatus(Dest.SubGrid.Focus());
  if (Dest.OnFrames()) {
    Enabled.MoveLeft = Dest.SubGrid.Left() != 0;
    Enabled.MoveRight = Dest.SubGrid.Right() != Dest.SubGrid.Last();
    Enabled.Trash = Dest.SubGrid.Left() != 0;  // a shape's first frame can't be deleted
    if (!SrcEmpty()) Enabled.InsertAft = true;
    Enabled.Replaceit = !SrcEmpty();
  }
  if (DestEmpty()) DisableTransfers();
  if (MoveMode && (Src.OnFrames() || Dest.OnFrames())) DisableMoveModeInserts();
}

void TPaneState::SrcGridClick() {
  Src.ShapeStatus = SelectedShapeStatus(Src.Grid.Focus(), src_.Offset);
  if (!SrcEmpty()) Enabled.InsertAft = true;
  Enabled.Replaceit = !DestEmpty() && !SrcEmpty();
  if (!SrcEmpty()) {
    ShowFramesOfFocusedShape(Src, src_);
    SrcSubGridClick();
  }
  if (DestEmpty() && Dest.OnFrames()) DisableTransfers();
  if (MoveMode && Dest.OnFrames()) DisableMoveModeInserts();
}

void TPaneState::SrcSubGridClick() { Src.FrameStatus = SelectedFrameStatus(Src.SubGrid.Focus()); }

void TPaneState::DestPagesChange(TPaneTab tab) {
  Dest.Tab = tab;
  UpdateTransferButtons();
  DestGridClick();
  if (Dest.OnFrames()) DestSubGridClick();
}

void TPaneState::SrcPagesChange(TPaneTab tab) {
  Src.Tab = tab;
  SrcGridClick();
  if (Src.OnFrames()) SrcSubGridClick();
}

const TPatchFrame* TPaneState::DestGridDrawCell(int column) {
  const TPatchFrame* shape = ShapeAt(dest_, column);
  Enabled.Trash = Enabled.ExportDestObject = Enabled.DestAnimatedGif = shape != nullptr;
  return shape;
}

const TPatchSubFrame* TPaneState::DestSubGridDrawCell(int column) {
  if (DestEmpty()) {
    Enabled.Trash = Enabled.ExportDestObject = Enabled.DestAnimatedGif = false;
    return nullptr;
  }
  if (Dest.SubGrid.Left() != 0) Enabled.Trash = true;
  Enabled.ExportDestObject = true;
  Enabled.DestAnimatedGif = false;  // an animation is made of whole shapes
  return FrameAt(ShapeAt(dest_, Dest.Grid.Focus()), column);
}

const TPatchFrame* TPaneState::SrcGridDrawCell(int column) {
  const TPatchFrame* shape = ShapeAt(src_, column);
  if (shape) {
    if (!Dest.OnFrames()) Enabled.InsertFore = true;
    Enabled.ExportSrcObject = Enabled.SrcAnimatedGif = Enabled.SaveSourceChanges = true;
  } else {
    Enabled.InsertFore = Enabled.InsertAft = false;
    Enabled.ExportSrcObject = Enabled.SrcAnimatedGif = Enabled.SaveSourceChanges = false;
  }
  // A source file emptied by moves can still be saved (saving then offers to
  // delete the file).
  if (SrcEmpty() && src_.HasFile()) Enabled.SaveSourceChanges = true;
  return shape;
}

const TPatchSubFrame* TPaneState::SrcSubGridDrawCell(int column) {
  const TPatchSubFrame* frame = nullptr;
  if (!SrcEmpty()) {
    Enabled.ExportSrcObject = true;
    Enabled.SrcAnimatedGif = false;
    frame = FrameAt(ShapeAt(src_, Src.Grid.Focus()), column);
  } else {
    Enabled.InsertFore = Enabled.InsertAft = Enabled.ExportSrcObject = Enabled.SrcAnimatedGif = false;
  }
  if (DestEmpty() && Dest.OnFrames()) DisableTransfers();
  if (MoveMode) DisableMoveModeInserts();
  return frame;
}

}  // namespace quillmere
