#pragma once

#include <string_view>

namespace quillmere {

// The value of a number field the person typed into: text that is no number
// (empty, a lone sign) counts as `low`, a number outside the limits as the
// nearer limit, as a spin edit settles it when it loses the focus.
int NumberFieldValue(std::string_view text, int low, int high);

}  // namespace quillmere
