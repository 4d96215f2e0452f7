#include "editing/flip.h"
#include "support/frames.h"

namespace quillmere::test {

// Beside the 3 x 2 frame: a colour frame, a PNG payload, a payload one byte
// short and one a whole row long, which a flip would scramble and so leaves
// alone.
TEST(Flip, ThreeByTwoFrameFlipsAndOthersAreSkipped) {
  const TPatchSubFrame three = Frame(3, 2, 1, {1, 2, 3, 4, 5, 6});
  TPatchFrame shape = Shape({three, Frame(1, 1, 2, {1, 2, 3}), Frame(3, 2, 1, {1, 2, 3}, kEncodingPNG),
                             Frame(3, 2, 1, {1, 2, 3, 4, 5}), Frame(3, 2, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9})});
  const TPatchFrame before = shape;
  ScriptedUserInterface ui;
  TPatchSubFrame turned = three;
  FlipFrameVertically(turned, ui);
  EXPECT_EQ(turned, Frame(3, 2, 1, {6, 5, 4, 3, 2, 1}));
  FlipShapeHorizontally(shape, ui);
  EXPECT_EQ(shape.Frames[0], Frame(3, 2, 1, {3, 2, 1, 6, 5, 4}));
  FlipShapeVertically(shape, ui);  // a half turn: after the mirror only the rows stay reversed
  EXPECT_EQ(shape.Frames[0], Frame(3, 2, 1, {4, 5, 6, 1, 2, 3}));
  shape.Frames[0] = three;
  EXPECT_EQ(shape, before);
  EXPECT_EQ(ui.DebugLines(), (std::vector<std::string>{
                                 "FlipHoriz: Unsupported format! (2)", "FlipHoriz: Unsupported encoding! (1)",
                                 "FlipHoriz: Payload of 5 bytes, 6 expected; frame skipped",
                                 "FlipHoriz: Payload of 9 bytes, 6 expected; frame skipped",
                                 "FlipVert: Unsupported format! (2)", "FlipVert: Unsupported encoding! (1)",
                                 "FlipVert: Payload of 5 bytes, 6 expected; frame skipped",
                                 "FlipVert: Payload of 9 bytes, 6 expected; frame skipped"}));
}

}  // namespace quillmere::test
