#include "ui/help/help_window.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace quillmere::ui {
namespace {

// Contents order; the titles are the pages' own <title>s.
constexpr const char* kPageFiles[] = {
    "index.html",        "files.html",       "panes.html",        "transfers.html",
    "properties.html",   "kitterspeak.html", "exports.html",      "colour-codes.html",
    "file-types.html",   "command-line.html", "troubleshooting.html",
};

QString ResourcePath(const QString& file) { return QStringLiteral(":/manual/") + file; }

TManualPage ReadPage(const QString& file) {
  QFile source(ResourcePath(file));
  source.open(QIODevice::ReadOnly);
  QTextDocument document;
  document.setHtml(QString::fromUtf8(source.readAll()));
  return {file.toStdString(), document.metaInformation(QTextDocument::DocumentTitle).toStdString(),
          document.toPlainText().toStdString()};
}

constexpr int kFileRole = Qt::UserRole;
constexpr int kFindRole = Qt::UserRole + 1;

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("HelpWindow");
  setWindowTitle(tr("Quillmere Help"));
  resize(900, 620);

  for (const char* file : kPageFiles) pages_.push_back(ReadPage(QString::fromLatin1(file)));

  auto* toolbar = new QHBoxLayout;
  auto makeButton = [&](QToolButton*& button, QStyle::StandardPixmap icon, const QString& text) {
    button = new QToolButton(this);
    button->setIcon(style()->standardIcon(icon));
    button->setText(text);
    button->setToolTip(text);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolbar->addWidget(button);
  };
  makeButton(back_, QStyle::SP_ArrowBack, tr("Back"));
  makeButton(forward_, QStyle::SP_ArrowForward, tr("Forward"));
  makeButton(home_, QStyle::SP_DirHomeIcon, tr("Contents"));
  toolbar->addStretch();

  contents_ = new QListWidget;
  contents_->setObjectName("HelpContents");
  for (const TManualPage& page : pages_) {
    auto* item = new QListWidgetItem(QString::fromStdString(page.Title), contents_);
    item->setData(kFileRole, QString::fromStdString(page.File));
  }

  auto* searchPage = new QWidget;
  auto* searchLayout = new QVBoxLayout(searchPage);
  searchLayout->setContentsMargins(4, 4, 4, 4);
  searchField_ = new QLineEdit;
  searchField_->setObjectName("HelpSearch");
  searchField_->setPlaceholderText(tr("Words to find"));
  searchField_->setClearButtonEnabled(true);
  results_ = new QListWidget;
  results_->setObjectName("HelpResults");
  results_->setWordWrap(true);
  // Each result is a title line and a snippet; the shading keeps them apart.
  results_->setAlternatingRowColors(true);
  results_->setSpacing(1);
  searchLayout->addWidget(searchField_);
  searchLayout->addWidget(results_);

  sides_ = new QTabWidget;
  sides_->addTab(contents_, tr("Contents"));
  sides_->addTab(searchPage, tr("Search"));

  browser_ = new QTextBrowser;
  browser_->setObjectName("HelpBrowser");
  browser_->setOpenExternalLinks(true);

  auto* splitter = new QSplitter;
  splitter->addWidget(sides_);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({230, 670});

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(toolbar);
  layout->addWidget(splitter, 1);

  connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
  connect(home_, &QToolButton::clicked, this, [this] { ShowPage(kManualStart); });
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::SourceChanged);
  connect(contents_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { ShowPage(item->data(kFileRole).toString()); });
  connect(contents_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { ShowPage(item->data(kFileRole).toString()); });
  connect(searchField_, &QLineEdit::textChanged, this, &HelpWindow::Search);
  connect(results_, &QListWidget::itemClicked, this, &HelpWindow::OpenResult);
  connect(results_, &QListWidget::itemActivated, this, &HelpWindow::OpenResult);
  auto* find = new QShortcut(QKeySequence::Find, this);
  connect(find, &QShortcut::activated, this, [this] {
    sides_->setCurrentIndex(1);
    searchField_->setFocus();
    searchField_->selectAll();
  });
  back_->setEnabled(false);
  forward_->setEnabled(false);
}

bool HelpWindow::HasPage(const QString& file) { return !file.isEmpty() && QFile::exists(ResourcePath(file)); }

void HelpWindow::ShowPage(const QString& page) {
  browser_->setSource(QUrl(QString::fromLatin1(kManualRoot) + page));
  show();
  raise();
  activateWindow();
}

void HelpWindow::SourceChanged(const QUrl& source) {
  // The browser reports the new page before source() returns it.
  const QString file = source.fileName();
  setWindowTitle(tr("Quillmere Help") + QStringLiteral(" - ") + browser_->documentTitle());
  for (int i = 0; i < contents_->count(); ++i) {
    if (contents_->item(i)->data(kFileRole).toString() == file) {
      const QSignalBlocker quiet(contents_);
      contents_->setCurrentRow(i);
    }
  }
}

void HelpWindow::Search(const QString& query) {
  if (searchField_->text() != query) {
    const QSignalBlocker quiet(searchField_);
    searchField_->setText(query);
  }
  sides_->setCurrentIndex(1);
  results_->clear();
  const std::vector<TManualHit> hits = SearchManual(pages_, query.toStdString());
  for (const TManualHit& hit : hits) {
    const TManualPage& page = pages_[hit.Page];
    const QString snippet = QString::fromStdString(ManualSnippet(page.Text, hit.FirstAt, 70));
    auto* item = new QListWidgetItem(QString::fromStdString(page.Title) + "\n" + snippet, results_);
    item->setData(kFileRole, QString::fromStdString(page.File));
    item->setData(kFindRole, query.simplified().section(' ', 0, 0));
  }
  if (hits.empty() && !query.trimmed().isEmpty()) {
    auto* none = new QListWidgetItem(tr("No page holds these words."), results_);
    none->setFlags(Qt::NoItemFlags);
  }
}

void HelpWindow::OpenResult(QListWidgetItem* item) {
  const QString file = item->data(kFileRole).toString();
  if (file.isEmpty()) return;
  ShowPage(file);
  // The first place the first word occurs is selected and scrolled into view.
  browser_->moveCursor(QTextCursor::Start);
  browser_->find(item->data(kFindRole).toString());
}

}  // namespace quillmere::ui
