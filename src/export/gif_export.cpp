#include "export/gif_export.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "export/colour_remap.h"
#include "export/gif_frame_planner.h"
#include "export/gif_writer.h"
#include "formats/atomic_file_writer.h"
#include "interface/messages.h"
#include "interface/scripted_user_interface.h"
#include "interface/user_interface.h"
#include "kitterspeak/playback.h"
#include "model/frame_decoding.h"
#include "model/ks_commands.h"
#include "model/shape_palette.h"

namespace quillmere {

namespace {

// The largest side a GIF can describe, and the largest canvas the export
// allocates: the frame decoder's own limit, so that a damaged file whose frames
// announce 65535 pixels in each direction is refused rather than exhausting
// memory.
constexpr int kMaxGifSide = 65535;
constexpr std::size_t kMaxCanvasPixels = kMaxDecodedPixels;
// Cropping keeps a few copies of the screen (what a viewer holds, the pixel
// choices of an image); past 4096 x 4096 pixels, far beyond any shape, an
// optimised file keeps its frames whole rather than take gigabytes.
constexpr std::size_t kMaxCroppedScreenPixels = std::size_t{1} << 24;

// Enough distinct colours for any real frame; beyond it the cache starts
// over instead of growing with a photograph's every colour.
constexpr std::size_t kMaxCachedColours = 1u << 16;

// A produced picture and where the export puts it.
struct TProducedFrame {
  TPicture Bitmap;
  int X = 0;  // on the canvas, shift applied
  int Y = 0;
  int Delay = 0;  // hundredths of a second
};

// The frames of an export in order: every frame once (Direct Frames), or what
// playing the script shows (Kitterspeak Animation).
class FrameProducer {
 public:
  FrameProducer(const TPatchFrame& shape, const TGifExportOptions& options,
                const TGifCanvasGeometry& geometry, UserInterface& ui)
      : shape_(shape), options_(options), geometry_(geometry), ui_(ui) {
    state_.DefaultDelay = options.BaseFrameDelay;
    state_.MaxSteps = options.MaxSteps;
  }

  bool Next(TProducedFrame& out) {
    if (!options_.KitterspeakMode) {
      if (nextFrame_ >= shape_.Frames.size()) return false;
      const TPatchSubFrame& frame = shape_.Frames[nextFrame_++];
      out.Bitmap = FrameToBitmap(frame, ui_);
      out.X = frame.ShapePosX + geometry_.ShiftX;
      out.Y = frame.ShapePosY + geometry_.ShiftY;
      out.Delay = options_.BaseFrameDelay;
      return true;
    }
    // Every call runs at least one step and MaxSteps ends playback; the count
    // keeps a fault there from turning into an endless export.
    while (!state_.Stopped && calls_ <= static_cast<long long>(options_.MaxSteps)) {
      ++calls_;
      TPicture target;
      NextAnimationFrame(shape_, state_, target, ui_);
      const int milliseconds = state_.Delay >= 1 ? state_.Delay : state_.DefaultDelay;
      state_.Delay = 0;
      if (!state_.HasFrame) continue;
      out.Bitmap = std::move(target);
      out.X = state_.FrameX + geometry_.ShiftX;
      out.Y = state_.FrameY + geometry_.ShiftY;
      out.Delay = GifDelayFromMilliseconds(milliseconds);
      return true;
    }
    return false;
  }

 private:
  const TPatchFrame& shape_;
  const TGifExportOptions& options_;
  const TGifCanvasGeometry& geometry_;
  UserInterface& ui_;
  std::size_t nextFrame_ = 0;
  TKSPlayState state_;
  long long calls_ = 0;
};

// The size a produced frame takes in the file.
TCanvasSize ImageSize(const TProducedFrame& frame, const TGifExportOptions& options,
                      const TGifCanvasGeometry& geometry) {
  if (!options.IgnorePos) {
    return CanvasSizeFor(frame.Bitmap.Width, frame.Bitmap.Height, frame.X, frame.Y, geometry.ScreenWidth,
                         geometry.ScreenHeight);
  }
  // An empty picture is written as a single pixel, keeping its delay.
  if (frame.Bitmap.Empty()) return {1, 1};
  return {frame.Bitmap.Width, frame.Bitmap.Height};
}

// A produced frame as it is written: remapped when asked, in game-palette
// indices. Remapping works on indices and leaves colour pictures alone, so it
// comes before colour frames take their palette indices.
void ToGamePalette(TPicture& bitmap, const TGifExportOptions& options, PaletteMatcher& matcher) {
  if (options.Remapped) RemapBitmap(bitmap, options.ColourCode);
  matcher.Convert(bitmap);
}

// Raised when the progress callback asks to stop; the export unwinds to its
// top, where the unpublished file goes with its writer.
struct TExportAbandoned {};

class ProgressReporter {
 public:
  explicit ProgressReporter(const TGifProgress& progress) : progress_(progress) {}
  void Report(TGifExportPhase phase, int done, int total) const {
    if (progress_ && !progress_(TGifExportProgress{phase, done, total})) throw TExportAbandoned{};
  }

 private:
  const TGifProgress& progress_;
};

bool TooLarge(const TCanvasSize& size) {
  return size.Width > kMaxGifSide || size.Height > kMaxGifSide ||
         static_cast<std::size_t>(size.Width) * static_cast<std::size_t>(size.Height) > kMaxCanvasPixels;
}

// A frame as the plain export writes it: on its canvas, or at its own size.
struct TShownFrame {
  TPicture Picture;  // indexed; an empty picture becomes one pixel of index 0
  int Delay = 0;
};

// The second playback, whose frames are written.
class ShownFrames {
 public:
  ShownFrames(const TPatchFrame& shape, const TGifExportOptions& options, const TGifCanvasGeometry& geometry)
      : options_(options), geometry_(geometry), producer_(shape, options, geometry, quiet_) {}

  bool Next(TShownFrame& out) {
    TProducedFrame frame;
    if (!producer_.Next(frame)) return false;
    ToGamePalette(frame.Bitmap, options_, matcher_);
    out.Delay = frame.Delay;
    if (!options_.IgnorePos) {
      out.Picture =
          PlaceFrameOnCanvas(frame.Bitmap, frame.X, frame.Y, geometry_.ScreenWidth, geometry_.ScreenHeight);
    } else if (frame.Bitmap.Empty()) {
      out.Picture = TPicture(1, 1, TPictureDepth::Indexed8);
    } else {
      out.Picture = std::move(frame.Bitmap);
    }
    return true;
  }

 private:
  const TGifExportOptions& options_;
  const TGifCanvasGeometry& geometry_;
  // The person has seen the first playback's diagnostics; the second's go
  // to a script nobody reads.
  ScriptedUserInterface quiet_;
  FrameProducer producer_;
  PaletteMatcher matcher_;
};

// The smallest file: each frame planned against the one after it, written in
// whichever of its equivalent pixel choices compresses best.
void WriteCropped(GifAnimationWriter& gif, ShownFrames& shown, int frames, const TCanvasSize& screen,
                  const TGifColourTable& table, bool transparent, const ProgressReporter& reporter) {
  GifFramePlanner planner(screen.Width, screen.Height, transparent, table);
  GifAnimationWriter gauge(nullptr, {}, screen.Width, screen.Height, table, {});
  TShownFrame current, following;
  bool more = shown.Next(current);
  while (more) {
    more = gif.Frames() + 1 < frames && shown.Next(following);
    TGifFramePlan plan = planner.Plan(current.Picture, more ? &following.Picture : nullptr);
    TGifImage& image = plan.Image;
    image.Delay = current.Delay;
    std::size_t best = 0;
    if (plan.Variants.size() > 1) {
      std::uint64_t smallest = UINT64_MAX;
      for (std::size_t i = 0; i < plan.Variants.size(); ++i) {
        image.Pixels = std::move(plan.Variants[i]);
        const std::uint64_t before = gauge.Bytes();
        gauge.AddImage(image);
        if (const std::uint64_t size = gauge.Bytes() - before; size < smallest) {
          smallest = size;
          best = i;
        }
        plan.Variants[i] = std::move(image.Pixels);
      }
    }
    image.Pixels = std::move(plan.Variants[best]);
    gif.AddImage(image);
    reporter.Report(TGifExportPhase::Writing, gif.Frames(), frames);
    std::swap(current, following);
  }
}

}  // namespace

int ClampToLimits(long long value, int low, int high) {
  if (value < low) return low;
  if (value > high) return high;
  return static_cast<int>(value);
}

int DefaultMaxSteps(const TPatchFrame& shape) {
  return ClampToLimits(static_cast<long long>(shape.Script.size()), kMinMaxSteps, kMaxMaxSteps);
}

namespace {

// Frames of an unknown format, or too large to decode, are never drawn, so
// they must not size the canvas: one such frame of 1571 x 11001 made every
// written frame 17 Mpx.
bool Drawable(const TPatchSubFrame& frame) {
  switch (frame.Format) {
    case kFormatIndexed:
    case kFormatColour:
    case kFormatColourAlpha:
    case kFormatColourAlpha7:
      return static_cast<std::size_t>(frame.Width) * frame.Height <= kMaxDecodedPixels;
    default:
      return false;
  }
}

// A played frame is drawn where the playback stands, which may be a position
// kept from a frame that is never drawn: Show Frame of an unknown format, a
// Set frame Y position step, then Show Frame of a drawn one keeps the first
// frame's X. The geometry knows only the drawn frames' positions and the
// script's, so the shift grows until every drawn frame lands on the canvas
// instead of being cut off at its left or top. The playback here decodes
// nothing and stops where the export's own does.
void CoverPlayedPositions(const TPatchFrame& shape, const TGifExportOptions& options,
                          TGifCanvasGeometry& geometry) {
  if (!options.KitterspeakMode || options.IgnorePos) return;
  TKSPlayState state;
  state.DefaultDelay = options.BaseFrameDelay;
  state.MaxSteps = options.MaxSteps;
  long long left = 0;
  long long top = 0;
  for (long long calls = 0; !state.Stopped && calls <= static_cast<long long>(options.MaxSteps); ++calls) {
    const int shown = NextAnimationFrameIndex(shape, state);
    state.Delay = 0;
    if (shown < 0) continue;
    const TPatchSubFrame& frame = shape.Frames[static_cast<std::size_t>(shown)];
    if (!Drawable(frame) || frame.Width == 0 || frame.Height == 0) continue;
    left = std::min<long long>(left, static_cast<long long>(state.FrameX) + geometry.ShiftX);
    top = std::min<long long>(top, static_cast<long long>(state.FrameY) + geometry.ShiftY);
  }
  // Positions are 16-bit, so the widened shift stays far inside an int.
  geometry.ShiftX -= static_cast<int>(left);
  geometry.ShiftY -= static_cast<int>(top);
}

}  // namespace

TGifCanvasGeometry ComputeCanvasGeometry(const TPatchFrame& shape, const TGifExportOptions& options) {
  TGifCanvasGeometry geometry;
  int minX = INT_MAX;
  int minY = INT_MAX;
  for (const TPatchSubFrame& frame : shape.Frames) {
    if (!Drawable(frame)) continue;
    geometry.ScreenWidth = std::max<int>(geometry.ScreenWidth, frame.Width);
    geometry.ScreenHeight = std::max<int>(geometry.ScreenHeight, frame.Height);
    minX = std::min<int>(minX, frame.ShapePosX);
    minY = std::min<int>(minY, frame.ShapePosY);
  }
  if (minX == INT_MAX || options.IgnorePos) return geometry;
  if (options.KitterspeakMode) {
    for (const TKSStep& step : shape.Script) {
      if (step.Command == ksFrameX) minX = std::min<int>(minX, step.Arg1);
      if (step.Command == ksFrameY) minY = std::min<int>(minY, step.Arg1);
    }
  }
  geometry.ShiftX = -minX;
  geometry.ShiftY = -minY;
  return geometry;
}

TCanvasSize CanvasSizeFor(int frameWidth, int frameHeight, int x, int y, int screenWidth, int screenHeight) {
  TCanvasSize size{std::max(screenWidth, 1), std::max(screenHeight, 1)};
  if (frameWidth <= 0 || frameHeight <= 0) return size;
  const long long right = static_cast<long long>(x) + frameWidth;
  const long long bottom = static_cast<long long>(y) + frameHeight;
  size.Width = static_cast<int>(std::min<long long>(std::max<long long>(size.Width, right), INT_MAX));
  size.Height = static_cast<int>(std::min<long long>(std::max<long long>(size.Height, bottom), INT_MAX));
  return size;
}

TPicture PlaceFrameOnCanvas(const TPicture& frame, int x, int y, int screenWidth, int screenHeight) {
  if (frame.Depth != TPictureDepth::Indexed8) {
    throw std::invalid_argument("PlaceFrameOnCanvas needs an indexed frame");
  }
  const TCanvasSize size = CanvasSizeFor(frame.Width, frame.Height, x, y, screenWidth, screenHeight);
  TPicture canvas(size.Width, size.Height, TPictureDepth::Indexed8);
  if (frame.Empty()) return canvas;
  // Only the part right of and below the canvas origin is drawn.
  const int left = std::max(x, 0);
  const int count = x + frame.Width - left;
  if (count <= 0) return canvas;
  for (int row = std::max(0, -y); row < frame.Height; ++row) {
    std::memcpy(canvas.Row(y + row) + left, frame.Row(row) + (left - x), static_cast<std::size_t>(count));
  }
  return canvas;
}

std::uint8_t PaletteMatcher::Nearest(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  const std::uint32_t key = (std::uint32_t{red} << 16) | (std::uint32_t{green} << 8) | blue;
  if (auto found = cache_.find(key); found != cache_.end()) return found->second;
  if (cache_.size() >= kMaxCachedColours) cache_.clear();
  return cache_[key] = NearestPaletteIndex(red, green, blue);
}

void PaletteMatcher::Convert(TPicture& picture) {
  if (picture.Depth != TPictureDepth::Rgb24) return;
  TPicture indexed(picture.Width, picture.Height, TPictureDepth::Indexed8);
  const std::size_t count = indexed.Pixels.size();
  const std::uint8_t* source = picture.Pixels.data();
  // Frames are mostly runs of one colour: the previous answer is reused
  // without a lookup.
  std::uint32_t lastKey = UINT32_MAX;
  std::uint8_t lastIndex = 0;
  for (std::size_t i = 0; i < count; ++i, source += 3) {
    const std::uint32_t key = (std::uint32_t{source[0]} << 16) | (std::uint32_t{source[1]} << 8) | source[2];
    if (key != lastKey) {
      lastIndex = Nearest(source[0], source[1], source[2]);
      lastKey = key;
    }
    indexed.Pixels[i] = lastIndex;
  }
  picture = std::move(indexed);
}

int GifDelayFromMilliseconds(int milliseconds) {
  if (milliseconds <= 0) return 0;
  int hundredths = milliseconds / 10;
  const int rest = milliseconds % 10;
  if (rest > 5 || (rest == 5 && hundredths % 2 == 1)) ++hundredths;
  return std::min(hundredths, 65535);
}

namespace {

TGifExportResult Export(const TPatchFrame& shape, const TGifExportOptions& requested,
                        const std::string& fileName, UserInterface& ui, const ProgressReporter& reporter) {
  TGifExportOptions options = requested;
  options.BaseFrameDelay = ClampToLimits(options.BaseFrameDelay, kMinBaseFrameDelay, kMaxBaseFrameDelay);
  options.MaxSteps = ClampToLimits(options.MaxSteps, kMinMaxSteps, kMaxMaxSteps);

  if (shape.Frames.empty()) {
    Show(ui, TMsgId::GifNoFrames);
    return {};
  }
  if (options.KitterspeakMode && shape.Script.empty()) {
    Show(ui, TMsgId::GifNoSteps);
    return {};
  }
  TGifCanvasGeometry geometry = ComputeCanvasGeometry(shape, options);
  CoverPlayedPositions(shape, options, geometry);

  // The logical screen comes first in the file but must contain every frame
  // written, so a first playback measures the frames before anything is
  // written; it also lets a refusal leave no file behind.
  TCanvasSize screen{std::max(geometry.ScreenWidth, 1), std::max(geometry.ScreenHeight, 1)};
  int frames = 0;
  if (options.Remapped) LoadColourMap();
  // For the smallest file, the same pass finds the palette entries the frames
  // use, the only ones its colour table needs.
  std::array<bool, 256> used{};
  {
    FrameProducer producer(shape, options, geometry, ui);
    PaletteMatcher matcher;
    TProducedFrame frame;
    while (producer.Next(frame)) {
      ToGamePalette(frame.Bitmap, options, matcher);
      if (options.Optimize) {
        for (std::uint8_t index : frame.Bitmap.Pixels) used[index] = true;
      }
      const TCanvasSize size = ImageSize(frame, options, geometry);
      if (TooLarge(size)) {
        Show(ui, TMsgId::GifPictureTooLarge,
             {std::to_string(frames + 1), std::to_string(size.Width), std::to_string(size.Height)});
        return {};
      }
      screen.Width = std::max(screen.Width, size.Width);
      screen.Height = std::max(screen.Height, size.Height);
      ++frames;
      reporter.Report(TGifExportPhase::Measuring, frames, 0);
    }
  }
  if (frames == 0) {
    Show(ui, TMsgId::GifNothingShown);
    return {};
  }
  AtomicFileWriter out(fileName);
  const std::size_t screenPixels =
      static_cast<std::size_t>(screen.Width) * static_cast<std::size_t>(screen.Height);
  const bool crop = options.Optimize && screenPixels <= kMaxCroppedScreenPixels;
  const TGifColourTable table = options.Optimize ? MakeGifColourTable(used) : FullPaletteTable();
  const std::string_view comment = options.Optimize ? kGifRenumberedComment : kGifComment;
  GifAnimationWriter gif(&out, fileName, screen.Width, screen.Height, table, comment);
  ShownFrames shown(shape, options, geometry);
  if (crop) {
    WriteCropped(gif, shown, frames, screen, table, options.Transparent, reporter);
  } else {
    TShownFrame frame;
    while (gif.Frames() < frames && shown.Next(frame)) {
      gif.AddGifFrame(frame.Picture, options.Transparent, frame.Delay);
      reporter.Report(TGifExportPhase::Writing, gif.Frames(), frames);
    }
  }
  if (gif.Frames() != frames) throw std::logic_error("the second playback of a GIF export differed");
  gif.Close();
  out.Commit();
  return {true, frames};
}

}  // namespace

TGifExportResult ExportAnimatedGif(const TPatchFrame& shape, const TGifExportOptions& options,
                                   const std::string& fileName, UserInterface& ui,
                                   const TGifProgress& progress) {
  try {
    return Export(shape, options, fileName, ui, ProgressReporter(progress));
  } catch (const TExportAbandoned&) {
    return {.Abandoned = true};
  }
}

}  // namespace quillmere
