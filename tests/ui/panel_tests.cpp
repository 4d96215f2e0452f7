// The centre panel and the export items: their enabled states after the tab
// changes and clicks a person makes, and where the buttons sit as the window
// grows.
#include <QTabBar>
#include <QTabWidget>
#include <filesystem>

#include "ui/centre_panel.h"
#include "ui_helpers.h"
#include "ui_test_registry.h"

namespace quillmere::test {
namespace {

// The centre buttons that are enabled, by object name, left to right.
inline QString EnabledButtons(ui::MainWindow& window) {
  QStringList names;
  for (const char* name : {"Trash", "InsertFore", "insertAft", "Replaceit", "MoveLeft", "MoveRight"}) {
    auto* button = window.findChild<QAbstractButton*>(name);
    if (button == nullptr) return QString("no button ") + name;
    if (button->isEnabled()) names << name;
  }
  return names.join(' ');
}

// The export and save items that follow the documents, by action name.
QString EnabledItems(ui::MainWindow& window) {
  QStringList names;
  for (const char* name :
       {"ExportObject3", "AnimatedGIF1", "ExportObject4", "AnimatedGIF2", "SaveSourceChanges1"}) {
    auto* action = window.findChild<QAction*>(name);
    if (action == nullptr) return QString("no action ") + name;
    if (action->isEnabled()) names << name;
  }
  return names.join(' ');
}

// A tab chosen with the mouse, as a person does.
void ClickTab(WindowFixture& f, TDocumentKind kind, int index) {
  QTabBar* bar = f.window->Pages(kind)->tabBar();
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
  f.Settle();
}

}  // namespace

class PanelTests : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void buttonsFollowTabsAndClicks() {
    WindowFixture f;
    FileChoices choose(f.scripted);
    TShapeList dest = TaggedList(4, 0);
    dest[0] = Tagged(0, 3);
    choose.Next(WriteFox(f, "dest.fox", dest));
    choose.Next(WriteFox(f, "src.fox", TaggedList(3, 50)));
    ui::MainWindow& window = f.Start();
    QCOMPARE(EnabledButtons(window), QString(""));

    f.Trigger("Open1");
    QCOMPARE(EnabledButtons(window), QString("Trash MoveRight"));
    f.Click(TGridId::DestGrid, 3);
    QCOMPARE(EnabledButtons(window), QString("Trash MoveLeft"));
    f.Click(TGridId::DestGrid, 1);
    f.Click(TGridId::DestGrid, 2, Qt::ShiftModifier);
    QCOMPARE(EnabledButtons(window), QString("Trash MoveLeft MoveRight"));

    // A shape's first frame can be neither deleted nor shifted left.
    f.Click(TGridId::DestGrid, 0);
    ClickTab(f, TDocumentKind::Destination, 1);
    QCOMPARE(EnabledButtons(window), QString("MoveRight"));
    f.Click(TGridId::DestSubGrid, 2);
    QCOMPARE(EnabledButtons(window), QString("Trash MoveLeft"));
    QCOMPARE(f.Status(TDocumentKind::Destination, 4), QString("Selected Frame: 2"));

    // A source arriving while frames show offers Insert After and Replace
    // but not Insert Before.
    f.Trigger("Import1");
    QCOMPARE(EnabledButtons(window), QString("Trash insertAft Replaceit MoveLeft"));
    ClickTab(f, TDocumentKind::Destination, 0);
    QCOMPARE(EnabledButtons(window), QString("Trash InsertFore insertAft Replaceit MoveRight"));
    // Coming back to the frames starts again from the first one.
    ClickTab(f, TDocumentKind::Destination, 1);
    QCOMPARE(f.Status(TDocumentKind::Destination, 4), QString("Selected Frame: 0"));
    QCOMPARE(EnabledButtons(window), QString("InsertFore insertAft Replaceit MoveRight"));
    ClickTab(f, TDocumentKind::Destination, 0);
    ClickTab(f, TDocumentKind::Source, 1);
    QCOMPARE(EnabledButtons(window), QString("Trash InsertFore insertAft Replaceit MoveRight"));
    ClickTab(f, TDocumentKind::Source, 0);

    // Move mode moves whole shapes: nothing goes in while either pane shows frames.
    f.Trigger("MoveObjects1");
    QCOMPARE(EnabledButtons(window), QString("Trash InsertFore insertAft Replaceit MoveRight"));
    ClickTab(f, TDocumentKind::Source, 1);
    QCOMPARE(EnabledButtons(window), QString("Trash MoveRight"));
    ClickTab(f, TDocumentKind::Source, 0);
    f.Click(TGridId::SrcGrid, 1);
    QCOMPARE(EnabledButtons(window), QString("Trash InsertFore insertAft Replaceit MoveRight"));
    ClickTab(f, TDocumentKind::Destination, 1);
    QCOMPARE(EnabledButtons(window), QString("MoveRight"));
    f.Trigger("CopyObjects1");
    f.Click(TGridId::DestSubGrid, 1);
    QCOMPARE(EnabledButtons(window), QString("Trash InsertFore insertAft Replaceit MoveLeft MoveRight"));
  }

  void eachButtonRunsItsTransfer() {
    WindowFixture f;
    FileChoices choose(f.scripted);
    choose.Next(WriteFox(f, "dest.fox", TaggedList(4, 0)));
    choose.Next(WriteFox(f, "src.fox", TaggedList(2, 50)));
    ui::MainWindow& window = f.Start();
    f.Trigger("Open1");
    f.Trigger("Import1");
    const auto press = [&](TGridId grid, int column, TPanelButton button) {
      f.Click(grid, column);
      QTest::mouseClick(window.PanelButton(button), Qt::LeftButton);
      f.Settle();
      return Tags(f.state->Workspace.Destination.Shapes);
    };
    f.Click(TGridId::SrcGrid, 0);
    QCOMPARE(press(TGridId::DestGrid, 1, TPanelButton::InsertFore), (std::vector<int>{0, 50, 1, 2, 3}));
    QCOMPARE(press(TGridId::DestGrid, 3, TPanelButton::InsertAft), (std::vector<int>{0, 50, 1, 2, 50, 3}));
    // Insert After at the end but one leaves the selection where it was.
    QCOMPARE(press(TGridId::SrcGrid, 1, TPanelButton::Replaceit), (std::vector<int>{0, 50, 1, 51, 50, 3}));
    QCOMPARE(press(TGridId::DestGrid, 1, TPanelButton::MoveRight), (std::vector<int>{0, 1, 50, 51, 50, 3}));
    QCOMPARE(press(TGridId::DestGrid, 4, TPanelButton::MoveLeft), (std::vector<int>{0, 1, 50, 50, 51, 3}));
    QCOMPARE(press(TGridId::DestGrid, 0, TPanelButton::Trash), (std::vector<int>{1, 50, 50, 51, 3}));
  }

  void exportItemsFollowTheDocuments() {
    WindowFixture f;
    FileChoices choose(f.scripted);
    choose.Next(WriteFox(f, "dest.fox", TaggedList(2, 0)));
    choose.Next(WriteFox(f, "src.fox", TaggedList(2, 50)));
    ui::MainWindow& window = f.Start();
    QCOMPARE(EnabledItems(window), QString(""));
    f.Trigger("Open1");
    QCOMPARE(EnabledItems(window), QString("ExportObject3 AnimatedGIF1"));
    f.Trigger("Import1");
    QCOMPARE(EnabledItems(window),
             QString("ExportObject3 AnimatedGIF1 ExportObject4 AnimatedGIF2 SaveSourceChanges1"));
    f.Trigger("New1");
    QCOMPARE(EnabledItems(window), QString("ExportObject4 AnimatedGIF2 SaveSourceChanges1"));
    // An animation is made of whole shapes: not from the frames' tab.
    ClickTab(f, TDocumentKind::Source, 1);
    QCOMPARE(EnabledItems(window), QString("ExportObject4 SaveSourceChanges1"));
  }

  // Delete keeps to the left edge and the other five to the right one.
  // "Export Object..." over source shapes 1 to 2: one save dialog a shape,
  // preset to the shape's number; cancelling the second ends the export.
  void bitmapExportAsksPerShapeAndStopsAtCancel() {
    WindowFixture f;
    FileChoices choose(f.scripted);
    TShapeList src = TaggedList(3, 50);
    src[1] = Tagged(51, 2);
    choose.Next(WriteFox(f, "src.fox", src));
    f.Start();
    f.Trigger("Import1");
    f.Click(TGridId::SrcGrid, 1);
    f.Click(TGridId::SrcGrid, 2, Qt::ShiftModifier);
    choose.Next(f.files.File("out/walls.old.bmp"));
    choose.Next("");  // the second dialog is cancelled
    std::filesystem::create_directories(f.files.File("out"));
    f.Trigger("ExportObject4");

    std::vector<std::string> presets;
    for (const auto& request : f.scripted.FileRequests()) {
      if (request.Save) presets.push_back(request.InitialName);
    }
    QCOMPARE(presets, (std::vector<std::string>{"object1.bmp", "object2.bmp"}));
    QCOMPARE(f.scripted.FileRequests().back().Filter, std::string("Bitmap file (*.bmp)|*.bmp|All Files|*.*"));
    QVERIFY(FileExists(f.files.File("out/walls.old-0.bmp")));
    QVERIFY(FileExists(f.files.File("out/walls.old-1.bmp")));
    QVERIFY(!FileExists(f.files.File("out/walls.old.bmp")));
    QCOMPARE(ReadFile(f.files.File("out/walls.old-0.bmp")).at(0), std::uint8_t('B'));
    QVERIFY(f.scripted.Shown().empty());
  }

  void buttonsKeepToTheEdges() {
    WindowFixture f;
    ui::MainWindow& window = f.Start();
    ui::CentrePanel* panel = window.Panel();
    const auto check = [&](const char* when) {
      const QRect client = panel->contentsRect();
      const auto left = [&](const char* name) {
        return panel->findChild<QAbstractButton*>(name)->x() - client.left();
      };
      const int w = client.width();
      const QByteArray why = QByteArray(when) + " at panel width " + QByteArray::number(w);
      QVERIFY2(left("Trash") == 2, why);
      QVERIFY2(left("MoveRight") == w - 2 - 23, why);
      QVERIFY2(left("MoveRight") + panel->findChild<QAbstractButton*>("MoveRight")->width() == w - 2, why);
      QVERIFY2(left("MoveLeft") == left("MoveRight") - 23 - 2, why);
      QVERIFY2(left("Replaceit") == left("MoveLeft") - 90 - 3, why);
      QVERIFY2(left("insertAft") == left("Replaceit") - 90 - 2, why);
      QVERIFY2(left("InsertFore") == left("insertAft") - 90 - 2, why);
    };
    check("design width");
    const QSize start = window.size();
    QCOMPARE(panel->width(), window.centralWidget()->width());

    window.resize(start.width() + 200, start.height());
    f.Settle();
    QCOMPARE(window.width(), start.width() + 200);
    QCOMPARE(panel->width(), window.centralWidget()->width());
    check("widened");

    // Never narrower than at the start, and the height is fixed.
    window.resize(start.width() - 100, start.height() + 60);
    f.Settle();
    QCOMPARE(window.size(), start);
    window.resize(start.width(), start.height() - 60);
    f.Settle();
    QCOMPARE(window.size(), start);
  }
};

QUILLMERE_UI_TEST(PanelTests);

}  // namespace quillmere::test

#include "panel_tests.moc"
