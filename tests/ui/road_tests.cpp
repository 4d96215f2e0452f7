// The road of one typical piece of work, through the window's own widgets:
// open a FOX destination and import an FSH source from the menus, pick cells
// with the mouse, Insert After, then Save As ".fsh" through the data-loss
// question. The bytes on disk and the captions shown are checked.
#include <QGroupBox>
#include <QAbstractButton>

#include "formats/fox_format.h"
#include "formats/fsh_format.h"
#include "interface/messages.h"
#include "support/message_printing.h"
#include "ui_test_registry.h"
#include "window_fixture.h"

namespace quillmere::test {
namespace {

TPatchFrame OneFrame(std::uint8_t tag) {
  TPatchSubFrame frame{1, 2, 0, 0, 0, 0, kFormatIndexed, 255, kEncodingRaw, {tag, std::uint8_t(tag + 1)}};
  return {0, -1, {frame}, {}};
}

TShapeList Tagged(int count, std::uint8_t first) {
  TShapeList list;
  for (int i = 0; i < count; ++i) list.push_back(OneFrame(static_cast<std::uint8_t>(first + i)));
  return list;
}

}  // namespace

class RoadTests : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void openImportInsertAfterSaveAsFsh() {
    WindowFixture f({TMsgAnswer::Ok});
    TShapeList walls = Tagged(12, 0);
    walls[0].Frames.push_back(walls[0].Frames[0]);  // FSH can't keep a second frame
    QVERIFY(SaveFOXFile(f.files.File("walls.fox"), walls));
    ScriptedUserInterface writer;
    QVERIFY(SaveFSHFile(f.files.File("props.fsh"), Tagged(6, 100), writer, TSaveOptions{}));
    f.scripted.SetFileChoices(
        {f.files.File("walls.fox"), f.files.File("props.fsh"), f.files.File("out.fsh")});
    ui::MainWindow& window = f.Start();

    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
    f.Settle();
    QTest::keyClick(&window, Qt::Key_I, Qt::ControlModifier);
    f.Settle();
    QCOMPARE(f.Status(TDocumentKind::Destination, 0), QString("Shapes: 12"));
    QCOMPARE(f.Status(TDocumentKind::Source, 2), QString("Filename: props.fsh"));

    f.Click(TGridId::SrcGrid, 3);
    f.Click(TGridId::SrcGrid, 5, Qt::ShiftModifier);
    // Shape 10 is off screen at the design width: End brings the focus
    // there and the view follows it.
    f.Grid(TGridId::DestGrid)->setFocus();
    f.Key(f.Grid(TGridId::DestGrid), Qt::Key_End);
    f.Key(f.Grid(TGridId::DestGrid), Qt::Key_Left);
    QCOMPARE(f.Status(TDocumentKind::Destination, 1), QString("Selected Shape: 10"));

    QAbstractButton* insertAfter = window.PanelButton(TPanelButton::InsertAft);
    QVERIFY(insertAfter->isEnabled());
    QTest::mouseClick(insertAfter, Qt::LeftButton);
    f.Settle();
    QCOMPARE(window.Group(TDocumentKind::Destination)->title(), QString("Destination (Modified)"));
    QCOMPARE(f.Status(TDocumentKind::Destination, 0), QString("Shapes: 15"));

    f.Trigger("SaveAs1");
    QCOMPARE(MessagesOf(f.scripted), std::vector{MakeMessage(TMsgId::DataLossFSH)});
    QCOMPARE(window.Group(TDocumentKind::Destination)->title(), QString("Destination"));
    QCOMPARE(f.Status(TDocumentKind::Destination, 2), QString("Filename: out.fsh"));

    TShapeList expected = Tagged(11, 0);
    for (std::uint8_t tag : {103, 104, 105}) expected.push_back(OneFrame(tag));
    expected.push_back(OneFrame(11));
    TShapeList written;
    ScriptedUserInterface reader;
    LoadFSHFile(f.files.File("out.fsh"), written, reader, false);
    QVERIFY(reader.Shown().empty());
    QCOMPARE(written.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      QCOMPARE(written[i].Frames.at(0).Pixels, expected[i].Frames.at(0).Pixels);
    }
  }
};

QUILLMERE_UI_TEST(RoadTests);

}  // namespace quillmere::test

#include "road_tests.moc"
