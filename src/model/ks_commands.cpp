#include "model/ks_commands.h"

#include <array>
#include <cstddef>

namespace quillmere::embedded {
extern const std::string_view ksdesc;
extern const std::string_view ksdata;
}  // namespace quillmere::embedded

namespace quillmere {

namespace {

using TCommandTable = std::array<std::string_view, kKSCommandCount>;

// The shipped tables use CR LF; a lone LF is accepted as well so that a table
// saved by an editor that rewrote the line ends still reads the same. Lines
// past the thirteenth are ignored, missing ones stay empty.
TCommandTable SplitTable(std::string_view text) {
  TCommandTable lines{};
  std::size_t line = 0;
  while (!text.empty() && line < lines.size()) {
    std::size_t end = text.find('\n');
    std::string_view current = text.substr(0, end);
    if (!current.empty() && current.back() == '\r') current.remove_suffix(1);
    lines[line++] = current;
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

const TCommandTable& Templates() {
  static const TCommandTable table = SplitTable(embedded::ksdesc);
  return table;
}

const TCommandTable& Descriptors() {
  static const TCommandTable table = SplitTable(embedded::ksdata);
  return table;
}

bool IsKnownCode(int code) { return code >= 1 && code <= kKSCommandCount; }

}  // namespace

std::string_view CommandTemplate(int code) {
  if (!IsKnownCode(code)) return {};
  return Templates()[static_cast<std::size_t>(code - 1)];
}

std::string_view ArgumentDescriptor(int code) {
  if (!IsKnownCode(code)) return {};
  return Descriptors()[static_cast<std::size_t>(code - 1)];
}

int ArgumentCount(int code) {
  std::string_view descriptor = ArgumentDescriptor(code);
  std::size_t colon = descriptor.find(':');
  if (colon == std::string_view::npos || colon == 0) return 0;
  int count = 0;
  for (char c : descriptor.substr(0, colon)) {
    if (c < '0' || c > '9') return 0;
    // The shipped counts are single digits; the cap only keeps a damaged
    // table from overflowing.
    if (count < 1000) count = count * 10 + (c - '0');
  }
  return count;
}

std::pair<std::string, std::string> ArgumentLabels(int code) {
  int count = ArgumentCount(code);
  if (count <= 0) return {};
  std::string_view descriptor = ArgumentDescriptor(code);
  std::string_view labels = descriptor.substr(descriptor.find(':') + 1);
  if (count == 1) return {std::string(labels), std::string()};
  std::size_t semicolon = labels.find(';');
  if (semicolon == std::string_view::npos) return {std::string(labels), std::string()};
  return {std::string(labels.substr(0, semicolon)), std::string(labels.substr(semicolon + 1))};
}

std::string StepText(const TKSStep& step) {
  if (!IsKnownCode(step.Command)) {
    return "(" + std::to_string(step.Command) + ") " + std::to_string(step.Arg1) + ", " +
           std::to_string(step.Arg2);
  }
  // The inserted numbers never contain "#", so one left-to-right pass gives
  // the same text as removing the first "#" over and over.
  std::string_view pattern = CommandTemplate(step.Command);
  std::string text;
  text.reserve(pattern.size() + 12);
  int filled = 0;
  for (char c : pattern) {
    if (c != '#') {
      text += c;
      continue;
    }
    ++filled;
    if (filled == 1) text += std::to_string(step.Arg1);
    else if (filled == 2) text += std::to_string(step.Arg2);
  }
  return text;
}

std::string StepLine(int index, const TKSStep& step) {
  return "[" + std::to_string(index) + "]: " + StepText(step);
}

}  // namespace quillmere
