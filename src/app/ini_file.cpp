#include "app/ini_file.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <utility>

#include "export/corva_ini.h"
#include "formats/atomic_file_writer.h"
#include "interface/messages.h"
#include "interface/platform_error.h"

namespace quillmere {
namespace {

// A settings file is a few hundred bytes; anything this large is not one, and
// reading it would only stall the start.
constexpr std::uintmax_t kLargestFile = 1 << 20;
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SameText(std::string_view a, std::string_view b) {
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (upper(a[i]) != upper(b[i])) return false;
  }
  return true;
}

// The section a "[...]" line opens; nullopt for any other line. A header
// without its closing bracket still opens a section, as hand edits leave them.
std::optional<std::string_view> SectionOf(std::string_view line) {
  line = Trim(line);
  if (!line.starts_with('[')) return std::nullopt;
  line.remove_prefix(1);
  const std::size_t close = line.rfind(']');
  return Trim(close == std::string_view::npos ? line : line.substr(0, close));
}

// The lines of the file, or nullopt when it can't be read.
std::optional<std::vector<std::string>> ReadLines(const std::string& fileName) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(fileName, error)) {
    // Nothing there yet reads as an empty document; a folder or device does not.
    if (!std::filesystem::exists(fileName, error) && !error) return std::vector<std::string>{};
    return std::nullopt;
  }
  const std::uintmax_t size = std::filesystem::file_size(fileName, error);
  if (error || size > kLargestFile) return std::nullopt;
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return std::nullopt;
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;

  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    const bool crLf = end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n';
    start = end + (crLf ? 2 : 1);
  }
  return lines;
}

struct TLocation {
  std::size_t Header = kNone;  // the section's "[...]" line
  std::size_t End = 0;         // the next section's header, or the line count
  std::size_t Entry = kNone;   // the entry's line
};

TLocation Find(const std::vector<std::string>& lines, std::string_view section, std::string_view key) {
  TLocation at;
  for (std::size_t i = 0; i < lines.size() && at.Header == kNone; ++i) {
    const auto name = SectionOf(lines[i]);
    if (name && SameText(*name, section)) at.Header = i;
  }
  if (at.Header == kNone) return at;
  at.End = at.Header + 1;
  for (; at.End < lines.size() && !SectionOf(lines[at.End]); ++at.End) {
    const std::string_view line = lines[at.End];
    const std::size_t equals = line.find('=');
    if (at.Entry == kNone && equals != std::string_view::npos && SameText(Trim(line.substr(0, equals)), key))
      at.Entry = at.End;
  }
  return at;
}

void Put(std::vector<std::string>& lines, std::string_view section, std::string_view key,
         std::string_view value) {
  std::string entry(key);
  entry += '=';
  entry += value.substr(0, value.find_first_of("\r\n"));
  const TLocation at = Find(lines, section, key);
  if (at.Entry != kNone) {
    lines[at.Entry] = std::move(entry);
  } else if (at.Header != kNone) {
    // After the section's last entry, so that the blank line before the next
    // section stays where it is.
    std::size_t after = at.End;
    while (after > at.Header + 1 && Trim(lines[after - 1]).empty()) --after;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after), std::move(entry));
  } else {
    if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
    lines.push_back("[" + std::string(section) + "]");
    lines.push_back(std::move(entry));
  }
}

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += '\n';
  }
  return text;
}

}  // namespace

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) { Reload(); }

void TIniFile::Reload() { lines_ = ReadLines(fileName_).value_or(std::vector<std::string>{}); }

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
  const TLocation at = Find(lines_, section, key);
  if (at.Entry == kNone) return std::string(defaultValue);
  const std::string& line = lines_[at.Entry];
  return line.substr(line.find('=') + 1);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
  const std::string value = ReadString(section, key, "");
  try {
    return ParseDecimalInteger(Trim(value));
  } catch (const PlatformError&) {
    return defaultValue;
  }
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  // Entries another object wrote since this one read the file are kept; an
  // unreadable file is replaced by what this object holds.
  std::vector<std::string> lines = ReadLines(fileName_).value_or(lines_);
  Put(lines, section, key, value);
  const std::string text = Join(lines);
  try {
    AtomicFileWriter writer(fileName_);
    writer.Write(text.data(), text.size());
    writer.Commit();
  } catch (const PlatformError&) {
    throw WriteError(MakeMessage(TMsgId::UnableToWrite, {fileName_}).Text);
  }
  lines_ = std::move(lines);
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

std::string TIniFile::Text() const { return Join(lines_); }

}  // namespace quillmere
