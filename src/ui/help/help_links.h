#pragma once

#include <QString>
#include <QUrl>
#include <functional>

namespace quillmere::ui {

// The two addresses of the Help menu, chosen when the program is built. An
// address without a scheme names a file under the installation prefix
// ("share/doc/quillmere/manual/index.html") and is found from where the
// program runs, so a moved or packaged installation still finds its manual.
QUrl WebsiteAddress();
QUrl SupportAddress();
QUrl ResolveHelpAddress(const QString& configured, const QString& programFolder);

// Hands `address` to the desktop, except a local manual page that isn't
// installed: the help window shows the manual's own copy of that page
// instead, so the command always shows something.
void OpenHelpAddress(const QUrl& address, const std::function<void(const QUrl&)>& openInDesktop,
                     const std::function<void(const QString& page)>& showManualPage);

}  // namespace quillmere::ui
