#include <gtest/gtest.h>

#include <climits>

#include "editing/object_offset.h"

namespace quillmere::test {

// The star marks an offset, not a sum other than the column. The dialog's
// field holds 7 over an offset of 100; Reset, Enter, Escape or typing.
TEST(ObjectOffset, StatusTextAndDialog) {
  EXPECT_EQ(SelectedShapeStatus(0, 0), "Selected Shape: 0");
  EXPECT_EQ(SelectedShapeStatus(5, -5), "Selected Shape: *0");
  EXPECT_EQ(SelectedShapeStatus(7, INT_MAX), "Selected Shape: *2147483654");
  // clang-format off
  const std::tuple<std::optional<TOffsetKey>, bool, int> cases[] = {
      {std::nullopt, true, 0}, {TOffsetKey::Enter, true, 7}, {TOffsetKey::Escape, true, 100},
      {TOffsetKey::Other, false, 100}};
  // clang-format on
  for (const auto& [key, closed, offset] : cases) {
    TDocument document;
    document.Offset = 100;
    TObjectOffsetDialog dialog(document);
    dialog.Value += 7 - 100;  // the field starts with the offset
    key ? void(dialog.KeyDown(*key)) : dialog.Reset();
    EXPECT_EQ(std::tuple(dialog.Closed(), dialog.ApplyTo(document), document.Offset, document.Modified),
              std::tuple(closed, offset != 100, offset, false));
  }
}

// What the field holds when the dialog closes: no number is no offset (not
// the lowest one), and a number too large for an offset stops at its end.
TEST(ObjectOffset, FieldText) {
  // clang-format off
  const std::pair<const char*, int> cases[] = {
      {"", 0}, {"-", 0}, {"+", 0}, {"12a", 0}, {"--3", 0}, {"103", 103}, {"+7", 7}, {"-3", -3},
      {"-2147483648", INT_MIN}, {"99999999999999999999", INT_MAX}, {"-99999999999", INT_MIN}};
  // clang-format on
  for (const auto& [text, value] : cases) EXPECT_EQ(OffsetFieldValue(text), value) << text;
}

}  // namespace quillmere::test
