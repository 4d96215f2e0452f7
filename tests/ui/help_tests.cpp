// The manual's window and the Help menu through the real main window: F1,
// following a link with the mouse, back and forward, the search, and where
// "Website..." and "Support..." send their addresses.
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>

#include "ui/help/help_links.h"
#include "ui/help/help_window.h"
#include "ui_test_registry.h"
#include "window_fixture.h"

namespace quillmere::test {
namespace {

// The point on screen of the first link whose text is `text`.
QPoint LinkPoint(QTextBrowser* browser, const QString& text) {
  QTextDocument* document = browser->document();
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (fragment.charFormat().isAnchor() && fragment.text() == text) {
        QTextCursor cursor(document);
        cursor.setPosition(fragment.position() + 1);
        browser->setTextCursor(cursor);
        browser->ensureCursorVisible();
        return browser->cursorRect(cursor).center();
      }
    }
  }
  throw std::runtime_error("no link " + text.toStdString());
}

QString Page(ui::HelpWindow* help) { return help->Browser()->source().fileName(); }

}  // namespace

class HelpTests : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void f1OpensTheManualsStartPageBesideTheWindow() {
    WindowFixture f;
    ui::MainWindow& window = f.Start();
    QVERIFY(window.Action("Contents1")->isEnabled());
    QVERIFY(window.Help() == nullptr);

    f.Grid(TGridId::SrcGrid)->setFocus();
    f.Key(f.Grid(TGridId::SrcGrid), Qt::Key_F1);
    ui::HelpWindow* help = window.Help();
    QVERIFY(help != nullptr);
    QVERIFY(help->isVisible());
    QVERIFY(!help->isModal());
    QCOMPARE(Page(help), QString("index.html"));
    QCOMPARE(help->Browser()->documentTitle(), QString("Quillmere manual"));
    QVERIFY(help->Browser()->toPlainText().contains("A first session"));
    // Every page of the manual is in the contents, each under its own title.
    QCOMPARE(help->Contents()->count(), 11);
    QCOMPARE(help->Contents()->currentItem()->text(), QString("Quillmere manual"));

    // The main window still takes commands while the manual is open, and a
    // second F1 brings back the same window rather than another.
    f.Trigger("Contents1");
    QCOMPARE(window.Help(), help);
  }

  void aLinkLeadsToItsPageAndBackAndForwardReturn() {
    WindowFixture f;
    ui::MainWindow& window = f.Start();
    f.Trigger("Contents1");
    ui::HelpWindow* help = window.Help();
    QTextBrowser* browser = help->Browser();
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QVERIFY(!help->BackButton()->isEnabled());

    QTest::mouseClick(browser->viewport(), Qt::LeftButton, Qt::NoModifier,
                      LinkPoint(browser, "The KitterSpeak script editor"));
    QCOMPARE(Page(help), QString("kitterspeak.html"));
    QVERIFY(browser->toPlainText().contains("Set camera to follow furre position (#)"));
    QCOMPARE(help->Contents()->currentItem()->text(), QString("The KitterSpeak script editor"));

    QVERIFY(help->BackButton()->isEnabled());
    QTest::mouseClick(help->BackButton(), Qt::LeftButton);
    QCOMPARE(Page(help), QString("index.html"));
    QTest::mouseClick(help->ForwardButton(), Qt::LeftButton);
    QCOMPARE(Page(help), QString("kitterspeak.html"));

    // The contents list opens pages too.
    QListWidget* contents = help->Contents();
    QListWidgetItem* types = contents->findItems("File types and what each can hold", Qt::MatchExactly).at(0);
    QTest::mouseClick(contents->viewport(), Qt::LeftButton, Qt::NoModifier, contents->visualItemRect(types).center());
    QCOMPARE(Page(help), QString("file-types.html"));
  }

  void theSearchListsMatchingPagesAndShowsTheWordFound() {
    WindowFixture f;
    ui::MainWindow& window = f.Start();
    f.Trigger("Contents1");
    ui::HelpWindow* help = window.Help();
    QVERIFY(QTest::qWaitForWindowExposed(help));

    QTest::keyClick(help, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(help->Sides()->currentIndex(), 1);
    QTest::keyClicks(help->SearchField(), "colour code");
    QListWidget* results = help->Results();
    QVERIFY(results->count() >= 2);
    // The page titled after the words comes first.
    QVERIFY(results->item(0)->text().startsWith("Colour codes\n"));

    QTest::mouseClick(results->viewport(), Qt::LeftButton, Qt::NoModifier,
                      results->visualItemRect(results->item(0)).center());
    QCOMPARE(Page(help), QString("colour-codes.html"));
    QCOMPARE(help->Browser()->textCursor().selectedText().toLower(), QString("colour"));

    help->SearchField()->clear();
    QTest::keyClicks(help->SearchField(), "zzyzx");
    QCOMPARE(results->count(), 1);
    QVERIFY(!(results->item(0)->flags() & Qt::ItemIsEnabled));
  }

  void websiteAndSupportHandTheirAddressesToTheOpener() {
    WindowFixture f;
    ui::MainWindow& window = f.Start();
    std::vector<QUrl> opened;
    window.SetAddressOpener([&](const QUrl& url) { opened.push_back(url); });
    QVERIFY(window.Action("Website1")->isEnabled());
    QVERIFY(window.Action("Support1")->isEnabled());

    f.Trigger("Website1");
    f.Trigger("Support1");
    QCOMPARE(opened.size(), std::size_t{2});
    QCOMPARE(opened[0], ui::WebsiteAddress());
    QCOMPARE(opened[1], ui::SupportAddress());
    // Built with the defaults: the installed manual's two pages, found from
    // the program's folder.
    QCOMPARE(opened[0].fileName(), QString("index.html"));
    QCOMPARE(opened[1].fileName(), QString("troubleshooting.html"));
    QVERIFY(opened[1].isLocalFile());
    QVERIFY(window.Help() == nullptr);
  }

  void anUninstalledManualPageShowsInTheHelpWindow() {
    // The build tree has no installed manual, so the default opener can be
    // run here without a browser starting.
    QVERIFY(!QFileInfo::exists(ui::SupportAddress().toLocalFile()));
    WindowFixture f;
    ui::MainWindow& window = f.Start();
    f.Trigger("Support1");
    QVERIFY(window.Help() != nullptr);
    QVERIFY(window.Help()->isVisible());
    QCOMPARE(Page(window.Help()), QString("troubleshooting.html"));
  }

  void addressesAreResolvedAndOpenedOrShown() {
    const QString bin = "/opt/q/bin";
    QCOMPARE(ui::ResolveHelpAddress("share/doc/quillmere/manual/index.html", bin),
             QUrl::fromLocalFile("/opt/q/share/doc/quillmere/manual/index.html"));
    QCOMPARE(ui::ResolveHelpAddress("/srv/help/index.html", bin), QUrl::fromLocalFile("/srv/help/index.html"));
    QCOMPARE(ui::ResolveHelpAddress("share/manual/file-types.html#fbj", bin),
             QUrl("file:///opt/q/share/manual/file-types.html#fbj"));
    QCOMPARE(ui::ResolveHelpAddress("https://example.org/support", bin), QUrl("https://example.org/support"));

    std::vector<QUrl> desktop;
    std::vector<QString> shown;
    auto open = [&](const QUrl& url) {
      ui::OpenHelpAddress(url, [&](const QUrl& u) { desktop.push_back(u); },
                          [&](const QString& page) { shown.push_back(page); });
    };
    TempDir dir;
    const std::string installed = dir.File("troubleshooting.html");
    WriteFile(installed, Bytes{'x'});
    open(QUrl("https://example.org/support"));
    open(QUrl::fromLocalFile(QString::fromStdString(installed)));
    open(QUrl::fromLocalFile("/nowhere/manual/troubleshooting.html"));
    open(QUrl("file:///nowhere/manual/file-types.html#fbj"));
    open(QUrl::fromLocalFile("/nowhere/other.html"));
    QCOMPARE(desktop, (std::vector<QUrl>{QUrl("https://example.org/support"),
                                         QUrl::fromLocalFile(QString::fromStdString(installed)),
                                         QUrl::fromLocalFile("/nowhere/other.html")}));
    QCOMPARE(shown, (std::vector<QString>{"troubleshooting.html", "file-types.html#fbj"}));
  }
};

QUILLMERE_UI_TEST(HelpTests);

}  // namespace quillmere::test

#include "help_tests.moc"
