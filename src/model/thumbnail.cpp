#include "model/thumbnail.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "model/frame_decoding.h"

namespace quillmere {
namespace {

// Truncation toward zero of a non-negative extent; anything that is not a
// positive number gives 0 and huge values stop at INT_MAX instead of
// overflowing the conversion.
int TruncExtent(long double value) {
  if (!(value > 0)) return 0;
  if (value >= static_cast<long double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(value);
}

void Fill(TPicture& picture, TRGB colour) {
  for (std::size_t i = 0; i + 2 < picture.Pixels.size(); i += 3) {
    picture.Pixels[i] = colour.Red;
    picture.Pixels[i + 1] = colour.Green;
    picture.Pixels[i + 2] = colour.Blue;
  }
}

TRGB PixelColour(const TPicture& picture, int x, int y) {
  const std::uint8_t* p = picture.Row(y) + static_cast<std::size_t>(x) * picture.BytesPerPixel();
  if (picture.Depth == TPictureDepth::Indexed8) return ShapePalette()[*p];
  return TRGB{p[0], p[1], p[2]};
}

// Mixes `source` over `target` with weight alpha x opacity out of 255 x 255,
// rounded once, so the opacity adds no rounding of its own.
std::uint8_t Blend(std::uint8_t source, std::uint8_t target, unsigned weight) {
  constexpr unsigned kFull = 255 * 255;
  return static_cast<std::uint8_t>((source * weight + target * (kFull - weight) + kFull / 2) / kFull);
}

}  // namespace

TThumbnailFit FitThumbnail(int width, int height, int cellWidth, int cellHeight) {
  const int w = std::max(width, 0);
  const int h = std::max(height, 0);
  const int rw = std::max(cellWidth, 0);
  const int rh = std::max(cellHeight, 0);
  TThumbnailFit fit;
  if (w <= rw && h <= rh) {
    fit.Width = w;
    fit.Height = h;
  } else if (h == 0) {
    // The ratio would be infinite; the line of height 0 only narrows.
    fit.Width = rw;
  } else {
    const double r = static_cast<double>(w) / static_cast<double>(h);
    const long double ratio = r;
    if (h >= w) {
      fit.Height = rh;
      fit.Width = TruncExtent(rh * ratio);
      if (fit.Width > rw) {
        fit.Width = rw;
        fit.Height = TruncExtent(rw / ratio);
      }
    } else {
      fit.Width = rw;
      fit.Height = TruncExtent(rw / ratio);
      if (fit.Height > rh) {
        fit.Height = rh;
        fit.Width = TruncExtent(rh * ratio);
      }
    }
  }
  fit.Left = rw / 2 - fit.Width / 2;
  fit.Top = rh / 2 - fit.Height / 2;
  return fit;
}

TPicture RenderThumbnail(const TPatchSubFrame* frame, const TThumbnailCell& cell, UserInterface& ui) {
  TPicture out(std::max(cell.Width, 0), std::max(cell.Height, 0), TPictureDepth::Rgb24);
  Fill(out, cell.Selected ? cell.Highlight : cell.Background);
  if (frame == nullptr || out.Empty()) return out;

  // A decoded picture always has the frame's size, so the fit is known before
  // decoding and only the pixels the thumbnail shows are decoded.
  const TThumbnailFit fit = FitThumbnail(frame->Width, frame->Height, out.Width, out.Height);
  const TDecodedFrame decoded = DecodeFrameSampled(*frame, fit.Width, fit.Height, ui);
  if (!decoded.Picture || fit.Width <= 0) return out;
  const TPicture& image = *decoded.Picture;

  const bool keyed = frame->Format == kFormatIndexed || frame->Format == kFormatColour;
  const TRGB key = frame->Format == kFormatIndexed ? ShapePalette()[0] : TRGB{};
  // Without an alpha plane (an undecodable encoding) the picture is opaque,
  // so its "UNSUPPORTED" mark stays visible.
  const bool hasAlpha = !keyed && decoded.Alpha && decoded.Alpha->Width == image.Width &&
                        decoded.Alpha->Height == image.Height &&
                        decoded.Alpha->Depth == TPictureDepth::Indexed8;
  const TPicture* alpha = hasAlpha ? &*decoded.Alpha : nullptr;

  for (int ty = 0; ty < fit.Height; ++ty) {
    const int y = fit.Top + ty;
    if (y < 0 || y >= out.Height) continue;
    const int sy = ty;  // the decoder has already sampled the picture down to the fit
    std::uint8_t* row = out.Row(y);
    for (int tx = 0; tx < fit.Width; ++tx) {
      const int x = fit.Left + tx;
      if (x < 0 || x >= out.Width) continue;
      const int sx = tx;
      const TRGB colour = PixelColour(image, sx, sy);
      unsigned pixelAlpha = 255;
      if (keyed) {
        pixelAlpha = colour == key ? 0 : 255;
      } else if (alpha != nullptr) {
        pixelAlpha = alpha->Row(sy)[sx];
      }
      const unsigned weight = pixelAlpha * frame->Opacity;
      std::uint8_t* p = row + static_cast<std::size_t>(x) * 3;
      p[0] = Blend(colour.Red, p[0], weight);
      p[1] = Blend(colour.Green, p[1], weight);
      p[2] = Blend(colour.Blue, p[2], weight);
    }
  }

  if (cell.MarkAnimated) DrawText(out, 3, out.Height - TextHeight() - 3, "ANI", 0, 0, 0, 0, true);
  return out;
}

TPicture RenderShapeCell(const TPatchFrame& shape, TThumbnailCell cell, UserInterface& ui) {
  cell.MarkAnimated = shape.Frames.size() > 1;
  return RenderThumbnail(shape.Frames.empty() ? nullptr : &shape.Frames[0], cell, ui);
}

TPicture RenderFrameCell(const TPatchFrame& shape, std::size_t frameIndex, TThumbnailCell cell,
                         UserInterface& ui) {
  cell.MarkAnimated = false;
  return RenderThumbnail(frameIndex < shape.Frames.size() ? &shape.Frames[frameIndex] : nullptr, cell, ui);
}

void DrawLargeHighlight(TPicture& cell, TRGB colour) {
  if (cell.Depth != TPictureDepth::Rgb24) return;
  constexpr int kPen = 3;
  for (int y = 0; y < cell.Height; ++y) {
    std::uint8_t* row = cell.Row(y);
    const bool edgeRow = y < kPen || y >= cell.Height - kPen;
    for (int x = 0; x < cell.Width; ++x) {
      if (!edgeRow && x >= kPen && x < cell.Width - kPen) continue;
      row[x * 3] = colour.Red;
      row[x * 3 + 1] = colour.Green;
      row[x * 3 + 2] = colour.Blue;
    }
  }
}

}  // namespace quillmere
