#include "interface/number_field.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace quillmere {

int NumberFieldValue(std::string_view text, int low, int high) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  long long value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (stop != end || error == std::errc::invalid_argument) return low;
  // A number too long for any integer still lies beyond the limit on its side.
  if (error == std::errc::result_out_of_range) {
    value =
        text.front() == '-' ? std::numeric_limits<long long>::min() : std::numeric_limits<long long>::max();
  }
  return static_cast<int>(std::clamp<long long>(value, low, high));
}

}  // namespace quillmere
