#include "editing/object_offset.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "interface/number_field.h"

namespace quillmere {

void TObjectOffsetDialog::Reset() {
  Value = 0;
  Ok();
}

void TObjectOffsetDialog::Ok() {
  accepted_ = true;
  closed_ = true;
}

void TObjectOffsetDialog::Cancel() { closed_ = true; }

bool TObjectOffsetDialog::KeyDown(TOffsetKey key) {
  switch (key) {
    case TOffsetKey::Enter:
      Ok();
      return true;
    case TOffsetKey::Escape:
      Cancel();
      return true;
    case TOffsetKey::Other:
      break;
  }
  return false;
}

bool TObjectOffsetDialog::ApplyTo(TDocument& document) const {
  if (!accepted_ || document.Offset == Value) return false;
  document.Offset = Value;
  return true;
}

int OffsetFieldValue(std::string_view text) {
  std::string_view digits = text;
  if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
  // The general field reader gives its lowest limit for such text; an offset
  // field gives no offset instead.
  if (digits.empty() || !std::ranges::all_of(digits, [](char c) { return c >= '0' && c <= '9'; })) return 0;
  return NumberFieldValue(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}

std::string SelectedShapeStatus(int column, int offset) {
  // Summed in 64 bits: a large offset must not wrap the number shown.
  const std::int64_t number = std::int64_t{column} + offset;
  return "Selected Shape: " + std::string(offset != 0 ? "*" : "") + std::to_string(number);
}

}  // namespace quillmere
