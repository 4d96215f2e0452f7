// The centre panel's button places and the grids' scrolling: arithmetic the
// window applies on every resize, key and transfer.
#include <gtest/gtest.h>

#include "app/centre_panel_layout.h"
#include "app/grid_view.h"
#include "app/settings.h"

namespace quillmere::test {
namespace {

std::vector<int> Lefts(int width) {
  std::vector<int> lefts;
  for (const TButtonPlace& place : CentrePanelLayout(width)) lefts.push_back(place.Left);
  return lefts;
}

TEST(CentrePanelLayout, KeepsDeleteLeftAndTheRestAgainstTheRightEdge) {
  EXPECT_EQ(Lefts(613), (std::vector{2, 286, 378, 470, 563, 588}));
  // Widening moves the five right-hand buttons by the same amount.
  EXPECT_EQ(Lefts(813), (std::vector{2, 486, 578, 670, 763, 788}));
  const auto places = CentrePanelLayout(700);
  const TButtonPlace& right = places[static_cast<int>(TPanelButton::MoveRight)];
  EXPECT_EQ(right.Left + right.Width, 700 - 2);
  for (const TButtonPlace& place : places) {
    EXPECT_EQ(place.Top, 2);
    EXPECT_EQ(place.Height, 22);
  }
  EXPECT_EQ(places[static_cast<int>(TPanelButton::Replaceit)].Width, 90);
  EXPECT_EQ(places[static_cast<int>(TPanelButton::Trash)].Width, 23);
}

TEST(GridView, ScrollsOnlyAsFarAsTheFocusNeeds) {
  TGridView view{.LeftColumn = 0, .VisibleColumns = 5};
  view.ShowColumn(3, 20);
  EXPECT_EQ(view.LeftColumn, 0);  // already whole in view
  view.ShowColumn(7, 20);
  EXPECT_EQ(view.LeftColumn, 3);  // 7 becomes the last whole column
  view.ShowColumn(1, 20);
  EXPECT_EQ(view.LeftColumn, 1);
  view.ShowColumn(19, 20);
  EXPECT_EQ(view.LeftColumn, 15);
}

TEST(GridView, NeverScrollsPastTheLastFullView) {
  TGridView view{.LeftColumn = 12, .VisibleColumns = 5};
  view.Clamp(10);  // the list shrank under the view
  EXPECT_EQ(view.LeftColumn, 5);
  view.Clamp(3);  // fewer columns than fit: nothing to scroll
  EXPECT_EQ(view.LeftColumn, 0);
  EXPECT_EQ(TGridView::LastLeftColumn(3, 0), 2);  // a view too narrow for one column still shows one
}

TEST(GridView, AShiftTakesTheViewOneColumnItsWay) {
  TGridView view{.LeftColumn = 4, .VisibleColumns = 5};
  view.FollowShift(true, 7, 20);
  EXPECT_EQ(view.LeftColumn, 5);
  view.FollowShift(false, 6, 20);
  EXPECT_EQ(view.LeftColumn, 4);
  // At either end the view stays, and the focus is kept in view.
  view.LeftColumn = 0;
  view.FollowShift(false, 0, 20);
  EXPECT_EQ(view.LeftColumn, 0);
  view.LeftColumn = 15;
  view.FollowShift(true, 19, 20);
  EXPECT_EQ(view.LeftColumn, 15);
  view.LeftColumn = 0;
  view.FollowShift(true, 12, 20);
  EXPECT_EQ(view.LeftColumn, 8);
}

TEST(HighlightColours, KeepRedInTheLowByte) {
  EXPECT_EQ(ColourValueToRGB(255), (TRGB{255, 0, 0}));
  EXPECT_EQ(ColourValueToRGB(32768), (TRGB{0, 128, 0}));
  EXPECT_EQ(ColourValueToRGB(0x123456), (TRGB{0x56, 0x34, 0x12}));
  EXPECT_EQ(RGBToColourValue(TRGB{0x56, 0x34, 0x12}), 0x123456u);
}

}  // namespace
}  // namespace quillmere::test
