// A FOX file's shapes played as the animation editor's preview plays them
// and exported as animated GIFs with options taken from the input; every GIF
// written must read back through giflib with the frames and size reported.
//
// Input: four option bytes (mode and switches, base delay, maximum steps,
// colour code), then a FOX file.

#include <gif_lib.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>

#include "export/gif_export.h"
#include "formats/fox_format.h"
#include "fuzz_support.h"
#include "interface/platform_error.h"
#include "interface/scripted_user_interface.h"
#include "kitterspeak/playback.h"
#include "model/ks_commands.h"
#include "model/frame_decoding.h"

namespace {

using namespace quillmere;

// A shape is played and exported only while its frames, and the canvas its
// positions spread them over, stay below this many pixels: a frame's missing
// bytes read as 0 and positions cost nothing, so a few input bytes can ask
// for frames and canvases up to the program's own limit of 64 Mi pixels,
// each, which costs seconds without reaching code a smaller one does not.
// Frames that are never decoded (an unknown format) don't count. The canvas
// pixels of all frames an export writes have a budget of their own: under the
// fuzzer's comparison tracing the smallest-file search takes microseconds a
// pixel.
constexpr long long kMaxFuzzPixels = 1 << 16;
constexpr long long kMaxWrittenPixels = 1 << 20;
constexpr std::size_t kMaxShapes = 3;
constexpr int kMaxPlayedFrames = 64;

bool Decoded(const TPatchSubFrame& frame) {
  return frame.Format == kFormatIndexed || frame.Format == kFormatColour || frame.Format == kFormatColourAlpha ||
         frame.Format == kFormatColourAlpha7;
}

// The largest canvas the export may use: frames that are drawn, at every
// position they can take (their own and, in Kitterspeak Animation mode, the
// script's, those playback keeps from a frame it showed without drawing it,
// and the 0 it starts from, which a Set frame Y position before the first Show
// Frame keeps for X), shifted so that the left-most and top-most lands on 0. A frame that is
// never drawn must not widen it by its size.
struct TExtent {
  long long Width = 1;
  long long Height = 1;
  long long Pixels = 0;  // of the drawn frames themselves
};

TExtent Extent(const TPatchFrame& shape, const TGifExportOptions& options) {
  TExtent extent;
  int minX = INT_MAX, minY = INT_MAX, maxX = INT_MIN, maxY = INT_MIN;
  long long width = 0, height = 0;
  for (const TPatchSubFrame& frame : shape.Frames) {
    if (!Decoded(frame)) continue;
    extent.Pixels += static_cast<long long>(frame.Width) * frame.Height;
    width = std::max<long long>(width, frame.Width);
    height = std::max<long long>(height, frame.Height);
    minX = std::min<int>(minX, frame.ShapePosX);
    minY = std::min<int>(minY, frame.ShapePosY);
    maxX = std::max<int>(maxX, frame.ShapePosX);
    maxY = std::max<int>(maxY, frame.ShapePosY);
  }
  if (minX != INT_MAX && !options.IgnorePos) {
    if (options.KitterspeakMode) {
      minX = std::min(minX, 0), maxX = std::max(maxX, 0);
      minY = std::min(minY, 0), maxY = std::max(maxY, 0);
      for (const TPatchSubFrame& frame : shape.Frames) {
        minX = std::min<int>(minX, frame.ShapePosX), maxX = std::max<int>(maxX, frame.ShapePosX);
        minY = std::min<int>(minY, frame.ShapePosY), maxY = std::max<int>(maxY, frame.ShapePosY);
      }
      for (const TKSStep& step : shape.Script) {
        if (step.Command == ksFrameX) minX = std::min<int>(minX, step.Arg1), maxX = std::max<int>(maxX, step.Arg1);
        if (step.Command == ksFrameY) minY = std::min<int>(minY, step.Arg1), maxY = std::max<int>(maxY, step.Arg1);
      }
    }
    width += static_cast<long long>(maxX) - minX;
    height += static_cast<long long>(maxY) - minY;
  }
  extent.Width = std::max<long long>(width, 1);
  extent.Height = std::max<long long>(height, 1);
  return extent;
}

bool Affordable(const TPatchFrame& shape, const TGifExportOptions& options, const TExtent& extent) {
  // A Kitterspeak Animation writes at most a frame a step; Direct Frames one a frame.
  const long long written = options.KitterspeakMode ? std::max(options.MaxSteps, 1)
                                                    : static_cast<long long>(shape.Frames.size());
  const long long canvas = extent.Width * extent.Height;
  return extent.Pixels <= kMaxFuzzPixels && canvas <= kMaxFuzzPixels && canvas * written <= kMaxWrittenPixels;
}

// The least canvas the export may use: the span of the places where drawn
// frames actually land, so that none is cut off.
struct TSpan {
  long long Width = 0;
  long long Height = 0;
};

TSpan Span(const TPatchFrame& shape, const TGifExportOptions& options) {
  long long left = LLONG_MAX, top = LLONG_MAX, right = LLONG_MIN, bottom = LLONG_MIN;
  const auto place = [&](const TPatchSubFrame& frame, long long x, long long y) {
    if (!Decoded(frame) || frame.Width == 0 || frame.Height == 0) return;
    left = std::min(left, x), top = std::min(top, y);
    right = std::max(right, x + frame.Width), bottom = std::max(bottom, y + frame.Height);
  };
  if (options.KitterspeakMode) {
    TKSPlayState state;
    state.MaxSteps = std::max(options.MaxSteps, 1);
    for (int calls = 0; !state.Stopped && calls <= state.MaxSteps; ++calls) {
      const int shown = NextAnimationFrameIndex(shape, state);
      if (shown >= 0) place(shape.Frames[static_cast<std::size_t>(shown)], state.FrameX, state.FrameY);
    }
  } else {
    for (const TPatchSubFrame& frame : shape.Frames) place(frame, frame.ShapePosX, frame.ShapePosY);
  }
  if (left == LLONG_MAX) return {};
  return {right - left, bottom - top};
}

void Play(const TPatchFrame& shape, int maxSteps) {
  ScriptedUserInterface ui;
  TKSPlayState state;
  state.DefaultDelay = 100;
  state.MaxSteps = maxSteps;
  const int estimate = CountAnimationSteps(shape);
  fuzz::Check(estimate >= 0 && estimate <= 10000, "the step estimate stays within its bounds");
  for (int played = 0; played < kMaxPlayedFrames && !state.Stopped; ++played) {
    TPicture picture;
    try {
      NextAnimationFrame(shape, state, picture, ui);
    } catch (const ReadError&) {
      return;  // a damaged PNG plane ends the preview
    }
    fuzz::Check(shape.Script.empty() ? state.Stopped
                                     : state.Position >= 0 && static_cast<std::size_t>(state.Position) < shape.Script.size(),
                "playback stays inside the script");
    state.Delay = 0;
  }
}

// Reads the GIF back; the export's frame count and a canvas a GIF can hold.
void CheckGif(const std::string& name, const TGifExportResult& result, const TExtent& extent, const TSpan& span) {
  int error = 0;
  GifFileType* gif = DGifOpenFileName(name.c_str(), &error);
  fuzz::Check(gif != nullptr, "a written GIF opens");
  fuzz::Check(DGifSlurp(gif) == GIF_OK, "a written GIF reads to its end");
  fuzz::Check(gif->ImageCount == result.Frames, "a GIF holds the frames the export reported");
  fuzz::Check(gif->SWidth > 0 && gif->SHeight > 0, "a GIF's canvas is not empty");
  fuzz::Check(gif->SWidth <= extent.Width && gif->SHeight <= extent.Height,
              "only frames that are drawn size the canvas");
  fuzz::Check(gif->SWidth >= span.Width && gif->SHeight >= span.Height, "no drawn frame is cut off the canvas");
  for (int i = 0; i < gif->ImageCount; ++i) {
    const GifImageDesc& image = gif->SavedImages[i].ImageDesc;
    fuzz::Check(image.Left + image.Width <= gif->SWidth && image.Top + image.Height <= gif->SHeight,
                "every GIF frame lies on the canvas");
  }
  DGifCloseFile(gif, &error);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  TGifExportOptions options;
  options.KitterspeakMode = (data[0] & 1) != 0;
  options.Transparent = (data[0] & 2) != 0;
  options.IgnorePos = (data[0] & 4) != 0;
  options.Optimize = (data[0] & 8) != 0;
  options.Remapped = (data[0] & 16) != 0;
  options.BaseFrameDelay = data[1];  // 0 shows the export bringing it within its limits
  options.MaxSteps = data[2] % kMaxPlayedFrames;
  options.ColourCode = "t" + std::string(10, static_cast<char>('#' + data[3] % 90));

  const std::string fox = fuzz::ScratchFile("shapes.fox");
  fuzz::PutFile(fox, fuzz::AsText(data + 4, size - 4));
  ScriptedUserInterface ui;
  TShapeList shapes;
  try {
    LoadFOXFile(fox, shapes, ui);
  } catch (const PlatformError&) {
    // The shapes read before the damage are played all the same.
  }

  const std::string gif = fuzz::ScratchFile("shape.gif");
  for (std::size_t i = 0; i < shapes.size() && i < kMaxShapes; ++i) {
    const TPatchFrame& shape = shapes[i];
    const TExtent extent = Extent(shape, options);
    if (!Affordable(shape, options, extent)) continue;
    Play(shape, options.MaxSteps);
    fuzz::PutFile(gif, {}, false);
    try {
      const TGifExportResult result = ExportAnimatedGif(shape, options, gif, ui);
      if (result.Written) CheckGif(gif, result, extent, options.IgnorePos ? TSpan{} : Span(shape, options));
    } catch (const PlatformError&) {
      // A damaged PNG plane ends the export, leaving no file.
    }
  }
  return 0;
}
