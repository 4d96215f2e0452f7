#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillmere {

// A recent-files list, most recent first. Names are compared without regard
// to letter case, as the file systems the game's artists use do.
class TMostRecentFiles {
 public:
  static constexpr std::uint32_t kDefaultMaxFiles = 4;
  static constexpr std::uint32_t kLargestMaxFiles = 8;

  std::uint32_t MaxFiles() const { return maxFiles_; }
  // Stores 1 for 0 and 8 for anything above 8; drops entries beyond the new limit.
  void SetMaxFiles(std::uint32_t value);

  // Puts `fileName` first. A name already in the list (any letter case) moves
  // up; when it is already first, nothing changes.
  void AddFile(const std::string& fileName);

  const std::vector<std::string>& Files() const { return files_; }

 private:
  std::uint32_t maxFiles_ = kDefaultMaxFiles;
  std::vector<std::string> files_;
};

// ASCII case-insensitive equality of two file names.
bool SameFileName(const std::string& a, const std::string& b);

}  // namespace quillmere
