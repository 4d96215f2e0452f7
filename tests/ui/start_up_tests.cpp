// What the window shows when it opens, from no settings, stored options or a
// damaged settings file, and the question on the way out.
#include <QTabWidget>
#include <random>

#include "interface/messages.h"
#include "support/message_printing.h"
#include "ui_helpers.h"
#include "ui_test_registry.h"

namespace quillmere::test {
namespace {

// The check marks a person sees in the Source and Options menus.
QString Checks(ui::MainWindow& window) {
  QStringList on;
  for (const char* name : {"DragandDrop1", "tooltipsBalloonHelp1", "CopyObjects1", "MoveObjects1",
                           "SaveFBJInformation1", "LargeHighlight1"}) {
    if (window.Action(name)->isChecked()) on << name;
  }
  return on.join(' ');
}

QStringList ToolTips(ui::MainWindow& window) {
  QStringList tips;
  for (const char* name : {"Trash", "InsertFore", "insertAft", "Replaceit", "MoveLeft", "MoveRight"}) {
    tips << window.findChild<QAbstractButton*>(name)->toolTip();
  }
  return tips;
}

void ExpectDefaults(WindowFixture& f) {
  ui::MainWindow& window = *f.window;
  QCOMPARE(Checks(window), QString("CopyObjects1 SaveFBJInformation1"));
  QCOMPARE(ToolTips(window), QStringList(6, QString()));
  for (TDocumentKind kind : {TDocumentKind::Destination, TDocumentKind::Source}) {
    QCOMPARE(window.Pages(kind)->tabText(window.Pages(kind)->currentIndex()), QString("Main"));
    QCOMPARE(f.Status(kind, 0), QString("Shapes: 0"));
    QCOMPARE(f.Status(kind, 2), QString("Filename: None"));
  }
  QCOMPARE(window.Group(TDocumentKind::Destination)->title(), QString("Destination"));
  QCOMPARE(window.Group(TDocumentKind::Source)->title(), QString("Source"));
}

}  // namespace

class StartUpTests : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void firstStartShowsTheDefaults() {
    WindowFixture f;
    f.Start();
    ExpectDefaults(f);
    QVERIFY(f.scripted.Shown().empty());
  }

  void storedOptionsShowAsChecksAndHints() {
    WindowFixture f;
    ui::MainWindow& window = f.Start("[Main]\r\nTips=1\r\nHighlighter=1\r\nCopymode=0\r\n");
    QCOMPARE(Checks(window),
             QString("tooltipsBalloonHelp1 MoveObjects1 SaveFBJInformation1 LargeHighlight1"));
    const QStringList hints{
        "Delete selected images from the destination",
        "Insert the selected source images before the destination selection",
        "Insert the selected source images after the destination selection",
        "Replace the selected destination images with the selected source images",
        "Shift selected destination images to the left",
        "Shift selected destination images to the right",
    };
    QCOMPARE(ToolTips(window), hints);
    f.Trigger("tooltipsBalloonHelp1");
    QCOMPARE(ToolTips(window), QStringList(6, QString()));
    QCOMPARE(Checks(window), QString("MoveObjects1 SaveFBJInformation1 LargeHighlight1"));
    f.Trigger("tooltipsBalloonHelp1");
    QCOMPARE(ToolTips(window), hints);
  }

  void damagedSettingsStartWithDefaults_data() {
    QTest::addColumn<QByteArray>("settings");
    std::mt19937 random(20240611);
    QByteArray noise;
    for (int i = 0; i < 4096; ++i) noise.append(static_cast<char>(random() & 0xFF));
    QTest::newRow("random bytes") << noise;
    // An unclosed header still opens its section (hand edits leave them so);
    // what follows it here is damaged.
    QTest::newRow("noise, unclosed section, bad colour") << noise + QByteArray("\n[Main\nMBC=abc\nSBC=\n");
    QTest::newRow("values not numbers") << QByteArray("[Main]\nMBC=abc\nTips=yes\nCopymode=\nDragDrop=1x\n");
  }

  void damagedSettingsStartWithDefaults() {
    QFETCH(QByteArray, settings);
    WindowFixture f;
    f.Start(settings.toStdString());
    QVERIFY(f.window->isVisible());
    ExpectDefaults(f);
  }

  void closingAModifiedDestinationAsks() {
    WindowFixture f({TMsgAnswer::Cancel, TMsgAnswer::Cancel, TMsgAnswer::No});
    FileChoices choose(f.scripted);
    choose.Next(WriteFox(f, "dest.fox", TaggedList(3, 0)));
    ui::MainWindow& window = f.Start();
    f.Trigger("Open1");
    QTest::mouseClick(window.PanelButton(TPanelButton::Trash), Qt::LeftButton);
    f.Settle();
    QCOMPARE(window.Group(TDocumentKind::Destination)->title(), QString("Destination (Modified)"));

    f.Trigger("Exit1");
    QCOMPARE(MessagesOf(f.scripted), std::vector{MakeMessage(TMsgId::UnsavedChanges)});
    QVERIFY(window.isVisible());
    QVERIFY(!window.close());
    QVERIFY(window.isVisible());
    QCOMPARE(f.scripted.Shown().size(), std::size_t{2});
    // "No" gives the changes up and lets the window go.
    QVERIFY(window.close());
    QVERIFY(!window.isVisible());
    QCOMPARE(f.scripted.Shown().size(), std::size_t{3});
  }
};

QUILLMERE_UI_TEST(StartUpTests);

}  // namespace quillmere::test

#include "start_up_tests.moc"
