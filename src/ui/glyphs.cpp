#include "ui/glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>

namespace quillmere::ui {
namespace {

constexpr int kSize = 16;

// An arrow pointing left or right, its tip at `tipX`.
QPainterPath Arrow(bool right, qreal tipX, qreal centreY, qreal length) {
  const qreal dir = right ? 1 : -1;
  const qreal tail = tipX - dir * length;
  const qreal neck = tipX - dir * std::min<qreal>(5, length * 0.6);
  QPainterPath path;
  path.moveTo(tipX, centreY);
  path.lineTo(neck, centreY - 5);
  path.lineTo(neck, centreY - 2);
  path.lineTo(tail, centreY - 2);
  path.lineTo(tail, centreY + 2);
  path.lineTo(neck, centreY + 2);
  path.lineTo(neck, centreY + 5);
  path.closeSubpath();
  return path;
}

// A small thumbnail cell: the thing the transfers move.
void Cell(QPainter& p, const QRectF& rect, const QColor& fill, const QColor& line) {
  p.setPen(QPen(line, 1));
  p.setBrush(fill);
  p.drawRect(rect);
}

void DrawGlyph(QPainter& p, TPanelButton button, const QColor& ink, const QColor& paper,
               const QColor& accent) {
  p.setRenderHint(QPainter::Antialiasing, true);
  switch (button) {
    case TPanelButton::Trash: {
      p.setPen(QPen(ink, 1.2));
      p.setBrush(paper);
      QPainterPath bin;
      bin.moveTo(3.5, 4.5);
      bin.lineTo(12.5, 4.5);
      bin.lineTo(11.5, 14.5);
      bin.lineTo(4.5, 14.5);
      bin.closeSubpath();
      p.drawPath(bin);
      p.drawLine(QPointF(2, 3), QPointF(14, 3));
      p.drawLine(QPointF(6.5, 1.5), QPointF(9.5, 1.5));
      p.setPen(QPen(accent, 1));
      for (qreal x : {6.5, 8.0, 9.5}) p.drawLine(QPointF(x, 6.5), QPointF(x, 12.5));
      break;
    }
    case TPanelButton::InsertFore:
    case TPanelButton::InsertAft: {
      // A new cell going in on the side it names.
      const bool after = button == TPanelButton::InsertAft;
      Cell(p, after ? QRectF(1.5, 3.5, 6, 9) : QRectF(8.5, 3.5, 6, 9), paper, ink);
      p.setPen(Qt::NoPen);
      p.setBrush(accent);
      p.drawPath(after ? Arrow(false, 8.5, 8, 7) : Arrow(true, 7.5, 8, 7));
      break;
    }
    case TPanelButton::Replaceit: {
      Cell(p, QRectF(1.5, 1.5, 8, 9), paper, ink);
      Cell(p, QRectF(6.5, 5.5, 8, 9), accent, ink);
      break;
    }
    case TPanelButton::MoveLeft:
    case TPanelButton::MoveRight: {
      p.setPen(Qt::NoPen);
      p.setBrush(accent);
      const bool right = button == TPanelButton::MoveRight;
      p.drawPath(Arrow(right, right ? 14.5 : 1.5, 8, 13));
      break;
    }
  }
}

QPixmap Render(TPanelButton button, bool enabled) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  if (enabled) {
    DrawGlyph(p, button, QColor(40, 40, 40), QColor(250, 250, 250), QColor(30, 110, 200));
  } else {
    // Embossed: a white copy one pixel down-right under a grey one.
    p.translate(1, 1);
    DrawGlyph(p, button, Qt::white, Qt::white, Qt::white);
    p.translate(-1, -1);
    DrawGlyph(p, button, QColor(150, 150, 150), QColor(225, 225, 225), QColor(150, 150, 150));
  }
  return pixmap;
}

}  // namespace

QIcon PanelGlyph(TPanelButton button) {
  QIcon icon;
  icon.addPixmap(Render(button, true), QIcon::Normal);
  icon.addPixmap(Render(button, false), QIcon::Disabled);
  return icon;
}

}  // namespace quillmere::ui
