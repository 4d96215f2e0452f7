#pragma once

#include <QScreen>
#include <QWidget>

#include "app/dialog_placement.h"

namespace quillmere::ui {

// Sits `dialog` centred over `owner`, frames included; called once the
// dialog is shown, when its frame is known.
inline void CentreOver(QWidget& dialog, const QWidget* owner) {
  if (owner == nullptr) return;
  const QRect outer = owner->frameGeometry();
  const QRect frame = dialog.frameGeometry();
  TDialogPlace place =
      CentredOver(outer.left(), outer.top(), outer.width(), outer.height(), frame.width(), frame.height());
  if (const QScreen* screen = owner->screen()) {
    const QRect area = screen->availableGeometry();
    place = KeptOnScreen(place, frame.width(), frame.height(), area.left(), area.top(), area.width(), area.height());
  }
  dialog.move(place.Left, place.Top);
}

}  // namespace quillmere::ui
