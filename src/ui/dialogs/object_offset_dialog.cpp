#include "ui/dialogs/object_offset_dialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>
#include <limits>

#include "ui/dialogs/number_spin_box.h"

namespace quillmere::ui {

ObjectOffsetDialog::ObjectOffsetDialog(TObjectOffsetDialog& model, QWidget* parent)
    : QDialog(parent), model_(model) {
  setObjectName("TObjectOffsetDialog");
  setWindowTitle("Object Offset");
  setModal(true);

  field_ = new NumberSpinBox(std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), this);
  field_->setObjectName("SpinEdit1");
  field_->setAccessibleName("Object number offset");
  field_->SetReader(OffsetFieldValue);
  field_->setValue(model_.Value);
  field_->installEventFilter(this);

  auto* reset = new QPushButton("Reset", this);
  reset->setObjectName("Button1");
  reset->setAutoDefault(false);
  auto* ok = new QPushButton("Ok", this);
  ok->setObjectName("Button2");
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("Button3");
  cancel->setAutoDefault(false);
  connect(reset, &QPushButton::clicked, this, [this] {
    model_.Reset();
    field_->setValue(model_.Value);
    CloseIfDone();
  });
  connect(ok, &QPushButton::clicked, this, [this] {
    TakeField();
    model_.Ok();
    CloseIfDone();
  });
  connect(cancel, &QPushButton::clicked, this, &ObjectOffsetDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(reset);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(field_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  field_->setFocus();
  field_->selectAll();
}

void ObjectOffsetDialog::reject() {
  model_.Cancel();
  CloseIfDone();
}

bool ObjectOffsetDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == field_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    const TOffsetKey which = key == Qt::Key_Return || key == Qt::Key_Enter ? TOffsetKey::Enter
                             : key == Qt::Key_Escape                       ? TOffsetKey::Escape
                                                                           : TOffsetKey::Other;
    TakeField();
    if (model_.KeyDown(which)) {
      CloseIfDone();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void ObjectOffsetDialog::TakeField() { model_.Value = field_->TypedValue(); }

void ObjectOffsetDialog::CloseIfDone() {
  if (!model_.Closed()) return;
  if (model_.Accepted()) {
    accept();
  } else {
    QDialog::reject();
  }
}

bool EditObjectOffset(TDocument& document, QWidget* parent) {
  TObjectOffsetDialog model(document);
  ObjectOffsetDialog dialog(model, parent);
  dialog.exec();
  return model.ApplyTo(document);
}

}  // namespace quillmere::ui
