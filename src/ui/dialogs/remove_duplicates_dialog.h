#pragma once

#include <QDialog>
#include <array>

#include "export/export_flows.h"

class QCheckBox;

namespace quillmere::ui {

// "Remove Duplicates from Destination": the four option boxes and "Select
// All" over a core TDedupeDialogState, which decides how they follow each
// other. "Scan and Remove..." accepts; the scan itself is the caller's.
class RemoveDuplicatesDialog : public QDialog {
 public:
  RemoveDuplicatesDialog(TDedupeDialogState& state, QWidget* parent);

 private:
  // Shows the core's states in the boxes.
  void ShowState();

  TDedupeDialogState& state_;
  std::array<QCheckBox*, 4> options_{};
  QCheckBox* selectAll_ = nullptr;
};

// The dialog as the core's flow asks for it: true when "Scan and Remove..."
// closed it.
bool AskDedupeOptions(TDedupeDialogState& state, QWidget* parent);

}  // namespace quillmere::ui
