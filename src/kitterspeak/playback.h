#pragma once

#include <cstdint>
#include <vector>

#include "model/patch_frame.h"
#include "model/picture.h"

namespace quillmere {

class UserInterface;

struct TKSLoopRecord {
  std::int32_t LoopStep = 0;   // index of the loop step that owns the record
  std::int32_t Target = 0;     // its first argument, kept for reference
  std::int32_t Remaining = 0;  // repeats still to do
};

// Where a playback stands between calls. The caller zeroes it, sets
// DefaultDelay and MaxSteps, and resets Delay to 0 after every call.
struct TKSPlayState {
  std::int32_t Position = 0;
  std::int32_t DefaultDelay = 0;  // milliseconds
  std::int32_t Delay = 0;         // milliseconds set by a Delay step for the current frame; 0: none
  std::int32_t FrameX = 0;
  std::int32_t FrameY = 0;
  std::vector<TKSLoopRecord> Loops;  // top is back()
  bool Stopped = false;
  std::int32_t StepsExecuted = 0;
  std::int32_t MaxSteps = 0;
  bool HasFrame = false;
};

// Runs the script's steps until a frame is ready or playback ends. When
// HasFrame is set, `target` holds the frame's picture (FrameToBitmap) and
// FrameX, FrameY and Delay (or DefaultDelay when Delay is below 1) describe it.
void NextAnimationFrame(const TPatchFrame& shape, TKSPlayState& state, TPicture& target, UserInterface& ui);

// The same steps without decoding anything: returns the index of the produced
// frame in shape.Frames, or -1 when the call produced none. A caller that
// keeps decoded frames plays without converting a frame at every call.
int NextAnimationFrameIndex(const TPatchFrame& shape, TKSPlayState& state);

// The estimated number of steps of one pass of the script: 0 for an empty
// script, otherwise 1 to 10000.
int CountAnimationSteps(const TPatchFrame& shape);

}  // namespace quillmere
