#pragma once

#include <cstddef>

#include "model/patch_frame.h"
#include "model/picture.h"
#include "model/shape_palette.h"

namespace quillmere {

class UserInterface;

// The grids' cells are square, this many pixels a side.
inline constexpr int kThumbnailSize = 120;

// Where a picture lands in a cell: its size after the fit and its top-left
// corner relative to the cell.
struct TThumbnailFit {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;

  bool operator==(const TThumbnailFit&) const = default;
};

// Shrinks a width x height picture to fit the cell keeping its proportions
// (never enlarging it) and centres it. The ratio is a double and the products
// and quotients with it are taken in long double before truncation toward
// zero, so that thumbnails match the grids' pixel for pixel: 100 x 300 in a
// 120 x 120 cell becomes 39 x 120 at (41, 0).
TThumbnailFit FitThumbnail(int width, int height, int cellWidth = kThumbnailSize,
                           int cellHeight = kThumbnailSize);

// How one cell is painted.
struct TThumbnailCell {
  int Width = kThumbnailSize;
  int Height = kThumbnailSize;
  TRGB Background{128, 128, 128};  // the grid's colour
  TRGB Highlight{0, 120, 215};     // the background of a selected cell
  bool Selected = false;
  bool MarkAnimated = false;  // draw the bold "ANI" mark
};

// Paints one grid cell as a colour picture of the cell's size: the cell's
// background (the highlight when selected), the frame decoded, shrunk to fit,
// made transparent by its key colour (palette entry 0 for format 1, black for
// format 2) or its alpha plane (formats 3 and 7), faded by its Opacity and
// blended over the background, then the "ANI" mark in black at the bottom
// left. Without a frame, with an unknown format or a fitted width of 0 the cell
// keeps its background only. A damaged PNG plane raises ReadError.
TPicture RenderThumbnail(const TPatchSubFrame* frame, const TThumbnailCell& cell, UserInterface& ui);

// A shape grid's cell: frame 0, marked "ANI" when the shape has more frames.
TPicture RenderShapeCell(const TPatchFrame& shape, TThumbnailCell cell, UserInterface& ui);

// A frame grid's cell: the frame at `frameIndex`, blank past the last frame.
TPicture RenderFrameCell(const TPatchFrame& shape, std::size_t frameIndex, TThumbnailCell cell,
                         UserInterface& ui);

// The focused cell's thick outline: the outer three pixels on every side of a
// colour picture take `colour`.
void DrawLargeHighlight(TPicture& cell, TRGB colour);

}  // namespace quillmere
