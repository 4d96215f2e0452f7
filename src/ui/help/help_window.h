#pragma once

#include <QString>
#include <QWidget>
#include <vector>

#include "app/manual_search.h"

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QTextBrowser;
class QToolButton;
class QUrl;

namespace quillmere::ui {

// Where the manual's pages live inside the program.
inline constexpr char kManualRoot[] = "qrc:/manual/";
inline constexpr char kManualStart[] = "index.html";

// The manual in a window of its own beside the editor: a contents list, a
// search over every page, and the page itself with back and forward. It stays
// open while the user works in the main window.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  // Shows a page of the manual by its file name, with an optional "#anchor",
  // and brings the window to the front.
  void ShowPage(const QString& page);
  // Whether the manual has a page of this file name.
  static bool HasPage(const QString& file);

  // Runs the search as typing in the search field does.
  void Search(const QString& query);

  QTextBrowser* Browser() const { return browser_; }
  QListWidget* Contents() const { return contents_; }
  QLineEdit* SearchField() const { return searchField_; }
  QListWidget* Results() const { return results_; }
  QTabWidget* Sides() const { return sides_; }
  QToolButton* BackButton() const { return back_; }
  QToolButton* ForwardButton() const { return forward_; }

 private:
  void SourceChanged(const QUrl& source);
  void OpenResult(QListWidgetItem* item);

  std::vector<TManualPage> pages_;
  QTextBrowser* browser_ = nullptr;
  QTabWidget* sides_ = nullptr;
  QListWidget* contents_ = nullptr;
  QLineEdit* searchField_ = nullptr;
  QListWidget* results_ = nullptr;
  QToolButton* back_ = nullptr;
  QToolButton* forward_ = nullptr;
  QToolButton* home_ = nullptr;
};

}  // namespace quillmere::ui
