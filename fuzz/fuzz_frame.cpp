// One frame's payload decoded every way the program shows it: the full
// decoding (bitmap export, playback), the sampled one (thumbnails), a grid
// cell and the frame's bitmap files. The sampled decoding must give exactly
// the full decoding's pixels at the sampled places.
//
// Input: format (16 bits), width, height (16 bits each, little-endian),
// opacity, encoding, then the payload, as a FOX frame record holds them.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "export/bitmap_export.h"
#include "fuzz_support.h"
#include "interface/platform_error.h"
#include "interface/scripted_user_interface.h"
#include "model/frame_decoding.h"
#include "model/thumbnail.h"

namespace {

using namespace quillmere;

// Frames beyond this many pixels are not run: a raw frame's missing bytes
// read as 0, so a few input bytes can ask for the decoder's own limit of
// 64 Mi pixels, and every such input would decode, sample, paint and write a
// bitmap of that size without reaching code a smaller frame does not. 256 x
// 256 is as large as the game's frames come.
constexpr std::size_t kMaxFuzzPixels = 1u << 16;

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

// The full decoding's pixels at the places the sampled decoding takes them.
TPicture Sample(const TPicture& full, int width, int height) {
  TPicture sampled(width, height, full.Depth);
  const std::size_t bpp = static_cast<std::size_t>(full.BytesPerPixel());
  for (int y = 0; y < height; ++y) {
    const int sy = static_cast<int>(static_cast<long long>(y) * full.Height / height);
    for (int x = 0; x < width; ++x) {
      const int sx = static_cast<int>(static_cast<long long>(x) * full.Width / width);
      for (std::size_t b = 0; b < bpp; ++b) {
        sampled.Row(y)[static_cast<std::size_t>(x) * bpp + b] = full.Row(sy)[static_cast<std::size_t>(sx) * bpp + b];
      }
    }
  }
  return sampled;
}

std::optional<TDecodedFrame> Decode(const TPatchSubFrame& frame, int width, int height, bool sampled) {
  ScriptedUserInterface ui;
  try {
    return sampled ? DecodeFrameSampled(frame, width, height, ui) : DecodeFrame(frame, ui);
  } catch (const ReadError&) {
    return std::nullopt;  // a damaged PNG plane
  }
}

void CheckSampling(const TPatchSubFrame& frame, const std::optional<TDecodedFrame>& full, int width, int height) {
  // A sample without pixels decodes nothing, so it has nothing to refuse.
  if (width == 0 || height == 0) return;
  const std::optional<TDecodedFrame> sampled = Decode(frame, width, height, true);
  fuzz::Check(full.has_value() == sampled.has_value(), "both decodings refuse a damaged plane");
  if (!full) return;
  fuzz::Check(full->Picture.has_value() == sampled->Picture.has_value(), "both decodings decode the same frames");
  fuzz::Check(full->Alpha.has_value() == sampled->Alpha.has_value(), "both decodings give an alpha plane");
  if (full->Picture) {
    fuzz::Check(*sampled->Picture == Sample(*full->Picture, width, height), "sampled pixels are the full decoding's");
  }
  if (full->Alpha) {
    fuzz::Check(*sampled->Alpha == Sample(*full->Alpha, width, height), "sampled alpha is the full decoding's");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 8) return 0;
  TPatchSubFrame frame;
  frame.Format = static_cast<std::int16_t>(U16(data));
  frame.Width = U16(data + 2);
  frame.Height = U16(data + 4);
  frame.Opacity = data[6];
  frame.Encoding = data[7];
  frame.Pixels.Edit().assign(data + 8, data + size);
  if (static_cast<std::size_t>(frame.Width) * frame.Height > kMaxFuzzPixels) return 0;

  const std::optional<TDecodedFrame> full = Decode(frame, 0, 0, false);
  if (full && full->Picture) {
    fuzz::Check(full->Picture->Width == frame.Width && full->Picture->Height == frame.Height,
                "a decoded picture has its frame's size");
    fuzz::Check(full->Picture->Pixels.size() == full->Picture->RowBytes() * frame.Height,
                "a decoded picture holds all its pixels");
  }
  // Only raw and PNG planes are decoded; other encodings show a caption.
  const bool decodable = frame.Encoding == kEncodingRaw || frame.Encoding == kEncodingPNG;
  if (decodable && frame.Width > 0 && frame.Height > 0) {
    const TThumbnailFit fit = FitThumbnail(frame.Width, frame.Height);
    CheckSampling(frame, full, fit.Width, fit.Height);
    CheckSampling(frame, full, 1, frame.Height);
  }

  ScriptedUserInterface ui;
  try {
    const TPicture cell = RenderThumbnail(&frame, TThumbnailCell{}, ui);
    fuzz::Check(cell.Width == kThumbnailSize && cell.Height == kThumbnailSize, "a cell is a cell's size");
  } catch (const ReadError&) {
  }
  try {
    FrameToBitmap(frame, ui);
  } catch (const ReadError&) {
  }
  TPatchFrame shape;
  shape.Frames.push_back(frame);
  try {
    ExportShapeBitmaps(shape, fuzz::ScratchFile("frame.bmp"), ui);
  } catch (const PlatformError&) {
  }
  return 0;
}
