#include "formats/file_name.h"

#include <cctype>

namespace quillmere {
namespace {

// Both separators count: names typed by Windows users travel in recent lists.
std::size_t NameStart(const std::string& path) {
  std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? 0 : slash + 1;
}

std::size_t ExtensionStart(const std::string& path) {
  std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || dot < NameStart(path)) return path.size();
  return dot;
}

}  // namespace

std::string ExtractFileName(const std::string& path) { return path.substr(NameStart(path)); }

std::string ExtractFileExt(const std::string& path) { return path.substr(ExtensionStart(path)); }

std::string ChangeFileExt(const std::string& path, const std::string& extension) {
  return path.substr(0, ExtensionStart(path)) + extension;
}

std::string UpperCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace quillmere
