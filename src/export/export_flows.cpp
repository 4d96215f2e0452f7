#include "export/export_flows.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "export/bitmap_export.h"
#include "interface/messages.h"
#include "interface/platform_error.h"
#include "kitterspeak/playback.h"

namespace quillmere {
namespace {

// The selected columns that hold shapes; an empty list selects none.
std::pair<int, int> ShapeRange(const TShapeList& shapes, int left, int right) {
  return {std::max(left, 0), std::min(right, static_cast<int>(shapes.size()) - 1)};
}

// A folder or an unreadable path is left for the write to report.
bool ReplacingDeclined(const std::string& file, UserInterface& ui) {
  std::error_code error;
  if (!std::filesystem::exists(file, error) || std::filesystem::is_directory(file, error)) return false;
  return Show(ui, TMsgId::ReplaceExistingFile, {file}) != TMsgAnswer::Yes;
}

}  // namespace

void TGifExportDialogState::ShowFor(const TPatchFrame& shape) {
  shape_ = &shape;
  Options.MaxSteps = DefaultMaxSteps(shape);
}

void TGifExportDialogState::Auto() {
  if (shape_) Options.MaxSteps = ClampToLimits(CountAnimationSteps(*shape_), kMinMaxSteps, kMaxMaxSteps);
}

void TGifExportDialogState::SetBaseFrameDelay(std::string_view text) {
  Options.BaseFrameDelay = NumberFieldValue(text, kMinBaseFrameDelay, kMaxBaseFrameDelay);
}

void TGifExportDialogState::SetMaxSteps(std::string_view text) {
  Options.MaxSteps = NumberFieldValue(text, kMinMaxSteps, kMaxMaxSteps);
}

int GifProgressDelay(int files) { return files > 3 ? 0 : 500; }

std::string GifProgressText(const TGifSeriesProgress& progress) {
  std::string text = "Animated GIF " + std::to_string(progress.File) + " of " + std::to_string(progress.Files);
  if (progress.Export.Phase == TGifExportPhase::Measuring) {
    return text + ": playing, " + std::to_string(progress.Export.Done) + " frames so far";
  }
  return text + ": writing frame " + std::to_string(progress.Export.Done) + " of " +
         std::to_string(progress.Export.Total);
}

std::vector<std::string> RunGifExportSeries(const TShapeList& shapes, int left, int right,
                                            TGifExportDialogState& state, UserInterface& ui,
                                            const TGifDialog& showDialog, const TGifSeriesProgressFn& progress) {
  std::vector<std::string> written;
  const auto [first, last] = ShapeRange(shapes, left, right);
  const int files = last - first + 1;
  for (int i = first; i <= last; ++i) {
    const TPatchFrame& shape = shapes[static_cast<std::size_t>(i)];
    state.ShowFor(shape);
    TGifProgress exportProgress;
    if (progress) {
      exportProgress = [&, file = i - first + 1](const TGifExportProgress& done) {
        return progress(TGifSeriesProgress{file, files, done});
      };
    }
    for (bool open = true; open;) {
      if (showDialog(state, shape) == TDialogResult::Cancel) return written;
      const auto file = ui.ChooseSaveFile(std::string(kGifFilter), "gif", "");
      if (!file || ReplacingDeclined(*file, ui)) continue;
      try {
        const TGifExportResult result = ExportAnimatedGif(shape, state.Options, *file, ui, exportProgress);
        if (result.Abandoned) return written;
        if (result.Written) written.push_back(*file);
        open = false;
      } catch (const PlatformError& error) {
        ShowGeneralError(ui, error.what());
      }
    }
  }
  return written;
}

std::vector<std::string> RunBitmapExport(const TShapeList& shapes, int left, int right, UserInterface& ui) {
  std::vector<std::string> written;
  const auto [first, last] = ShapeRange(shapes, left, right);
  for (int i = first; i <= last; ++i) {
    // A name typed without an extension becomes a bitmap's, so that the
    // frames' names end in ".bmp" too.
    const auto file =
        ui.ChooseSaveFile(std::string(kBitmapFilter), "bmp", "object" + std::to_string(i) + ".bmp");
    if (!file) break;
    try {
      for (auto& name : ExportShapeBitmaps(shapes[static_cast<std::size_t>(i)], *file, ui)) {
        written.push_back(std::move(name));
      }
    } catch (const PlatformError& error) {
      ShowGeneralError(ui, error.what());
      break;
    }
  }
  return written;
}

TDedupeDialogState::TDedupeDialogState(const TDedupeOptions& remembered)
    : boxes_{remembered.FurrePosition, remembered.ObjectPosition, remembered.Flags, remembered.KitterSpeak},
      selectAll_(std::ranges::all_of(boxes_, [](bool box) { return box; })) {}

void TDedupeDialogState::ClickOption(TDedupeBox box, bool checked) {
  boxes_[static_cast<std::size_t>(box)] = checked;
  if (!checked) selectAll_ = false;
  if (std::ranges::all_of(boxes_, [](bool b) { return b; })) selectAll_ = true;
}

void TDedupeDialogState::ReleaseOnSelectAll(bool checked) {
  selectAll_ = checked;
  boxes_.fill(checked);
}

TDedupeOptions TDedupeDialogState::Options() const {
  TDedupeOptions options;
  options.FurrePosition = Checked(TDedupeBox::FurrePosition);
  options.ObjectPosition = Checked(TDedupeBox::ObjectPosition);
  options.Flags = Checked(TDedupeBox::Flags);
  options.KitterSpeak = Checked(TDedupeBox::KitterSpeak);
  return options;
}

bool RunRemoveDuplicates(TDocument& destination, TDedupeOptions& remembered, UserInterface& ui,
                         const TDedupeDialog& showDialog) {
  TDedupeDialogState state(remembered);
  if (!showDialog(state)) return false;
  remembered = state.Options();
  const int before = static_cast<int>(destination.Shapes.size());
  RemoveDuplicateShapes(destination.Shapes, remembered);
  const int after = static_cast<int>(destination.Shapes.size());
  ui.ShowMessage(DuplicateRemovalMessage(before, after));
  if (after == before) return false;
  destination.Modified = true;
  return true;
}

}  // namespace quillmere
