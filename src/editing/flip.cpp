#include "editing/flip.h"

#include <algorithm>
#include <string>

#include "interface/user_interface.h"

namespace quillmere {
namespace {

// Whether the frame's payload is a plain byte grid that a flip may reorder;
// a PNG stream or a payload of the wrong length would be scrambled.
bool Flippable(const TPatchSubFrame& frame, const std::string& operation, UserInterface& ui) {
  if (frame.Format != kFormatIndexed) {
    ui.DebugOutput(operation + ": Unsupported format! (" + std::to_string(frame.Format) + ")");
    return false;
  }
  if (frame.Encoding != kEncodingRaw) {
    ui.DebugOutput(operation + ": Unsupported encoding! (" + std::to_string(frame.Encoding) + ")");
    return false;
  }
  const std::size_t expected = static_cast<std::size_t>(frame.Width) * frame.Height;
  if (frame.Pixels.size() != expected) {
    ui.DebugOutput(operation + ": Payload of " + std::to_string(frame.Pixels.size()) + " bytes, " +
                   std::to_string(expected) + " expected; frame skipped");
    return false;
  }
  return true;
}

}  // namespace

void FlipFrameHorizontally(TPatchSubFrame& frame, UserInterface& ui) {
  if (!Flippable(frame, "FlipHoriz", ui) || frame.Width == 0) return;
  ByteBuffer& pixels = frame.Pixels.Edit();
  for (auto row = pixels.begin(); row != pixels.end(); row += frame.Width) {
    std::reverse(row, row + frame.Width);
  }
}

void FlipFrameVertically(TPatchSubFrame& frame, UserInterface& ui) {
  if (!Flippable(frame, "FlipVert", ui)) return;
  ByteBuffer& pixels = frame.Pixels.Edit();
  std::reverse(pixels.begin(), pixels.end());
}

void FlipShapeHorizontally(TPatchFrame& shape, UserInterface& ui) {
  for (TPatchSubFrame& frame : shape.Frames) FlipFrameHorizontally(frame, ui);
}

void FlipShapeVertically(TPatchFrame& shape, UserInterface& ui) {
  for (TPatchSubFrame& frame : shape.Frames) FlipFrameVertically(frame, ui);
}

}  // namespace quillmere
