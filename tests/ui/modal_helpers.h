#pragma once

// Working a modal dialog that a menu item opens: the work is armed before the
// item is triggered and runs inside the dialog's own event loop.
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

namespace quillmere::test {

// Runs `work` on the modal dialog about to open. A dialog that `work` leaves
// open (a failed check returns early) is cancelled, so the test fails rather
// than hangs; `opened` tells whether a dialog came at all.
template <typename TWork>
void WhenModal(TWork work, bool* opened = nullptr) {
  QTimer::singleShot(0, [work, opened] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (opened != nullptr) *opened = dialog != nullptr;
    if (dialog == nullptr) return;
    work(*dialog);
    if (dialog->isVisible()) dialog->reject();
  });
}

// A dialog's control by its design name; null when there is none.
template <typename TWidget>
TWidget* Control(QDialog& dialog, const char* name) {
  return dialog.findChild<TWidget*>(QString::fromLatin1(name));
}

// Whether a dialog sits over the middle of the window that opened it.
inline bool CentredOver(const QWidget& dialog, const QWidget& window) {
  const QPoint offset = dialog.frameGeometry().center() - window.frameGeometry().center();
  return offset.manhattanLength() <= 2;
}

}  // namespace quillmere::test
