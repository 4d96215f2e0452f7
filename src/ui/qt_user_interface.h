#pragma once

#include <QString>
#include <QStringList>

#include "interface/user_interface.h"

class QWidget;

namespace quillmere::ui {

// The core's way to the person, in Qt: message boxes owned by the main
// window, its file dialogs, the desktop's trash and the clipboard. Debugging
// output goes to standard error only while QUILLMERE_DEBUG is set to
// something other than 0, so that a person never sees it by accident.
class QtUserInterface : public UserInterface {
 public:
  QtUserInterface();

  // Message boxes and file dialogs are centred on this window.
  void SetParentWindow(QWidget* window) { parent_ = window; }

  TMsgAnswer ShowMessage(const TMessage& message) override;
  void DebugOutput(std::string_view line) override;
  std::optional<std::string> ChooseOpenFile(const std::string& filter,
                                            const std::string& defaultExtension) override;
  std::optional<std::string> ChooseSaveFile(const std::string& filter, const std::string& defaultExtension,
                                            const std::string& initialName) override;
  bool MoveToTrash(const std::string& fileName) override;
  std::string ClipboardText() override;
  void SetClipboardText(const std::string& text) override;

 private:
  QWidget* parent_ = nullptr;
  bool debug_ = false;
};

// "Name|*.a;*.b|Other|*.c" as the name filters of a Qt file dialog:
// "Name (*.a *.b)", "Other (*.c)".
QStringList NameFilters(const std::string& filter);

// A saved name without an extension gets `defaultExtension`, as the person
// typed the name without one; a name with any extension keeps it.
QString WithDefaultExtension(const QString& fileName, const std::string& defaultExtension);

// The message's text with its "\r" line breaks as new lines.
QString MessageText(const std::string& text);

}  // namespace quillmere::ui
