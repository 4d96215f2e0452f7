#include "kitterspeak/playback.h"

#include <cstdint>
#include <limits>
#include <utility>

#include "model/frame_decoding.h"
#include "model/ks_commands.h"

namespace quillmere {

namespace {

// The estimate gives up after this many steps: a script may loop 32767
// times inside loops, and the estimate only fills in a dialog field.
constexpr std::int32_t kMaxCountedSteps = 10000;

// Step numbers are 16-bit, but a script built in memory could hold more
// steps; positions are compared as 64-bit so no script length overflows.
std::int64_t StepCount(const TPatchFrame& shape) { return static_cast<std::int64_t>(shape.Script.size()); }

bool IsInScript(std::int64_t position, std::int64_t stepCount) {
  return position >= 0 && position < stepCount;
}

bool IsFrameIndex(const TPatchFrame& shape, std::int16_t index) {
  return index >= 0 && static_cast<std::size_t>(index) < shape.Frames.size();
}

// The loop command, shared by playback and the estimate. Arg1 - 1 and
// Arg2 - 1 are taken in 32 bits: in 16 bits a repeat count of -32768 would
// turn into 32767 repeats.
void RunLoopStep(const TKSStep& step, std::int32_t& position, std::vector<TKSLoopRecord>& loops) {
  const std::int32_t target = step.Arg1;
  if (loops.empty() || loops.back().LoopStep != position) {
    loops.push_back({position, target, std::int32_t{step.Arg2} - 1});
    position = target - 1;
  } else if (loops.back().Remaining < 1) {
    loops.pop_back();
  } else {
    --loops.back().Remaining;
    position = target - 1;
  }
}

}  // namespace

void NextAnimationFrame(const TPatchFrame& shape, TKSPlayState& state, TPicture& target, UserInterface& ui) {
  const int shown = NextAnimationFrameIndex(shape, state);
  if (shown >= 0) target = FrameToBitmap(shape.Frames[static_cast<std::size_t>(shown)], ui);
}

int NextAnimationFrameIndex(const TPatchFrame& shape, TKSPlayState& state) {
  int shown = -1;
  state.HasFrame = false;
  bool positionSet = false;
  const std::int64_t stepCount = StepCount(shape);
  if (stepCount == 0) {
    state.Stopped = true;
    return shown;
  }
  // A caller's state should never hold a position outside the script, since
  // every step wraps it; a damaged one starts again at the first step rather
  // than reading past the script.
  if (!IsInScript(state.Position, stepCount)) state.Position = 0;

  bool keepGoing = true;
  while (keepGoing && !state.Stopped) {
    keepGoing = false;
    const TKSStep& step = shape.Script[static_cast<std::size_t>(state.Position)];
    switch (step.Command) {
      case ksShowFrame:
        if (!IsFrameIndex(shape, step.Arg1)) {
          state.Stopped = true;
          break;
        }
        {
          const TPatchSubFrame& frame = shape.Frames[static_cast<std::size_t>(step.Arg1)];
          if (!positionSet) {
            state.FrameX = frame.ShapePosX;
            state.FrameY = frame.ShapePosY;
          }
          positionSet = false;
          state.HasFrame = true;
          shown = step.Arg1;
        }
        // A Delay right after a Show Frame is that frame's delay, so it runs
        // in the same call; any other step waits for the next call.
        keepGoing = state.Position + 1 < stepCount &&
                    shape.Script[static_cast<std::size_t>(state.Position) + 1].Command == ksDelay;
        break;
      case ksDelay:
        state.Delay = step.Arg1;
        break;
      case ksLoopToStep:
        RunLoopStep(step, state.Position, state.Loops);
        keepGoing = true;
        break;
      case ksJumpToStep:
        state.Position = std::int32_t{step.Arg1} - 1;
        keepGoing = true;
        break;
      case ksFrameX:
        state.FrameX = step.Arg1;
        positionSet = true;
        keepGoing = true;
        break;
      case ksFrameY:
        state.FrameY = step.Arg1;
        positionSet = true;
        keepGoing = true;
        break;
      case ksFurreX:
      case ksFurreY:
      case ksInFront:
      case ksBehind:
      case ksCamera:
        // They place the furre or the camera, which a picture of the shape
        // alone does not show.
        keepGoing = true;
        break;
      case ksDefaultDelay:
        state.DefaultDelay = step.Arg1;
        keepGoing = true;
        break;
      case ksStop:
        state.Stopped = true;
        break;
      default:
        break;
    }

    // Saturating, so a caller that clears Stopped and calls again past the
    // 32-bit range cannot overflow the counter.
    if (state.StepsExecuted < std::numeric_limits<std::int32_t>::max()) ++state.StepsExecuted;
    ++state.Position;
    if (!IsInScript(state.Position, stepCount)) state.Position = 0;
    // MaxSteps of 0 or below also stops here, after one step, so no setting
    // of the caller's makes playback run without end.
    if (state.StepsExecuted >= state.MaxSteps) state.Stopped = true;
  }
  return shown;
}

int CountAnimationSteps(const TPatchFrame& shape) {
  const std::int64_t stepCount = StepCount(shape);
  if (stepCount == 0) return 0;

  std::int32_t position = 0;
  std::int32_t counter = 0;
  std::vector<TKSLoopRecord> loops;
  bool stopped = false;
  bool keepGoing = true;
  while (keepGoing && !stopped) {
    keepGoing = true;
    const TKSStep& step = shape.Script[static_cast<std::size_t>(position)];
    switch (step.Command) {
      case ksShowFrame:
        if (!IsFrameIndex(shape, step.Arg1)) stopped = true;
        break;
      case ksLoopToStep:
        RunLoopStep(step, position, loops);
        break;
      case ksJumpToStep: {
        // A jump to itself or backwards repeats what was counted already:
        // the pass ends there.
        const std::int32_t jumpTarget = std::int32_t{step.Arg1} - 1;
        if (jumpTarget < position)
          keepGoing = false;
        else
          position = jumpTarget;
        break;
      }
      case ksStop:
        stopped = true;
        break;
      default:
        break;
    }

    ++counter;
    ++position;
    if (position >= stepCount) {
      position = 0;
      keepGoing = false;
    } else if (position < 0) {
      // A loop target before the script leads to the first step, as in
      // playback; the pass goes on, since it ends only past the last step.
      position = 0;
    }
    if (counter >= kMaxCountedSteps) stopped = true;
  }
  return counter;
}

}  // namespace quillmere
