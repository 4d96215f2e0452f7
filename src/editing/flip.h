#pragma once

#include "model/patch_frame.h"

namespace quillmere {

class UserInterface;

// Mirror a frame's pixels in place; sizes, positions and every other field
// stay. Only raw 8-bit frames (format 1, encoding 0) whose payload holds
// exactly Width x Height bytes are flipped; any other frame is left unchanged
// and a line on the debugging output says why.
//
// Horizontally reverses each row. Vertically reverses the whole payload, so
// the picture turns upside down and left to right at once (a half turn);
// Flip Horizontally after it leaves only the rows reversed. Either flip
// applied twice restores the frame.
void FlipFrameHorizontally(TPatchSubFrame& frame, UserInterface& ui);
void FlipFrameVertically(TPatchSubFrame& frame, UserInterface& ui);

// The frame flip on each of the shape's frames, in order.
void FlipShapeHorizontally(TPatchFrame& shape, UserInterface& ui);
void FlipShapeVertically(TPatchFrame& shape, UserInterface& ui);

}  // namespace quillmere
