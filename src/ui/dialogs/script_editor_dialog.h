#pragma once

#include <QDialog>

#include "app/editing_commands.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace quillmere::ui {

class ScriptPreviewView;

// "Animation Editor: Shape N": the widgets of a core TScriptEditor, with a
// preview of the working script beside the list. Every button runs the
// editor's operation and then shows the editor's state again.
class ScriptEditorDialog : public QDialog {
 public:
  ScriptEditorDialog(TOpenedScriptEditor& opened, const TPatchFrame& shape, UserInterface& ui, bool showHints,
                     QWidget* parent);

  // "Edit KitterSpeak Script..." of a pane: opens the editor on the pane's
  // current shape, centred on `window`, and stores the script when the
  // person leaves with "Close && Save".
  static void Run(TWorkspace& workspace, TDocumentKind pane, UserInterface& ui, bool showHints, QWidget* window);

  ScriptPreviewView* Preview() const { return preview_; }

 private:
  void TakeSelection();
  void ShowSteps();
  void ShowCommand();

  TScriptEditor& editor_;
  UserInterface& ui_;
  QListWidget* list_;
  QComboBox* command_;
  QLineEdit* fields_[2];
  QLabel* labels_[2];
  QPushButton* add_;
  QPushButton* insert_;
  ScriptPreviewView* preview_;
  bool showing_ = false;  // the widgets are being set from the editor
};

}  // namespace quillmere::ui
