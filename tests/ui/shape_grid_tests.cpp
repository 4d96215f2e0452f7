// The grid widget on its own: what the mouse and the keys do to the
// selection it is given, and the signal its owner hears each time.
#include <QSignalSpy>

#include "ui_test_registry.h"
#include "window_fixture.h"

namespace quillmere::test {

class ShapeGridTests : public QObject {
  Q_OBJECT

  TGridSelection selection;
  std::unique_ptr<ui::ShapeGrid> grid;
  std::unique_ptr<QSignalSpy> clicked;

  // Focus, then the selected range, as "focus left..right".
  QString Selected() const {
    return QString("%1 %2..%3").arg(selection.Focus()).arg(selection.Left()).arg(selection.Right());
  }

  QPoint At(int column) const { return grid->CellRect(column).center(); }

  void Move(QPoint to, Qt::MouseButtons held) {
    QMouseEvent move(QEvent::MouseMove, QPointF(to), grid->viewport()->mapToGlobal(QPointF(to)), Qt::NoButton,
                     held, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &move);
  }

  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(grid.get(), key, modifiers);
  }

 private Q_SLOTS:
  // Ten columns, seven of them in view.
  void init() {
    selection = TGridSelection();
    selection.SetCount(10);
    grid = std::make_unique<ui::ShapeGrid>();
    grid->SetSelection(&selection);
    grid->resize(7 * ui::ShapeGrid::kPitch + 2 * grid->frameWidth(), grid->RowHeight());
    grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    clicked = std::make_unique<QSignalSpy>(grid.get(), &ui::ShapeGrid::Clicked);
  }

  void cleanup() {
    clicked.reset();
    grid.reset();
  }

  void clicksAndShiftClicks() {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, At(5));
    QCOMPARE(Selected(), QString("5 5..5"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, At(2));
    QCOMPARE(Selected(), QString("2 2..5"));
    QCOMPARE(clicked->count(), 2);
    QVERIFY(grid->hasFocus());
  }

  void draggingSelectsARange() {
    QTest::mousePress(grid->viewport(), Qt::LeftButton, Qt::NoModifier, At(2));
    QCOMPARE(Selected(), QString("2 2..2"));
    for (int column : {3, 4, 5}) Move(At(column), Qt::LeftButton);
    QCOMPARE(Selected(), QString("5 2..5"));
    // Moving within a column already reached changes nothing.
    Move(At(5) + QPoint(10, 0), Qt::LeftButton);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, Qt::NoModifier, At(5));
    QCOMPARE(clicked->count(), 4);
    // With the button up a move selects nothing.
    Move(At(1), Qt::NoButton);
    QCOMPARE(Selected(), QString("5 2..5"));
  }

  // A grid whose owner allows a drag hands the gesture over instead of
  // selecting a range.
  void anAllowedDragIsHandedToTheOwner() {
    QList<int> asked;
    grid->SetDragGate([&](int column) {
      asked << column;
      return true;
    });
    QSignalSpy drags(grid.get(), &ui::ShapeGrid::DragRequested);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, Qt::NoModifier, At(2));
    Move(At(2) + QPoint(1, 0), Qt::LeftButton);
    QCOMPARE(drags.count(), 0);  // not yet past the platform's distance
    Move(At(4), Qt::LeftButton);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, Qt::NoModifier, At(4));
    QCOMPARE(asked, QList<int>{2});
    QCOMPARE(drags.count(), 1);
    QCOMPARE(Selected(), QString("2 2..2"));
  }

  void keysMoveAndExtend() {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, At(5));
    const std::vector<std::tuple<Qt::Key, Qt::KeyboardModifiers, QString>> steps{
        {Qt::Key_Left, Qt::NoModifier, "4 4..4"},     {Qt::Key_Left, Qt::ShiftModifier, "3 3..4"},
        {Qt::Key_Right, Qt::ShiftModifier, "4 4..4"}, {Qt::Key_Right, Qt::ShiftModifier, "5 4..5"},
        {Qt::Key_Right, Qt::NoModifier, "6 6..6"},    {Qt::Key_Home, Qt::ShiftModifier, "0 0..6"},
        {Qt::Key_End, Qt::NoModifier, "9 9..9"},      {Qt::Key_Home, Qt::NoModifier, "0 0..0"},
        {Qt::Key_End, Qt::ShiftModifier, "9 0..9"},
    };
    int expectedSignals = 1;
    for (const auto& [key, modifiers, after] : steps) {
      Key(key, modifiers);
      const QByteArray step = QKeySequence(key | modifiers).toString().toUtf8();
      QVERIFY2(Selected() == after, step + " gave " + Selected().toUtf8());
      QVERIFY2(clicked->count() == ++expectedSignals, step);
    }
    // End brought the last column into view.
    QCOMPARE(grid->LastVisibleColumn(), 9);
    QCOMPARE(grid->FirstVisibleColumn(), 3);
  }

  void columnsUnderPoints() {
    QCOMPARE(grid->ColumnAt(At(0)), std::optional<int>(0));
    QCOMPARE(grid->ColumnAt(grid->CellRect(6).topLeft()), std::optional<int>(6));
    QCOMPARE(grid->ColumnAt(grid->CellRect(10).center()), std::nullopt);
    QCOMPARE(grid->ColumnAt(QPoint(5, ui::ShapeGrid::kPitch + 2)), std::nullopt);
    selection.SetCount(3);
    grid->Refresh();
    QCOMPARE(grid->ColumnAt(At(2)), std::optional<int>(2));
    QCOMPARE(grid->ColumnAt(At(3)), std::nullopt);
    // A click past the last column leaves the selection and says nothing.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, At(4));
    QCOMPARE(Selected(), QString("0 0..0"));
    QCOMPARE(clicked->count(), 0);
  }
};

QUILLMERE_UI_TEST(ShapeGridTests);

}  // namespace quillmere::test

#include "shape_grid_tests.moc"
