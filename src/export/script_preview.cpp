#include "export/script_preview.h"

#include <algorithm>

#include "model/frame_decoding.h"

namespace quillmere {

namespace {

// A preview keeps its composed canvases within this many bytes: a script
// that moves a frame step by step makes a new canvas at every place.
constexpr std::size_t kMaxComposedBytes = std::size_t{32} << 20;
// No canvas of a real shape comes near this; a damaged one announcing huge
// frames or far-off positions shows nothing instead of taking the memory.
constexpr std::size_t kMaxCanvasPixels = std::size_t{16} << 20;
// A pixel at least half opaque is drawn; a preview has no partial transparency.
constexpr std::uint8_t kOpaqueFrom = 128;

}  // namespace

TScriptPreview::TScriptPreview(const TPatchFrame& shape, const TKSScript& script, int defaultDelay)
    : shape_(shape) {
  // Playback and the canvas need only the frames' sizes and places.
  plan_.Script = script;
  plan_.Frames.reserve(shape.Frames.size());
  for (const TPatchSubFrame& frame : shape.Frames) {
    TPatchSubFrame header = {frame.Height, frame.Width, frame.ShapePosX, frame.ShapePosY,
                             frame.FurrePosX, frame.FurrePosY, frame.Format, frame.Opacity,
                             frame.Encoding, {}};
    plan_.Frames.push_back(std::move(header));
  }
  geometry_ = ComputeCanvasGeometry(plan_, TGifExportOptions{});
  state_.DefaultDelay = defaultDelay;
}

std::optional<TPreviewFrame> TScriptPreview::Next() {
  if (ended_) return std::nullopt;
  // The budget counts afresh for every frame, so a preview may run for ever.
  state_.StepsExecuted = 0;
  state_.MaxSteps = kPreviewStepsPerFrame;
  while (!state_.Stopped) {
    const int shown = NextAnimationFrameIndex(plan_, state_);
    const int delay = state_.Delay >= 1 ? state_.Delay : state_.DefaultDelay;
    state_.Delay = 0;
    if (state_.Stopped) ended_ = true;
    if (shown >= 0) {
      return TPreviewFrame{shown, state_.FrameX + geometry_.ShiftX, state_.FrameY + geometry_.ShiftY,
                           std::max(delay, kMinPreviewDelay)};
    }
  }
  ended_ = true;
  return std::nullopt;
}

TCanvasSize TScriptPreview::Canvas() const {
  return {std::max(geometry_.ScreenWidth, 1), std::max(geometry_.ScreenHeight, 1)};
}

const TPicture& TScriptPreview::Picture(const TPreviewFrame& frame, UserInterface& ui) {
  static const TPicture kNothing;
  if (frame.Frame < 0 || static_cast<std::size_t>(frame.Frame) >= shape_.Frames.size()) return kNothing;
  const auto key = std::make_tuple(frame.Frame, frame.X, frame.Y);
  if (const auto found = composed_.find(key); found != composed_.end()) return found->second;

  const TPatchSubFrame& source = shape_.Frames[static_cast<std::size_t>(frame.Frame)];
  const TCanvasSize size =
      CanvasSizeFor(source.Width, source.Height, frame.X, frame.Y, geometry_.ScreenWidth, geometry_.ScreenHeight);
  if (static_cast<std::size_t>(size.Width) * static_cast<std::size_t>(size.Height) > kMaxCanvasPixels) {
    return kNothing;
  }
  TDecodedFrame decoded = DecodeFrame(source, ui);
  TPicture bitmap = decoded.Picture ? std::move(*decoded.Picture) : TPicture{};
  matcher_.Convert(bitmap);
  // The game leaves out what a frame's alpha plane clears; the export's
  // pictures have no alpha, but a preview shows the shape as the game does,
  // with the one transparent entry of the palette for the cleared pixels.
  if (decoded.Alpha && decoded.Alpha->Pixels.size() == bitmap.Pixels.size()) {
    for (std::size_t i = 0; i < bitmap.Pixels.size(); ++i) {
      if (decoded.Alpha->Pixels[i] < kOpaqueFrom) bitmap.Pixels[i] = 0;
    }
  }
  TPicture canvas = PlaceFrameOnCanvas(bitmap, frame.X, frame.Y, geometry_.ScreenWidth, geometry_.ScreenHeight);
  if (composedBytes_ + canvas.Pixels.size() > kMaxComposedBytes) {
    composed_.clear();
    composedBytes_ = 0;
  }
  composedBytes_ += canvas.Pixels.size();
  return composed_.emplace(key, std::move(canvas)).first->second;
}

}  // namespace quillmere
