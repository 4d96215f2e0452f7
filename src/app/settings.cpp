#include "app/settings.h"

#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "interface/messages.h"

namespace quillmere {
namespace {

constexpr std::string_view kMain = "Main";
constexpr std::uint32_t kColourMask = 0xFFFFFF;

std::string SettingsFile(const std::string& configFolder) {
  const std::filesystem::path folder = std::filesystem::path(configFolder) / "Tarnwick" / "Quillmere";
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  return (folder / "quillmere.ini").string();
}

// Colours beyond 24 bits (or negative) can't be shown; they read as the default.
std::uint32_t ReadColour(const TIniFile& ini, std::string_view key, std::uint32_t defaultValue) {
  const int value = ini.ReadInteger(kMain, key, static_cast<int>(defaultValue));
  return value < 0 || static_cast<std::uint32_t>(value) > kColourMask ? defaultValue
                                                                      : static_cast<std::uint32_t>(value);
}

}  // namespace

std::string DefaultConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  // Without a home the settings go to the working folder rather than nowhere.
  return (std::filesystem::path(home != nullptr && home[0] != '\0' ? home : ".") / ".config").string();
}

TSettings::TSettings(const std::string& configFolder) : ini_(SettingsFile(configFolder)) {
  tips_ = ini_.ReadBool(kMain, "Tips", false);
  dragDrop_ = ini_.ReadBool(kMain, "DragDrop", false);
  copyMode_ = ini_.ReadBool(kMain, "Copymode", true);
  largeHighlight_ = ini_.ReadBool(kMain, "Highlighter", false);
  mainHighlight_ = ReadColour(ini_, "MBC", kDefaultMainHighlight);
  subFrameHighlight_ = ReadColour(ini_, "SBC", kDefaultSubFrameHighlight);
}

void TSettings::ToggleTips() {
  tips_ = !tips_;
  ini_.WriteBool(kMain, "Tips", tips_);
}

void TSettings::ToggleDragDrop() {
  dragDrop_ = !dragDrop_;
  ini_.WriteBool(kMain, "DragDrop", dragDrop_);
}

void TSettings::ToggleLargeHighlight() {
  largeHighlight_ = !largeHighlight_;
  ini_.WriteBool(kMain, "Highlighter", largeHighlight_);
}

void TSettings::SetCopyMode(bool copy) {
  copyMode_ = copy;
  ini_.WriteBool(kMain, "Copymode", copyMode_);
}

void TSettings::SetMainHighlight(std::uint32_t colour) {
  mainHighlight_ = colour & kColourMask;
  ini_.WriteInteger(kMain, "MBC", static_cast<int>(mainHighlight_));
}

void TSettings::SetSubFrameHighlight(std::uint32_t colour) {
  subFrameHighlight_ = colour & kColourMask;
  ini_.WriteInteger(kMain, "SBC", static_cast<int>(subFrameHighlight_));
}

bool TSettings::ResetColorsToDefault(UserInterface& ui) {
  if (Show(ui, TMsgId::ResetColors) != TMsgAnswer::Ok) return false;
  mainHighlight_ = kDefaultMainHighlight;
  subFrameHighlight_ = kDefaultSubFrameHighlight;
  ini_.WriteInteger(kMain, "MBC", static_cast<int>(mainHighlight_));
  ini_.WriteInteger(kMain, "SBC", static_cast<int>(subFrameHighlight_));
  return true;
}

void TSettings::Save() {
  ini_.WriteBool(kMain, "Tips", tips_);
  ini_.WriteBool(kMain, "DragDrop", dragDrop_);
  ini_.WriteBool(kMain, "Copymode", copyMode_);
  ini_.WriteBool(kMain, "Highlighter", largeHighlight_);
  ini_.WriteInteger(kMain, "MBC", static_cast<int>(mainHighlight_));
  ini_.WriteInteger(kMain, "SBC", static_cast<int>(subFrameHighlight_));
}

}  // namespace quillmere
