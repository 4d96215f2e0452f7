#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "export/export_flows.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quillmere::ui {

// "GIF Export": shows the core's dialog state for one shape at a time and
// writes the person's changes back into it.
class GifExportDialog : public QDialog {
  Q_OBJECT

 public:
  explicit GifExportDialog(QWidget* owner);

  // Shows `state` for `shape` modally; on Accept `state` holds what the
  // controls say. The state must outlive the call.
  TDialogResult Run(TGifExportDialogState& state, const TPatchFrame& shape);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowState();
  // The number fields as the core reads them: out-of-range text comes back
  // at the nearer limit.
  void TakeNumberFields();

  TGifExportDialogState* state_ = nullptr;
  QRadioButton* direct_ = nullptr;
  QRadioButton* kitterspeak_ = nullptr;
  QLineEdit* delay_ = nullptr;
  QCheckBox* transparent_ = nullptr;
  QCheckBox* ignorePos_ = nullptr;
  QCheckBox* remapped_ = nullptr;
  QLineEdit* colourCode_ = nullptr;
  QCheckBox* optimize_ = nullptr;
  QLineEdit* maxSteps_ = nullptr;
};

// "Animated GIF..." over the shapes `left`..`right`: one dialog for the
// series, centred on `owner`, and a progress box for exports that take a
// while, whose Cancel ends the series.
std::vector<std::string> RunGifExport(QWidget* owner, const TShapeList& shapes, int left, int right,
                                      UserInterface& ui);

}  // namespace quillmere::ui
