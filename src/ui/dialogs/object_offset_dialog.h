#pragma once

#include <QDialog>

#include "documents/document.h"
#include "editing/object_offset.h"

namespace quillmere::ui {

class NumberSpinBox;

// "Object Offset": a field for any whole number over a core
// TObjectOffsetDialog, which decides what "Reset", "Ok", "Cancel", Enter and
// Escape do; the dialog closes when the core says it is closed.
class ObjectOffsetDialog : public QDialog {
 public:
  ObjectOffsetDialog(TObjectOffsetDialog& model, QWidget* parent);

  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Copies the field into the core before one of its handlers runs.
  void TakeField();
  void CloseIfDone();

  TObjectOffsetDialog& model_;
  NumberSpinBox* field_ = nullptr;
};

// "Object Number Offset..." of a pane's document: shows the dialog and sets
// the offset when accepted. Returns whether the offset changed.
bool EditObjectOffset(TDocument& document, QWidget* parent);

}  // namespace quillmere::ui
