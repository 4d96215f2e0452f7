// make-samples [--raw] OUTDIR
//
// Writes shape files that look like game art, so that screenshots of the
// editor and manual tests have something worth looking at:
//   walls.fox   fourteen objects (walls, a door, floor tiles, a tree, a lamp,
//               a campfire, furniture) in 8-bit, 24-bit and 32-bit frames,
//               some animated with a KitterSpeak loop, some PNG-encoded
//   import.fsh  eight small 8-bit objects (gems, flowers, a sign...), with
//               import.fbj beside it for their flags
// Every picture is drawn from integer noise and plain arithmetic (no
// trigonometry, whose last bits differ between C libraries), so the same
// build always writes the same bytes. The names written are printed one a line.
// --raw stores every plane raw: the same pictures without PNG encoding, so a
// check can decode both and compare.

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "formats/fbj_companion.h"
#include "formats/fox_format.h"
#include "formats/fsh_format.h"
#include "interface/scripted_user_interface.h"
#include "model/frame_decoding.h"
#include "model/ks_commands.h"
#include "model/patch_frame.h"
#include "model/picture.h"
#include "model/shape_flags.h"
#include "model/shape_palette.h"

namespace {

using namespace quillmere;

// ---- drawing ---------------------------------------------------------------

struct TColour {
  int R = 0, G = 0, B = 0, A = 0;
};

constexpr TColour Rgb(int r, int g, int b, int a = 255) { return TColour{r, g, b, a}; }

int Clamp(int value) { return std::clamp(value, 0, 255); }

// Brightness in percent; 100 keeps the colour.
TColour Shade(TColour c, int percent) {
  return Rgb(Clamp(c.R * percent / 100), Clamp(c.G * percent / 100), Clamp(c.B * percent / 100), c.A);
}

TColour Lift(TColour c, int amount) {
  return Rgb(Clamp(c.R + amount), Clamp(c.G + amount), Clamp(c.B + amount), c.A);
}

// t from 0 (all a) to 256 (all b).
TColour Mix(TColour a, TColour b, int t) {
  t = std::clamp(t, 0, 256);
  return Rgb((a.R * (256 - t) + b.R * t) / 256, (a.G * (256 - t) + b.G * t) / 256,
             (a.B * (256 - t) + b.B * t) / 256, (a.A * (256 - t) + b.A * t) / 256);
}

// A well-mixed 32-bit value per pixel and seed: grain, stone and leaf texture.
std::uint32_t Hash(int x, int y, int seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8DA6B343u ^
                    static_cast<std::uint32_t>(y) * 0xD8163841u ^
                    static_cast<std::uint32_t>(seed) * 0xCB1AB31Fu;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

// A value in [-amount, amount].
int Noise(int x, int y, int seed, int amount) {
  return static_cast<int>(Hash(x, y, seed) % static_cast<std::uint32_t>(2 * amount + 1)) - amount;
}

TColour Grain(TColour c, int x, int y, int seed, int amount) { return Lift(c, Noise(x, y, seed, amount)); }

class TCanvas {
 public:
  TCanvas(int width, int height)
      : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  TColour At(int x, int y) const { return Inside(x, y) ? pixels_[Index(x, y)] : TColour{}; }

  void Put(int x, int y, TColour c) {
    if (Inside(x, y)) pixels_[Index(x, y)] = c;
  }

  // Paints `c` over what is there, by its alpha.
  void Over(int x, int y, TColour c) {
    if (!Inside(x, y) || c.A <= 0) return;
    TColour& d = pixels_[Index(x, y)];
    const int a = std::min(c.A, 255);
    const int outA = a + d.A * (255 - a) / 255;
    if (outA == 0) return;
    const auto blend = [&](int s, int t) { return (s * a + t * d.A * (255 - a) / 255) / outA; };
    d = Rgb(blend(c.R, d.R), blend(c.G, d.G), blend(c.B, d.B), outA);
  }

  // Calls `paint` for every pixel; it returns whether to paint and the colour.
  void Each(const std::function<bool(int x, int y, TColour& c)>& paint) {
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        TColour c;
        if (paint(x, y, c)) Over(x, y, c);
      }
    }
  }

  // The dark edge hand-drawn sprites have: opaque pixels that touch a clear
  // one (or the canvas border) take the outline colour.
  void Outline(TColour colour) {
    std::vector<TColour> next = pixels_;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        if (At(x, y).A < 128) continue;
        const bool edge =
            At(x - 1, y).A < 128 || At(x + 1, y).A < 128 || At(x, y - 1).A < 128 || At(x, y + 1).A < 128;
        if (edge) next[Index(x, y)] = colour;
      }
    }
    pixels_ = std::move(next);
  }

 private:
  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }

  int width_;
  int height_;
  std::vector<TColour> pixels_;
};

const TColour kInk = Rgb(36, 26, 22);

// Distance from (px, py) to the segment (ax, ay)-(bx, by): logs, branches, bars.
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  const double ex = px - (ax + t * dx), ey = py - (ay + t * dy);
  return std::sqrt(ex * ex + ey * ey);
}

// ---- frames from canvases --------------------------------------------------

// Index 0 is the transparent key, so an opaque colour that happens to be
// nearest to it takes the next nearest entry.
std::uint8_t OpaqueIndex(const TColour& c) {
  const std::uint8_t nearest = NearestPaletteIndex(
      static_cast<std::uint8_t>(c.R), static_cast<std::uint8_t>(c.G), static_cast<std::uint8_t>(c.B));
  if (nearest != 0) return nearest;
  const TPalette& palette = ShapePalette();
  std::size_t best = 1;
  int bestDistance = 1 << 30;
  for (std::size_t i = 1; i < palette.size(); ++i) {
    const int dr = palette[i].Red - c.R, dg = palette[i].Green - c.G, db = palette[i].Blue - c.B;
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return static_cast<std::uint8_t>(best);
}

TPatchSubFrame EmptyFrame(const TCanvas& canvas, std::int32_t format) {
  TPatchSubFrame frame;
  frame.Width = static_cast<std::uint16_t>(canvas.Width());
  frame.Height = static_cast<std::uint16_t>(canvas.Height());
  frame.Format = format;
  frame.Opacity = 255;
  frame.Encoding = kEncodingRaw;
  return frame;
}

// Planes are stored bottom row first.
TPatchSubFrame IndexedFrame(const TCanvas& canvas) {
  TPatchSubFrame frame = EmptyFrame(canvas, kFormatIndexed);
  for (int y = canvas.Height() - 1; y >= 0; --y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      const TColour c = canvas.At(x, y);
      frame.Pixels.Edit().push_back(c.A < 128 ? 0 : OpaqueIndex(c));
    }
  }
  return frame;
}

// Stored blue, green, red; black is the key, so no opaque pixel may be black.
void AppendColourRow(ByteBuffer& out, const TCanvas& canvas, int y, bool keyed) {
  for (int x = 0; x < canvas.Width(); ++x) {
    TColour c = canvas.At(x, y);
    if (keyed) {
      if (c.A < 128) {
        c = Rgb(0, 0, 0);
      } else if (c.R == 0 && c.G == 0 && c.B == 0) {
        c = Rgb(1, 1, 1);
      }
    } else if (c.A == 0) {
      c = Rgb(0, 0, 0);
    }
    out.push_back(static_cast<std::uint8_t>(c.B));
    out.push_back(static_cast<std::uint8_t>(c.G));
    out.push_back(static_cast<std::uint8_t>(c.R));
  }
}

TPatchSubFrame ColourFrame(const TCanvas& canvas) {
  TPatchSubFrame frame = EmptyFrame(canvas, kFormatColour);
  for (int y = canvas.Height() - 1; y >= 0; --y) AppendColourRow(frame.Pixels.Edit(), canvas, y, true);
  return frame;
}

// A PNG plane holds the stored bytes as they are (rows bottom first, blue
// first), which is how the readers undo it.
void AppendPNG(ByteBuffer& payload, const std::vector<std::uint8_t>& plane, int width, int height,
               bool colour) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = colour ? PNG_FORMAT_RGB : PNG_FORMAT_GRAY;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, plane.data(), 0, nullptr)) {
    throw std::runtime_error(std::string("PNG encoding failed: ") + image.message);
  }
  const std::size_t at = payload.size();
  payload.resize(at + size);
  if (!png_image_write_to_memory(&image, payload.data() + at, &size, 0, plane.data(), 0, nullptr)) {
    throw std::runtime_error(std::string("PNG encoding failed: ") + image.message);
  }
  payload.resize(at + size);
}

TPatchSubFrame ColourAlphaFrame(const TCanvas& canvas, std::uint8_t encoding) {
  TPatchSubFrame frame = EmptyFrame(canvas, kFormatColourAlpha);
  frame.Encoding = encoding;
  ByteBuffer colour;
  std::vector<std::uint8_t> alpha;
  for (int y = canvas.Height() - 1; y >= 0; --y) {
    AppendColourRow(colour, canvas, y, false);
    for (int x = 0; x < canvas.Width(); ++x) alpha.push_back(static_cast<std::uint8_t>(canvas.At(x, y).A));
  }
  if (encoding == kEncodingPNG) {
    AppendPNG(frame.Pixels.Edit(), std::vector<std::uint8_t>(colour.begin(), colour.end()), canvas.Width(),
              canvas.Height(), true);
    AppendPNG(frame.Pixels.Edit(), alpha, canvas.Width(), canvas.Height(), false);
  } else {
    frame.Pixels = colour;
    frame.Pixels.Edit().insert(frame.Pixels.Edit().end(), alpha.begin(), alpha.end());
  }
  return frame;
}

// Flags agree with the first frame's furre position, as the property editor
// keeps them.
void SetFlags(TPatchFrame& shape, bool walkable, bool gettable, bool sittable) {
  const TPatchSubFrame& first = shape.Frames.front();
  shape.Flags = PackFlags(first.FurrePosX != 0, first.FurrePosY != 0,
                          TShapeFlags{.Sittable = sittable, .Walkable = walkable, .Gettable = gettable});
}

// Shows each frame for its delay and starts over (steps are numbered from 1).
TKSScript LoopScript(const std::vector<int>& delays) {
  TKSScript script;
  for (std::size_t f = 0; f < delays.size(); ++f) {
    script.push_back(TKSStep{ksShowFrame, static_cast<std::int16_t>(f), 0});
    script.push_back(TKSStep{ksDelay, static_cast<std::int16_t>(delays[f]), 0});
  }
  script.push_back(TKSStep{ksJumpToStep, 1, 0});
  return script;
}

TPatchFrame Single(TPatchSubFrame frame, int shapeX = 0, int shapeY = 0) {
  TPatchFrame shape;
  frame.ShapePosX = static_cast<std::int16_t>(shapeX);
  frame.ShapePosY = static_cast<std::int16_t>(shapeY);
  shape.Frames.push_back(std::move(frame));
  return shape;
}

// ---- walls.fox ---------------------------------------------------------------

// A wall segment on one of the two diagonals: courses of brick follow the
// slope, head joints stay upright, a capstone row runs along the top.
TCanvas BrickWall(bool risingRight) {
  const int width = 48, faceHeight = 72;
  TCanvas canvas(width, faceHeight + width / 2);
  const int light = risingRight ? 100 : 80;
  canvas.Each([&](int x, int y, TColour& c) {
    const int top = risingRight ? (width - 1 - x) / 2 : x / 2;
    const int v = y - top;
    if (v < 0 || v >= faceHeight) return false;
    if (v < 5) {
      c = Grain(Rgb(196, 184, 160), x, y, 11, 8);
      if (v == 0) c = Lift(c, 24);
    } else if (v >= faceHeight - 4) {
      c = Grain(Rgb(112, 104, 96), x, y, 12, 6);
    } else {
      const int vb = v - 5, course = vb / 9, row = vb % 9;
      const int along = x + (course % 2) * 8 + (risingRight ? 0 : 3);
      const int brick = along / 16, col = along % 16;
      if (row == 8 || col == 15) {
        c = Grain(Rgb(170, 160, 142), x, y, 13, 10);
      } else {
        // Muted reds: the game palette's brick ramp has no saturated
        // red-browns, and they would break up into orange specks.
        c = Lift(Rgb(147, 84, 82), Noise(brick, course, 14, 14));
        if (row == 0 || col == 0) c = Shade(c, 112);
        if (row == 7 || col == 14) c = Shade(c, 84);
        c = Grain(c, x, y, 15, 6);
      }
    }
    c = Shade(c, light);
    return true;
  });
  canvas.Outline(kInk);
  return canvas;
}

// A diamond floor tile with an edge of ground showing below it. `top` paints
// the upper face given the tile's two diagonal coordinates (each -16..16).
TCanvas FloorTile(const std::function<TColour(int x, int y, double a, double b)>& top, TColour side) {
  TCanvas canvas(64, 40);
  canvas.Each([&](int x, int y, TColour& c) {
    const double dx = x - 31.5, dy = y - 15.5;
    if (std::abs(dx) + 2 * std::abs(dy) <= 32) {
      c = top(x, y, dx / 2 + dy, dy - dx / 2);
      return true;
    }
    const double edge = 15.5 + (32 - std::abs(dx)) / 2;
    if (y > edge && y <= edge + 8) {
      c = Grain(Shade(side, dx < 0 ? 78 : 58), x, y, 21, 6);
      return true;
    }
    return false;
  });
  canvas.Outline(kInk);
  return canvas;
}

TCanvas StoneFloor() {
  return FloorTile(
      [](int x, int y, double a, double b) {
        const int ia = static_cast<int>(std::floor((a + 16) / 8)),
                  ib = static_cast<int>(std::floor((b + 16) / 8));
        const double fa = a + 16 - ia * 8, fb = b + 16 - ib * 8;
        if (fa < 0.9 || fb < 0.9) return Grain(Rgb(92, 88, 84), x, y, 31, 6);
        TColour c = Lift(Rgb(150, 146, 138), Noise(ia, ib, 32, 16));
        if (fa < 2 || fb < 2) c = Shade(c, 115);
        if (fa > 7 || fb > 7) c = Shade(c, 85);
        return Grain(c, x, y, 33, 7);
      },
      Rgb(120, 112, 100));
}

TCanvas GrassFloor() {
  return FloorTile(
      [](int x, int y, double, double) {
        const std::uint32_t h = Hash(x, y, 41);
        if (h % 211 == 0) return Rgb(250, 240, 120);
        if (h % 173 == 0) return Rgb(245, 245, 245);
        TColour c = Rgb(88, 150, 58);
        if (h % 5 == 0) c = Shade(c, 72);
        if (Hash(x / 3, y / 2, 42) % 4 == 0) c = Shade(c, 112);
        return Grain(c, x, y, 43, 8);
      },
      Rgb(120, 84, 50));
}

TCanvas WoodFloor() {
  return FloorTile(
      [](int x, int y, double a, double b) {
        const int plank = static_cast<int>(std::floor((b + 16) / 32 * 6));
        const double inPlank = (b + 16) / 32 * 6 - plank;
        if (inPlank < 0.12) return Rgb(70, 44, 26);
        // Plank ends are staggered along the run.
        const int joint = static_cast<int>(Hash(plank, 0, 51) % 20);
        if (static_cast<int>(std::floor(a + 16)) == 6 + joint) return Rgb(78, 50, 30);
        TColour c = Lift(Rgb(170, 118, 70), Noise(plank, 1, 52, 14));
        if ((static_cast<int>(a * 3) + static_cast<int>(Hash(plank, 2, 53) % 11)) % 11 < 2) c = Shade(c, 86);
        return Grain(c, x, y, 54, 5);
      },
      Rgb(110, 74, 44));
}

// Inside an arch: an upright rectangle whose top is a half circle.
bool InArch(int x, int y, double centreX, double springY, double radius, double bottom) {
  const double dx = x + 0.5 - centreX;
  if (std::abs(dx) > radius || y + 0.5 > bottom) return false;
  if (y + 0.5 >= springY) return true;
  const double dy = y + 0.5 - springY;
  return dx * dx + dy * dy <= radius * radius;
}

TCanvas WoodenDoor() {
  TCanvas canvas(52, 100);
  const double cx = 26, spring = 26;
  canvas.Each([&](int x, int y, TColour& c) {
    if (!InArch(x, y, cx, spring, 26, 100)) return false;
    if (!InArch(x, y, cx, spring, 19, 96)) {
      // Dressed stone blocks around the opening.
      const int block = y < spring ? (x < cx ? 0 : 1) : (y - 26) / 12 + 2;
      TColour stone = Lift(Rgb(160, 154, 140), Noise(block, x < cx, 61, 14));
      if (y >= spring && (y - 26) % 12 == 0) stone = Rgb(96, 90, 82);
      if (y >= 96) stone = Rgb(124, 118, 108);
      c = Grain(stone, x, y, 62, 8);
      return true;
    }
    const int plank = (x - 7) / 8, inPlank = (x - 7) % 8;
    TColour wood = Lift(Rgb(126, 76, 40), Noise(plank, 0, 63, 12));
    if (inPlank == 0) wood = Rgb(60, 34, 18);
    if (inPlank == 1) wood = Shade(wood, 118);
    if (Hash(x, y / 7, 64) % 9 == 0) wood = Shade(wood, 84);
    c = Grain(wood, x, y, 65, 6);
    for (int band : {40, 78}) {
      if (y >= band && y < band + 5) {
        c = y == band ? Rgb(120, 120, 128) : Rgb(62, 62, 70);
        if (y == band + 2 && (x - 9) % 9 == 0) c = Rgb(190, 190, 196);
      }
    }
    // An iron ring for a handle.
    const double rx = x + 0.5 - 37, ry = y + 0.5 - 62;
    const double ring = std::sqrt(rx * rx + ry * ry);
    if (ring > 3 && ring < 5.2) c = ry < 0 ? Rgb(200, 190, 150) : Rgb(120, 104, 60);
    return true;
  });
  canvas.Outline(kInk);
  return canvas;
}

// A leafy canopy over a tapering trunk. `sway` leans the crown (pixels at the
// top); the roots stay put, as a tree in wind does.
TCanvas Tree(int sway) {
  const int width = 110, height = 150;
  TCanvas canvas(width, height);
  const auto lean = [&](int y) { return sway * (height - y) / 100.0; };
  // Soft ground shadow.
  canvas.Each([&](int x, int y, TColour& c) {
    const double dx = (x + 0.5 - 55) / 36, dy = (y + 0.5 - 143) / 6.5;
    const double d = dx * dx + dy * dy;
    if (d > 1) return false;
    c = Rgb(10, 20, 10, static_cast<int>(110 * (1 - d)));
    return true;
  });
  // Trunk and two branches.
  canvas.Each([&](int x, int y, TColour& c) {
    if (y < 60 || y > 145) return false;
    const double centre = 55 + lean(y);
    const double half = 5 + (y - 60) * 3.0 / 85 + (y > 132 ? (y - 132) * 0.5 : 0);
    const double dx = x + 0.5 - centre;
    const bool branch = SegmentDistance(x, y, 55 + lean(95), 95, 30 + lean(70), 70) < 2.6 ||
                        SegmentDistance(x, y, 55 + lean(88), 88, 82 + lean(66), 66) < 2.4;
    if (std::abs(dx) > half && !branch) return false;
    TColour bark = Rgb(104, 70, 40);
    if (Hash(x, y / 5, 71) % 4 == 0) bark = Shade(bark, 74);
    bark = Shade(bark, static_cast<int>(112 - 30 * (dx / std::max(half, 1.0))));
    c = Grain(bark, x, y, 72, 6);
    return true;
  });
  struct TBlob {
    double X, Y, R;
    int Light;
  };
  const TBlob blobs[] = {{55, 74, 24, 70},  {30, 62, 24, 82},  {80, 60, 25, 80}, {55, 48, 32, 96},
                         {38, 32, 22, 104}, {72, 28, 22, 102}, {55, 20, 17, 112}};
  int seed = 80;
  for (const TBlob& blob : blobs) {
    ++seed;
    canvas.Each([&](int x, int y, TColour& c) {
      const double bx = blob.X + lean(static_cast<int>(blob.Y)), dx = x + 0.5 - bx, dy = y + 0.5 - blob.Y;
      const double d = std::sqrt(dx * dx + dy * dy);
      // Leaves break up the rim: the outer pixels stay only where a leaf is.
      const int leafCell = static_cast<int>(Hash(x / 2, y / 2, seed) % 100);
      if (d > blob.R || (d > blob.R - 4 && leafCell < 45)) return false;
      const double lit = 1 - 0.45 * (dx + dy) / (blob.R * 1.4);
      TColour leaf = Shade(Rgb(64, 132, 48), static_cast<int>(blob.Light * lit));
      if (Hash(x / 3, y / 3, seed + 7) % 5 == 0) leaf = Shade(leaf, 78);
      if (Hash(x, y, seed + 8) % 7 == 0) leaf = Shade(leaf, 124);
      c = Grain(leaf, x, y, seed + 9, 6);
      c.A = d > blob.R - 2 ? 200 : 255;
      return true;
    });
  }
  static const double kApples[][2] = {{40, 40}, {68, 34}, {28, 66}, {80, 62},
                                      {58, 56}, {46, 76}, {88, 46}, {62, 18}};
  for (const auto& apple : kApples) {
    canvas.Each([&](int x, int y, TColour& c) {
      const double dx = x + 0.5 - apple[0] - lean(static_cast<int>(apple[1])), dy = y + 0.5 - apple[1];
      if (dx * dx + dy * dy > 4.5) return false;
      c = dx + dy < -1 ? Rgb(255, 150, 130) : Rgb(204, 36, 30);
      return true;
    });
  }
  return canvas;
}

// A street lamp whose flame flickers: `frame` sets the glow's reach and the
// flame's height.
TCanvas StreetLamp(int frame) {
  static const int kGlow[] = {19, 23, 15, 21};
  static const int kFlame[] = {6, 8, 5, 7};
  static const int kWarm[] = {0, 18, -14, 10};
  TCanvas canvas(48, 118);
  const double gx = 24, gy = 23;
  canvas.Each([&](int x, int y, TColour& c) {
    const double dx = x + 0.5 - gx, dy = y + 0.5 - gy, d = std::sqrt(dx * dx + dy * dy) / kGlow[frame];
    if (d >= 1) return false;
    c = Rgb(255, 204, 96, static_cast<int>(210 * (1 - d) * (1 - d)));
    return true;
  });
  const TColour iron = Rgb(52, 54, 62);
  canvas.Each([&](int x, int y, TColour& c) {
    // Post with a lit edge, a collar and a stone plinth.
    if (y >= 34 && y < 108 && x >= 21 && x < 27) {
      c = x == 22 ? Rgb(110, 112, 124) : (x == 26 ? Rgb(30, 30, 36) : iron);
      if (y >= 62 && y < 66) c = Lift(iron, y == 62 ? 60 : 20);
      return true;
    }
    if (y >= 104 && y < 118 && std::abs(x + 0.5 - 24) <= 9 - (y < 108 ? 3 : 0)) {
      c = Grain(Rgb(150, 144, 132), x, y, 101, 10);
      if (y == 104 || y == 108) c = Lift(c, 30);
      return true;
    }
    // The lantern: a roof, a glass box with bars, a base plate.
    if (y >= 6 && y < 14 && std::abs(x + 0.5 - 24) <= (y - 5) * 1.4) {
      c = y < 8 ? Rgb(90, 92, 104) : iron;
      return true;
    }
    if (y >= 14 && y < 32 && x >= 14 && x < 34) {
      if (x < 16 || x >= 32 || x == 23 || x == 24) {
        c = iron;
        return true;
      }
      const double fx = (x + 0.5 - 24) / 3.2, fy = (y + 0.5 - 25) / kFlame[frame];
      const double flame = fx * fx + (fy < 0 ? fy * fy : fy * fy * 4);
      c = flame < 1 ? Rgb(255, 250, 210) : Rgb(255, 214 + kWarm[frame] / 2, 120 + kWarm[frame]);
      if (flame >= 1 && (y - 14) * 2 < (x - 16)) c = Lift(c, 12);
      return true;
    }
    if (y >= 32 && y < 35 && x >= 12 && x < 36) {
      c = y == 32 ? Rgb(110, 112, 124) : iron;
      return true;
    }
    return false;
  });
  return canvas;
}

// Logs in a ring of stones with flames whose tongues change per frame.
TCanvas Campfire(int frame) {
  TCanvas canvas(64, 64);
  static const int kTongue[3][5] = {{22, 34, 28, 36, 20}, {26, 30, 38, 26, 24}, {20, 38, 30, 32, 26}};
  static const int kLean[3] = {0, 2, -2};
  canvas.Each([&](int x, int y, TColour& c) {
    const double dx = (x + 0.5 - 32) / 30, dy = (y + 0.5 - 48) / 14, d = dx * dx + dy * dy;
    if (d >= 1) return false;
    c = Rgb(255, 140, 40, static_cast<int>(70 * (1 - d)));
    return true;
  });
  // Stones around the back half first, logs, then the front stones.
  static const int kStones[][3] = {{8, 50, 5},  {14, 44, 5}, {23, 41, 5}, {32, 40, 5},
                                   {41, 41, 5}, {50, 44, 5}, {56, 50, 5}, {50, 56, 6},
                                   {40, 59, 6}, {28, 59, 6}, {17, 56, 6}};
  const auto stones = [&](bool front) {
    int index = 0;
    for (const auto& s : kStones) {
      ++index;
      if ((s[1] > 50) != front) continue;
      canvas.Each([&](int x, int y, TColour& c) {
        const double dx = x + 0.5 - s[0], dy = (y + 0.5 - s[1]) * 1.3, d = std::sqrt(dx * dx + dy * dy);
        if (d > s[2]) return false;
        c = Shade(Lift(Rgb(132, 128, 120), Noise(index, 0, 111, 16)),
                  static_cast<int>(118 - 40 * (dx + dy) / s[2]));
        if (d > s[2] - 1) c = Shade(c, 50);
        c = Grain(c, x, y, 112, 6);
        return true;
      });
    }
  };
  stones(false);
  canvas.Each([&](int x, int y, TColour& c) {
    const double a = SegmentDistance(x, y, 16, 54, 46, 44), b = SegmentDistance(x, y, 18, 44, 48, 54);
    const double d = std::min(a, b);
    if (d > 3.6) return false;
    c = Shade(Rgb(120, 78, 44), static_cast<int>(118 - 14 * d));
    if (Hash(x / 3, y, 113) % 5 == 0) c = Shade(c, 70);
    if (x >= 26 && x < 38 && y > 44) c = Mix(c, Rgb(255, 110, 30), 110);
    return true;
  });
  for (int t = 0; t < 5; ++t) {
    const double baseX = 20 + t * 6, baseY = 50, top = baseY - kTongue[frame][t], half = t % 2 ? 6.5 : 5;
    canvas.Each([&](int x, int y, TColour& c) {
      if (y < top || y > baseY) return false;
      const double along = (y + 0.5 - top) / (baseY - top);
      const double centre = baseX + kLean[frame] * (1 - along) * 3;
      const double w = half * std::sqrt(along);
      const double across = std::abs(x + 0.5 - centre) / std::max(w, 0.01);
      if (across > 1) return false;
      const int heat = static_cast<int>(256 * (1 - across) * along);
      c = Mix(Rgb(230, 70, 20), heat > 110 ? Rgb(255, 236, 150) : Rgb(255, 160, 40),
              heat > 110 ? heat - 40 : heat * 2);
      c.A = static_cast<int>(150 + 100 * along);
      return true;
    });
  }
  stones(true);
  return canvas;
}

// An isometric cube with a frame, planks and a diagonal brace on each side.
TCanvas Crate() {
  TCanvas canvas(48, 51);
  canvas.Each([&](int x, int y, TColour& c) {
    const double dx = x + 0.5 - 24, dy = y + 0.5 - 12;
    if (std::abs(dx) + 2 * std::abs(dy) <= 24) {
      const double a = dx / 2 + dy, b = dy - dx / 2;  // -12..12 each
      TColour wood = Rgb(206, 160, 100);
      if (std::abs(a) > 9.5 || std::abs(b) > 9.5) {
        wood = Rgb(176, 128, 74);
      } else if (static_cast<int>(std::floor(a + 12)) % 5 == 0) {
        wood = Shade(wood, 82);
      }
      c = Grain(wood, x, y, 121, 6);
      return true;
    }
    const bool left = x < 24;
    const double topEdge = left ? 12 + (x + 0.5) / 2 : 24 - (x + 0.5 - 24) / 2;
    const double v = y + 0.5 - topEdge;
    if (v < 0 || v > 26) return false;
    const double u = left ? x + 0.5 : 48 - (x + 0.5);  // 0 at the outer corner, 24 at the front edge
    TColour wood = left ? Rgb(168, 116, 64) : Rgb(128, 86, 46);
    if (u < 3 || u > 21 || v < 3 || v > 23) {
      wood = Shade(wood, 80);
    } else if (std::abs(v - 3 - (u - 3) * 20 / 18) < 2.2) {
      wood = Shade(wood, 112);
    } else if (static_cast<int>(v) % 5 == 0) {
      wood = Shade(wood, 78);
    }
    if ((u < 3 || u > 21) && (v < 3 || v > 23) && std::abs(u - 1.5) + std::abs(v - 1.5) < 1)
      wood = Rgb(60, 60, 64);
    c = Grain(wood, x, y, left ? 122 : 123, 6);
    return true;
  });
  canvas.Outline(kInk);
  return canvas;
}

// A leaf: an ellipse along the direction (dirX, dirY) from its stalk.
bool InLeaf(int x, int y, double x0, double y0, double dirX, double dirY, double length, double width,
            double& across) {
  const double len = std::sqrt(dirX * dirX + dirY * dirY);
  const double ux = dirX / len, uy = dirY / len;
  const double px = x + 0.5 - x0, py = y + 0.5 - y0;
  const double along = px * ux + py * uy - length / 2;
  across = (px * -uy + py * ux) / width;
  return along * along / (length * length / 4) + across * across <= 1;
}

TCanvas PottedPlant() {
  TCanvas canvas(40, 64);
  struct TLeaf {
    double X, Y, DirX, DirY, Length, Width;
  };
  const TLeaf leaves[] = {{20, 40, -3, -1, 19, 4.5}, {20, 40, 3, -1.2, 19, 4.5}, {19, 38, -2, -3, 24, 5},
                          {21, 38, 2, -3, 24, 5},    {20, 37, -0.3, -3, 30, 5},  {20, 40, -3, -2.2, 17, 4},
                          {20, 40, 3, -2.4, 17, 4}};
  int seed = 130;
  for (const TLeaf& leaf : leaves) {
    ++seed;
    canvas.Each([&](int x, int y, TColour& c) {
      double across = 0;
      if (!InLeaf(x, y, leaf.X, leaf.Y, leaf.DirX, leaf.DirY, leaf.Length, leaf.Width, across)) return false;
      c = across < 0 ? Rgb(84, 160, 60) : Rgb(58, 122, 44);
      if (std::abs(across) < 0.18) c = Rgb(150, 200, 110);
      c = Grain(c, x, y, seed, 6);
      return true;
    });
  }
  canvas.Each([&](int x, int y, TColour& c) {
    const double dx = x + 0.5 - 20;
    if (y >= 40 && y < 46 && std::abs(dx) <= 15) {
      c = y == 40 ? Rgb(236, 150, 104) : Rgb(196, 104, 62);
    } else if (y >= 46 && y < 63 && std::abs(dx) <= 13 - (y - 46) * 4.0 / 17) {
      const double n = dx / (13 - (y - 46) * 4.0 / 17);
      c = Shade(Rgb(190, 96, 56), static_cast<int>(60 + 55 * std::sqrt(std::max(0.0, 1 - n * n)) - 18 * n));
    } else {
      return false;
    }
    c = Grain(c, x, y, 139, 5);
    return true;
  });
  canvas.Outline(kInk);
  return canvas;
}

// A barrel: bulging staves shaded as a cylinder, two iron hoops, a lid.
TCanvas Barrel() {
  TCanvas canvas(44, 56);
  canvas.Each([&](int x, int y, TColour& c) {
    const double dy = (y + 0.5 - 31) / 25;
    const double half = 18 + 3 * (1 - dy * dy);
    const double dx = x + 0.5 - 22, n = dx / half;
    if (y < 6) {
      const double ey = (y + 0.5 - 6) / 5, ex = dx / 19;
      if (ex * ex + ey * ey > 1) return false;
      c = Grain(Shade(Rgb(150, 100, 56), 80 + (std::abs(ex * ex + ey * ey - 0.5) < 0.08 ? -20 : 0)), x, y,
                141, 6);
      return true;
    }
    if (std::abs(dy) > 1 || std::abs(n) > 1) return false;
    const double light = 0.5 + 0.5 * std::sqrt(1 - n * n) - 0.16 * n;
    TColour wood = Lift(Rgb(156, 102, 54), Noise(static_cast<int>(std::floor((n + 1) * 5)), 0, 142, 12));
    if (std::abs((n + 1) * 5 - std::round((n + 1) * 5)) < 0.08) wood = Shade(wood, 60);
    c = Shade(wood, static_cast<int>(100 * light));
    for (int hoop : {12, 44}) {
      if (y >= hoop && y < hoop + 4)
        c = Shade(y == hoop ? Rgb(150, 150, 160) : Rgb(76, 76, 86), static_cast<int>(100 * light + 10));
    }
    c = Grain(c, x, y, 143, 5);
    return true;
  });
  canvas.Each([&](int x, int y, TColour& c) {
    const double ex = (x + 0.5 - 22) / 17, ey = (y + 0.5 - 6) / 4;
    if (ex * ex + ey * ey > 1) return false;
    c = Grain(Rgb(118, 76, 40), x, y, 144, 6);
    if (static_cast<int>(x + 0.5 - 22 + 40) % 6 == 0) c = Shade(c, 70);
    return true;
  });
  canvas.Outline(kInk);
  return canvas;
}

// A park bench along one diagonal: backrest, legs, seat slats.
TCanvas Bench() {
  TCanvas canvas(80, 72);
  const double ox = 4, oy = 27;  // the seat's front-left corner
  // Where (u along the bench, w toward its back) lands on screen.
  const auto toScreen = [&](double u, double w) { return std::pair{ox + u + w, oy + u / 2 - w / 2}; };
  const auto seat = [&](double x, double y, double& u, double& w) {
    const double px = x - ox, py = y - oy;
    u = (px + 2 * py) / 2;
    w = (px - 2 * py) / 2;
  };
  const TColour wood = Rgb(170, 112, 60), iron = Rgb(56, 58, 66);
  // A post from the seat down (height > 0) or up (height < 0).
  const auto leg = [&](double u, double w, int height) {
    const auto [sx, sy] = toScreen(u, w);
    const double from = std::min(sy, sy + height), to = std::max(sy, sy + height);
    canvas.Each([&](int x, int y, TColour& c) {
      if (x < sx - 1 || x > sx + 1 || y < from || y > to) return false;
      c = x < sx ? Lift(iron, 40) : iron;
      return true;
    });
  };
  // Backrest: slats standing on the back edge.
  canvas.Each([&](int x, int y, TColour& c) {
    const double u = x - ox - 12;
    if (u < 0 || u > 60) return false;
    const double base = oy + u / 2 - 6;
    const double h = base - (y + 0.5);
    const bool lower = h >= 5 && h < 11, upper = h >= 13 && h < 19;
    if (!lower && !upper) return false;
    c = Grain(Shade(wood, h < 6 || (h >= 13 && h < 14) ? 72 : 92), x, y, 151, 6);
    return true;
  });
  leg(3, 12, 12);
  leg(57, 12, 12);
  leg(3, 12, -20);  // the backrest's posts
  leg(57, 12, -20);
  canvas.Each([&](int x, int y, TColour& c) {
    double u = 0, w = 0;
    seat(x + 0.5, y + 0.5, u, w);
    if (u >= 0 && u <= 60 && w >= 0 && w <= 12) {
      const int slat = static_cast<int>(w / 3);
      c = w - slat * 3 < 0.8 ? Shade(wood, 62) : Lift(wood, Noise(slat, 0, 152, 12) + 10);
      c = Grain(c, x, y, 153, 6);
      return true;
    }
    // The front edge's thickness.
    double ut = 0, wt = 0;
    seat(x + 0.5, y + 0.5 - 3, ut, wt);
    if (ut >= 0 && ut <= 60 && wt >= -1.5 && wt < 0) {
      c = Shade(wood, 70);
      return true;
    }
    return false;
  });
  leg(3, 0, 14);
  leg(57, 0, 14);
  canvas.Outline(kInk);
  return canvas;
}

// A stone arch holding panes of coloured glass; the glass lets the ground
// show through.
TCanvas StainedGlassWindow() {
  TCanvas canvas(56, 84);
  static const TColour kGlass[] = {Rgb(200, 40, 48), Rgb(40, 90, 200), Rgb(240, 196, 40), Rgb(50, 150, 80),
                                   Rgb(140, 60, 170)};
  canvas.Each([&](int x, int y, TColour& c) {
    if (!InArch(x, y, 28, 28, 28, 84)) return false;
    if (!InArch(x, y, 28, 28, 21, 76)) {
      const int block = y < 28 ? (x < 28 ? 0 : 1) : (y - 28) / 10 + 2;
      c = Grain(Lift(Rgb(178, 170, 154), Noise(block, x < 28, 161, 12)), x, y, 162, 8);
      if (y >= 28 && (y - 28) % 10 == 0) c = Rgb(104, 98, 88);
      if (y >= 76) c = Grain(Rgb(150, 142, 128), x, y, 163, 6);
      return true;
    }
    // Lead: a diamond lattice and the mullion down the middle.
    const int a = (x + y) % 12, b = (x - y + 120) % 12;
    if (a == 0 || b == 0 || x == 27 || x == 28) {
      c = Rgb(44, 44, 52);
      return true;
    }
    const int pane = static_cast<int>(Hash((x + y) / 12, (x - y + 120) / 12, 164) % 5);
    c = Lift(kGlass[pane], (x + y) % 12 < 3 ? 40 : 0);
    c.A = 168;
    return true;
  });
  return canvas;
}

TShapeList WallsShapes(std::uint8_t paintedEncoding) {
  TShapeList shapes;
  shapes.push_back(Single(IndexedFrame(BrickWall(true)), 0, -30));
  shapes.push_back(Single(IndexedFrame(BrickWall(false)), 0, -30));
  shapes.push_back(Single(ColourFrame(WoodenDoor()), 0, -40));
  SetFlags(shapes.back(), true, false, false);

  for (const TCanvas& tile : {StoneFloor(), GrassFloor()}) {
    shapes.push_back(Single(IndexedFrame(tile)));
    SetFlags(shapes.back(), true, false, false);
  }
  shapes.push_back(Single(ColourFrame(WoodFloor())));
  SetFlags(shapes.back(), true, false, false);

  {
    // PNG planes keep the large painted frames small.
    TPatchFrame tree;
    for (int sway : {-4, 0, 4}) {
      tree.Frames.push_back(ColourAlphaFrame(Tree(sway), paintedEncoding));
      tree.Frames.back().ShapePosY = -60;
    }
    tree.Script = LoopScript({300, 300, 300});
    tree.Script.insert(tree.Script.end() - 1, {TKSStep{ksShowFrame, 1, 0}, TKSStep{ksDelay, 300, 0}});
    shapes.push_back(std::move(tree));
  }
  {
    TPatchFrame lamp;
    for (int f = 0; f < 4; ++f) {
      lamp.Frames.push_back(ColourAlphaFrame(StreetLamp(f), kEncodingRaw));
      lamp.Frames.back().ShapePosY = -50;
    }
    lamp.Script = LoopScript({120, 80, 160, 100});
    shapes.push_back(std::move(lamp));
  }
  {
    TPatchFrame fire;
    for (int f = 0; f < 3; ++f) fire.Frames.push_back(ColourAlphaFrame(Campfire(f), paintedEncoding));
    fire.Script = LoopScript({110, 110, 110});
    shapes.push_back(std::move(fire));
  }

  TPatchSubFrame crate = IndexedFrame(Crate());
  crate.FurrePosY = -14;
  shapes.push_back(Single(std::move(crate), 0, -8));
  SetFlags(shapes.back(), false, false, true);

  shapes.push_back(Single(IndexedFrame(PottedPlant()), 0, -16));
  SetFlags(shapes.back(), false, true, false);

  shapes.push_back(Single(ColourFrame(Barrel()), 0, -12));

  TPatchSubFrame bench = IndexedFrame(Bench());
  bench.FurrePosX = 4;
  bench.FurrePosY = -6;
  shapes.push_back(Single(std::move(bench), 0, -10));
  SetFlags(shapes.back(), false, false, true);

  shapes.push_back(Single(ColourAlphaFrame(StainedGlassWindow(), kEncodingRaw), 0, -36));
  return shapes;
}

// ---- import.fsh --------------------------------------------------------------

// A cut gem: a flat table, a crown of facets and a pointed pavilion, lit
// from the upper left.
TCanvas Gem(TColour base, int width, int height) {
  TCanvas canvas(width, height);
  const double cx = width / 2.0, girdle = height * 0.36, table = height * 0.12;
  canvas.Each([&](int x, int y, TColour& c) {
    const double px = x + 0.5 - cx, py = y + 0.5, half = width / 2.0 - 1;
    // Half the gem's width at this height, and how much light the facet there catches.
    double reach = 0;
    int light = 100;
    if (py < table) {
      reach = half * (0.55 + 0.27 * py / table);
      light = std::abs(px) < half * 0.4 ? 150 : 120;
    } else if (py < girdle) {
      reach = half * (0.82 + 0.18 * (py - table) / (girdle - table));
      light = px < 0 ? 128 : 92;
    } else {
      reach = half * (1 - (py - girdle) / (height - 1 - girdle));
      light = (px < 0 ? 88 : 62) + (std::abs(px) < reach * 0.3 ? 22 : 0);
    }
    if (std::abs(px) > reach || py < 1) return false;
    c = Shade(base, light);
    if (std::abs(px + half * 0.25) < 1.2 && py > table && py < girdle) c = Rgb(255, 255, 255);
    return true;
  });
  canvas.Outline(Shade(base, 35));
  return canvas;
}

TCanvas Daisy() {
  TCanvas canvas(36, 52);
  canvas.Each([&](int x, int y, TColour& c) {
    double across = 0;
    if (x >= 17 && x < 19 && y >= 18) {
      c = Rgb(70, 140, 50);
    } else if (InLeaf(x, y, 18, 38, 3, -1.2, 14, 3.5, across)) {
      c = across < 0 ? Rgb(96, 170, 70) : Rgb(64, 128, 48);
    } else {
      return false;
    }
    return true;
  });
  // Eight petals round the centre, pointing along the compass and between.
  static const double kDirs[8][2] = {{1, 0},  {0.7, 0.7},   {0, 1},  {-0.7, 0.7},
                                     {-1, 0}, {-0.7, -0.7}, {0, -1}, {0.7, -0.7}};
  for (const auto& dir : kDirs) {
    canvas.Each([&](int x, int y, TColour& c) {
      double across = 0;
      if (!InLeaf(x, y, 18 + dir[0] * 3, 16 + dir[1] * 3, dir[0], dir[1], 13, 3.6, across)) return false;
      c = std::abs(across) < 0.3 ? Rgb(250, 250, 248) : Rgb(222, 222, 232);
      return true;
    });
  }
  canvas.Each([&](int x, int y, TColour& c) {
    const double dx = x + 0.5 - 18, dy = y + 0.5 - 16;
    if (dx * dx + dy * dy > 22) return false;
    c = Grain(dx + dy < 0 ? Rgb(252, 214, 60) : Rgb(222, 160, 30), x, y, 171, 10);
    return true;
  });
  canvas.Outline(kInk);
  return canvas;
}

TCanvas Tulip() {
  TCanvas canvas(28, 50);
  canvas.Each([&](int x, int y, TColour& c) {
    double across = 0;
    if (x >= 13 && x < 15 && y >= 18) {
      c = Rgb(70, 140, 50);
    } else if (InLeaf(x, y, 14, 46, -1.4, -3, 22, 3.6, across)) {
      c = across < 0 ? Rgb(100, 176, 74) : Rgb(66, 130, 50);
    } else {
      return false;
    }
    return true;
  });
  canvas.Each([&](int x, int y, TColour& c) {
    const double dx = x + 0.5 - 14, t = (y + 0.5 - 3) / 18;
    if (t < 0 || t > 1) return false;
    const double half = 8.5 * std::sqrt(std::max(0.0, 1 - (t - 0.55) * (t - 0.55) / 0.3));
    if (std::abs(dx) > half) return false;
    // Three petal tips along the top edge.
    if (t < 0.22 && std::abs(std::abs(dx) - 5) > 2.5 && std::abs(dx) > 1.5) return false;
    c = Shade(Rgb(222, 40, 52), static_cast<int>(120 - 40 * (dx + half) / (2 * half + 0.01)));
    if (std::abs(std::abs(dx) - 3) < 0.6 && t > 0.3) c = Rgb(160, 20, 36);
    return true;
  });
  canvas.Outline(kInk);
  return canvas;
}

// A signboard on a post, its word cut into the board with the program's font.
TCanvas Signpost(const std::string& word) {
  TCanvas canvas(48, 56);
  canvas.Each([&](int x, int y, TColour& c) {
    if (x >= 21 && x < 27 && y >= 20) {
      c = Grain(x < 23 ? Rgb(150, 102, 58) : Rgb(112, 74, 40), x, y, 181, 6);
      return true;
    }
    if (x >= 2 && x < 46 && y >= 4 && y < 24) {
      c = Grain(Lift(Rgb(188, 136, 80), (y - 4) % 7 == 0 ? -40 : 0), x, y, 182, 8);
      if (x < 4 || x >= 44 || y < 6 || y >= 22) c = Rgb(120, 80, 44);
      return true;
    }
    return false;
  });
  TPicture letters(canvas.Width(), canvas.Height(), TPictureDepth::Rgb24);
  DrawText(letters, (canvas.Width() - TextWidth(word, true)) / 2, 14 - TextHeight() / 2, word, 0, 255, 255,
           255, true);
  for (int y = 0; y < letters.Height; ++y) {
    for (int x = 0; x < letters.Width; ++x) {
      if (letters.Row(y)[x * 3] != 0) canvas.Put(x, y, Rgb(62, 36, 18));
    }
  }
  canvas.Outline(kInk);
  return canvas;
}

TCanvas Mushroom() {
  TCanvas canvas(36, 36);
  canvas.Each([&](int x, int y, TColour& c) {
    const double dx = x + 0.5 - 18;
    if (y >= 16 && y < 34 && std::abs(dx) <= 5 + (y > 28 ? (y - 28) * 0.6 : 0)) {
      c = Shade(Rgb(238, 226, 196), static_cast<int>(110 - 6 * dx));
      return true;
    }
    const double ex = dx / 17, ey = (y + 0.5 - 18) / 16;
    if (y + 0.5 > 19 || ex * ex + ey * ey > 1) return false;
    c = Shade(Rgb(210, 36, 36), static_cast<int>(118 - 30 * (ex + ey)));
    for (const auto& spot :
         {std::pair{11.0, 9.0}, std::pair{22.0, 6.0}, std::pair{26.0, 14.0}, std::pair{15.0, 15.0}}) {
      const double sx = x + 0.5 - spot.first, sy = y + 0.5 - spot.second;
      if (sx * sx + sy * sy < 6) c = Rgb(250, 246, 236);
    }
    return true;
  });
  canvas.Outline(kInk);
  return canvas;
}

TCanvas Potion() {
  TCanvas canvas(30, 42);
  canvas.Each([&](int x, int y, TColour& c) {
    const double dx = x + 0.5 - 15;
    if (y >= 2 && y < 8 && std::abs(dx) <= 3.5) {
      c = Grain(Rgb(176, 130, 80), x, y, 191, 8);
      return true;
    }
    if (y >= 8 && y < 16 && std::abs(dx) <= 4) {
      c = std::abs(dx + 2) < 0.8 ? Rgb(236, 240, 250) : Rgb(170, 196, 214);
      return true;
    }
    const double ey = (y + 0.5 - 28) / 13, ex = dx / 13;
    if (ex * ex + ey * ey > 1) return false;
    c = y < 21 ? Rgb(180, 206, 222) : Shade(Rgb(150, 60, 190), static_cast<int>(120 - 40 * (ex + ey)));
    const double hx = x + 0.5 - 10, hy = y + 0.5 - 24;
    if (hx * hx / 2 + hy * hy / 10 < 1) c = Rgb(240, 236, 250);
    return true;
  });
  canvas.Outline(kInk);
  return canvas;
}

TShapeList ImportShapes() {
  TShapeList shapes;
  const auto add = [&](const TCanvas& canvas, bool gettable, int furreX = 0, int furreY = 0) {
    TPatchSubFrame frame = IndexedFrame(canvas);
    frame.FurrePosX = static_cast<std::int16_t>(furreX);
    frame.FurrePosY = static_cast<std::int16_t>(furreY);
    shapes.push_back(Single(std::move(frame)));
    SetFlags(shapes.back(), false, gettable, false);
  };
  add(Gem(Rgb(214, 30, 44), 30, 28), true);
  add(Gem(Rgb(44, 80, 214), 34, 30), true);
  add(Gem(Rgb(40, 170, 80), 26, 32), true);
  add(Daisy(), true);
  add(Tulip(), true);
  add(Signpost("INN"), false, 0, 6);
  add(Mushroom(), true);
  add(Potion(), true);
  return shapes;
}

}  // namespace

int main(int argc, char** argv) {
  const bool raw = argc == 3 && std::string(argv[1]) == "--raw";
  // A lone option is a mistake, not a folder to write into.
  if ((argc != 2 && !raw) || argv[argc - 1][0] == '-') {
    std::cerr << "usage: make-samples [--raw] OUTDIR\n";
    return 2;
  }
  try {
    const std::filesystem::path folder(argv[argc - 1]);
    std::filesystem::create_directories(folder);
    const std::string walls = (folder / "walls.fox").string();
    SaveFOXFile(walls, WallsShapes(raw ? kEncodingRaw : kEncodingPNG));
    std::cout << walls << '\n';

    const std::string import = (folder / "import.fsh").string();
    ScriptedUserInterface ui;
    if (!SaveFSHFile(import, ImportShapes(), ui, TSaveOptions{.SaveFBJInformation = true})) {
      for (const auto& shown : ui.Shown()) std::cerr << "make-samples: " << shown.Message.Text << '\n';
      return 1;
    }
    std::cout << import << '\n' << FBJFileName(import) << '\n';
  } catch (const std::exception& error) {
    std::cerr << "make-samples: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
