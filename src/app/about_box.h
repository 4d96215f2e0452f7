#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillmere {

// What the credits box shows while the credits can't be read.
inline constexpr std::string_view kCreditsPlaceholder = "Error loading resource!";

// The about box's second line: the word "Version", the version number and the
// release name in double quotes.
std::string AboutVersionLine(std::string_view version, std::string_view releaseName);

// The credits as the box shows them, one line per line of `resource` (its
// CR LF or LF ends become LF); the placeholder when there is no resource or
// it holds nothing.
std::string AboutCreditsText(std::optional<std::string_view> resource);

// The credits text shipped inside the program.
std::string_view ShippedCredits();

}  // namespace quillmere
