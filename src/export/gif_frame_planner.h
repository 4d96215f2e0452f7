#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "export/gif_lzw_fit.h"
#include "export/gif_writer.h"
#include "model/picture.h"

namespace quillmere {

// One image of a cropped animation: where it goes, how it is disposed of,
// its transparent index, and pixel choices that all show the same picture
// (pixels already shown written as their colour, as transparent, mixed to
// lengthen runs, or as the LZW coder likes best). The caller keeps whichever
// compresses best.
struct TGifFramePlan {
  TGifImage Image;  // Pixels left empty
  std::vector<std::vector<std::uint8_t>> Variants;
};

// Turns the frames of a plain export into images that show exactly the same
// pictures in any viewer, each cropped to what changed.
//
// A plain frame is a whole picture at (0, 0), disposed of by restoring the
// background, so a viewer shows each one on an empty screen: its pixels, with
// the background wherever it is transparent or does not reach. The planner
// follows, pixel by pixel, what a viewer holds before each image (a palette
// entry or the background) and writes only the rectangle that differs from
// the wanted picture.
//
// The background can't be painted, only uncovered by disposal, so pixels
// that turn back into background decide how the image before them is
// disposed of:
//   1 (keep)     when no pixel turns back;
//   2 (restore to background) over a rectangle covering those pixels, which
//                the next image repaints where it is not background;
//   3 (restore to previous) when what lay under the image is right for the
//                next picture, as for a sprite moving over a still scene.
// Of the valid ones, the disposal whose image and next image cover the
// least area wins. The first image is never disposed of by 3 (readers differ
// on what "previous" means before the first image).
//
// Viewers disagree on what the background looks like (the colour of index
// 0, or see-through), so it is produced only where a plain frame produces it
// and by the same means. A frame with restore-to-background disposal keeps
// the plain frame's transparency setting for the same reason, and so does
// the first frame: some readers take the background's look from them.
class GifFramePlanner {
 public:
  // `transparent`: palette index 0 is transparent, as in the plain export.
  GifFramePlanner(int screenWidth, int screenHeight, bool transparent, const TGifColourTable& table);

  // Plans the next image: `shown` is the frame as the plain export writes it
  // (indexed, at most the screen's size), `next` the frame after it or null
  // for the last one (a viewer starts each loop on an empty screen).
  TGifFramePlan Plan(const TPicture& shown, const TPicture* next);

 private:
  // Fills in the transparent index and the pixel choices of `plan.Image`.
  void AddVariants(TGifFramePlan& plan, const TPicture& shown);

  int width_;
  int height_;
  bool transparent_;
  LzwPixelFitter fitter_;
  int tableSize_;
  int spare_;                           // a table index no colour uses, or -1
  std::array<std::uint16_t, 256> map_;  // palette index -> what a viewer shows
  std::vector<std::uint16_t> screen_;   // what a viewer holds before the next image
  int planned_ = 0;
};

}  // namespace quillmere
