#include "app/about_box.h"

namespace quillmere {

namespace embedded {
extern const std::string_view credits;
}  // namespace embedded

std::string AboutVersionLine(std::string_view version, std::string_view releaseName) {
  return "Version " + std::string(version) + " \"" + std::string(releaseName) + "\"";
}

std::string AboutCreditsText(std::optional<std::string_view> resource) {
  if (!resource || resource->empty()) return std::string(kCreditsPlaceholder);
  std::string text;
  text.reserve(resource->size());
  for (std::size_t i = 0; i < resource->size(); ++i) {
    const char c = (*resource)[i];
    if (c == '\r') {
      text.push_back('\n');
      if (i + 1 < resource->size() && (*resource)[i + 1] == '\n') ++i;
    } else {
      text.push_back(c);
    }
  }
  // A last line end closes the last line rather than opening an empty one.
  if (text.back() == '\n') text.pop_back();
  return text;
}

std::string_view ShippedCredits() { return embedded::credits; }

}  // namespace quillmere
