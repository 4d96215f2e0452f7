// make-large-fox OUT [total MiB, default 256] [frames, default 20000]
//
// Writes a large FOX file for the convert benchmark: shapes of one to eight
// frames of mixed pixel formats (8-bit, 24-bit, 24-bit with alpha) and sizes,
// pseudo-random payloads that do not compress, and a few KitterSpeak steps.
// The payloads add up to at least the requested size. The same arguments
// always give the same file.

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>

#include "formats/fox_format.h"
#include "model/patch_frame.h"

namespace {

using namespace quillmere;

// xorshift64*: fast and good enough to make payloads look like real pixels to
// a compressor or a deduplicating file system.
class XorShift {
 public:
  explicit XorShift(std::uint64_t seed) : state_(seed ? seed : 0x9E3779B97F4A7C15ull) {}

  std::uint64_t Next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1Dull;
  }

  // A number in [low, high].
  std::uint64_t Between(std::uint64_t low, std::uint64_t high) { return low + Next() % (high - low + 1); }

  // Fills a payload 8 bytes at a time; the generator is not what is measured.
  void Fill(std::uint8_t* out, std::size_t count) {
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
      std::uint64_t word = Next();
      std::memcpy(out + i, &word, 8);
    }
    if (i < count) {
      std::uint64_t word = Next();
      std::memcpy(out + i, &word, count - i);
    }
  }

 private:
  std::uint64_t state_;
};

bool ParseCount(const char* text, std::uint64_t low, std::uint64_t high, std::uint64_t& value) {
  errno = 0;
  char* end = nullptr;
  unsigned long long parsed = std::strtoull(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || text[0] == '-') return false;
  if (parsed < low || parsed > high) return false;
  value = parsed;
  return true;
}

std::size_t BytesPerPixel(std::int32_t format) {
  switch (format) {
    case kFormatColour:
      return 3;
    case kFormatColourAlpha:
      return 4;
    default:
      return 1;
  }
}

// Picks a frame's format and size so that its payload is near `budget` bytes.
void ShapeFrame(TPatchSubFrame& frame, std::uint64_t budget, XorShift& random) {
  static const std::int32_t kFormats[] = {kFormatIndexed, kFormatColour, kFormatColourAlpha};
  frame.Format = kFormats[random.Next() % 3];
  const std::uint64_t bpp = BytesPerPixel(frame.Format);
  const std::uint64_t pixels = std::max<std::uint64_t>(1, budget / bpp);
  std::uint64_t width = std::min<std::uint64_t>(random.Between(16, 400), pixels);
  std::uint64_t height = std::max<std::uint64_t>(1, pixels / width);
  if (height > 0xFFFF) {
    height = 0xFFFF;
    width = std::min<std::uint64_t>(0xFFFF, (pixels + height - 1) / height);
  }
  frame.Width = static_cast<std::uint16_t>(width);
  frame.Height = static_cast<std::uint16_t>(height);
  frame.Pixels.Edit().resize(width * height * bpp);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4) {
    std::cerr << "usage: make-large-fox OUT [total MiB, default 256] [frames, default 20000]\n";
    return 2;
  }
  std::uint64_t mebibytes = 256;
  std::uint64_t frameCount = 20000;
  if (argc > 2 && !ParseCount(argv[2], 1, 1u << 20, mebibytes)) {
    std::cerr << "make-large-fox: the size must be a whole number of MiB from 1 to 1048576\n";
    return 2;
  }
  if (argc > 3 && !ParseCount(argv[3], 1, 10'000'000, frameCount)) {
    std::cerr << "make-large-fox: the frame count must be from 1 to 10000000\n";
    return 2;
  }
  const std::uint64_t target = mebibytes << 20;
  // Every frame's payload must fit the FOX file's 32-bit length field.
  if (target / frameCount > 0x3FFFFFFF) {
    std::cerr << "make-large-fox: too few frames for that size\n";
    return 2;
  }

  XorShift random(mebibytes * 1000003u + frameCount);
  TShapeList shapes;
  std::uint64_t framesLeft = frameCount;
  std::uint64_t bytesLeft = target;
  std::uint64_t steps = 0;
  std::uint64_t payloadBytes = 0;
  while (framesLeft > 0) {
    TPatchFrame& shape = shapes.emplace_back();
    shape.Flags = static_cast<std::uint16_t>(random.Next() & 7);
    shape.ReplacementIndex = (shapes.size() % 5 == 0) ? static_cast<std::int16_t>(shapes.size()) : -1;
    const std::uint64_t count = std::min<std::uint64_t>(framesLeft, random.Between(1, 8));
    for (std::uint64_t i = 0; i < count; ++i, --framesLeft) {
      TPatchSubFrame& frame = shape.Frames.emplace_back();
      frame.Opacity = 255;
      frame.Encoding = kEncodingRaw;
      frame.ShapePosX = static_cast<std::int16_t>(random.Between(0, 64)) - 32;
      frame.ShapePosY = static_cast<std::int16_t>(random.Between(0, 64)) - 32;
      if (framesLeft == 1) {
        // The last frame takes what is left, so the payloads reach the target.
        frame.Format = kFormatIndexed;
        const std::uint64_t wanted = std::max<std::uint64_t>(1, bytesLeft);
        const std::uint64_t width = std::max<std::uint64_t>(256, (wanted + 0xFFFE) / 0xFFFF);
        const std::uint64_t height = (wanted + width - 1) / width;
        frame.Width = static_cast<std::uint16_t>(width);
        frame.Height = static_cast<std::uint16_t>(height);
        frame.Pixels.Edit().resize(width * height);
      } else {
        // Around the even share of what is left, from half to one and a half times it.
        const std::uint64_t share = bytesLeft / framesLeft;
        ShapeFrame(frame, share / 2 + random.Between(0, share), random);
      }
      random.Fill(frame.Pixels.Edit().data(), frame.Pixels.size());
      bytesLeft -= std::min<std::uint64_t>(bytesLeft, frame.Pixels.size());
      payloadBytes += frame.Pixels.size();
    }
    if (shapes.size() % 7 == 1) {
      // A short animation script: show a frame, wait, loop (command numbers 1..13).
      for (int s = 0; s < 3; ++s) {
        shape.Script.push_back(TKSStep{static_cast<std::int16_t>(random.Between(1, 13)),
                                       static_cast<std::int16_t>(random.Between(0, 7)),
                                       static_cast<std::int16_t>(random.Between(0, 100))});
      }
      steps += 3;
    }
  }

  try {
    SaveFOXFile(argv[1], shapes);
  } catch (const std::exception& error) {
    std::cerr << "make-large-fox: " << error.what() << '\n';
    return 1;
  }
  std::cout << "wrote " << argv[1] << ": " << shapes.size() << " shapes, " << frameCount << " frames, "
            << steps << " steps, " << payloadBytes << " payload bytes\n";
  return 0;
}
