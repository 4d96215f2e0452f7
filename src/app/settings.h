#pragma once

#include <cstdint>
#include <string>

#include "app/ini_file.h"
#include "interface/user_interface.h"
#include "model/shape_palette.h"

namespace quillmere {

// Colour values as the settings keep them: red in the low byte, then green,
// then blue.
constexpr TRGB ColourValueToRGB(std::uint32_t value) {
  return TRGB{static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>((value >> 8) & 0xFF),
              static_cast<std::uint8_t>((value >> 16) & 0xFF)};
}
constexpr std::uint32_t RGBToColourValue(TRGB colour) {
  return static_cast<std::uint32_t>(colour.Red) | (static_cast<std::uint32_t>(colour.Green) << 8) |
         (static_cast<std::uint32_t>(colour.Blue) << 16);
}

// The per-user configuration folder: $XDG_CONFIG_HOME when it is an absolute
// path, otherwise ~/.config.
std::string DefaultConfigFolder();

// The user's options, kept in section "Main" of
// <configuration folder>/Tarnwick/Quillmere/quillmere.ini, which also holds
// the two recent-file lists. Reads never fail: a missing file or key, or a
// value that is not an integer, gives the default. Every change is written at
// once and a failed write throws WriteError "Unable to write to <file>"; the
// option keeps its new value for this run either way, since the person chose it.
class TSettings {
 public:
  static constexpr std::uint32_t kDefaultMainHighlight = 255;        // red
  static constexpr std::uint32_t kDefaultSubFrameHighlight = 32768;  // green 128

  // Creates the folders (a failure there shows at the first write) and reads
  // the file.
  explicit TSettings(const std::string& configFolder);

  const std::string& FileName() const { return ini_.FileName(); }
  // The settings file, for the recent-file lists.
  TIniFile& Ini() { return ini_; }

  bool Tips() const { return tips_; }
  bool DragDrop() const { return dragDrop_; }
  // False means Move mode.
  bool CopyMode() const { return copyMode_; }
  bool LargeHighlight() const { return largeHighlight_; }
  // Colour values, red in the low byte.
  std::uint32_t MainHighlight() const { return mainHighlight_; }
  std::uint32_t SubFrameHighlight() const { return subFrameHighlight_; }

  // The option commands.
  void ToggleTips();
  void ToggleDragDrop();
  void ToggleLargeHighlight();
  // "Copy Objects" (true) and "Move Objects" (false).
  void SetCopyMode(bool copy);
  // A colour the picker returned on OK; only the low 24 bits are a colour.
  void SetMainHighlight(std::uint32_t colour);
  void SetSubFrameHighlight(std::uint32_t colour);
  // Asks first; true when the colours were reset.
  bool ResetColorsToDefault(UserInterface& ui);

  // At shutdown: every option in the order "Tips", "DragDrop", "Copymode",
  // "Highlighter", "MBC", "SBC", stopping at the first failed write.
  void Save();

 private:
  TIniFile ini_;
  bool tips_ = false;
  bool dragDrop_ = false;
  bool copyMode_ = true;
  bool largeHighlight_ = false;
  std::uint32_t mainHighlight_ = kDefaultMainHighlight;
  std::uint32_t subFrameHighlight_ = kDefaultSubFrameHighlight;
};

}  // namespace quillmere
