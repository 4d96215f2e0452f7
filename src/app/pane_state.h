#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "app/grid_selection.h"
#include "documents/document.h"

namespace quillmere {

enum class TPaneTab { Main, SubFrames };

// The frame panels' text while a pane has no shape to show.
inline constexpr std::string_view kNoShapeStatus = "N/A";

// One document pane: its shape grid, the grid of one shape's frames, the tab
// showing and the texts of the "selected" status panels.
struct TPane {
  TGridSelection Grid;
  TGridSelection SubGrid;
  TPaneTab Tab = TPaneTab::Main;
  std::string ShapeStatus;   // "Selected Shape: …"
  std::string FramesStatus;  // "Frames: …"
  std::string FrameStatus;   // "Selected Frame: …"

  bool OnFrames() const { return Tab == TPaneTab::SubFrames; }
};

// Enabled states of the transfer buttons and of the commands whose state the
// grids decide. All start enabled, as the window is designed; the first
// handlers and paints set them.
struct TCommandStates {
  bool Trash = true;
  bool InsertFore = true;
  bool InsertAft = true;
  bool Replaceit = true;
  bool MoveLeft = true;
  bool MoveRight = true;
  bool ExportDestObject = true;  // "Export Destination Object..."
  bool DestAnimatedGif = true;   // the destination "Animated GIF..."
  bool ExportSrcObject = true;   // "Export Object..."
  bool SrcAnimatedGif = true;    // the source "Animated GIF..."
  bool SaveSourceChanges = true;

  bool operator==(const TCommandStates&) const = default;
};

// The two panes of the main window and the enabling rules that follow them.
// The handlers change only the states their rules name, in the rules' order,
// so a state that no step touches keeps whatever an earlier handler or paint
// left; the window calls them at the same moments as its widgets' events.
class TPaneState {
 public:
  // The documents are read, never changed; they must outlive this object.
  TPaneState(const TDocument& destination, const TDocument& source) : dest_(destination), src_(source) {}

  TPane Dest;
  TPane Src;
  TCommandStates Enabled;
  bool MoveMode = false;  // the "Move Objects" check

  // The shape grids' column counts follow the shape counts, and each frame
  // grid's the frames of the shape it shows, so that no selection is left on
  // items that are gone; the window then repaints all four grids.
  void RefreshGridCounts();

  // The shape at the main grid's selection Left, or none while the list is empty.
  std::optional<std::size_t> CurrentDestShape() const;
  std::optional<std::size_t> CurrentSourceShape() const;

  void UpdateTransferButtons();
  // The enabling steps of the destination's click handlers (UpdateTransferButtons,
  // then DestSubGridClick's) without moving any selection: after an edit the
  // buttons follow the changed lists while the grids keep what they select.
  void RefreshTransferButtons();
  void DestGridClick();
  void DestSubGridClick();
  void SrcGridClick();
  void SrcSubGridClick();
  void DestPagesChange(TPaneTab tab);
  void SrcPagesChange(TPaneTab tab);

  // Paint handlers for column `column`: they set the enabled states and
  // return what to paint there, or null for a blank cell.
  const TPatchFrame* DestGridDrawCell(int column);
  const TPatchSubFrame* DestSubGridDrawCell(int column);
  const TPatchFrame* SrcGridDrawCell(int column);
  const TPatchSubFrame* SrcSubGridDrawCell(int column);

 private:
  bool DestEmpty() const { return dest_.Shapes.empty(); }
  bool SrcEmpty() const { return src_.Shapes.empty(); }
  void DisableTransfers();
  void DisableMoveModeInserts();

  const TDocument& dest_;
  const TDocument& src_;
};

// The status panel texts the grids' click handlers write.
std::string FramesStatus(int frame_count);
std::string SelectedFrameStatus(int column);

}  // namespace quillmere
