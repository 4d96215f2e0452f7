#pragma once

#include <QFrame>
#include <QToolButton>
#include <array>

#include "app/centre_panel_layout.h"

namespace quillmere::ui {

// The panel of six transfer buttons between the two panes. The buttons are
// placed by the core's layout rule on every resize, so widening the window
// keeps Delete at the left and the rest at the right edge.
class CentrePanel : public QFrame {
 public:
  explicit CentrePanel(QWidget* parent = nullptr);

  QToolButton* Button(TPanelButton button) const { return buttons_[static_cast<std::size_t>(button)]; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FitCaptions();

  std::array<QToolButton*, 6> buttons_{};
};

// The hint of each button, shown as its tool tip while hints are on.
const char* PanelHint(TPanelButton button);

}  // namespace quillmere::ui
