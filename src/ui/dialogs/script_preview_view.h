#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>

#include "export/script_preview.h"

class QLabel;
class QToolButton;

namespace quillmere {
class UserInterface;
}

namespace quillmere::ui {

// The picture area of a script preview: the current frame on its canvas,
// scaled to fit, transparent pixels showing the background.
class PreviewCanvas : public QWidget {
 public:
  explicit PreviewCanvas(QWidget* parent);
  void Show(QImage image, QSize canvas);
  const QImage& Image() const { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
  QSize canvas_;
};

// A script played beside the editor's list as the game would play it. It
// only reads the shape and the steps it is given, so the editor's results
// never depend on it.
class ScriptPreviewView : public QWidget {
 public:
  ScriptPreviewView(const TPatchFrame& shape, UserInterface& ui, QWidget* parent);

  // Starts again from the first step when the steps differ from those playing.
  void SetScript(const TKSScript& script);
  bool Playing() const { return timer_.isActive(); }
  void SetPlaying(bool play);

  // What is on show: the frame (none before the first or after an empty
  // script) and its picture.
  const std::optional<TPreviewFrame>& Current() const { return current_; }
  const QImage& Image() const { return canvas_->Image(); }
  // Moves to the next frame at once, as the timer does when a frame's delay is over.
  void Advance();

 private:
  void UpdateControls();

  const TPatchFrame& shape_;
  UserInterface& ui_;
  TKSScript script_;
  std::unique_ptr<TScriptPreview> preview_;
  std::optional<TPreviewFrame> current_;
  bool paused_ = false;
  QTimer timer_;
  PreviewCanvas* canvas_;
  QToolButton* play_;
  QLabel* status_;
};

}  // namespace quillmere::ui
