#include "export/gif_frame_planner.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <span>
#include <stdexcept>

namespace quillmere {

namespace {

// A viewer's pixel: a colour-table index, or the background.
constexpr std::uint16_t kBackground = 256;

struct TRect {
  int Left = INT_MAX;
  int Top = INT_MAX;
  int Right = INT_MIN;  // exclusive
  int Bottom = INT_MIN;

  bool Empty() const { return Left >= Right || Top >= Bottom; }
  long long Area() const { return Empty() ? 0 : static_cast<long long>(Right - Left) * (Bottom - Top); }
  void Add(int x, int y) {
    Left = std::min(Left, x);
    Top = std::min(Top, y);
    Right = std::max(Right, x + 1);
    Bottom = std::max(Bottom, y + 1);
  }
  void Add(const TRect& other) {
    if (other.Empty()) return;
    Add(other.Left, other.Top);
    Add(other.Right - 1, other.Bottom - 1);
  }
  bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
};

// One row of a frame as a viewer shows it.
class ShownRow {
 public:
  ShownRow(const TPicture* picture, int y, const std::array<std::uint16_t, 256>& map) : map_(map) {
    if (picture != nullptr && y < picture->Height)
      pixels_ = {picture->Row(y), static_cast<std::size_t>(picture->Width)};
  }
  std::uint16_t operator[](int x) const {
    return static_cast<std::size_t>(x) < pixels_.size() ? map_[pixels_[static_cast<std::size_t>(x)]]
                                                        : kBackground;
  }

 private:
  std::span<const std::uint8_t> pixels_;
  const std::array<std::uint16_t, 256>& map_;
};

// What the image of one frame must do, found in one pass over the screen.
struct TFrameChanges {
  TRect Changed;           // pixels the image must paint
  TRect TurningBack;       // shown now, background in the next frame
  TRect NextAfterKeep;     // what the next image paints if this one is kept
  TRect NextAfterRestore;  // ... if this one is restored to what was under it
  bool RestoreValid = true;
};

// How an image is disposed of and the rectangle it covers, with the area it
// and the next image cover.
struct TChoice {
  int Disposal = 1;
  TRect Rect;
  long long Cost = LLONG_MAX;
};

// A frame as a viewer shows it, row by row, in colour-table indices.
class ShownFrame {
 public:
  ShownFrame(const TPicture* picture, const std::array<std::uint16_t, 256>& map)
      : picture_(picture), map_(map) {}
  ShownRow Row(int y) const { return ShownRow(picture_, y, map_); }

 private:
  const TPicture* picture_;
  const std::array<std::uint16_t, 256>& map_;
};

// One pass over the screen (`held`: what the viewer holds before the image).
TFrameChanges Survey(const std::vector<std::uint16_t>& held, int width, int height, const ShownFrame& now,
                     const ShownFrame* next) {
  TFrameChanges changes;
  for (int y = 0; y < height; ++y) {
    const ShownRow wanted = now.Row(y);
    const std::optional<ShownRow> after = next ? std::optional(next->Row(y)) : std::nullopt;
    const std::uint16_t* row = held.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    for (int x = 0; x < width; ++x) {
      const std::uint16_t have = row[x], want = wanted[x];
      if (have != want) {
        // Earlier disposals uncover the background wherever it is wanted.
        if (want == kBackground) throw std::logic_error("a GIF frame would have to paint the background");
        changes.Changed.Add(x, y);
      }
      if (!after) continue;
      const std::uint16_t then = (*after)[x];
      if (want != then) {
        changes.NextAfterKeep.Add(x, y);
        if (then == kBackground) changes.TurningBack.Add(x, y);
      }
      if (have != then) {
        changes.NextAfterRestore.Add(x, y);
        if (then == kBackground) changes.RestoreValid = false;
      }
    }
  }
  return changes;
}

// What the next image paints if this one restores `cleared` to the
// background.
TRect NextAfterClearing(const TRect& cleared, int width, int height, const ShownFrame& now,
                        const ShownFrame& next) {
  TRect paints;
  for (int y = 0; y < height; ++y) {
    const ShownRow wanted = now.Row(y), after = next.Row(y);
    for (int x = 0; x < width; ++x) {
      if ((cleared.Contains(x, y) ? kBackground : wanted[x]) != after[x]) paints.Add(x, y);
    }
  }
  return paints;
}

}  // namespace

GifFramePlanner::GifFramePlanner(int screenWidth, int screenHeight, bool transparent,
                                 const TGifColourTable& table)
    : width_(std::max(screenWidth, 1)),
      height_(std::max(screenHeight, 1)),
      transparent_(transparent),
      fitter_(table.Bits),
      tableSize_(static_cast<int>(table.Colours.size())),
      spare_(table.Entries < tableSize_ ? table.Entries : -1),
      screen_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), kBackground) {
  for (std::size_t i = 0; i < map_.size(); ++i) map_[i] = table.Index[i];
  if (transparent_) map_[0] = kBackground;
}

TGifFramePlan GifFramePlanner::Plan(const TPicture& shown, const TPicture* next) {
  if (shown.Depth != TPictureDepth::Indexed8 || shown.Width > width_ || shown.Height > height_ ||
      (next != nullptr &&
       (next->Depth != TPictureDepth::Indexed8 || next->Width > width_ || next->Height > height_)))
    throw std::invalid_argument("GifFramePlanner needs indexed frames within the screen");
  const ShownFrame now(&shown, map_), after(next, map_);
  const TFrameChanges changes = Survey(screen_, width_, height_, now, next ? &after : nullptr);

  TChoice best;
  const auto consider = [&](int disposal, const TRect& rect, const TRect& nextRect) {
    const long long cost = rect.Area() + nextRect.Area();
    if (cost < best.Cost) best = {disposal, rect, cost};
  };
  // An image has at least one pixel; an unchanged frame repaints (0, 0).
  const TRect changed = changes.Changed.Empty() ? TRect{0, 0, 1, 1} : changes.Changed;
  if (changes.TurningBack.Empty()) consider(1, changed, changes.NextAfterKeep);
  if (next != nullptr) {
    TRect cleared = changes.TurningBack.Empty() ? changed : changes.Changed;
    cleared.Add(changes.TurningBack);
    consider(2, cleared, NextAfterClearing(cleared, width_, height_, now, after));
    if (planned_ > 0 && changes.RestoreValid) consider(3, changed, changes.NextAfterRestore);
  }

  TGifFramePlan plan;
  TGifImage& image = plan.Image;
  const TRect& rect = best.Rect;
  image.Left = rect.Left;
  image.Top = rect.Top;
  image.Width = rect.Right - rect.Left;
  image.Height = rect.Bottom - rect.Top;
  image.Disposal = best.Disposal;
  AddVariants(plan, shown);

  // What the viewer holds once the image is disposed of.
  if (best.Disposal != 3) {
    for (int y = rect.Top; y < rect.Bottom; ++y) {
      const ShownRow wanted = now.Row(y);
      std::uint16_t* held = screen_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
      for (int x = rect.Left; x < rect.Right; ++x) held[x] = best.Disposal == 2 ? kBackground : wanted[x];
    }
  }
  ++planned_;
  return plan;
}

void GifFramePlanner::AddVariants(TGifFramePlan& plan, const TPicture& shown) {
  const ShownFrame now(&shown, map_);
  TGifImage& image = plan.Image;
  // Which pixels of the rectangle must be painted (kBackground: those that
  // may be left as they are) and which colours they take.
  const std::size_t area = static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height);
  std::vector<std::uint16_t> painted(area, kBackground);
  std::array<bool, 256> paints{};
  for (int y = image.Top, i = 0; y < image.Top + image.Height; ++y) {
    const ShownRow wanted = now.Row(y);
    const std::uint16_t* held =
        screen_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    for (int x = image.Left; x < image.Left + image.Width; ++x, ++i) {
      if (held[x] == wanted[x]) continue;
      painted[static_cast<std::size_t>(i)] = wanted[x];
      paints[wanted[x]] = true;
    }
  }

  if (transparent_) {
    image.TransparentIndex = 0;
  } else if (planned_ > 0 && image.Disposal != 2) {
    // Only an index the table has: giflib masks the others to one it has.
    const auto free = std::find(paints.begin(), paints.begin() + tableSize_, false);
    if (spare_ >= 0) {
      image.TransparentIndex = spare_;
    } else if (free != paints.begin() + tableSize_) {
      image.TransparentIndex = static_cast<int>(free - paints.begin());
    }
  }

  // Pixels left as they are written as their colour, as transparent, or
  // whichever continues the run before them; then the LZW coder's choice,
  // leaning either way.
  enum { kColour, kTransparent, kRuns };
  const int variants = image.TransparentIndex < 0 ? 1 : 3;
  for (int variant = 0; variant < variants; ++variant) {
    std::vector<std::uint8_t>& pixels = plan.Variants.emplace_back(area);
    int last = -1;
    for (int y = image.Top, i = 0; y < image.Top + image.Height; ++y) {
      const ShownRow wanted = now.Row(y);
      for (int x = image.Left; x < image.Left + image.Width; ++x, ++i) {
        const std::uint16_t paint = painted[static_cast<std::size_t>(i)], colour = wanted[x];
        int value = paint;
        if (paint == kBackground) {
          const bool keepColour =
              colour != kBackground && (variant == kColour || (variant == kRuns && last == colour));
          if (keepColour) {
            value = colour;
          } else if (image.TransparentIndex >= 0) {
            value = image.TransparentIndex;
          } else {
            throw std::logic_error("a GIF frame leaves the background without a transparent index");
          }
        }
        pixels[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value);
        last = value;
      }
    }
  }
  if (variants == 1 || plan.Variants[kTransparent] == plan.Variants[kColour]) {
    plan.Variants.resize(1);
    return;
  }
  std::vector<bool> free(area);
  for (std::size_t i = 0; i < area; ++i)
    free[i] = plan.Variants[kColour][i] != plan.Variants[kTransparent][i];
  for (const bool preferTransparent : {false, true}) {
    plan.Variants.push_back(plan.Variants[kColour]);
    fitter_.Fit(plan.Variants.back(), free, static_cast<std::uint8_t>(image.TransparentIndex),
                preferTransparent);
  }
}

}  // namespace quillmere
