#include "ui/shape_grid.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace quillmere::ui {
namespace {

const QColor kGridColour(128, 128, 128);
const QColor kLineColour(96, 96, 96);

std::optional<TGridKey> SelectionKey(int key) {
  switch (key) {
    case Qt::Key_Left:
      return TGridKey::Left;
    case Qt::Key_Right:
      return TGridKey::Right;
    case Qt::Key_Home:
      return TGridKey::Home;
    case Qt::Key_End:
      return TGridKey::End;
    default:
      return std::nullopt;
  }
}

TGridKeyCode OwnerKey(int key) {
  switch (key) {
    case Qt::Key_Up:
      return TGridKeyCode::Up;
    case Qt::Key_Down:
      return TGridKeyCode::Down;
    case Qt::Key_Delete:
      return TGridKeyCode::Delete;
    case Qt::Key_F5:
      return TGridKeyCode::F5;
    default:
      return TGridKeyCode::Other;
  }
}

}  // namespace

ShapeGrid::ShapeGrid(QWidget* parent) : QAbstractScrollArea(parent), selection_(&fallback_) {
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setFocusPolicy(Qt::StrongFocus);
  setFrameShape(QFrame::StyledPanel);
  setFrameShadow(QFrame::Sunken);
  viewport()->setAutoFillBackground(false);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  horizontalScrollBar()->setSingleStep(1);
  horizontalScrollBar()->setTracking(true);  // the view follows the thumb while it moves
  setFixedHeight(RowHeight());
}

int ShapeGrid::RowHeight() const {
  return kPitch + horizontalScrollBar()->sizeHint().height() + 2 * frameWidth();
}

void ShapeGrid::SetSelection(TGridSelection* selection) {
  selection_ = selection != nullptr ? selection : &fallback_;
  Refresh();
}

void ShapeGrid::SetFocusMarkShown(bool shown) {
  if (shown == focusMarkShown_) return;
  focusMarkShown_ = shown;
  viewport()->update();
}

void ShapeGrid::Refresh() {
  view_.Clamp(selection_->Count());
  UpdateScrollBar();
  viewport()->update();
}

void ShapeGrid::ShowFocus() {
  view_.ShowColumn(selection_->Focus(), selection_->Count());
  ApplyView();
}

void ShapeGrid::ApplyView() {
  view_.Clamp(selection_->Count());
  UpdateScrollBar();
  viewport()->update();
}

void ShapeGrid::UpdateScrollBar() {
  // Not silenced: the scroll area shows and hides the bar on its range
  // signal, and scrollContentsBy only reads the value back.
  QScrollBar* bar = horizontalScrollBar();
  bar->setRange(0, TGridView::LastLeftColumn(selection_->Count(), view_.VisibleColumns));
  bar->setPageStep(std::max(1, view_.VisibleColumns));
  bar->setValue(view_.LeftColumn);
}

void ShapeGrid::scrollContentsBy(int, int) {
  view_.LeftColumn = horizontalScrollBar()->value();
  viewport()->update();
}

void ShapeGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  // Columns that fit whole; the line after the last one may fall outside.
  view_.VisibleColumns = std::max(1, (viewport()->width() + kLineWidth) / kPitch);
  view_.Clamp(selection_->Count());
  UpdateScrollBar();
}

int ShapeGrid::LastVisibleColumn() const {
  const int onScreen = (viewport()->width() + kPitch - 1) / kPitch;
  return std::min(selection_->Count() - 1, view_.LeftColumn + std::max(1, onScreen) - 1);
}

QRect ShapeGrid::CellRect(int column) const {
  return QRect((column - view_.LeftColumn) * kPitch, 0, kCellSize, kCellSize);
}

std::optional<int> ShapeGrid::ColumnAt(QPoint point) const {
  if (point.x() < 0 || point.y() < 0 || point.y() >= kPitch) return std::nullopt;
  const int column = view_.LeftColumn + point.x() / kPitch;
  if (column >= selection_->Count()) return std::nullopt;
  return column;
}

void ShapeGrid::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), kGridColour);
  const int first = FirstVisibleColumn();
  const int last = LastVisibleColumn();
  if (cellSource_ && last >= first) {
    const std::vector<QImage> cells = cellSource_(first, last);
    for (int column = first; column <= last; ++column) {
      const auto index = static_cast<std::size_t>(column - first);
      if (index < cells.size() && !cells[index].isNull()) {
        painter.drawImage(CellRect(column).topLeft(), cells[index]);
      }
    }
  }
  painter.setPen(kLineColour);
  for (int column = first; column <= last; ++column) {
    const QRect cell = CellRect(column);
    painter.drawLine(cell.right() + 1, 0, cell.right() + 1, kCellSize);
  }
  painter.drawLine(0, kCellSize, std::min(viewport()->width(), CellRect(last).right() + 1), kCellSize);
  if (hasFocus() && focusMarkShown_) {
    // A dotted frame that shows on any cell: white dots over a black line.
    const QRect focus = CellRect(selection_->Focus()).adjusted(0, 0, -1, -1);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(focus);
    painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
    painter.drawRect(focus);
  }
}

void ShapeGrid::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  const std::optional<int> column = ColumnAt(event->position().toPoint());
  if (event->button() != Qt::LeftButton) {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  dragFrom_.reset();
  if (!column) return;
  if (event->modifiers() & Qt::ShiftModifier) {
    selection_->ShiftClick(*column);
  } else {
    selection_->Click(*column);
  }
  if (dragGate_ && dragGate_(*column)) {
    dragFrom_ = event->position().toPoint();
  } else {
    selecting_ = true;
  }
  ShowFocus();
  Q_EMIT Clicked();
}

void ShapeGrid::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  if (dragFrom_) {
    if ((point - *dragFrom_).manhattanLength() >= QApplication::startDragDistance()) {
      dragFrom_.reset();
      Q_EMIT DragRequested();
    }
    return;
  }
  if (!selecting_ || !(event->buttons() & Qt::LeftButton)) return;
  // Past either edge the range keeps growing and the view follows it.
  const int x = std::clamp(point.x(), 0, std::max(0, viewport()->width() - 1));
  const int column = std::min(view_.LeftColumn + (point.x() < 0 ? -1 : x / kPitch), selection_->Count() - 1);
  if (column < 0 || column == selection_->Focus()) return;
  selection_->Drag(column);
  ShowFocus();
  Q_EMIT Clicked();
}

void ShapeGrid::mouseReleaseEvent(QMouseEvent* event) {
  selecting_ = false;
  dragFrom_.reset();
  QAbstractScrollArea::mouseReleaseEvent(event);
}

void ShapeGrid::keyPressEvent(QKeyEvent* event) {
  const TGridKeyCode ownerKey = OwnerKey(event->key());
  if (ownerKey != TGridKeyCode::Other) {
    Q_EMIT GridKey(ownerKey);
    event->accept();
    return;
  }
  if (const std::optional<TGridKey> key = SelectionKey(event->key())) {
    selection_->Key(*key, (event->modifiers() & Qt::ShiftModifier) != 0);
    ShowFocus();
    Q_EMIT Clicked();
    event->accept();
    return;
  }
  QAbstractScrollArea::keyPressEvent(event);
}

void ShapeGrid::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update();
  Q_EMIT FocusEntered();
}

void ShapeGrid::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}

void ShapeGrid::SetDropHandlers(std::function<bool(const QMimeData&)> accepts,
                                std::function<void(const QMimeData&, QPoint)> drop) {
  accepts_ = std::move(accepts);
  drop_ = std::move(drop);
  setAcceptDrops(accepts_ != nullptr);
  viewport()->setAcceptDrops(accepts_ != nullptr);
}

void ShapeGrid::dragEnterEvent(QDragEnterEvent* event) {
  if (accepts_ && event->mimeData() != nullptr && accepts_(*event->mimeData())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void ShapeGrid::dragMoveEvent(QDragMoveEvent* event) {
  if (accepts_ && event->mimeData() != nullptr && accepts_(*event->mimeData())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void ShapeGrid::dropEvent(QDropEvent* event) {
  if (!drop_ || event->mimeData() == nullptr) return;
  event->acceptProposedAction();
  drop_(*event->mimeData(), event->position().toPoint());
}

void ShapeGrid::contextMenuEvent(QContextMenuEvent* event) {
  Q_EMIT ContextMenuRequested(event->globalPos());
}

}  // namespace quillmere::ui
