// What the grids paint, pixel for pixel against the core's own cell render:
// plain and selected cells, the large highlight, and never a cell left over
// from before a change.
#include <QTabWidget>

#include "ui_helpers.h"
#include "ui_test_registry.h"

namespace quillmere::test {
namespace {

// An indexed frame: the left half palette index 0 (transparent), the right
// half a gradient of palette colours, so a flip or a fit that goes wrong shows.
TPatchSubFrame HalfClear(int width, int height, std::uint8_t first) {
  TPatchSubFrame frame{
      std::uint16_t(height), std::uint16_t(width), 0, 0, 0, 0, kFormatIndexed, 255, kEncodingRaw, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      frame.Pixels.Edit().push_back(x < width / 2 ? 0 : static_cast<std::uint8_t>(first + (x + y) % 40));
    }
  }
  return frame;
}

TShapeList Shapes() {
  return {
      {0, -1, {HalfClear(30, 20, 100)}, {}},
      {0, -1, {HalfClear(200, 150, 40), HalfClear(12, 60, 160)}, {}},  // "ANI"
      {0, -1, {HalfClear(16, 8, 200)}, {}},
      {0, -1, {HalfClear(8, 8, 220)}, {}},
  };
}

QImage CoreFrameCell(const TPatchSubFrame& frame, bool selected) {
  TThumbnailCell cell;
  cell.Selected = selected;
  ScriptedUserInterface quiet;
  return ToImage(RenderThumbnail(&frame, cell, quiet));
}

// Empty when the images match, else where and how they first differ.
QByteArray Difference(const QImage& shown, const QImage& core) {
  if (shown.size() != core.size()) return "sizes differ";
  for (int y = 0; y < shown.height(); ++y) {
    for (int x = 0; x < shown.width(); ++x) {
      if (shown.pixel(x, y) != core.pixel(x, y)) {
        return QString("at (%1, %2): shown %3, core %4")
            .arg(x)
            .arg(y)
            .arg(QColor(shown.pixel(x, y)).name(), QColor(core.pixel(x, y)).name())
            .toUtf8();
      }
    }
  }
  return {};
}

#define EXPECT_CELL(shown, core)                           \
  do {                                                     \
    const QByteArray difference = Difference(shown, core); \
    QVERIFY2(difference.isEmpty(), difference);            \
  } while (false)

// The one colour of the cell's ring `ring` pixels in from its edge, or the
// first pixel that breaks it.
QString RingColour(const QImage& cell, int ring) {
  const QRect outline = cell.rect().adjusted(ring, ring, -ring, -ring);
  const QRgb colour = cell.pixel(outline.topLeft());
  for (int y = outline.top(); y <= outline.bottom(); ++y) {
    for (int x = outline.left(); x <= outline.right(); ++x) {
      const bool onRing =
          x == outline.left() || x == outline.right() || y == outline.top() || y == outline.bottom();
      if (onRing && cell.pixel(x, y) != colour) return QString("broken at (%1, %2)").arg(x).arg(y);
    }
  }
  return QColor(colour).name();
}

// Everything inside the highlight's three rings.
QImage Inside(const QImage& cell) { return cell.copy(cell.rect().adjusted(3, 3, -3, -3)); }

}  // namespace

class CellPaintTests : public QObject {
  Q_OBJECT

  std::unique_ptr<WindowFixture> f;

  // A destination of Shapes() with shape 1 selected and the keyboard focus
  // in the source grid.
  ui::MainWindow& Open() {
    f = std::make_unique<WindowFixture>();
    FileChoices choose(f->scripted);
    choose.Next(WriteFox(*f, "cells.fox", Shapes()));
    ui::MainWindow& window = f->Start();
    f->Trigger("Open1");
    f->Click(TGridId::DestGrid, 1);
    f->Grid(TGridId::SrcGrid)->setFocus();
    f->Settle();
    return window;
  }

  const TShapeList& Document() const { return f->state->Workspace.Destination.Shapes; }

  // Runs a menu item and lets the window repaint what it asked to, and no
  // more (the fixture's Settle repaints everything).
  void Quietly(const char* action) {
    f->window->Action(action)->trigger();
    QApplication::processEvents();
  }

  void ClickQuietly(QWidget* target, QPoint at = {}) {
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, at.isNull() ? target->rect().center() : at);
    QApplication::processEvents();
  }

 private Q_SLOTS:
  void cleanup() { f.reset(); }

  void cellsMatchTheCoreRender() {
    ui::MainWindow& window = Open();
    ui::ShapeGrid* grid = f->Grid(TGridId::DestGrid);
    QVERIFY(!grid->hasFocus());
    const TShapeList shapes = Shapes();
    for (int column = 0; column < 4; ++column) {
      EXPECT_CELL(PaintedCell(grid, column), CoreCell(shapes[std::size_t(column)], column == 1));
    }
    // The frame grid shows the frames of the selected shape.
    window.Pages(TDocumentKind::Destination)->setCurrentIndex(1);
    f->Settle();
    ui::ShapeGrid* frames = f->Grid(TGridId::DestSubGrid);
    EXPECT_CELL(PaintedCell(frames, 0), CoreFrameCell(shapes[1].Frames[0], true));
    EXPECT_CELL(PaintedCell(frames, 1), CoreFrameCell(shapes[1].Frames[1], false));
  }

  // The option, the colour choices and the focus all show at once, on the
  // screen and not only in a fresh paint.
  void largeHighlightRingsTheFocusedCell() {
    ui::MainWindow& window = Open();
    QString asked;
    window.SetColourChooser([&](std::uint32_t current, const QString& title) -> std::optional<std::uint32_t> {
      asked = QString("%1 from %2").arg(title).arg(current);
      return 0xFF0000;  // blue: red is the low byte
    });
    ui::ShapeGrid* grid = f->Grid(TGridId::DestGrid);
    Quietly("LargeHighlight1");
    // Without the keyboard focus no cell is ringed.
    EXPECT_CELL(ScreenCell(grid, 1), CoreCell(Shapes()[1], true));

    ClickQuietly(grid->viewport(), grid->CellRect(2).center());
    QVERIFY(grid->hasFocus());
    const QImage focused = ScreenCell(grid, 2);
    for (int ring : {0, 1, 2}) QCOMPARE(RingColour(focused, ring), QString("#ff0000"));
    EXPECT_CELL(Inside(focused), Inside(CoreCell(Shapes()[2], true)));
    EXPECT_CELL(ScreenCell(grid, 1), CoreCell(Shapes()[1], false));

    Quietly("MainHighlightColor1");
    QCOMPARE(asked, QString("Main Highlight Color from 255"));
    QCOMPARE(RingColour(ScreenCell(grid, 2), 0), QString("#0000ff"));
    // Switched off, the focus shows as the grid's dotted mark on the edge.
    Quietly("LargeHighlight1");
    QVERIFY(grid->hasFocus());
    QVERIFY(RingColour(ScreenCell(grid, 2), 0).startsWith("broken"));
    QCOMPARE(RingColour(ScreenCell(grid, 2), 2), RingColour(CoreCell(Shapes()[2], true), 2));
    Quietly("LargeHighlight1");

    // A frame grid rings its focused frame in the SubFrame colour.
    window.Pages(TDocumentKind::Destination)->setCurrentIndex(1);
    f->Settle();
    ui::ShapeGrid* frames = f->Grid(TGridId::DestSubGrid);
    ClickQuietly(frames->viewport(), frames->CellRect(0).center());
    QVERIFY(frames->hasFocus());
    QCOMPARE(RingColour(ScreenCell(frames, 0), 0), QString("#008000"));
    QCOMPARE(RingColour(ScreenCell(frames, 0), 2), QString("#008000"));
    Quietly("SubFrameHighlightColor1");
    QCOMPARE(asked, QString("SubFrame Highlight Color from 32768"));
    QCOMPARE(RingColour(ScreenCell(frames, 0), 0), QString("#0000ff"));
  }

  void changesNeverLeaveAStaleCell() {
    ui::MainWindow& window = Open();
    ui::ShapeGrid* grid = f->Grid(TGridId::DestGrid);
    const QImage before = ScreenCell(grid, 1);

    // File > Edit Image > Flip Horizontally on the selected shape.
    Quietly("FlipHorizontally1");
    QVERIFY(Document()[1] != Shapes()[1]);
    EXPECT_CELL(ScreenCell(grid, 1), CoreCell(Document()[1], true));
    EXPECT_CELL(PaintedCell(grid, 1), CoreCell(Document()[1], true));
    QVERIFY(ScreenCell(grid, 1) != before);

    // Delete: the next shapes move up a column.
    ClickQuietly(window.PanelButton(TPanelButton::Trash));
    QCOMPARE(Document().size(), std::size_t{3});
    EXPECT_CELL(ScreenCell(grid, 1), CoreCell(Shapes()[2], true));
    EXPECT_CELL(ScreenCell(grid, 2), CoreCell(Shapes()[3], false));

    // Another cell chosen: the two swap backgrounds.
    ClickQuietly(grid->viewport(), grid->CellRect(2).center());
    f->Grid(TGridId::SrcGrid)->setFocus();
    QApplication::processEvents();
    EXPECT_CELL(ScreenCell(grid, 1), CoreCell(Shapes()[2], false));
    EXPECT_CELL(ScreenCell(grid, 2), CoreCell(Shapes()[3], true));
  }
};

QUILLMERE_UI_TEST(CellPaintTests);

}  // namespace quillmere::test

#include "cell_paint_tests.moc"
