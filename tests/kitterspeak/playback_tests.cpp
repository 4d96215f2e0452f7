#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "app/scripted_user_interface.h"
#include "kitterspeak/playback.h"
#include "model/ks_commands.h"

namespace quillmere {
namespace {

// Frame i is one pixel of palette index 100 + i placed at (10 i + 1, 10 i + 2),
// so the target picture tells which frame was shown and the position whether
// it came from the frame.
TPatchFrame ShapeWith(int frameCount, TKSScript script) {
  TPatchFrame shape;
  for (int i = 0; i < frameCount; ++i) {
    TPatchSubFrame& frame = shape.Frames.emplace_back();
    frame.Width = frame.Height = 1;
    frame.ShapePosX = static_cast<std::int16_t>(10 * i + 1);
    frame.ShapePosY = static_cast<std::int16_t>(10 * i + 2);
    frame.Opacity = 255;
    frame.Pixels.push_back(static_cast<std::uint8_t>(100 + i));
  }
  shape.Script = std::move(script);
  return shape;
}

constexpr int kDefaultDelay = 40;

// Drives playback as the GIF export does (calls until Stopped, an emptied
// target before each call, Delay reset to 0 after each) and writes one token
// per call: "-" for no frame, else the frame, "@x,y" when not at the frame's
// own position, ":ms" when not the default delay; then "/" and StepsExecuted.
std::string Play(const TPatchFrame& shape, int maxSteps) {
  ScriptedUserInterface ui;
  TKSPlayState state;
  state.DefaultDelay = kDefaultDelay;
  state.MaxSteps = maxSteps;
  std::string out;
  // A playback that never stops fails the test instead of hanging it.
  for (int call = 0; call < 1000 && !state.Stopped; ++call) {
    TPicture target;
    NextAnimationFrame(shape, state, target, ui);
    if (!state.HasFrame) {
      out += "- ";
    } else if (target.Width != 1 || target.Height != 1 || target.Pixels.size() != 1) {
      out += "? ";
    } else {
      const int frame = target.Pixels[0] - 100;
      out += std::to_string(frame);
      if (state.FrameX != 10 * frame + 1 || state.FrameY != 10 * frame + 2)
        out += "@" + std::to_string(state.FrameX) + "," + std::to_string(state.FrameY);
      const int delay = state.Delay < 1 ? state.DefaultDelay : state.Delay;
      if (delay != kDefaultDelay) out += ":" + std::to_string(delay);
      out += " ";
    }
    state.Delay = 0;
  }
  if (!state.Stopped) out += "(running) ";
  // A stopped playback stays stopped: one more call runs nothing.
  const int steps = state.StepsExecuted;
  TPicture target;
  NextAnimationFrame(shape, state, target, ui);
  if (state.HasFrame || state.StepsExecuted != steps) out += "(ran on) ";
  return out + "/" + std::to_string(steps);
}

TKSStep S(int frame) { return {ksShowFrame, static_cast<std::int16_t>(frame), 0}; }
TKSStep D(int ms) { return {ksDelay, static_cast<std::int16_t>(ms), 0}; }
TKSStep L(int step, int times) {
  return {ksLoopToStep, static_cast<std::int16_t>(step), static_cast<std::int16_t>(times)};
}
TKSStep J(int step) { return {ksJumpToStep, static_cast<std::int16_t>(step), 0}; }
TKSStep X(int x) { return {ksFrameX, static_cast<std::int16_t>(x), 0}; }
TKSStep C(int code, int arg1 = 0) {
  return {static_cast<std::int16_t>(code), static_cast<std::int16_t>(arg1), 0};
}
const TKSStep kStop{ksStop, 0, 0};

TEST(Playback, ScriptsProduceTheirFrameSequencesAndCounts) {
  const struct {
    int Frames;
    int MaxSteps;
    TKSScript Script;
    std::string Played;
    int Counted;
  } cases[] = {
      {3, 10, {}, "- /0", 0},
      // A Delay right after a Show Frame is that frame's; the tenth step stops.
      {2, 10, {S(0), D(100), S(1), D(200)}, "0:100 1:200 0:100 1:200 0:100 /10", 4},
      // One Set X keeps the Y already held; the next call takes the frame's position again.
      {1, 2, {X(5), S(0)}, "0@5,0 /2", 2},
      {2, 6, {S(1), X(5), S(0)}, "1 0@5,12 1 0@5,12 /6", 3},
      // A Delay ends the call, so a position set before it is lost and the Delay discarded.
      {1, 3, {X(5), D(30), S(0)}, "- 0 /3", 3},
      {1, 4, {D(50), S(0)}, "- 0 - 0 /4", 2},
      // Loop T times runs its steps T + 1 times per pass; the next pass loops afresh.
      {1, 9, {S(0), L(0, 3)}, "0 0 0 0 0 /9", 8},
      {2, 19, {S(0), L(0, 3), S(1)}, "0 0 0 0 1 0 0 0 0 1 0 /19", 9},
      {2, 6, {S(0), L(0, 0), S(1)}, "0 0 1 0 /6", 5},
      {2, 5, {S(0), L(0, -32768), S(1)}, "0 0 1 /5", 5},
      {2, 13, {S(0), L(0, 1), S(1), L(0, 1)}, "0 0 1 0 0 1 0 /13", 12},
      // Targets outside the script lead to its first step.
      {2, 7, {S(0), S(1), L(-7, 1)}, "0 1 0 1 0 /7", 6},
      {2, 5, {S(0), J(40), S(1)}, "0 0 0 /5", 2},
      // A backward jump plays until MaxSteps; the estimate ends the pass there.
      {1, 5, {S(0), J(0)}, "0 0 0 /5", 2},
      {3, 4, {S(0), J(3), S(1), S(2)}, "0 2 0 /4", 3},
      {2, 3, {S(0), J(2), S(1)}, "0 1 /3", 3},
      // Play ends at an invalid frame number or a Stop.
      {3, 10, {S(7)}, "- /1", 1},
      {2, 100, {S(0), kStop, S(1)}, "0 - /2", 2},
      // MaxSteps reached on a Show Frame produces it without its Delay; 0 or less stops after one step.
      {1, 3, {S(0), D(100)}, "0:100 0 /3", 2},
      {2, 0, {S(0), S(1)}, "0 /1", 2},
      {1, -3, {X(5), S(0)}, "- /1", 2},
      // Furre, camera and default-delay steps run on; unknown codes end a call.
      {3,
       11,
       {C(ksDefaultDelay, 250), C(ksFurreX, 3), C(ksInFront), C(ksBehind), C(ksCamera, 1), C(ksFurreY, 4),
        S(0), C(99), S(1), C(0), S(2), C(-5)},
       "0:250 - 1:250 - 2:250 /11",
       12},
  };
  for (const auto& c : cases) {
    const TPatchFrame shape = ShapeWith(c.Frames, c.Script);
    EXPECT_EQ(Play(shape, c.MaxSteps), c.Played) << c.Played;
    EXPECT_EQ(CountAnimationSteps(shape), c.Counted) << c.Played;
  }
}

TEST(Playback, CountStopsAtTenThousandSteps) {
  const std::pair<TKSScript, int> cases[] = {
      {{S(0), L(0, 32767)}, 10000},
      {{L(1, 5), L(0, 5)}, 10000},  // each loop step pushes a record for the other
      {TKSScript(9999, S(0)), 9999},
      {TKSScript(20000, S(0)), 10000},
  };
  for (const auto& [script, counted] : cases) EXPECT_EQ(CountAnimationSteps(ShapeWith(1, script)), counted);
}

TEST(Playback, DamagedStateStaysInsideTheScriptAndTheCounter) {
  ScriptedUserInterface ui;
  const TPatchFrame shape = ShapeWith(2, {S(0), S(1)});
  for (const int position : {-1, 2, INT_MIN}) {
    TKSPlayState state;
    state.Position = position;
    state.MaxSteps = 10;
    TPicture target;
    NextAnimationFrame(shape, state, target, ui);
    EXPECT_EQ(target.Pixels, std::vector<std::uint8_t>{100}) << position;
  }
  TKSPlayState state;
  state.StepsExecuted = state.MaxSteps = INT_MAX;
  TPicture target;
  NextAnimationFrame(shape, state, target, ui);
  EXPECT_TRUE(state.Stopped);
  EXPECT_EQ(state.StepsExecuted, INT_MAX);
}

}  // namespace
}  // namespace quillmere
