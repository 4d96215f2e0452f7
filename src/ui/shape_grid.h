#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QMimeData>
#include <QPoint>
#include <functional>
#include <optional>
#include <vector>

#include "app/drag_drop.h"
#include "app/grid_selection.h"
#include "app/grid_view.h"

namespace quillmere::ui {

// One single-row grid of 120 x 120 cells with 1-pixel lines between them and
// a horizontal scroll bar that moves in whole columns. It knows nothing of
// shapes: it shows the pictures its owner hands it and applies clicks, drags
// and arrow keys to a selection the core keeps, then tells its owner.
class ShapeGrid : public QAbstractScrollArea {
  Q_OBJECT

 public:
  static constexpr int kCellSize = 120;
  static constexpr int kLineWidth = 1;
  static constexpr int kPitch = kCellSize + kLineWidth;

  explicit ShapeGrid(QWidget* parent = nullptr);

  // The selection this grid shows and changes; it must outlive the grid.
  void SetSelection(TGridSelection* selection);
  const TGridSelection& Selection() const { return *selection_; }

  // Pictures for the visible columns first..last, one each; a null image
  // leaves the cell cleared to the grid's colour.
  using CellSource = std::function<std::vector<QImage>(int first, int last)>;
  void SetCellSource(CellSource source) { cellSource_ = std::move(source); }

  // Asked when the left button goes down on `column`: may a drag of this
  // grid's items start once the mouse has moved far enough?
  void SetDragGate(std::function<bool(int column)> gate) { dragGate_ = std::move(gate); }

  // Drops: whether the grid takes what is dragged over it, and what a drop
  // at a viewport point does. Without them the grid takes no drops.
  void SetDropHandlers(std::function<bool(const QMimeData&)> accepts,
                       std::function<void(const QMimeData&, QPoint)> drop);

  // The dotted focus mark on the focused cell of a focused grid; off while
  // the owner draws a highlight of its own there.
  void SetFocusMarkShown(bool shown);

  // The selection's count or focus changed from outside: the scroll range
  // follows and the cells repaint.
  void Refresh();
  // Scrolls so that the focused column is in view.
  void ShowFocus();
  TGridView& View() { return view_; }
  const TGridView& View() const { return view_; }
  // Applies a changed view (scroll position) to the scroll bar.
  void ApplyView();

  // The column at a point of the viewport, or none outside every cell.
  std::optional<int> ColumnAt(QPoint point) const;
  // A column's cell in viewport coordinates (right and bottom exclusive as
  // QRect::right() + 1).
  QRect CellRect(int column) const;
  // The first and last columns at least partly in view.
  int FirstVisibleColumn() const { return view_.LeftColumn; }
  int LastVisibleColumn() const;

  // The height that shows one row of cells, the line under them and the scroll bar.
  int RowHeight() const;

 Q_SIGNALS:
  // The focused cell was chosen by mouse or key (the click handler runs).
  void Clicked();
  // A key the grid's owner answers (Up, Down, Delete, F5), before the grid's own.
  void GridKey(quillmere::TGridKeyCode key);
  // The mouse moved far enough with a drag allowed: the owner starts it.
  void DragRequested();
  void ContextMenuRequested(QPoint globalPos);
  // The grid took the keyboard focus.
  void FocusEntered();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void UpdateScrollBar();

  TGridSelection* selection_ = nullptr;
  TGridSelection fallback_;
  TGridView view_;
  CellSource cellSource_;
  std::function<bool(int)> dragGate_;
  std::function<bool(const QMimeData&)> accepts_;
  std::function<void(const QMimeData&, QPoint)> drop_;
  std::optional<QPoint> dragFrom_;  // a drag may start from here
  bool selecting_ = false;
  bool focusMarkShown_ = true;  // the left button is down on a cell
};

}  // namespace quillmere::ui
