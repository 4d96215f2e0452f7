#include "model/png_plane.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "interface/platform_error.h"

namespace quillmere {
namespace {

// Interlaced images must be decoded whole; beyond this they are refused
// rather than allowed to claim unbounded memory.
constexpr std::size_t kMaxInterlacedBytes = 256u * 1024 * 1024;
// Ancillary chunks (text, colour profiles) up to this size are read even
// for a tiny plane; nothing the editor shows needs them larger.
constexpr png_alloc_size_t kMinChunkBytes = 1024u * 1024;

[[noreturn]] void Fail(const std::string& why) { throw ReadError("Cannot load image. " + why); }

std::uint32_t BigEndian32(const std::uint8_t* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
         (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}

// Finds where the PNG stream that starts at `start` ends, by its chunk
// lengths, so that a following plane is found without decoding this one fully.
std::size_t FindStreamEnd(const std::uint8_t* data, std::size_t size, std::size_t start) {
  static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (size - start < 8 || std::memcmp(data + start, kSignature, 8) != 0) {
    Fail("The frame's pixel data is not a PNG stream.");
  }
  std::size_t at = start + 8;
  for (;;) {
    if (size - at < 12) Fail("The PNG stream is truncated.");
    std::uint32_t length = BigEndian32(data + at);
    bool end = std::memcmp(data + at + 4, "IEND", 4) == 0;
    if (length > 0x7FFFFFFFu || size - at - 12 < length) Fail("The PNG stream is truncated.");
    at += 12 + static_cast<std::size_t>(length);
    if (end) return at;
  }
}

struct TMemorySource {
  const std::uint8_t* Data;
  std::size_t Size;
  std::size_t Position;
};

struct TDecodeJob {
  // In
  std::uint16_t Width;
  std::uint16_t Height;
  int BytesPerPixel;
  TPNGRowSink Sink;
  void* Context;
  // Scratch, owned by the caller so that the long jump skips no destructor
  std::vector<std::uint8_t>* Row;
  std::vector<std::uint8_t>* Packed;
  std::vector<std::uint8_t>* Whole;
  char Error[256];
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* source = static_cast<TMemorySource*>(png_get_io_ptr(png));
  if (source->Size - source->Position < count) png_error(png, "The PNG stream is truncated.");
  std::memcpy(out, source->Data + source->Position, count);
  source->Position += count;
}

void OnError(png_structp png, png_const_charp message) {
  auto* job = static_cast<TDecodeJob*>(png_get_error_ptr(png));
  std::snprintf(job->Error, sizeof job->Error, "%s", message);
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Hands one decoded PNG row to the sink in the plane's layout: as it is when
// the PNG has the plane's channel count, otherwise with each pixel's first
// channels kept (a grey alpha plane read as colour, say).
void Deliver(const TDecodeJob& job, const std::uint8_t* row, std::uint32_t pngWidth, int channels,
             std::uint32_t index) {
  const std::uint32_t columns = std::min<std::uint32_t>(pngWidth, job.Width);
  const std::size_t count = static_cast<std::size_t>(columns) * static_cast<std::size_t>(job.BytesPerPixel);
  if (channels == job.BytesPerPixel) {
    job.Sink(job.Context, index, row, count);
    return;
  }
  std::uint8_t* packed = job.Packed->data();
  std::memset(packed, 0, count);
  const int take = std::min(channels, job.BytesPerPixel);
  for (std::uint32_t c = 0; c < columns; ++c) {
    std::memcpy(packed + static_cast<std::size_t>(c) * job.BytesPerPixel,
                row + static_cast<std::size_t>(c) * channels, static_cast<std::size_t>(take));
  }
  job.Sink(job.Context, index, packed, count);
}

// Runs libpng under its setjmp error convention. Only trivially destructible
// locals live in this frame, so the long jump skips no destructor.
bool Decode(png_structp png, png_infop info, TDecodeJob& job) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  // A plane is exactly its frame's size. Anything else is refused here,
  // before libpng sizes a row for what the header claims.
  if (png_get_image_width(png, info) != job.Width || png_get_image_height(png, info) != job.Height) {
    std::snprintf(job.Error, sizeof job.Error, "The PNG image's size does not match its frame.");
    return false;
  }
  png_set_packing(png);
  png_set_strip_16(png);
  int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  std::uint32_t pngWidth = png_get_image_width(png, info);
  std::uint32_t pngHeight = png_get_image_height(png, info);
  int channels = png_get_channels(png, info);
  std::size_t rowBytes = png_get_rowbytes(png, info);
  std::uint32_t rows = std::min<std::uint32_t>(pngHeight, job.Height);
  job.Packed->resize(static_cast<std::size_t>(job.Width) * static_cast<std::size_t>(job.BytesPerPixel));
  if (passes == 1) {
    job.Row->resize(rowBytes);
    for (std::uint32_t r = 0; r < rows; ++r) {
      png_read_row(png, job.Row->data(), nullptr);
      Deliver(job, job.Row->data(), pngWidth, channels, r);
    }
    return true;
  }
  if (pngHeight != 0 && rowBytes > kMaxInterlacedBytes / pngHeight) {
    std::snprintf(job.Error, sizeof job.Error, "The interlaced PNG image is too large.");
    return false;
  }
  job.Whole->resize(rowBytes * pngHeight);
  for (int pass = 0; pass < passes; ++pass) {
    for (std::uint32_t r = 0; r < pngHeight; ++r)
      png_read_row(png, job.Whole->data() + r * rowBytes, nullptr);
  }
  for (std::uint32_t r = 0; r < rows; ++r)
    Deliver(job, job.Whole->data() + r * rowBytes, pngWidth, channels, r);
  return true;
}

}  // namespace

std::size_t PNGStreamEnd(const ByteBuffer& payload, std::size_t position) {
  if (position > payload.size()) Fail("The PNG stream is truncated.");
  return FindStreamEnd(payload.data(), payload.size(), position);
}

void DecodePNGRows(const ByteBuffer& payload, std::size_t& position, std::uint16_t width,
                   std::uint16_t height, int bytesPerPixel, TPNGRowSink sink, void* context) {
  if (position > payload.size()) Fail("The PNG stream is truncated.");
  std::size_t end = FindStreamEnd(payload.data(), payload.size(), position);

  std::vector<std::uint8_t> row;
  std::vector<std::uint8_t> packed;
  std::vector<std::uint8_t> whole;
  TDecodeJob job{width, height, bytesPerPixel, sink, context, &row, &packed, &whole, {}};
  TMemorySource source{payload.data(), end, position};

  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job, OnError, OnWarning);
  if (png == nullptr) Fail("The PNG decoder could not start.");
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    Fail("The PNG decoder could not start.");
  }
  png_set_read_fn(png, &source, ReadFromMemory);
  // The header may not claim more than the frame holds, and no ancillary
  // chunk may make libpng allocate more than the plane itself would need.
  png_set_user_limits(png, width, height);
  png_set_chunk_malloc_max(
      png, std::max<png_alloc_size_t>(kMinChunkBytes,
                                      static_cast<png_alloc_size_t>(width) * height *
                                          static_cast<png_alloc_size_t>(std::max(bytesPerPixel, 1))));
  // Chunk CRCs still catch damaged data; the zlib checksum on top of them
  // only costs time on every grid repaint.
  png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
  bool ok = Decode(png, info, job);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) Fail(job.Error);
  position = end;
}

ByteBuffer ReadPNGPlane(const ByteBuffer& payload, std::size_t& position, std::uint16_t width,
                        std::uint16_t height, int bytesPerPixel) {
  ByteBuffer plane(static_cast<std::size_t>(width) * height * static_cast<std::size_t>(bytesPerPixel), 0);
  struct TTarget {
    ByteBuffer* Plane;
    std::size_t RowBytes;
  } target{&plane, static_cast<std::size_t>(width) * static_cast<std::size_t>(bytesPerPixel)};
  DecodePNGRows(
      payload, position, width, height, bytesPerPixel,
      [](void* context, std::uint32_t index, const std::uint8_t* data, std::size_t count) {
        auto* t = static_cast<TTarget*>(context);
        std::memcpy(t->Plane->data() + index * t->RowBytes, data, count);
      },
      &target);
  return plane;
}

}  // namespace quillmere
