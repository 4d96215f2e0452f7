// The Edit menu: its keys from each grid act on that grid's document, and its
// two items name the step they would take or are off.
#include <QGroupBox>

#include "ui_helpers.h"
#include "ui_test_registry.h"

namespace quillmere::test {
namespace {

struct TItems {
  QString Undo, Redo;
  bool operator==(const TItems&) const = default;
};

TItems Items(WindowFixture& f) {
  auto describe = [&](const char* name) {
    QAction* action = f.window->Action(name);
    return action->text() + (action->isEnabled() ? "" : "  (off)");
  };
  return {describe("Undo1"), describe("Redo1")};
}

// Gives the grid the keyboard focus, as a click or Tab would.
void FocusOn(WindowFixture& f, TGridId id) {
  ShowPage(f, id);
  f.Grid(id)->setFocus(Qt::TabFocusReason);
  f.Settle();
}

}  // namespace

class UndoTests : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void keysActOnTheFocusedGridsDocument() {
    WindowFixture f;
    FileChoices choose(f.scripted);
    choose.Next(WriteFox(f, "walls.fox", TaggedList(3, 10)));
    choose.Next(WriteFox(f, "props.fox", TaggedList(3, 50)));
    ui::MainWindow& window = f.Start();
    TWorkspace& w = f.state->Workspace;
    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_I, Qt::ControlModifier);
    f.Settle();
    QCOMPARE(Items(f), (TItems{"&Undo  (off)", "&Redo  (off)"}));

    f.Click(TGridId::SrcGrid, 0);
    f.Trigger("FlipHorizontally2");
    f.Click(TGridId::SrcGrid, 1);
    f.Click(TGridId::DestGrid, 0);
    const QImage plain = PaintedCell(f.Grid(TGridId::DestGrid), 2);
    window.PanelButton(TPanelButton::InsertAft)->click();
    f.Settle();
    QCOMPARE(Tags(w.Destination.Shapes), (std::vector<int>{10, 51, 11, 12}));
    QCOMPARE(Items(f), (TItems{"&Undo Insert After", "&Redo  (off)"}));
    QCOMPARE(window.Group(TDocumentKind::Destination)->title(), QString("Destination (Modified)"));
    QVERIFY(PaintedCell(f.Grid(TGridId::DestGrid), 2) != plain);

    // Ctrl+Z in the destination grid takes the insert back, cells and
    // "(Modified)" with it; both redo keys bring it back.
    ui::ShapeGrid* dest = f.Grid(TGridId::DestGrid);
    FocusOn(f, TGridId::DestGrid);
    f.Key(dest, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Tags(w.Destination.Shapes), (std::vector<int>{10, 11, 12}));
    QCOMPARE(Items(f), (TItems{"&Undo  (off)", "&Redo Insert After"}));
    QCOMPARE(window.Group(TDocumentKind::Destination)->title(), QString("Destination"));
    QCOMPARE(PaintedCell(dest, 2), plain);
    f.Key(dest, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(Tags(w.Destination.Shapes), (std::vector<int>{10, 51, 11, 12}));
    QCOMPARE(Items(f), (TItems{"&Undo Insert After", "&Redo  (off)"}));
    f.Key(dest, Qt::Key_Z, Qt::ControlModifier);
    f.Key(dest, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(Tags(w.Destination.Shapes), (std::vector<int>{10, 51, 11, 12}));

    // The source's frame grid: its own step, the flip; the destination keeps its insert.
    FocusOn(f, TGridId::SrcSubGrid);
    QCOMPARE(Items(f), (TItems{"&Undo Flip Horizontally", "&Redo  (off)"}));
    f.Key(f.Grid(TGridId::SrcSubGrid), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.Source.Shapes[0].Frames[0].Pixels, (ByteBuffer{50, 51}));
    QCOMPARE(Tags(w.Destination.Shapes), (std::vector<int>{10, 51, 11, 12}));
    QCOMPARE(Items(f), (TItems{"&Undo  (off)", "&Redo Flip Horizontally"}));
    f.Key(f.Grid(TGridId::SrcSubGrid), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(w.Source.Shapes[0].Frames[0].Pixels, (ByteBuffer{51, 50}));

    // The source's main grid and the destination's frame grid act likewise.
    FocusOn(f, TGridId::SrcGrid);
    f.Key(f.Grid(TGridId::SrcGrid), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(Items(f), (TItems{"&Undo Flip Horizontally", "&Redo  (off)"}));
    f.Key(f.Grid(TGridId::SrcGrid), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.Source.Shapes[0].Frames[0].Pixels, (ByteBuffer{50, 51}));
    FocusOn(f, TGridId::DestSubGrid);
    QCOMPARE(Items(f), (TItems{"&Undo Insert After", "&Redo  (off)"}));
    f.Key(f.Grid(TGridId::DestSubGrid), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Tags(w.Destination.Shapes), (std::vector<int>{10, 11, 12}));
    QCOMPARE(w.Source.Shapes[0].Frames[0].Pixels, (ByteBuffer{50, 51}));
  }
};

QUILLMERE_UI_TEST(UndoTests);

}  // namespace quillmere::test

#include "undo_tests.moc"
