// make-picture-benches KIND OUT [ARG]
//
// Writes the FOX inputs of the picture benchmarks:
//   dedupe OUT [MiB, default 512]  single-frame 256 x 256 8-bit shapes adding up
//                                  to MiB of pixel data, every fourth one a copy of
//                                  an earlier shape; also OUT.payload, the same
//                                  pixel bytes back to back, for `openssl dgst`
//   gif OUT [frames, default 1000] one 200 x 200 8-bit shape whose script shows
//                                  every frame for 100 ms
//   render OUT                     one 1024 x 1024 frame of format 3 whose colour
//                                  and alpha planes are PNG streams
//   grid OUT [shapes, default 2000] shapes of one such frame each, for the
//                                  editor's grid painting; 16 different
//                                  pictures in turn, so no two cells on a
//                                  screen decode the same bytes
// The same arguments always give the same files.

#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "formats/fox_format.h"
#include "model/patch_frame.h"

namespace {

using namespace quillmere;

std::uint64_t gState = 0x9E3779B97F4A7C15ull;
std::uint64_t Next() {
  gState ^= gState >> 12;
  gState ^= gState << 25;
  gState ^= gState >> 27;
  return gState * 0x2545F4914F6CDD1Dull;
}

TPatchSubFrame IndexedFrame(int width, int height) {
  TPatchSubFrame frame;
  frame.Width = static_cast<std::uint16_t>(width);
  frame.Height = static_cast<std::uint16_t>(height);
  frame.Opacity = 255;
  frame.Pixels.Edit().resize(static_cast<std::size_t>(width) * height);
  return frame;
}

int MakeDedupe(const std::string& out, long mebibytes) {
  const int side = 256;
  const long shapes = mebibytes * 16;  // 64 KiB each
  TShapeList list;
  std::ofstream payload(out + ".payload", std::ios::binary);
  for (long s = 0; s < shapes; ++s) {
    if (s % 4 == 3) {
      list.push_back(list[static_cast<std::size_t>(Next() % static_cast<std::uint64_t>(s))]);
    } else {
      TPatchFrame shape;
      shape.Frames.push_back(IndexedFrame(side, side));
      for (std::uint8_t& b : shape.Frames[0].Pixels.Edit()) b = static_cast<std::uint8_t>(Next());
      list.push_back(std::move(shape));
    }
    const ByteBuffer& pixels = list.back().Frames[0].Pixels;
    payload.write(reinterpret_cast<const char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
  }
  SaveFOXFile(out, list);
  std::cout << "wrote " << out << ": " << list.size() << " shapes\n";
  return 0;
}

int MakeGif(const std::string& out, long frames) {
  const int side = 200;
  TPatchFrame shape;
  for (long f = 0; f < frames; ++f) {
    TPatchSubFrame frame = IndexedFrame(side, side);
    // A disc moving over stripes: frames differ, as an animation's do.
    const int cx = static_cast<int>(20 + (f * 7) % 160), cy = static_cast<int>(20 + (f * 3) % 160);
    ByteBuffer& pixels = frame.Pixels.Edit();
    for (int y = 0; y < side; ++y) {
      for (int x = 0; x < side; ++x) {
        const bool disc = (x - cx) * (x - cx) + (y - cy) * (y - cy) < 400;
        pixels[static_cast<std::size_t>(y) * side + x] =
            static_cast<std::uint8_t>(disc ? 130 : (x / 20 % 2 ? 64 : 0));
      }
    }
    shape.Frames.push_back(std::move(frame));
    shape.Script.push_back(TKSStep{1, static_cast<std::int16_t>(f), 0});
    shape.Script.push_back(TKSStep{2, 100, 0});
  }
  SaveFOXFile(out, TShapeList{shape});
  std::cout << "wrote " << out << ": " << frames << " frames\n";
  return 0;
}

void AppendPNG(ByteBuffer& payload, const std::vector<std::uint8_t>& pixels, int side, bool colour) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(side);
  image.height = static_cast<png_uint_32>(side);
  image.format = colour ? PNG_FORMAT_RGB : PNG_FORMAT_GRAY;
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr);
  std::size_t at = payload.size();
  payload.resize(at + size);
  if (!png_image_write_to_memory(&image, payload.data() + at, &size, 0, pixels.data(), 0, nullptr)) {
    std::cerr << "PNG encoding failed: " << image.message << '\n';
    std::exit(1);
  }
  payload.resize(at + size);
}

// A square frame of 24-bit colour and an 8-bit alpha plane, both PNG streams.
TPatchSubFrame PngFrame(const std::vector<std::uint8_t>& colour, const std::vector<std::uint8_t>& alpha, int side) {
  TPatchSubFrame frame;
  frame.Format = kFormatColourAlpha;
  frame.Width = static_cast<std::uint16_t>(side);
  frame.Height = static_cast<std::uint16_t>(side);
  frame.Opacity = 255;
  frame.Encoding = kEncodingPNG;
  AppendPNG(frame.Pixels.Edit(), colour, side, true);
  AppendPNG(frame.Pixels.Edit(), alpha, side, false);
  return frame;
}

int MakeRender(const std::string& out) {
  const int side = 1024;
  std::vector<std::uint8_t> colour(static_cast<std::size_t>(side) * side * 3), alpha(static_cast<std::size_t>(side) * side);
  // A painted object: shaded discs over a soft backdrop, a faint grain, and an
  // alpha plane that fades out towards the edges, as a large sprite has.
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * side + x;
      const int dx = x - 512, dy = y - 512, d2 = dx * dx + dy * dy;
      const bool inner = (x - 400) * (x - 400) + (y - 380) * (y - 380) < 150 * 150;
      const int shade = 255 - std::min(255, d2 / 1100);
      colour[i * 3] = static_cast<std::uint8_t>(inner ? 40 + shade / 3 : shade / 2);
      colour[i * 3 + 1] = static_cast<std::uint8_t>(inner ? 200 - shade / 4 : 60 + y / 8);
      colour[i * 3 + 2] = static_cast<std::uint8_t>(shade - (Next() & 1));
      alpha[i] = static_cast<std::uint8_t>(d2 < 400 * 400 ? 255 : std::max(0, 255 - (d2 - 160000) / 300));
    }
  }
  TPatchFrame shape;
  shape.Frames.push_back(PngFrame(colour, alpha, side));
  SaveFOXFile(out, TShapeList{shape});
  std::cout << "wrote " << out << ": one 1024 x 1024 PNG-encoded frame\n";
  return 0;
}

// One of the grid bench's pictures: a lit backdrop, a few shaded blobs, a
// grain and a soft-edged silhouette in the alpha plane. The grain is what
// gives the PNG streams the few hundred KiB a painted sprite has; smooth
// gradients alone would shrink to a few KiB and make decoding look cheaper
// than it is.
TPatchSubFrame GridPicture(int variant) {
  const int side = 1024;
  gState = 0x9E3779B97F4A7C15ull ^ (static_cast<std::uint64_t>(variant + 1) * 0xD1B54A32D192ED03ull);
  struct TBlob {
    int X, Y, R;
    int Red, Green, Blue;
  };
  std::vector<TBlob> blobs;
  for (int b = 0; b < 5; ++b) {
    const int x = static_cast<int>(200 + Next() % 624), y = static_cast<int>(200 + Next() % 624);
    const int r = static_cast<int>(60 + Next() % 160);
    blobs.push_back(TBlob{x, y, r, static_cast<int>(Next() & 255), static_cast<int>(Next() & 255),
                          static_cast<int>(Next() & 255)});
  }
  const int tint = variant * 13;
  std::vector<std::uint8_t> colour(static_cast<std::size_t>(side) * side * 3), alpha(static_cast<std::size_t>(side) * side);
  std::uint64_t grain = 0;
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * side + x;
      int r = (x / 5 + tint) & 255, g = (y / 5 + 2 * tint) & 255, b = (x + y) / 10 + 40;
      for (const TBlob& blob : blobs) {
        const int dx = x - blob.X, dy = y - blob.Y, d2 = dx * dx + dy * dy, r2 = blob.R * blob.R;
        if (d2 >= r2) continue;
        const int light = 256 - d2 * 192 / r2;  // brighter towards the middle
        r = blob.Red * light / 256;
        g = blob.Green * light / 256;
        b = blob.Blue * light / 256;
      }
      if ((x & 63) == 0) grain = Next();
      const int speck = (x & 3) != 0 ? 0 : static_cast<int>(grain >> (x & 63) & 1);
      colour[i * 3] = static_cast<std::uint8_t>(std::clamp(r, 0, 255));
      colour[i * 3 + 1] = static_cast<std::uint8_t>(std::clamp(g + speck, 0, 255));
      colour[i * 3 + 2] = static_cast<std::uint8_t>(std::clamp(b, 0, 255));
      const int dx = x - 512, dy = y - 512, d2 = dx * dx + dy * dy;
      alpha[i] = static_cast<std::uint8_t>(d2 < 420 * 420 ? 255 : std::max(0, 255 - (d2 - 420 * 420) / 200));
    }
  }
  return PngFrame(colour, alpha, side);
}

int MakeGrid(const std::string& out, long shapes) {
  constexpr int kPictures = 16;
  std::vector<TPatchSubFrame> pictures;
  std::size_t bytes = 0;
  for (int v = 0; v < kPictures; ++v) {
    pictures.push_back(GridPicture(v));
    bytes += pictures.back().Pixels.size();
  }
  TShapeList list;
  list.reserve(static_cast<std::size_t>(shapes));
  for (long s = 0; s < shapes; ++s) {
    TPatchFrame shape;
    shape.Frames.push_back(pictures[static_cast<std::size_t>(s % kPictures)]);
    list.push_back(std::move(shape));
  }
  if (!SaveFOXFile(out, list)) {
    std::cerr << "could not write " << out << '\n';
    return 1;
  }
  std::cout << "wrote " << out << ": " << shapes << " shapes of one 1024 x 1024 PNG-encoded frame, "
            << bytes / kPictures / 1024 << " KiB a frame on average\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: make-picture-benches dedupe|gif|render|grid OUT [ARG]\n";
    return 2;
  }
  const std::string kind = argv[1], out = argv[2];
  const long arg = argc > 3 ? std::atol(argv[3]) : 0;
  if (kind == "dedupe") return MakeDedupe(out, arg > 0 ? arg : 512);
  if (kind == "gif") return MakeGif(out, arg > 0 && arg <= 30000 ? arg : 1000);
  if (kind == "render") return MakeRender(out);
  if (kind == "grid") return MakeGrid(out, arg > 0 ? arg : 2000);
  std::cerr << "unknown kind " << kind << '\n';
  return 2;
}
