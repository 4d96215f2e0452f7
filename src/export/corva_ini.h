#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quillmere {

// The small INI reader the colour map is read with. Sections start at a line
// whose first character is "[" (the whole line is the header) and run to the
// next empty line or "[" line. Headers and entry names are matched ignoring
// ASCII letter case; nothing is ever trimmed, so " a" and "a" are different names.
class TCorvaINIv2 {
 public:
  // What a look-up yields when the section or entry does not exist.
  static constexpr std::string_view kNoEntry =
      "CorvaINIv2: No Entry (3946DFGHI378834CORVA872385128INI7659283476)";

  TCorvaINIv2() = default;
  // Lines end at CR LF, LF or CR.
  explicit TCorvaINIv2(std::string_view text);

  // The text after the first "=" of the first entry named `key`, or
  // `defaultValue` when the section or the entry does not exist.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;

  // As ReadString, the value read as a decimal integer. Throws PlatformError
  // ("''x'' is not a valid integer value") when a found value is not one.
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;

  // Appends the name of every entry of the section that has an "=", in order.
  void ReadSection(std::string_view section, std::vector<std::string>& names) const;

 private:
  // The value, or kNoEntry.
  std::string_view Lookup(std::string_view section, std::string_view key) const;
  // The entry lines [first, last) of a section; empty when it does not exist.
  std::pair<std::size_t, std::size_t> Entries(std::string_view section) const;

  std::vector<std::string> lines_;
  // Upper-cased header -> entry line range; the first of equal headers wins.
  std::unordered_map<std::string, std::pair<std::size_t, std::size_t>> sections_;
};

// `text` read as a decimal integer (an optional sign, then digits, nothing
// else). Throws PlatformError "''text'' is not a valid integer value" otherwise.
int ParseDecimalInteger(std::string_view text);

}  // namespace quillmere
