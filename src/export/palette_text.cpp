#include "export/palette_text.h"

#include <vector>

#include "formats/atomic_file_writer.h"
#include "formats/file_reader.h"
#include "interface/messages.h"

namespace quillmere {
namespace {

// Only the columns are read, so a line is kept no longer than they reach;
// a file of one endless line costs no more memory than a short one.
constexpr std::size_t kColumnsEnd = 11;
constexpr std::size_t kColumnStarts[] = {0, 4, 8};
constexpr std::size_t kColumnWidth = 3;

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

[[noreturn]] void Fail(const std::string& source, int lineNumber, const std::string& problem) {
  throw PaletteTextError(source + ", line " + std::to_string(lineNumber) + ": " + problem);
}

}  // namespace

std::array<std::uint8_t, 3> ParsePaletteLine(std::string_view line, const std::string& source, int lineNumber) {
  std::array<std::uint8_t, 3> bytes{};
  for (std::size_t c = 0; c < bytes.size(); ++c) {
    const std::size_t start = kColumnStarts[c];
    const std::string_view column =
        Trimmed(start < line.size() ? line.substr(start, kColumnWidth) : std::string_view{});
    std::string_view digits = column;
    const bool negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
      Fail(source, lineNumber, "'" + std::string(column) + "' is not a valid integer value");
    }
    int value = 0;
    for (char digit : digits) value = value * 10 + (digit - '0');  // at most three digits
    if (negative && value != 0) value = -value;
    if (value > 255 || value < 0) {
      Fail(source, lineNumber, std::to_string(value) + " is not a byte value (0 to 255)");
    }
    bytes[c] = static_cast<std::uint8_t>(value);
  }
  return bytes;
}

int ConvertTextPalette(const std::string& in, const std::string& out, UserInterface& ui) {
  FileReader reader(in);
  AtomicFileWriter writer(out);
  int lines = 0;
  std::string line;
  bool inLine = false;      // characters of a line not yet converted were read
  bool afterCR = false;     // an LF right after a CR ends nothing more
  const auto endLine = [&] {
    writer.Write(ParsePaletteLine(line, in, ++lines).data(), 3);
    line.clear();
    inLine = false;
  };
  std::vector<char> chunk(64 * 1024);
  while (const std::size_t count = reader.ReadSome(chunk.data(), chunk.size())) {
    for (std::size_t i = 0; i < count; ++i) {
      const char c = chunk[i];
      if (c == '\n' && afterCR) {
        afterCR = false;
        continue;
      }
      afterCR = c == '\r';
      if (c == '\r' || c == '\n') {
        endLine();
        continue;
      }
      inLine = true;
      if (line.size() < kColumnsEnd) line.push_back(c);
    }
  }
  if (inLine) endLine();
  writer.Commit();
  Show(ui, TMsgId::PaletteConverted);
  return lines;
}

}  // namespace quillmere
