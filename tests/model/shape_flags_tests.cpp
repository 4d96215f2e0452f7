#include "model/shape_flags.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace quillmere {
namespace {

// Each switch is checked on its own bit, so two swapped bits can't pass.
TEST(ShapeFlags, UnpackAndPackTheFlagWord) {
  EXPECT_EQ(UnpackFlags(7), (TShapeFlags{true, true, true}));
  EXPECT_EQ(UnpackFlags(24), TShapeFlags{});  // the furre bits are not switches
  EXPECT_EQ(UnpackFlags(0xFFF9), (TShapeFlags{false, true, false}));
  EXPECT_EQ(PackFlags(true, false, {true, false, false}), 12);
  EXPECT_EQ(PackFlags(false, true, {true, true, true}), 23);
  EXPECT_EQ(PackFlags(false, false, {false, false, true}), 2);
}

TPatchFrame Shape(int frames, int steps = 0, int format = kFormatIndexed, std::uint8_t opacity = 255) {
  const TPatchSubFrame frame{0, 0, 0, 0, 0, 0, format, opacity, kEncodingRaw, {}};
  return {0, -1, std::vector<TPatchSubFrame>(frames, frame), TKSScript(steps)};
}

TEST(ShapeFlags, WouldLoseDataOnlyForFSHAndFS2) {
  TPatchFrame png = Shape(1);
  png.Frames[0].Encoding = kEncodingPNG;  // decoded on save, so nothing is lost
  // clang-format off
  const std::pair<TShapeList, bool> cases[] = {
      {{}, false},                          {{Shape(1), Shape(1), png}, false},
      {{Shape(1), Shape(2)}, true},         {{Shape(1, 1)}, true},
      {{Shape(1, 0, kFormatColour)}, true}, {{Shape(1, 0, kFormatIndexed, 254)}, true},
      // A frameless shape counts only through its steps.
      {{Shape(0), Shape(1)}, false},        {{Shape(0, 3)}, true},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);  // the row
    EXPECT_EQ(WouldLoseData(c.first, TShapeFileType::ftFSH), c.second);
    EXPECT_EQ(WouldLoseData(c.first, TShapeFileType::ftFS2), c.second);
    EXPECT_FALSE(WouldLoseData(c.first, TShapeFileType::ftFOX));
  }
}

}  // namespace
}  // namespace quillmere
