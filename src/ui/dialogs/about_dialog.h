#pragma once

#include <QDialog>

namespace quillmere::ui {

// The about box: the program's name, its version line and the credits.
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* owner);

 protected:
  void showEvent(QShowEvent* event) override;
};

}  // namespace quillmere::ui
