#include "model/frame_decoding.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <future>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "interface/platform_error.h"
#include "interface/user_interface.h"
#include "model/bitmap_font.h"
#include "model/png_plane.h"
#include "model/shape_palette.h"

namespace quillmere {
namespace {

std::size_t Remaining(const ByteBuffer& payload, std::size_t position) {
  return position < payload.size() ? payload.size() - position : 0;
}

// Empty rows (a frame 0 pixels wide) have no memory to touch at all.
void PutIndexedRow(const std::uint8_t* in, std::size_t count, std::uint8_t* out, std::size_t rowBytes) {
  if (count > 0) std::memcpy(out, in, count);
  if (rowBytes > count) std::memset(out + count, 0, rowBytes - count);
}

// Stored blue, green, red becomes red, green, blue. A pixel cut short by the
// end of the payload keeps the channels it has.
void PutColourRow(const std::uint8_t* __restrict in, std::size_t count, std::uint8_t* __restrict out,
                  std::size_t rowBytes) {
  std::size_t i = 0;
  for (; i + 3 <= count; i += 3) {
    out[i] = in[i + 2];
    out[i + 1] = in[i + 1];
    out[i + 2] = in[i];
  }
  if (rowBytes > i) std::memset(out + i, 0, rowBytes - i);
  for (std::size_t k = 0; i + k < count; ++k) out[i + 2 - k] = in[i + k];
}

// Stored rows run bottom to top, so stored row s is picture row Height-1-s.
template <typename PutRow>
void ReadRawPlane(const ByteBuffer& payload, std::size_t& position, TPicture& target, PutRow put) {
  if (target.Empty()) return;
  const std::size_t rowBytes = target.RowBytes();
  for (int stored = 0; stored < target.Height; ++stored) {
    const std::size_t count = std::min(rowBytes, Remaining(payload, position));
    put(payload.data() + (count > 0 ? position : 0), count, target.Row(target.Height - 1 - stored), rowBytes);
    position += count;
  }
}

std::optional<TPictureDepth> DepthOf(std::int32_t format) {
  switch (format) {
    case kFormatIndexed:
      return TPictureDepth::Indexed8;
    case kFormatColour:
    case kFormatColourAlpha:
    case kFormatColourAlpha7:
      return TPictureDepth::Rgb24;
    default:
      return std::nullopt;
  }
}

bool HasAlphaPlane(std::int32_t format) {
  return format == kFormatColourAlpha || format == kFormatColourAlpha7;
}

bool Decodable(std::uint8_t encoding) { return encoding == kEncodingRaw || encoding == kEncodingPNG; }

// A damaged file may announce a huge frame backed by a few bytes; refusing it
// before anything is allocated keeps a bad file from exhausting memory.
bool TooLarge(const TPatchSubFrame& frame, UserInterface& ui) {
  if (static_cast<std::size_t>(frame.Width) * frame.Height <= kMaxDecodedPixels) return false;
  ui.DebugOutput("Frame too large to decode (" + std::to_string(frame.Width) + " x " +
                 std::to_string(frame.Height) + " pixels)");
  return true;
}

void ReadPlane(const TPatchSubFrame& frame, std::size_t& position, TPicture& target) {
  if (frame.Encoding == kEncodingPNG) {
    ReadPNGPicture(frame.Pixels, position, target);
  } else if (target.Depth == TPictureDepth::Indexed8) {
    ReadIndexedPlane(frame.Pixels, position, target);
  } else {
    ReadColourPlane(frame.Pixels, position, target);
  }
}

// What a frame with an encoding this program can't decode shows: its size,
// white, with black "UNSUPPORTED" on it, so the user sees which frame it is.
constexpr std::string_view kUnsupportedMark = "UNSUPPORTED";
constexpr int kUnsupportedMarkTop = 10;
constexpr std::uint8_t kUnsupportedWhite = 255;  // palette index 255 or full channels

TPicture UnsupportedPicture(int width, int height, TPictureDepth depth) {
  static const std::uint8_t kBlackIndex = NearestPaletteIndex(0, 0, 0);
  TPicture picture(width, height, depth);
  std::fill(picture.Pixels.begin(), picture.Pixels.end(), kUnsupportedWhite);
  DrawText(picture, 0, kUnsupportedMarkTop, kUnsupportedMark, kBlackIndex, 0, 0, 0);
  return picture;
}

TPicture UnsupportedPicture(const TPatchSubFrame& frame, TPictureDepth depth) {
  return UnsupportedPicture(frame.Width, frame.Height, depth);
}

// The frame's picture from its first plane, `position` left after that
// plane; none for an unknown format or a frame too large to decode.
std::optional<TPicture> MainPicture(const TPatchSubFrame& frame, std::size_t& position, UserInterface& ui) {
  const std::optional<TPictureDepth> depth = DepthOf(frame.Format);
  if (!depth) {
    ui.DebugOutput("Unsupported Frame Format");
    return std::nullopt;
  }
  if (TooLarge(frame, ui)) return std::nullopt;
  if (!Decodable(frame.Encoding)) return UnsupportedPicture(frame, *depth);
  TPicture picture(frame.Width, frame.Height, *depth);
  ReadPlane(frame, position, picture);
  return picture;
}

void Plot(TPicture& picture, long long x, long long y, std::uint8_t index, std::uint8_t red,
          std::uint8_t green, std::uint8_t blue) {
  if (x < 0 || y < 0 || x >= picture.Width || y >= picture.Height) return;
  std::uint8_t* row = picture.Row(static_cast<int>(y));
  if (picture.Depth == TPictureDepth::Indexed8) {
    row[x] = index;
  } else {
    row[x * 3] = red;
    row[x * 3 + 1] = green;
    row[x * 3 + 2] = blue;
  }
}

}  // namespace

void ReadIndexedPlane(const ByteBuffer& payload, std::size_t& position, TPicture& target) {
  ReadRawPlane(payload, position, target, PutIndexedRow);
}

void ReadColourPlane(const ByteBuffer& payload, std::size_t& position, TPicture& target) {
  ReadRawPlane(payload, position, target, PutColourRow);
}

void ReadPNGPicture(const ByteBuffer& payload, std::size_t& position, TPicture& target) {
  if (target.Width < 0 || target.Height < 0 || target.Width > 0xFFFF || target.Height > 0xFFFF) {
    throw ReadError("Cannot load image. The picture is larger than a frame can be.");
  }
  // The PNG holds the plane in its stored layout, so each decoded row is
  // placed exactly as a raw stored row would be, with no plane in between.
  struct TTarget {
    TPicture* Picture;
    void (*Put)(const std::uint8_t*, std::size_t, std::uint8_t*, std::size_t);
  } sink{&target, target.Depth == TPictureDepth::Indexed8 ? PutIndexedRow : PutColourRow};
  DecodePNGRows(
      payload, position, static_cast<std::uint16_t>(target.Width), static_cast<std::uint16_t>(target.Height),
      target.BytesPerPixel(),
      [](void* context, std::uint32_t index, const std::uint8_t* row, std::size_t count) {
        auto* t = static_cast<TTarget*>(context);
        t->Put(row, count, t->Picture->Row(t->Picture->Height - 1 - static_cast<int>(index)), t->Picture->RowBytes());
      },
      &sink);
}

TDecodedFrame DecodeFrame(const TPatchSubFrame& frame, UserInterface& ui) {
  TDecodedFrame decoded;
  std::size_t position = 0;
  const bool fits = static_cast<std::size_t>(frame.Width) * frame.Height <= kMaxDecodedPixels;
  if (HasAlphaPlane(frame.Format) && frame.Encoding == kEncodingPNG && fits) {
    // Inflating a large PNG dominates a repaint. The alpha stream starts where
    // the colour stream's chunks end, so the two planes decode side by side.
    TPicture alpha(frame.Width, frame.Height, TPictureDepth::Indexed8);
    std::size_t alphaStart = PNGStreamEnd(frame.Pixels, 0);
    auto alphaJob = std::async(std::launch::async, [&] { ReadPNGPicture(frame.Pixels, alphaStart, alpha); });
    decoded.Picture = MainPicture(frame, position, ui);
    alphaJob.get();
    decoded.Alpha = std::move(alpha);
    return decoded;
  }
  decoded.Picture = MainPicture(frame, position, ui);
  // An undecodable encoding gets no alpha plane, so its mark is drawn opaque.
  if (decoded.Picture && HasAlphaPlane(frame.Format) && Decodable(frame.Encoding)) {
    decoded.Alpha = TPicture(frame.Width, frame.Height, TPictureDepth::Indexed8);
    ReadPlane(frame, position, *decoded.Alpha);
  }
  return decoded;
}

namespace {

// Which source pixel each target pixel takes.
struct TSampling {
  std::vector<int> Columns;    // target column -> source column
  std::vector<int> TargetRow;  // source picture row -> target row, or -1
  std::vector<int> SourceRow;  // target row -> source picture row
};

TSampling MakeSampling(int sourceWidth, int sourceHeight, int width, int height) {
  TSampling sampling;
  sampling.TargetRow.assign(static_cast<std::size_t>(sourceHeight), -1);
  for (int x = 0; x < width; ++x) {
    sampling.Columns.push_back(static_cast<int>(static_cast<std::int64_t>(x) * sourceWidth / width));
  }
  for (int y = 0; y < height; ++y) {
    const int row = static_cast<int>(static_cast<std::int64_t>(y) * sourceHeight / height);
    sampling.SourceRow.push_back(row);
    sampling.TargetRow[static_cast<std::size_t>(row)] = y;
  }
  return sampling;
}

// Places the sampled pixels of one decoded source row (stored byte order:
// blue, green, red for colour; `count` bytes present) into target row `y`.
void PlaceSampledRow(const std::uint8_t* in, std::size_t count, const TSampling& sampling, TPicture& target,
                     int y) {
  std::uint8_t* out = target.Row(y);
  const std::size_t bpp = static_cast<std::size_t>(target.BytesPerPixel());
  for (std::size_t x = 0; x < sampling.Columns.size(); ++x) {
    const std::size_t at = static_cast<std::size_t>(sampling.Columns[x]) * bpp;
    for (std::size_t k = 0; k < bpp && at + k < count; ++k) out[x * bpp + (bpp - 1 - k)] = in[at + k];
  }
}

// A raw plane sampled where it stands in the payload; the position moves past
// the whole plane as ReadIndexedPlane and ReadColourPlane would move it.
void SampleRawPlane(const ByteBuffer& payload, std::size_t& position, int sourceWidth, int sourceHeight,
                    const TSampling& sampling, TPicture& target) {
  const std::size_t rowBytes = static_cast<std::size_t>(sourceWidth) * static_cast<std::size_t>(target.BytesPerPixel());
  for (int y = 0; y < target.Height; ++y) {
    const std::size_t stored = static_cast<std::size_t>(sourceHeight - 1 - sampling.SourceRow[static_cast<std::size_t>(y)]);
    const std::size_t start = position + stored * rowBytes;
    if (start >= payload.size()) continue;
    PlaceSampledRow(payload.data() + start, std::min(rowBytes, payload.size() - start), sampling, target, y);
  }
  position = std::min(payload.size(), position + rowBytes * static_cast<std::size_t>(sourceHeight));
}

void SamplePNGPlane(const ByteBuffer& payload, std::size_t& position, int sourceWidth, int sourceHeight,
                    const TSampling& sampling, TPicture& target) {
  struct TSink {
    const TSampling* Sampling;
    TPicture* Target;
    int SourceHeight;
  } sink{&sampling, &target, sourceHeight};
  DecodePNGRows(
      payload, position, static_cast<std::uint16_t>(sourceWidth), static_cast<std::uint16_t>(sourceHeight),
      target.BytesPerPixel(),
      [](void* context, std::uint32_t index, const std::uint8_t* row, std::size_t count) {
        auto* s = static_cast<TSink*>(context);
        const int y = s->Sampling->TargetRow[static_cast<std::size_t>(s->SourceHeight - 1 - static_cast<int>(index))];
        if (y >= 0) PlaceSampledRow(row, count, *s->Sampling, *s->Target, y);
      },
      &sink);
}

void SamplePlane(const TPatchSubFrame& frame, std::size_t& position, const TSampling& sampling, TPicture& target) {
  if (frame.Encoding == kEncodingPNG) {
    SamplePNGPlane(frame.Pixels, position, frame.Width, frame.Height, sampling, target);
  } else {
    SampleRawPlane(frame.Pixels, position, frame.Width, frame.Height, sampling, target);
  }
}

// The "UNSUPPORTED" picture shrunk to width x height, drawing only the
// corner that carries the mark: the rest is white, so a huge frame costs what
// its thumbnail shows rather than its own size.
TPicture SampleUnsupportedPicture(const TPatchSubFrame& frame, TPictureDepth depth, int width, int height) {
  constexpr int kMarkWidth = static_cast<int>(kUnsupportedMark.size()) * kGlyphAdvance;
  constexpr int kMarkHeight = kUnsupportedMarkTop + kGlyphHeight;
  const TPicture mark = UnsupportedPicture(std::min<int>(frame.Width, kMarkWidth),
                                           std::min<int>(frame.Height, kMarkHeight), depth);
  TPicture target(width, height, depth);
  std::fill(target.Pixels.begin(), target.Pixels.end(), kUnsupportedWhite);
  const TSampling sampling = MakeSampling(frame.Width, frame.Height, width, height);
  const std::size_t bpp = static_cast<std::size_t>(target.BytesPerPixel());
  for (int y = 0; y < height; ++y) {
    const int sourceRow = sampling.SourceRow[static_cast<std::size_t>(y)];
    if (sourceRow >= mark.Height) continue;
    for (std::size_t x = 0; x < sampling.Columns.size(); ++x) {
      const int sourceColumn = sampling.Columns[x];
      if (sourceColumn >= mark.Width) break;
      std::memcpy(target.Row(y) + x * bpp, mark.Row(sourceRow) + static_cast<std::size_t>(sourceColumn) * bpp, bpp);
    }
  }
  return target;
}

}  // namespace

TDecodedFrame DecodeFrameSampled(const TPatchSubFrame& frame, int width, int height, UserInterface& ui) {
  width = std::clamp(width, 0, static_cast<int>(frame.Width));
  height = std::clamp(height, 0, static_cast<int>(frame.Height));
  TDecodedFrame decoded;
  const std::optional<TPictureDepth> depth = DepthOf(frame.Format);
  if (!depth) {
    ui.DebugOutput("Unsupported Frame Format");
    return decoded;
  }
  if (TooLarge(frame, ui)) return decoded;
  if (!Decodable(frame.Encoding)) {
    decoded.Picture = SampleUnsupportedPicture(frame, *depth, width, height);
    return decoded;
  }
  decoded.Picture = TPicture(width, height, *depth);
  if (HasAlphaPlane(frame.Format)) decoded.Alpha = TPicture(width, height, TPictureDepth::Indexed8);
  if (width == 0 || height == 0) return decoded;
  const TSampling sampling = MakeSampling(frame.Width, frame.Height, width, height);
  std::size_t position = 0;
  if (decoded.Alpha && frame.Encoding == kEncodingPNG) {
    // As in DecodeFrame: the two PNG planes inflate side by side.
    std::size_t alphaStart = PNGStreamEnd(frame.Pixels, 0);
    auto alphaJob = std::async(std::launch::async, [&] {
      SamplePNGPlane(frame.Pixels, alphaStart, frame.Width, frame.Height, sampling, *decoded.Alpha);
    });
    SamplePlane(frame, position, sampling, *decoded.Picture);
    alphaJob.get();
    return decoded;
  }
  SamplePlane(frame, position, sampling, *decoded.Picture);
  if (decoded.Alpha) SamplePlane(frame, position, sampling, *decoded.Alpha);
  return decoded;
}

TPicture FrameToBitmap(const TPatchSubFrame& frame, UserInterface& ui) {
  std::size_t position = 0;
  std::optional<TPicture> picture = MainPicture(frame, position, ui);
  return picture ? std::move(*picture) : TPicture();
}

void DrawText(TPicture& picture, int x, int y, std::string_view text, std::uint8_t index, std::uint8_t red,
              std::uint8_t green, std::uint8_t blue, bool bold) {
  const int strokes = bold ? 2 : 1;
  long long left = x;
  for (char c : text) {
    if (left >= picture.Width) break;
    const TGlyph& glyph = GlyphOf(c);
    for (int row = 0; row < kGlyphHeight; ++row) {
      for (int column = 0; column < kGlyphWidth; ++column) {
        if ((glyph[static_cast<std::size_t>(row)] & (0x10 >> column)) == 0) continue;
        for (int s = 0; s < strokes; ++s)
          Plot(picture, left + column + s, static_cast<long long>(y) + row, index, red, green, blue);
      }
    }
    left += kGlyphAdvance;
  }
}

int TextHeight() { return kGlyphHeight; }

int TextWidth(std::string_view text, bool bold) {
  if (text.empty()) return 0;
  const std::size_t glyphs =
      std::min<std::size_t>(text.size(), std::numeric_limits<int>::max() / kGlyphAdvance - 1);
  return static_cast<int>(glyphs) * kGlyphAdvance - (kGlyphAdvance - kGlyphWidth) + (bold ? 1 : 0);
}

}  // namespace quillmere
