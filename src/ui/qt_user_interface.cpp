#include "ui/qt_user_interface.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>

#include "ui/qt_text.h"

namespace quillmere::ui {
namespace {

QMessageBox::Icon BoxIcon(TMsgIcon icon) {
  switch (icon) {
    case TMsgIcon::Information:
      return QMessageBox::Information;
    case TMsgIcon::Warning:
      return QMessageBox::Warning;
    case TMsgIcon::Error:
      return QMessageBox::Critical;
    case TMsgIcon::Question:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

// While a command shows its busy cursor, the person's own dialog on the way
// shows the normal one.
class NormalCursor {
 public:
  NormalCursor() : pushed_(QGuiApplication::overrideCursor() != nullptr) {
    if (pushed_) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
  }
  ~NormalCursor() {
    if (pushed_) QGuiApplication::restoreOverrideCursor();
  }
  NormalCursor(const NormalCursor&) = delete;
  NormalCursor& operator=(const NormalCursor&) = delete;

 private:
  bool pushed_;
};

}  // namespace

QtUserInterface::QtUserInterface() {
  const char* debug = std::getenv("QUILLMERE_DEBUG");
  debug_ = debug != nullptr && debug[0] != '\0' && std::string_view(debug) != "0";
}

QStringList NameFilters(const std::string& filter) {
  const QStringList parts = ToQString(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    QString name = parts[i];
    // "Bitmap file (*.bmp)" already names its patterns; Qt reads the last
    // parenthesis as the patterns, so it must hold exactly them.
    const qsizetype open = name.lastIndexOf(QLatin1Char('('));
    if (open > 0 && name.endsWith(QLatin1Char(')'))) name = name.left(open).trimmed();
    filters << QStringLiteral("%1 (%2)").arg(name, patterns);
  }
  return filters;
}

QString WithDefaultExtension(const QString& fileName, const std::string& defaultExtension) {
  if (defaultExtension.empty() || fileName.isEmpty()) return fileName;
  if (!QFileInfo(fileName).suffix().isEmpty()) return fileName;
  return fileName + QLatin1Char('.') + ToQString(defaultExtension);
}

QString MessageText(const std::string& text) {
  QString result = ToQString(text);
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return result;
}

TMsgAnswer QtUserInterface::ShowMessage(const TMessage& message) {
  const NormalCursor cursor;
  QMessageBox box(BoxIcon(message.Icon), ToQString(message.Caption), MessageText(message.Text),
                  QMessageBox::NoButton, parent_);
  switch (message.Buttons) {
    case TMsgButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case TMsgButtons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case TMsgButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case TMsgButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  // Closing a box with Escape or its close button is the safe way out.
  switch (box.exec()) {
    case QMessageBox::Ok:
      return TMsgAnswer::Ok;
    case QMessageBox::Yes:
      return TMsgAnswer::Yes;
    case QMessageBox::No:
      return message.Buttons == TMsgButtons::YesNo || message.Buttons == TMsgButtons::YesNoCancel
                 ? TMsgAnswer::No
                 : TMsgAnswer::Cancel;
    default:
      break;
  }
  switch (message.Buttons) {
    case TMsgButtons::Ok:
      return TMsgAnswer::Ok;
    case TMsgButtons::YesNo:
      return TMsgAnswer::No;
    default:
      return TMsgAnswer::Cancel;
  }
}

void QtUserInterface::DebugOutput(std::string_view line) {
  if (!debug_) return;
  std::fprintf(stderr, "quillmere: %.*s\n", static_cast<int>(line.size()), line.data());
}

std::optional<std::string> QtUserInterface::ChooseOpenFile(const std::string& filter,
                                                           const std::string& defaultExtension) {
  (void)defaultExtension;  // an opened file must exist as named
  const NormalCursor cursor;
  const QString name =
      QFileDialog::getOpenFileName(parent_, QString(), QString(), NameFilters(filter).join(";;"));
  if (name.isEmpty()) return std::nullopt;
  return name.toStdString();
}

std::optional<std::string> QtUserInterface::ChooseSaveFile(const std::string& filter,
                                                           const std::string& defaultExtension,
                                                           const std::string& initialName) {
  const NormalCursor cursor;
  QFileDialog dialog(parent_);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(NameFilters(filter));
  dialog.setDefaultSuffix(ToQString(defaultExtension));
  // The flows that replace files ask their own questions (or, for bitmaps,
  // write numbered files beside the chosen name).
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (!initialName.empty()) dialog.selectFile(ToQString(initialName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return WithDefaultExtension(dialog.selectedFiles().constFirst(), defaultExtension).toStdString();
}

bool QtUserInterface::MoveToTrash(const std::string& fileName) {
  return QFile::moveToTrash(ToQString(fileName));
}

std::string QtUserInterface::ClipboardText() { return QApplication::clipboard()->text().toStdString(); }

void QtUserInterface::SetClipboardText(const std::string& text) {
  QApplication::clipboard()->setText(ToQString(text));
}

}  // namespace quillmere::ui
