#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <tuple>

#include "export/gif_export.h"
#include "kitterspeak/playback.h"
#include "model/patch_frame.h"
#include "model/picture.h"

namespace quillmere {

class UserInterface;

// A preview starts with the export's default "Base Frame Delay", so it shows
// what an animated GIF of the script would show by default.
inline constexpr int kPreviewDefaultDelay = kDefaultBaseFrameDelay;
// Shorter delays (0 and negative ones included) are shown this long: a
// display refreshes no faster, and a timer firing at once would starve the
// window.
inline constexpr int kMinPreviewDelay = 10;
// Steps run in search of one frame before the preview gives up: a script
// that loops without showing a frame ends the preview instead of the window.
inline constexpr int kPreviewStepsPerFrame = 100000;

// One frame of a preview: which of the shape's frames, where on the canvas,
// and how long it stays.
struct TPreviewFrame {
  int Frame = -1;  // index in the shape's Frames
  int X = 0;       // top-left on the canvas, the export's shift applied
  int Y = 0;
  int Delay = 0;  // milliseconds, at least kMinPreviewDelay

  bool operator==(const TPreviewFrame&) const = default;
};

// A script played over a shape's frames the way the game and the GIF export
// play it, one frame at a time and without end unless the script stops. The
// script need not be the shape's own: an editor previews its working copy.
// Each distinct frame and place is composed once.
class TScriptPreview {
 public:
  // `shape` must outlive the preview; its pixels are read only by Picture.
  TScriptPreview(const TPatchFrame& shape, const TKSScript& script, int defaultDelay = kPreviewDefaultDelay);

  // The next frame shown, or none once playback has ended (a Stop step, a
  // frame number the shape lacks, an empty script, a loop without frames).
  std::optional<TPreviewFrame> Next();
  bool Ended() const { return ended_; }

  // The canvas every frame is composed on, as the export sizes it.
  TCanvasSize Canvas() const;

  // The frame on its canvas in game-palette indices (0 transparent), composed
  // as the GIF export composes it, except that pixels a frame's alpha plane
  // leaves less than half opaque are transparent. A canvas too large to hold
  // is empty.
  const TPicture& Picture(const TPreviewFrame& frame, UserInterface& ui);

 private:
  const TPatchFrame& shape_;
  TPatchFrame plan_;  // the frames' sizes and places without pixels, and the script
  TGifCanvasGeometry geometry_;
  TKSPlayState state_;
  bool ended_ = false;
  PaletteMatcher matcher_;
  std::map<std::tuple<int, int, int>, TPicture> composed_;
  std::size_t composedBytes_ = 0;
};

}  // namespace quillmere
