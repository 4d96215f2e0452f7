#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <tuple>

#include "editing/object_offset.h"

namespace quillmere::test {
namespace {

TEST(ObjectOffset, StatusText) {
  EXPECT_EQ(SelectedShapeStatus(0, 0), "Selected Shape: 0");
  EXPECT_EQ(SelectedShapeStatus(3, 100), "Selected Shape: *103");
  EXPECT_EQ(SelectedShapeStatus(0, -3), "Selected Shape: *-3");
  EXPECT_EQ(SelectedShapeStatus(5, -5), "Selected Shape: *0");  // the star marks the offset, not the sum
  EXPECT_EQ(SelectedShapeStatus(7, INT_MAX), "Selected Shape: *2147483654");
}

// The field holds 7 over an offset of 100; Reset, Enter, Escape or typing.
TEST(ObjectOffset, DialogButtonsAndKeys) {
  const std::vector<std::tuple<std::optional<TOffsetKey>, bool, int>> cases = {
      {std::nullopt, true, 0},
      {TOffsetKey::Enter, true, 7},
      {TOffsetKey::Escape, true, 100},
      {TOffsetKey::Other, false, 100},
  };
  for (const auto& [key, closed, offset] : cases) {
    TDocument document;
    document.Offset = 100;
    TObjectOffsetDialog dialog(document);
    dialog.Value += 7 - 100;  // the field starts with the offset
    key ? void(dialog.KeyDown(*key)) : dialog.Reset();
    EXPECT_EQ(dialog.Closed(), closed);
    EXPECT_EQ(dialog.ApplyTo(document), offset != 100);
    EXPECT_EQ(document.Offset, offset);
    EXPECT_FALSE(document.Modified);
  }
}

}  // namespace
}  // namespace quillmere::test
