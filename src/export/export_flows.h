#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "documents/document.h"
#include "editing/remove_duplicates.h"
#include "export/gif_export.h"
#include "interface/number_field.h"
#include "interface/user_interface.h"

namespace quillmere {

// How a modal dialog ended: its accepting button, or Cancel and the close box.
enum class TDialogResult { Accept, Cancel };


// The "GIF Export" dialog's values. One state serves a whole series of shapes,
// so the options chosen for one shape stay for the next; only "Maximum Steps"
// is set again for each shape.
class TGifExportDialogState {
 public:
  TGifExportOptions Options;

  // Showing the dialog for `shape`; it must outlive the dialog's use of it.
  void ShowFor(const TPatchFrame& shape);
  // "Auto": the steps one pass of the script takes, within the limits.
  void Auto();
  void SetBaseFrameDelay(std::string_view text);
  void SetMaxSteps(std::string_view text);

 private:
  const TPatchFrame* shape_ = nullptr;
};

// Stands for the modal dialog: it shows `state` for a shape, lets the person
// change it and returns the button that ended it.
using TGifDialog = std::function<TDialogResult(TGifExportDialogState& state, const TPatchFrame& shape)>;

inline constexpr std::string_view kGifFilter = "GIF Image|*.gif";

// Where a series stands: the file being exported (from 1) of the shapes in
// the series, and how far its export has got.
struct TGifSeriesProgress {
  int File = 1;
  int Files = 1;
  TGifExportProgress Export;
};
// Returning false stops the series: the file being written is abandoned and
// the files already written stay.
using TGifSeriesProgressFn = std::function<bool(const TGifSeriesProgress&)>;

// How long an export runs before its progress shows, in milliseconds: at once
// in a series of more than a few files, otherwise once it outlasts half a
// second.
int GifProgressDelay(int files);
// The progress box's line for `progress`.
std::string GifProgressText(const TGifSeriesProgress& progress);

// "Animated GIF..." over the shapes `left`..`right` of a document, in order.
// Accept asks for the file, and whether to replace it when it exists;
// cancelling the choice, declining to replace or a failed write (shown with
// its own message) keep the dialog open for the same shape. A shape the
// export refuses has its message shown and the series goes on. Cancel in the
// dialog, or `progress` answering false, ends the series. Returns the files
// written.
std::vector<std::string> RunGifExportSeries(const TShapeList& shapes, int left, int right,
                                            TGifExportDialogState& state, UserInterface& ui,
                                            const TGifDialog& showDialog,
                                            const TGifSeriesProgressFn& progress = {});

inline constexpr std::string_view kBitmapFilter = "Bitmap file (*.bmp)|*.bmp|All Files|*.*";

// "Export Object...": one save choice per shape `left`..`right`, preset to
// "object" + its 0-based index + ".bmp" (the object number offset is not
// added), each frame written next to the chosen name. Cancel, or a failed
// write (shown by the general error box), ends the export; files already
// written stay. Returns the files written.
std::vector<std::string> RunBitmapExport(const TShapeList& shapes, int left, int right, UserInterface& ui);

// The option boxes of "Remove Duplicates from Destination", in the dialog's
// order.
enum class TDedupeBox { FurrePosition, ObjectPosition, Flags, KitterSpeak };

// The dialog's check boxes. The toolkit toggles a box before telling, so both
// operations take the box's new state.
class TDedupeDialogState {
 public:
  // The boxes start from the remembered options; "Select All" starts checked
  // exactly when all four are.
  explicit TDedupeDialogState(const TDedupeOptions& remembered);

  // A click on an option box: unchecking one unchecks "Select All", checking
  // the last unchecked one checks it.
  void ClickOption(TDedupeBox box, bool checked);
  // The mouse released on "Select All": the four boxes take its state.
  void ReleaseOnSelectAll(bool checked);

  bool Checked(TDedupeBox box) const { return boxes_[static_cast<std::size_t>(box)]; }
  bool SelectAll() const { return selectAll_; }
  TDedupeOptions Options() const;

 private:
  std::array<bool, 4> boxes_{};
  bool selectAll_ = false;
};

// Stands for the modal dialog: true when "Scan and Remove..." ended it.
using TDedupeDialog = std::function<bool(TDedupeDialogState& state)>;

// "Remove Duplicates...": asks, remembers the options only when the scan runs,
// scans the destination and reports the counts; the destination is marked
// modified only when shapes went. Returns whether it changed, so that the
// window refreshes the grid counts and captions.
bool RunRemoveDuplicates(TDocument& destination, TDedupeOptions& remembered, UserInterface& ui,
                         const TDedupeDialog& showDialog);

}  // namespace quillmere
