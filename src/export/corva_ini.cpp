#include "export/corva_ini.h"

#include <charconv>
#include <system_error>

#include "interface/platform_error.h"

namespace quillmere {
namespace {

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = UpperAscii(c);
  return upper;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
}

std::string Header(std::string_view section) {
  std::string header;
  header.reserve(section.size() + 2);
  header += '[';
  header += UpperCase(section);
  header += ']';
  return header;
}

}  // namespace

int ParseDecimalInteger(std::string_view text) {
  // from_chars takes no "+", which a decimal integer may carry; "+-1" stays invalid.
  const std::string_view digits = text.starts_with('+') ? text.substr(1) : text;
  int result = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), result);
  if (error != std::errc() || end != digits.data() + digits.size() ||
      (digits != text && digits.starts_with('-'))) {
    throw PlatformError("''" + std::string(text) + "'' is not a valid integer value");
  }
  return result;
}

TCorvaINIv2::TCorvaINIv2(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    lines_.emplace_back(text.substr(start, end - start));
    const bool crLf = end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n';
    start = end + (crLf ? 2 : 1);
  }

  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].empty() || lines_[i][0] != '[') continue;
    std::size_t end = i + 1;
    while (end < lines_.size() && !lines_[end].empty() && lines_[end][0] != '[') ++end;
    sections_.try_emplace(UpperCase(lines_[i]), i + 1, end);
    i = end - 1;  // the next "[" line, if any, starts the next section
  }
}

std::pair<std::size_t, std::size_t> TCorvaINIv2::Entries(std::string_view section) const {
  const auto found = sections_.find(Header(section));
  if (found == sections_.end()) return {0, 0};
  return found->second;
}

std::string_view TCorvaINIv2::Lookup(std::string_view section, std::string_view key) const {
  const auto [first, last] = Entries(section);
  for (std::size_t i = first; i < last; ++i) {
    const std::string_view line = lines_[i];
    const std::size_t equals = line.find('=');
    if (equals != std::string_view::npos && SameText(line.substr(0, equals), key))
      return line.substr(equals + 1);
  }
  return kNoEntry;
}

std::string TCorvaINIv2::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
  const std::string_view value = Lookup(section, key);
  return std::string(value == kNoEntry ? defaultValue : value);
}

int TCorvaINIv2::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
  const std::string_view value = Lookup(section, key);
  if (value == kNoEntry) return defaultValue;
  return ParseDecimalInteger(value);
}

void TCorvaINIv2::ReadSection(std::string_view section, std::vector<std::string>& names) const {
  const auto [first, last] = Entries(section);
  for (std::size_t i = first; i < last; ++i) {
    const std::size_t equals = lines_[i].find('=');
    if (equals != std::string::npos) names.push_back(lines_[i].substr(0, equals));
  }
}

}  // namespace quillmere
