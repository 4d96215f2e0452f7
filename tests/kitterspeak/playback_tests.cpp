#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "interface/scripted_user_interface.h"
#include "kitterspeak/playback.h"
#include "model/ks_commands.h"

namespace quillmere {
namespace {

// Frame i is one pixel of palette index 100 + i placed at (10 i + 1, 10 i + 2),
// so the target picture tells which frame was shown and the position whether
// it came from the frame.
TPatchFrame ShapeWith(int frameCount, TKSScript script) {
  TPatchFrame shape{0, -1, {}, std::move(script)};
  for (int i = 0; i < frameCount; ++i) {
    // clang-format off
    shape.Frames.push_back({.Height = 1, .Width = 1, .ShapePosX = static_cast<std::int16_t>(10 * i + 1),
                            .ShapePosY = static_cast<std::int16_t>(10 * i + 2), .Opacity = 255,
                            .Pixels = {static_cast<std::uint8_t>(100 + i)}});
    // clang-format on
  }
  return shape;
}

constexpr int kDefaultDelay = 40;

// Drives playback as the GIF export does (calls until Stopped, an emptied
// target before each call, Delay reset to 0 after each) and writes one token
// per call: "-" for no frame, else the frame, "@x,y" when not at the frame's
// own position, ":ms" when not the default delay; then "/" and StepsExecuted.
std::string Play(const TPatchFrame& shape, int maxSteps) {
  ScriptedUserInterface ui;
  TKSPlayState state{.DefaultDelay = kDefaultDelay, .Loops = {}, .MaxSteps = maxSteps};
  // The same playback without decoding, which must run the same steps.
  TKSPlayState indexed = state;
  std::string out;
  // A playback that never stops fails the test instead of hanging it.
  for (int call = 0; call < 1000 && !state.Stopped; ++call, state.Delay = 0, indexed.Delay = 0) {
    TPicture target;
    NextAnimationFrame(shape, state, target, ui);
    const int index = NextAnimationFrameIndex(shape, indexed);
    EXPECT_EQ(index, state.HasFrame ? target.Pixels.at(0) - 100 : -1);
    EXPECT_EQ(std::tie(indexed.Position, indexed.Delay, indexed.DefaultDelay, indexed.FrameX, indexed.FrameY,
                       indexed.Stopped, indexed.StepsExecuted, indexed.HasFrame),
              std::tie(state.Position, state.Delay, state.DefaultDelay, state.FrameX, state.FrameY, state.Stopped,
                       state.StepsExecuted, state.HasFrame));
    if (!state.HasFrame) {
      out += "- ";
      continue;
    }
    const int frame = target.Pixels[0] - 100, delay = state.Delay < 1 ? state.DefaultDelay : state.Delay;
    out += std::to_string(frame);
    if (state.FrameX != 10 * frame + 1 || state.FrameY != 10 * frame + 2)
      out += "@" + std::to_string(state.FrameX) + "," + std::to_string(state.FrameY);
    out += (delay == kDefaultDelay ? "" : ":" + std::to_string(delay)) + " ";
  }
  return out + "/" + std::to_string(state.StepsExecuted);
}

TKSStep C(int code, int a = 0, int b = 0) { return {std::int16_t(code), std::int16_t(a), std::int16_t(b)}; }
TKSStep S(int frame) { return C(ksShowFrame, frame); }
TKSStep D(int ms) { return C(ksDelay, ms); }
TKSStep L(int step, int times) { return C(ksLoopToStep, step, times); }

TEST(Playback, ScriptsProduceTheirFrameSequencesAndCounts) {
  // clang-format off
  const struct { int Frames, MaxSteps; TKSScript Script; std::string Played; int Counted; } cases[] = {
      {3, 10, {}, "- /0", 0},
      // A Delay right after a Show Frame is that frame's; the tenth step stops.
      {2, 10, {S(0), D(100), S(1), D(200)}, "0:100 1:200 0:100 1:200 0:100 /10", 4},
      // One Set X keeps the Y already held; the next call takes the frame's position again.
      {2, 6, {S(1), C(ksFrameX, 5), S(0)}, "1 0@5,12 1 0@5,12 /6", 3},
      // Any other Delay ends a call without a frame and is discarded, and a
      // position set before it is lost.
      {1, 3, {C(ksFrameX, 5), D(50), S(0)}, "- 0 /3", 3},
      // Loop T times runs its steps T + 1 times (twice for T of 0 or below),
      // and afresh in the next pass.
      {1, 8, {S(0), L(0, 3)}, "0 0 0 0 - /8", 8},
      {2, 8, {S(0), L(0, 0), S(1)}, "0 0 1 0 0 /8", 5},
      {2, 5, {S(0), L(0, -32768), S(1)}, "0 0 1 /5", 5},
      {2, 13, {S(0), L(0, 1), S(1), L(0, 1)}, "0 0 1 0 0 1 0 /13", 12},
      // A target before the script leads to its first step.
      {2, 7, {S(0), S(1), L(-7, 1)}, "0 1 0 1 0 /7", 6},
      // The estimate ends its pass at a backward jump (not at one to the next
      // step); playback runs on to MaxSteps.
      {3, 5, {S(0), C(ksJumpToStep, 2), C(ksJumpToStep, 4), S(1), S(2)}, "0 2 0 /5", 4},
      {1, 5, {S(0), C(ksJumpToStep, 0)}, "0 0 0 /5", 2},
      // Play ends at an invalid frame number or a Stop, and at MaxSteps: reached
      // on a Show Frame it still produces the frame, without its Delay; 0 stops
      // after one step.
      {3, 10, {S(7)}, "- /1", 1},
      {2, 100, {S(0), C(ksStop), S(1)}, "0 - /2", 2},
      {1, 3, {S(0), D(100)}, "0:100 0 /3", 2},
      {1, 0, {C(ksFrameX, 5), S(0)}, "- /1", 2},
      // Furre, camera and default-delay steps run on; unknown codes end a call.
      {3, 11, {C(ksDefaultDelay, 250), C(ksFurreX, 3), C(ksInFront), C(ksBehind), C(ksCamera, 1),
               C(ksFurreY, 4), S(0), C(99), S(1), C(0), S(2), C(-5)}, "0:250 - 1:250 - 2:250 /11", 12},
      // The estimate gives up at 10000 steps.
      {1, 5, {S(0), L(0, 32767)}, "0 0 0 /5", 10000},
  };
  // clang-format on
  for (const auto& c : cases) {
    const TPatchFrame shape = ShapeWith(c.Frames, c.Script);
    EXPECT_EQ(Play(shape, c.MaxSteps), c.Played) << c.Played;
    EXPECT_EQ(CountAnimationSteps(shape), c.Counted) << c.Played;
  }
}

}  // namespace
}  // namespace quillmere
