#include "ui/dialogs/script_preview_view.h"

#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "model/shape_palette.h"

namespace quillmere::ui {

namespace {

// The game palette with entry 0 transparent, as the export writes it.
const QList<QRgb>& PreviewColours() {
  static const QList<QRgb> colours = [] {
    QList<QRgb> table;
    for (const TRGB& entry : ShapePalette()) table.append(qRgb(entry.Red, entry.Green, entry.Blue));
    table[0] = qRgba(0, 0, 0, 0);
    return table;
  }();
  return colours;
}

QImage ToImage(const TPicture& picture) {
  if (picture.Empty() || picture.Depth != TPictureDepth::Indexed8) return {};
  QImage image(picture.Pixels.data(), picture.Width, picture.Height, static_cast<qsizetype>(picture.RowBytes()),
               QImage::Format_Indexed8);
  image.setColorTable(PreviewColours());
  // The core may drop its picture once the preview moves on.
  return image.copy();
}

constexpr int kCanvasSide = 168;
constexpr int kMaxZoom = 3;

}  // namespace

PreviewCanvas::PreviewCanvas(QWidget* parent) : QWidget(parent) {
  setObjectName("PreviewCanvas");
  setFixedSize(kCanvasSide, kCanvasSide);
}

void PreviewCanvas::Show(QImage image, QSize canvas) {
  image_ = std::move(image);
  canvas_ = canvas;
  update();
}

void PreviewCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // A checked ground tells the transparent pixels from black ones.
  const QColor light(0xe8, 0xe8, 0xe8), dark(0xc8, 0xc8, 0xc8);
  for (int y = 0; y < height(); y += 8)
    for (int x = 0; x < width(); x += 8) painter.fillRect(x, y, 8, 8, ((x + y) / 8) % 2 ? dark : light);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  if (image_.isNull() || canvas_.isEmpty()) return;
  // The whole canvas fits; small shapes are shown larger by whole steps so
  // their pixels stay square and sharp.
  const QRect room = rect().adjusted(2, 2, -2, -2);
  const double fit = std::min(double(room.width()) / canvas_.width(), double(room.height()) / canvas_.height());
  const double scale = fit >= 1 ? std::min<double>(kMaxZoom, std::floor(fit)) : fit;
  const QSizeF shown = QSizeF(canvas_) * scale;
  const QPointF origin(room.x() + (room.width() - shown.width()) / 2, room.y() + (room.height() - shown.height()) / 2);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, scale < 1);
  painter.drawImage(QRectF(origin, QSizeF(image_.size()) * scale), image_);
}

ScriptPreviewView::ScriptPreviewView(const TPatchFrame& shape, UserInterface& ui, QWidget* parent)
    : QWidget(parent), shape_(shape), ui_(ui) {
  setObjectName("Preview");
  canvas_ = new PreviewCanvas(this);
  play_ = new QToolButton(this);
  play_->setObjectName("PlayBtn");
  status_ = new QLabel(this);
  status_->setObjectName("PreviewStatus");
  auto* controls = new QHBoxLayout;
  controls->setContentsMargins(0, 0, 0, 0);
  controls->addWidget(play_);
  controls->addWidget(status_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel("Preview", this));
  layout->addWidget(canvas_);
  layout->addLayout(controls);
  layout->addStretch(1);

  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, [this] { Advance(); });
  connect(play_, &QToolButton::clicked, this, [this] { SetPlaying(!Playing()); });
}

void ScriptPreviewView::SetScript(const TKSScript& script) {
  if (preview_ && script == script_) return;
  script_ = script;
  preview_ = std::make_unique<TScriptPreview>(shape_, script_);
  current_.reset();
  canvas_->Show({}, {});
  Advance();
}

void ScriptPreviewView::SetPlaying(bool play) {
  paused_ = !play;
  if (play && preview_ && preview_->Ended()) {
    // Playing an ended script again starts it from its first step.
    preview_.reset();
    SetScript(script_);
    return;
  }
  if (!play) {
    timer_.stop();
  } else if (current_ && !timer_.isActive()) {
    timer_.start(current_->Delay);
  }
  UpdateControls();
}

void ScriptPreviewView::Advance() {
  timer_.stop();
  if (!preview_) return;
  // An ended playback keeps its last frame in view.
  if (std::optional<TPreviewFrame> next = preview_->Next()) {
    current_ = next;
    const TCanvasSize canvas = preview_->Canvas();
    canvas_->Show(ToImage(preview_->Picture(*current_, ui_)), QSize(canvas.Width, canvas.Height));
    if (!paused_ && !preview_->Ended()) timer_.start(current_->Delay);
  }
  UpdateControls();
}

void ScriptPreviewView::UpdateControls() {
  const bool playing = Playing();
  play_->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
  play_->setToolTip(playing ? "Pause" : "Play");
  play_->setAccessibleName(playing ? "Pause" : "Play");
  QString text;
  if (current_) text = QString("Frame %1, %2 ms").arg(current_->Frame).arg(current_->Delay);
  if (!preview_ || preview_->Ended()) text = current_ ? text + ", stopped" : QString("No frame to show");
  status_->setText(text);
}

}  // namespace quillmere::ui
