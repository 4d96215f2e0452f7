#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/ini_file.h"
#include "interface/user_interface.h"

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

  // Menu captions show the full name (true) or the name without its folder.
  bool ShowFullPath() const { return showFullPath_; }
  void SetShowFullPath(bool value) { showFullPath_ = value; }

  // The INI section holding the list: keys "1" to MaxFiles, "1" the most recent.
  const std::string& IniSection() const { return iniSection_; }
  void SetIniSection(std::string section) { iniSection_ = std::move(section); }

  // Replaces the list with keys "1", "2", ... of the section, stopping at the
  // first missing or empty one.
  void Load(const TIniFile& ini);
  // Writes keys "1" to MaxFiles, empty beyond the list. Throws WriteError
  // ("Unable to write to ...") at the first failed write; later keys are not
  // written.
  void Save(TIniFile& ini) const;

  // One line of the Recent menu; the window renders the list as it stands.
  struct TMenuEntry {
    std::string Caption;  // "&1  walls.fox": the number is the accelerator
    std::string FileName;
    bool operator==(const TMenuEntry&) const = default;
  };
  std::vector<TMenuEntry> MenuEntries() const;

  using TFileExists = std::function<bool(const std::string&)>;
  // The person chose menu entry `index`. When its file still exists it moves
  // first and its name is returned for opening. When it vanished, the
  // "no longer exists" message is shown, the entry removed and nothing
  // returned; so is nothing for an index beyond the list.
  std::optional<std::string> ChooseEntry(std::size_t index, UserInterface& ui,
                                         const TFileExists& fileExists = FileExists);

  // True for an existing file that is not a folder.
  static bool FileExists(const std::string& fileName);

 private:
  std::uint32_t maxFiles_ = kDefaultMaxFiles;
  std::vector<std::string> files_;
  bool showFullPath_ = false;
  std::string iniSection_ = "MRU List";
};

// ASCII case-insensitive equality of two file names.
bool SameFileName(const std::string& a, const std::string& b);

}  // namespace quillmere
