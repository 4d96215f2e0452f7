#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillmere {

enum class TMsgIcon { Information, Warning, Error, Question };
enum class TMsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class TMsgAnswer { Ok, Cancel, Yes, No };

// A modal message: what the person reads and the buttons they may press.
struct TMessage {
  std::string Caption;
  std::string Text;  // "\r" separates lines, as the texts are kept
  TMsgIcon Icon = TMsgIcon::Information;
  TMsgButtons Buttons = TMsgButtons::Ok;

  bool operator==(const TMessage&) const = default;
};

// The only way the core reaches the person. The editor answers with message
// boxes, the command-line tool with its --answer flags, tests with a script.
class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // Shows a message and returns the button pressed; the answer is one of the
  // message's buttons.
  virtual TMsgAnswer ShowMessage(const TMessage& message) = 0;

  // A diagnostic line the person never sees in a box.
  virtual void DebugOutput(std::string_view line) = 0;

  // Asks for a file to open or to save. `filter` is in the "Name|*.ext|..."
  // form; `defaultExtension` (without dot) is added to a name typed without
  // one; `initialName` presets the name. Returns nothing when cancelled.
  virtual std::optional<std::string> ChooseOpenFile(const std::string& filter,
                                                    const std::string& defaultExtension) = 0;
  virtual std::optional<std::string> ChooseSaveFile(const std::string& filter,
                                                    const std::string& defaultExtension,
                                                    const std::string& initialName) = 0;

  // Moves a file to the desktop's trash so that it can be restored; returns
  // whether it went.
  virtual bool MoveToTrash(const std::string& fileName) = 0;

  // The clipboard's plain text ("" when it holds none), and replacing it.
  virtual std::string ClipboardText() = 0;
  virtual void SetClipboardText(const std::string& text) = 0;
};

// Lower-case names ("warning", "okcancel", "yes") for machine-readable output
// and test reports.
std::string_view IconName(TMsgIcon icon);
std::string_view ButtonsName(TMsgButtons buttons);
std::string_view AnswerName(TMsgAnswer answer);

// The general error handler: shows an error that ended the current command
// (a read past the end of a file, a failed write) with the error's own text.
void ShowGeneralError(UserInterface& ui, std::string_view text);

}  // namespace quillmere
