#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

#include "model/patch_frame.h"
#include "model/picture.h"

namespace quillmere {

class UserInterface;

// Limits of the export dialog's number fields; the command-line tool keeps the
// same ones.
inline constexpr int kMinBaseFrameDelay = 1;
inline constexpr int kMaxBaseFrameDelay = 1000;
// The dialog's "Base Frame Delay" when it opens.
inline constexpr int kDefaultBaseFrameDelay = 10;
inline constexpr int kMinMaxSteps = 1;
inline constexpr int kMaxMaxSteps = 100000;

// A typed value outside a field's limits is brought to the nearer limit.
int ClampToLimits(long long value, int low, int high);

struct TGifExportOptions {
  bool KitterspeakMode = true;  // false: "Direct Frames"
  // Hundredths of a second per frame in Direct Frames mode; the script's
  // initial default delay in milliseconds in Kitterspeak Animation mode.
  int BaseFrameDelay = kDefaultBaseFrameDelay;
  bool Transparent = true;  // palette index 0 is the transparent colour
  bool IgnorePos = false;   // each frame at its own size, positions unused
  bool Remapped = false;
  std::string ColourCode;
  int MaxSteps = 1;  // Kitterspeak Animation mode only
  // "Smallest file (renumbers colours)": the colour table holds only the
  // colours shown, so pixel indices are no longer the game palette's, and
  // each frame is cropped to what changed. Every frame still looks the same.
  bool Optimize = false;
};

// The dialog's "Maximum Steps" for a shape: its step count, within the limits.
int DefaultMaxSteps(const TPatchFrame& shape);

// The common canvas of one export. The shift moves the left-most and top-most
// position to 0.
struct TGifCanvasGeometry {
  int ScreenWidth = 0;   // the largest frame Width
  int ScreenHeight = 0;  // the largest frame Height
  int ShiftX = 0;
  int ShiftY = 0;
  bool operator==(const TGifCanvasGeometry&) const = default;
};

// Positions are the frames' own and, in Kitterspeak Animation mode, also the
// arguments of the script's Set frame X and Y position steps. Frames that
// are never drawn (an unknown format, too large to decode) count for nothing;
// without a frame to draw everything is 0. The export shifts further when
// playback draws a frame at a position kept from a frame that is never drawn.
TGifCanvasGeometry ComputeCanvasGeometry(const TPatchFrame& shape, const TGifExportOptions& options);

struct TCanvasSize {
  int Width = 0;
  int Height = 0;
  bool operator==(const TCanvasSize&) const = default;
};

// The size of the canvas for a frame of frameWidth x frameHeight drawn at
// (x, y): the screen, widened or heightened just enough when the frame sticks
// out on the right or at the bottom. Never shrinks or grows left or up.
TCanvasSize CanvasSizeFor(int frameWidth, int frameHeight, int x, int y, int screenWidth, int screenHeight);

// A new indexed canvas of CanvasSizeFor's size, filled with palette index 0,
// with the indexed `frame` drawn at (x, y); the parts left of or above the
// canvas are cut off. A colour frame raises std::invalid_argument: convert it
// with PaletteMatcher first.
TPicture PlaceFrameOnCanvas(const TPicture& frame, int x, int y, int screenWidth, int screenHeight);

// Converts colour pictures to the game palette, each pixel taking the entry
// nearest by squared RGB distance (the lowest index among equals). Colours
// already seen are remembered, so a frame's few colours are searched once.
class PaletteMatcher {
 public:
  std::uint8_t Nearest(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
  // Turns a colour picture into an indexed one in place; an indexed picture
  // stays as it is.
  void Convert(TPicture& picture);

 private:
  std::unordered_map<std::uint32_t, std::uint8_t> cache_;
};

// The delay of a played frame in hundredths of a second, from milliseconds:
// a tenth, rounded to the nearest integer with halves to the even neighbour
// (15 gives 2, 25 gives 2, 5 gives 0), kept within 0..65535.
int GifDelayFromMilliseconds(int milliseconds);

struct TGifExportResult {
  bool Written = false;
  int Frames = 0;
  bool Abandoned = false;  // the progress callback stopped it; no file was written
};

// Where a running export stands. A first playback measures the frames, whose
// number is unknown until it ends (Total 0); the second writes them.
enum class TGifExportPhase { Measuring, Writing };
struct TGifExportProgress {
  TGifExportPhase Phase = TGifExportPhase::Measuring;
  int Done = 0;   // frames measured or written so far
  int Total = 0;  // frames the file will hold; 0 while measuring
};
// Called after every frame measured or written; returning false abandons the
// export, which then leaves no file and no trace of one.
using TGifProgress = std::function<bool(const TGifExportProgress&)>;

// Exports `shape` as an animated GIF to `fileName`, replacing the file only
// when it is complete. The colour table is the whole game palette and every
// frame is written whole in game-palette indices, unless Optimize asks for
// the smallest file. Refuses, with a message and no file written, a shape
// without frames, a Kitterspeak Animation without steps or without a frame to
// show, and canvases too large for a GIF. Write failures raise WriteError and
// leave an existing file as it was. BaseFrameDelay and MaxSteps are kept
// within the dialog's limits.
TGifExportResult ExportAnimatedGif(const TPatchFrame& shape, const TGifExportOptions& options,
                                   const std::string& fileName, UserInterface& ui,
                                   const TGifProgress& progress = {});

}  // namespace quillmere
