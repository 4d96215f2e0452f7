#include "app/most_recent_files.h"

#include <algorithm>
#include <cctype>

namespace quillmere {

bool SameFileName(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

void TMostRecentFiles::SetMaxFiles(std::uint32_t value) {
  maxFiles_ = std::clamp<std::uint32_t>(value, 1, kLargestMaxFiles);
  if (files_.size() > maxFiles_) files_.resize(maxFiles_);
}

void TMostRecentFiles::AddFile(const std::string& fileName) {
  if (!files_.empty() && SameFileName(files_.front(), fileName)) return;
  auto same = [&](const std::string& entry) { return SameFileName(entry, fileName); };
  files_.erase(std::remove_if(files_.begin(), files_.end(), same), files_.end());
  files_.insert(files_.begin(), fileName);
  if (files_.size() > maxFiles_) files_.resize(maxFiles_);
}

}  // namespace quillmere
