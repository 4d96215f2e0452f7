#include "app/most_recent_files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "formats/file_name.h"
#include "interface/messages.h"

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

void TMostRecentFiles::Load(const TIniFile& ini) {
  files_.clear();
  for (std::uint32_t i = 1; i <= maxFiles_; ++i) {
    std::string name = ini.ReadString(iniSection_, std::to_string(i), "");
    if (name.empty()) break;
    files_.push_back(std::move(name));
  }
}

void TMostRecentFiles::Save(TIniFile& ini) const {
  for (std::uint32_t i = 1; i <= maxFiles_; ++i)
    ini.WriteString(iniSection_, std::to_string(i), i <= files_.size() ? files_[i - 1] : "");
}

std::vector<TMostRecentFiles::TMenuEntry> TMostRecentFiles::MenuEntries() const {
  std::vector<TMenuEntry> entries;
  for (std::size_t i = 0; i < files_.size(); ++i) {
    std::string caption = "&" + std::to_string(i + 1) + "  ";
    // "&" marks the accelerator, so one in a file name is doubled to show as itself.
    for (char c : showFullPath_ ? files_[i] : ExtractFileName(files_[i])) {
      caption += c;
      if (c == '&') caption += c;
    }
    entries.push_back({std::move(caption), files_[i]});
  }
  return entries;
}

std::optional<std::string> TMostRecentFiles::ChooseEntry(std::size_t index, UserInterface& ui,
                                                         const TFileExists& fileExists) {
  if (index >= files_.size()) return std::nullopt;
  std::string name = files_[index];
  files_.erase(files_.begin() + static_cast<std::ptrdiff_t>(index));
  if (!fileExists(name)) {
    Show(ui, TMsgId::RecentFileMissing, {name});
    return std::nullopt;
  }
  files_.insert(files_.begin(), name);
  return name;
}

bool TMostRecentFiles::FileExists(const std::string& fileName) {
  std::error_code error;
  return std::filesystem::exists(fileName, error) && !std::filesystem::is_directory(fileName, error);
}

}  // namespace quillmere
