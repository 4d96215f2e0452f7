#include "ui/help/help_links.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "ui/help/help_window.h"

namespace quillmere::ui {

QUrl ResolveHelpAddress(const QString& configured, const QString& programFolder) {
  const QUrl url(configured);
  if (!url.scheme().isEmpty() && !QDir::isAbsolutePath(configured)) return url;
  // A page's "#section" names a place in it, not part of the file name.
  const QString file = configured.section('#', 0, 0);
  const QString path = QDir::isAbsolutePath(file)
                           ? file
                           : QDir(programFolder + QStringLiteral("/" QUILLMERE_PREFIX_FROM_BINDIR)).filePath(file);
  QUrl local = QUrl::fromLocalFile(QDir::cleanPath(path));
  if (configured.contains('#')) local.setFragment(configured.section('#', 1));
  return local;
}

QUrl WebsiteAddress() {
  return ResolveHelpAddress(QStringLiteral(QUILLMERE_WEBSITE_URL), QCoreApplication::applicationDirPath());
}

QUrl SupportAddress() {
  return ResolveHelpAddress(QStringLiteral(QUILLMERE_SUPPORT_URL), QCoreApplication::applicationDirPath());
}

void OpenHelpAddress(const QUrl& address, const std::function<void(const QUrl&)>& openInDesktop,
                     const std::function<void(const QString& page)>& showManualPage) {
  if (address.isLocalFile() && !QFileInfo::exists(address.toLocalFile()) && HelpWindow::HasPage(address.fileName())) {
    const QString fragment = address.fragment();
    showManualPage(address.fileName() + (fragment.isEmpty() ? QString() : "#" + fragment));
    return;
  }
  openInDesktop(address);
}

}  // namespace quillmere::ui
