#pragma once

#include <QDialog>
#include <vector>

#include "app/workspace.h"
#include "editing/property_editor.h"

class QCheckBox;
class QLabel;

namespace quillmere::ui {

class NumberSpinBox;

// "Property Editor": the widgets over a core TPropertyEditor. The editor's
// fields fill the widgets; "Ok" copies the widgets back into it and accepts,
// "Cancel" and the close box leave it as it was.
class PropertyEditorDialog : public QDialog {
 public:
  // `hints` follows the window's "Tooltips (Balloon Help)" option.
  PropertyEditorDialog(TPropertyEditor& editor, bool hints, QWidget* parent);

 private:
  struct SwitchedRow {
    NumberSpinBox* Field;
    QCheckBox* Switch;
    TSwitchedField* Model;
  };
  struct FlagRow {
    QCheckBox* Box;
    TFlagBox* Model;
  };

  QWidget* BuildFlags();
  QWidget* BuildPositions(const char* title, const char* name, TSwitchedField& x, TSwitchedField& y);
  QWidget* BuildAdditional();
  QWidget* BuildStatistics();
  QCheckBox* MakeSwitch(const QString& name, TSwitchedField& model, NumberSpinBox* field);
  NumberSpinBox* MakeField(const QString& name, TFieldLimits limits, const TSwitchedField& model);
  void Ok();

  TPropertyEditor& editor_;
  bool hints_;
  std::vector<SwitchedRow> rows_;
  std::vector<FlagRow> flags_;
};

// "Shape Properties..." of a pane, its shapes or (`frames`) the frames of its
// current shape: asks the core for the editor, shows it and applies it on Ok.
void EditProperties(TWorkspace& workspace, TDocumentKind pane, bool frames, bool hints, UserInterface& ui,
                    QWidget* parent);

}  // namespace quillmere::ui
