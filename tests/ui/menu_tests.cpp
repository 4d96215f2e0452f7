// The menus as a person reads them, the keys that reach them from every grid,
// and the Recent submenus after real opens.
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>

#include "ui_helpers.h"
#include "ui_test_registry.h"

namespace quillmere::test {
namespace {

// One line per item: separators as "-", a submenu's items after "Name > ",
// then the shortcut, the check mark and any item shown disabled or hidden.
QStringList Describe(const QMenu* menu, const QString& prefix = {}) {
  QStringList lines;
  for (QAction* action : menu->actions()) {
    if (action->isSeparator()) {
      lines << prefix + "-";
      continue;
    }
    QString line = prefix + action->text();
    if (!action->shortcut().isEmpty()) line += "  " + action->shortcut().toString(QKeySequence::PortableText);
    if (action->isCheckable()) line += action->isChecked() ? "  [x]" : "  [ ]";
    // A hidden action also reads as disabled.
    if (!action->isVisible()) {
      line += "  (hidden)";
    } else if (!action->isEnabled()) {
      line += "  (off)";
    }
    lines << line;
    if (action->menu() != nullptr) lines << Describe(action->menu(), prefix + action->text() + " > ");
  }
  return lines;
}

QMenu* BarMenu(ui::MainWindow& window, const QString& title) {
  for (QAction* action : window.menuBar()->actions()) {
    if (action->text() == title) return action->menu();
  }
  return nullptr;
}

}  // namespace

class MenuTests : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void menuBarAtStart() {
    WindowFixture f;
    ui::MainWindow& window = f.Start();
    QStringList titles;
    for (QAction* action : window.menuBar()->actions()) titles << action->text();
    QCOMPARE(titles, (QStringList{"&File", "&Edit", "&Source", "Options", "&Help"}));

    // An empty workspace: nothing to export or save from the source yet;
    // the items whose dialogs this build lacks are there but off.
    // clang-format off
    const QStringList file{
        "&New Destination  Ctrl+N", "&Open Destination...  Ctrl+O", "Recent", "Recent > Empty  (hidden)", "-",
        "&Save Destination  Ctrl+S", "Save Destination &As...", "-",
        "Save Source && Destination  (hidden)", "-",
        "Export", "Export > Export Destination Object...  (off)", "Export > Animated GIF...  (off)", "-",
        "Reload Destination...", "-",
        "Edit KitterSpeak Script...", "Shape Properties...",
        "Edit Image", "Edit Image > Flip Horizontally", "Edit Image > Flip Vertically", "-",
        "Remove Duplicates...", "-",
        "Object Number Offset...", "-",
        "E&xit"};
    const QStringList edit{"&Undo  Ctrl+Z  (off)", "&Redo  Ctrl+Shift+Z  (off)"};
    const QStringList source{
        "&Import...  Ctrl+I", "Reload Source...", "Recent", "Recent > Empty  (hidden)", "-",
        "Save Source Changes  (off)", "-",
        "Export", "Export > Export Object...  (off)", "Export > Animated GIF...  (off)", "-",
        "Shape Properties...", "Edit KitterSpeak Script...",
        "Edit Image", "Edit Image > Flip Horizontally", "Edit Image > Flip Vertically", "-",
        "Object Number Offset...", "-",
        "&Drag and Drop  [ ]", "Tooltips (Balloon Help)  [ ]"};
    const QStringList options{
        "Copy Objects  [x]", "Move Objects  [ ]", "-",
        "Save FBJ Information (FSH Only)  [x]", "-",
        "Large Highlight  [ ]", "-",
        "Main Highlight Color...", "SubFrame Highlight Color...", "-",
        "Reset Colors to Default..."};
    const QStringList help{"Contents...  F1", "Website...", "Support...", "-", "&About..."};
    // clang-format on
    QCOMPARE(Describe(BarMenu(window, "&File")), file);
    QCOMPARE(Describe(BarMenu(window, "&Edit")), edit);
    QCOMPARE(window.Action("Redo1")->shortcuts(), QKeySequence::listFromString("Ctrl+Shift+Z; Ctrl+Y"));
    QCOMPARE(Describe(BarMenu(window, "&Source")), source);
    QCOMPARE(Describe(BarMenu(window, "Options")), options);
    QCOMPARE(Describe(BarMenu(window, "&Help")), help);
    // "&&" shows as one ampersand.
    QCOMPARE(window.Action("SaveSourceDestination1")->iconText(), QString("Save Source & Destination"));
  }

  void popupsBelongToTheirGrids() {
    WindowFixture f;
    ui::MainWindow& window = f.Start();
    const QStringList properties{"Shape Properties...", "Edit KitterSpeak Script...", "-",
                                 "Object Number Offset...", "-"};
    const std::vector<std::pair<TGridId, QStringList>> expected{
        {TGridId::DestGrid, properties + QStringList{"Open Destination..."}},
        {TGridId::SrcGrid, properties + QStringList{"Import Source..."}},
        {TGridId::DestSubGrid, {"Shape Properties..."}},
        {TGridId::SrcSubGrid, {"Shape Properties...", "-", "Export Subframes...  (off)"}},
    };
    for (const auto& [id, items] : expected) {
      ui::ShapeGrid* grid = f.Grid(id);
      ShowPage(f, id);
      const QPoint at = grid->CellRect(0).center();
      QContextMenuEvent event(QContextMenuEvent::Mouse, at, grid->viewport()->mapToGlobal(at));
      QApplication::sendEvent(grid->viewport(), &event);
      QMenu* shown = nullptr;
      for (QMenu* popup : window.findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) {
        if (popup->isVisible()) shown = popup;
      }
      QVERIFY2(shown != nullptr, qPrintable(grid->objectName()));
      QCOMPARE(Describe(shown), items);
      shown->hide();
    }
    // The pop-up's Open runs the same flow as the File menu's.
    window.Popup(ui::TMenuPlace::PopupMenu1)->actions().constLast()->trigger();
    f.Settle();
    QCOMPARE(f.scripted.FileRequests().size(), std::size_t{1});
  }

  void saveBothShowsWhileTheSourceIsModified() {
    WindowFixture f({TMsgAnswer::Yes});
    FileChoices choose(f.scripted);
    choose.Next(WriteFox(f, "src.fox", TaggedList(3, 10)));
    ui::MainWindow& window = f.Start();
    f.Trigger("Import1");
    QAction* both = window.Action("SaveSourceDestination1");
    QVERIFY(!both->isVisible());
    f.Trigger("FlipHorizontally2");
    QVERIFY(both->isVisible());
    f.Trigger("SaveSourceChanges1");
    QVERIFY(!both->isVisible());
  }

  // Each grid keeps the menu keys: a grid's own key handling must not eat them.
  void fileKeysWorkFromEveryGrid() {
    WindowFixture f;
    FileChoices choose(f.scripted);
    const std::string dest = WriteFox(f, "dest.fox", TaggedList(3, 0));
    const std::string src = WriteFox(f, "src.fox", TaggedList(2, 50));
    f.Start();
    for (TGridId id : {TGridId::DestGrid, TGridId::DestSubGrid, TGridId::SrcGrid, TGridId::SrcSubGrid}) {
      ShowPage(f, TGridId::DestGrid);
      ShowPage(f, TGridId::SrcGrid);
      ShowPage(f, id);
      ui::ShapeGrid* grid = f.Grid(id);
      grid->setFocus();
      f.Settle();
      const QByteArray where = grid->objectName().toUtf8();
      const auto press = [&](Qt::Key key) {
        QVERIFY2(QApplication::focusWidget() == grid, where);
        f.Key(grid, key, Qt::ControlModifier);
      };

      choose.Next(dest);
      press(Qt::Key_O);
      QVERIFY2(f.Status(TDocumentKind::Destination, 2) == "Filename: dest.fox", where);
      choose.Next(src);
      press(Qt::Key_I);
      QVERIFY2(f.Status(TDocumentKind::Source, 2) == "Filename: src.fox", where);
      press(Qt::Key_N);
      QVERIFY2(f.Status(TDocumentKind::Destination, 2) == "Filename: None", where);
      const std::size_t asked = f.scripted.FileRequests().size();
      choose.Next("");  // the Save As dialog of an untitled destination, cancelled
      press(Qt::Key_S);
      QVERIFY2(f.scripted.FileRequests().size() == asked + 1 && f.scripted.FileRequests().back().Save, where);
      QVERIFY2(f.scripted.Shown().empty(), where);
    }
  }

  void altCommaAndPeriodShiftTheDestination() {
    WindowFixture f;
    FileChoices choose(f.scripted);
    choose.Next(WriteFox(f, "dest.fox", TaggedList(4, 0)));
    ui::MainWindow& window = f.Start();
    f.Trigger("Open1");
    f.Click(TGridId::DestGrid, 1);
    ui::ShapeGrid* src = f.Grid(TGridId::SrcGrid);
    src->setFocus();  // the keys belong to the window, not to one grid
    f.Key(src, Qt::Key_Period, Qt::AltModifier);
    QCOMPARE(Tags(f.state->Workspace.Destination.Shapes), (std::vector<int>{0, 2, 1, 3}));
    QCOMPARE(f.Grid(TGridId::DestGrid)->Selection().Focus(), 2);
    f.Key(src, Qt::Key_Comma, Qt::AltModifier);
    f.Key(src, Qt::Key_Comma, Qt::AltModifier);
    QCOMPARE(Tags(f.state->Workspace.Destination.Shapes), (std::vector<int>{1, 0, 2, 3}));
    // At the left end Shift Left is off, and so is its key.
    QVERIFY(!window.PanelButton(TPanelButton::MoveLeft)->isEnabled());
    f.Key(src, Qt::Key_Comma, Qt::AltModifier);
    QCOMPARE(Tags(f.state->Workspace.Destination.Shapes), (std::vector<int>{1, 0, 2, 3}));
    QCOMPARE(window.Group(TDocumentKind::Destination)->title(), QString("Destination (Modified)"));
  }

  void recentListsFollowOpens() {
    WindowFixture f;
    FileChoices choose(f.scripted);
    const std::string a = WriteFox(f, "a.fox", TaggedList(1, 0));
    const std::string b = WriteFox(f, "b.fox", TaggedList(2, 0));
    choose.Next(a);
    choose.Next(b);
    ui::MainWindow& window = f.Start();
    f.Trigger("Open1");
    f.Trigger("Open1");
    QMenu* recent = window.RecentMenu(TDocumentKind::Destination);
    QCOMPARE(Describe(recent), (QStringList{"Empty  (hidden)", "-", "&1  b.fox", "&2  a.fox"}));
    QCOMPARE(Describe(window.RecentMenu(TDocumentKind::Source)), QStringList{"Empty  (hidden)"});

    // The older entry opens its file and moves to the top.
    recent->actions().at(3)->trigger();
    f.Settle();
    QCOMPARE(f.Status(TDocumentKind::Destination, 2), QString("Filename: a.fox"));
    QCOMPARE(Describe(recent), (QStringList{"Empty  (hidden)", "-", "&1  a.fox", "&2  b.fox"}));

    std::filesystem::remove(b);
    recent->actions().at(3)->trigger();
    f.Settle();
    QCOMPARE(Shown(f), QStringList{QString::fromStdString("Quillmere | The file ...\n\"" + b +
                                                          "\"\nno longer exists.")});
    QCOMPARE(Describe(recent), (QStringList{"Empty  (hidden)", "-", "&1  a.fox"}));
    QCOMPARE(f.Status(TDocumentKind::Destination, 2), QString("Filename: a.fox"));
  }
};

QUILLMERE_UI_TEST(MenuTests);

}  // namespace quillmere::test

#include "menu_tests.moc"
