// Drag and drop on the grids: files from a file manager, cells from the
// source, and the drag a source grid starts. The drop events are sent to the
// viewports as a platform's drag would deliver them.
#include <QDrag>
#include <QMimeData>
#include <QUrl>

#include "interface/messages.h"
#include "support/message_printing.h"
#include "ui_helpers.h"
#include "ui_test_registry.h"

namespace quillmere::test {
namespace {

constexpr char kCellsMime[] = "application/x-quillmere-cells";

std::unique_ptr<QMimeData> Files(const std::vector<std::string>& paths) {
  auto mime = std::make_unique<QMimeData>();
  QList<QUrl> urls;
  for (const std::string& path : paths) urls << QUrl::fromLocalFile(QString::fromStdString(path));
  mime->setUrls(urls);
  return mime;
}

// Cells as another running Quillmere would carry them: same type, not ours.
std::unique_ptr<QMimeData> ForeignCells(TGridId from) {
  auto mime = std::make_unique<QMimeData>();
  mime->setData(kCellsMime, "1:abc " + QByteArray::number(static_cast<int>(from)));
  return mime;
}

// Whether the grid takes what is dragged over it at `at`.
bool Takes(ui::ShapeGrid* grid, const QMimeData& mime, QPoint at = {60, 60}) {
  QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(grid->viewport(), &enter);
  if (!enter.isAccepted()) return false;
  QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(grid->viewport(), &move);
  return move.isAccepted();
}

// A whole drag over the grid, entering and moving before the drop as a
// platform's does: Qt hands a drop to the widget that last accepted the drag.
void Drop(ui::ShapeGrid* grid, const QMimeData& mime, QPoint at) {
  Takes(grid, mime, at);
  QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(grid->viewport(), &drop);
}

}  // namespace

class DropTests : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void filesFromAFileManager() {
    WindowFixture f({TMsgAnswer::No, TMsgAnswer::Cancel, TMsgAnswer::No});
    const std::string two = WriteFox(f, "two.fox", TaggedList(2, 0));
    const std::string three = WriteFox(f, "three.fox", TaggedList(3, 10));
    const std::string notes = f.files.File("notes.txt");
    ui::MainWindow& window = f.Start();
    ui::ShapeGrid* dest = f.Grid(TGridId::DestGrid);
    ui::ShapeGrid* src = f.Grid(TGridId::SrcGrid);
    const auto both = Files({two, three});
    QVERIFY(Takes(dest, *both));
    QVERIFY(Takes(src, *both));
    QVERIFY(!Takes(f.Grid(TGridId::DestSubGrid), *both));
    QVERIFY(!Takes(f.Grid(TGridId::SrcSubGrid), *both));

    // The file manager gets its drop back before anything is read; only the
    // first file counts.
    Drop(dest, *both, dest->CellRect(0).center());
    QCOMPARE(f.Status(TDocumentKind::Destination, 2), QString("Filename: None"));
    f.Settle();
    QCOMPARE(f.Status(TDocumentKind::Destination, 2), QString("Filename: two.fox"));
    QCOMPARE(f.Status(TDocumentKind::Destination, 0), QString("Shapes: 2"));
    QCOMPARE(f.Status(TDocumentKind::Source, 2), QString("Filename: None"));

    // A modified destination gets the same question as Open ("No" drops the changes).
    QTest::mouseClick(window.PanelButton(TPanelButton::Trash), Qt::LeftButton);
    f.Settle();
    Drop(dest, *Files({three}), dest->CellRect(0).center());
    f.Settle();
    QCOMPARE(MessagesOf(f.scripted), std::vector{MakeMessage(TMsgId::UnsavedChanges)});
    QCOMPARE(f.Status(TDocumentKind::Destination, 2), QString("Filename: three.fox"));

    // On the source grid a drop imports, asking first about unsaved source work.
    Drop(src, *Files({two}), src->CellRect(0).center());
    f.Settle();
    QCOMPARE(f.Status(TDocumentKind::Source, 2), QString("Filename: two.fox"));
    f.Trigger("FlipHorizontally2");
    f.scripted.Clear();
    Drop(src, *Files({three}), src->CellRect(0).center());
    f.Settle();
    QCOMPARE(MessagesOf(f.scripted), std::vector{MakeMessage(TMsgId::SourceUnsavedChanges)});
    QCOMPARE(f.Status(TDocumentKind::Source, 2), QString("Filename: two.fox"));
    Drop(src, *Files({three}), src->CellRect(0).center());
    f.Settle();
    QCOMPARE(f.Status(TDocumentKind::Source, 2), QString("Filename: three.fox"));

    f.scripted.Clear();
    Drop(dest, *Files({notes, two}), dest->CellRect(0).center());
    f.Settle();
    QCOMPARE(Shown(f), QStringList{QString::fromStdString("Quillmere | Unrecognised Filetype: " + notes)});
    QCOMPARE(f.Status(TDocumentKind::Destination, 2), QString("Filename: three.fox"));
  }

  void cellsFromTheSource() {
    WindowFixture f;
    FileChoices choose(f.scripted);
    choose.Next(WriteFox(f, "dest.fox", TaggedList(4, 0)));
    choose.Next(WriteFox(f, "src.fox", TaggedList(3, 50)));
    f.Start();
    f.Trigger("Open1");
    f.Trigger("Import1");
    f.Click(TGridId::SrcGrid, 0);
    f.Click(TGridId::SrcGrid, 1, Qt::ShiftModifier);
    ui::ShapeGrid* dest = f.Grid(TGridId::DestGrid);
    const TShapeList& shapes = f.state->Workspace.Destination.Shapes;

    // Only the source's cells are taken, and only by the destination;
    // cells from another running editor are not.
    const auto Cells = [&](TGridId from) { return f.window->CellDragData(from); };
    QVERIFY(!Takes(dest, *ForeignCells(TGridId::SrcGrid)));
    QVERIFY(Takes(dest, *Cells(TGridId::SrcGrid)));
    QVERIFY(!Takes(dest, *Cells(TGridId::DestGrid)));
    QVERIFY(!Takes(dest, *Cells(TGridId::DestSubGrid)));
    QVERIFY(!Takes(f.Grid(TGridId::SrcGrid), *Cells(TGridId::SrcGrid)));
    Drop(dest, *Cells(TGridId::DestGrid), dest->CellRect(1).center());
    f.Settle();
    QCOMPARE(Tags(shapes), (std::vector<int>{0, 1, 2, 3}));

    // Past the last cell there is nothing to drop on.
    Drop(dest, *Cells(TGridId::SrcGrid), dest->CellRect(4).center());
    f.Settle();
    QCOMPARE(Shown(f), QStringList{"Sorry | You need to drop items on a valid cell."});
    QCOMPARE(Tags(shapes), (std::vector<int>{0, 1, 2, 3}));

    // The left half of a cell inserts before it, the right half after it;
    // the cell dropped on is chosen first, as a click would.
    Drop(dest, *Cells(TGridId::SrcGrid), dest->CellRect(1).topLeft() + QPoint(10, 60));
    f.Settle();
    QCOMPARE(Tags(shapes), (std::vector<int>{0, 50, 51, 1, 2, 3}));
    QCOMPARE(dest->Selection().Focus(), 1);
    QCOMPARE(f.Status(TDocumentKind::Destination, 0), QString("Shapes: 6"));

    f.Click(TGridId::SrcGrid, 2);
    Drop(dest, *Cells(TGridId::SrcGrid), dest->CellRect(3).topLeft() + QPoint(70, 60));
    f.Settle();
    QCOMPARE(Tags(shapes), (std::vector<int>{0, 50, 51, 1, 52, 2, 3}));
    QCOMPARE(dest->Selection().Focus(), 4);
    QCOMPARE(dest->Selection().Left(), 4);
    QCOMPARE(Shown(f).size(), 1);
  }

  // The offscreen platform ends a drag as soon as it starts.
  void sourceGridsStartADragWhenAllowed() {
    WindowFixture f;
    FileChoices choose(f.scripted);
    choose.Next(WriteFox(f, "src.fox", TaggedList(4, 50)));
    f.Start();
    f.Trigger("Import1");
    ui::ShapeGrid* src = f.Grid(TGridId::SrcGrid);
    const auto drag = [&](int from, int to) -> QByteArray {
      const QPointF start = src->CellRect(from).center();
      const QPointF end = src->CellRect(to).center();
      QTest::mousePress(src->viewport(), Qt::LeftButton, Qt::NoModifier, start.toPoint());
      QMouseEvent move(QEvent::MouseMove, end, src->viewport()->mapToGlobal(end), Qt::NoButton,
                       Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(src->viewport(), &move);
      // Qt deletes a finished drag later, from the event loop.
      const auto* made = src->findChild<QDrag*>();
      const QByteArray carried = made != nullptr ? made->mimeData()->data(kCellsMime) : "no drag";
      QTest::mouseRelease(src->viewport(), Qt::LeftButton, Qt::NoModifier, end.toPoint());
      f.Settle();
      return carried;
    };

    // Without the option the mouse selects a range instead.
    QCOMPARE(drag(0, 2), QByteArray("no drag"));
    QCOMPARE(src->Selection().Left(), 0);
    QCOMPARE(src->Selection().Right(), 2);

    f.Trigger("DragandDrop1");
    QCOMPARE(drag(1, 3), f.window->CellDragData(TGridId::SrcGrid)->data(kCellsMime));
    QCOMPARE(src->Selection().Left(), 1);
    QCOMPARE(src->Selection().Right(), 1);
  }
};

QUILLMERE_UI_TEST(DropTests);

}  // namespace quillmere::test

#include "drop_tests.moc"
