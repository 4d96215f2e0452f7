#pragma once

// What several window test classes share: small shape files made in one
// line, file choices given one at a time, and cells read back from a grid's
// pixels.
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QGroupBox>
#include <QImage>
#include <QScreen>
#include <QStringList>

#include "formats/fox_format.h"
#include "model/thumbnail.h"
#include "window_fixture.h"

namespace quillmere::test {

// A 1 x 2 indexed shape whose pixels carry `tag`, so shapes can be told
// apart after they are moved around.
inline TPatchFrame Tagged(std::uint8_t tag, int frames = 1) {
  TPatchSubFrame frame{1, 2, 0, 0, 0, 0, kFormatIndexed, 255, kEncodingRaw, {tag, std::uint8_t(tag + 1)}};
  return {0, -1, std::vector<TPatchSubFrame>(static_cast<std::size_t>(frames), frame), {}};
}

inline TShapeList TaggedList(int count, std::uint8_t first) {
  TShapeList list;
  for (int i = 0; i < count; ++i) list.push_back(Tagged(static_cast<std::uint8_t>(first + i)));
  return list;
}

// The first pixel of each shape: the tags in the order the document holds them.
inline std::vector<int> Tags(const TShapeList& shapes) {
  std::vector<int> tags;
  for (const TPatchFrame& shape : shapes) tags.push_back(shape.Frames.at(0).Pixels.at(0));
  return tags;
}

inline std::string WriteFox(WindowFixture& f, const std::string& name, const TShapeList& shapes) {
  const std::string path = f.files.File(name);
  if (!SaveFOXFile(path, shapes)) throw std::runtime_error("could not write " + path);
  return path;
}

// The scripted interface reads its file choices from one list without ever
// starting over, so further choices are added to the end of that list.
class FileChoices {
 public:
  explicit FileChoices(ScriptedUserInterface& ui) : ui_(ui) {}
  void Next(const std::string& fileName) {
    choices_.push_back(fileName);
    ui_.SetFileChoices(choices_);
  }

 private:
  ScriptedUserInterface& ui_;
  std::vector<std::string> choices_;
};

// Brings a grid's tab to the front.
inline void ShowPage(WindowFixture& f, TGridId id) {
  const bool dest = id == TGridId::DestGrid || id == TGridId::DestSubGrid;
  const bool frames = id == TGridId::DestSubGrid || id == TGridId::SrcSubGrid;
  f.window->Pages(dest ? TDocumentKind::Destination : TDocumentKind::Source)->setCurrentIndex(frames ? 1 : 0);
  f.Settle();
}

// The messages shown so far, each as "caption | text".
inline QStringList Shown(const WindowFixture& f) {
  QStringList shown;
  for (const auto& [message, answer] : f.scripted.Shown()) {
    shown << QString::fromStdString(message.Caption + " | " + message.Text);
  }
  return shown;
}

// A grid's cell as the screen shows it.
inline QImage PaintedCell(ui::ShapeGrid* grid, int column) {
  const QImage shown = grid->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB888);
  return shown.copy(grid->CellRect(column));
}

// What the screen last received for a cell, without painting anything
// anew: a change the window forgot to repaint shows here.
inline QImage ScreenCell(ui::ShapeGrid* grid, int column) {
  const QRect cell = grid->CellRect(column);
  const QPoint at = grid->viewport()->mapTo(grid->window(), cell.topLeft());
  return grid->screen()
      ->grabWindow(grid->window()->winId(), at.x(), at.y(), cell.width(), cell.height())
      .toImage()
      .convertToFormat(QImage::Format_RGB888);
}

inline QImage ToImage(const TPicture& picture) {
  if (picture.Depth != TPictureDepth::Rgb24) throw std::runtime_error("not a colour picture");
  return QImage(picture.Pixels.data(), picture.Width, picture.Height,
                static_cast<qsizetype>(picture.RowBytes()), QImage::Format_RGB888)
      .copy();
}

// What the core paints for a shape grid's cell.
inline QImage CoreCell(const TPatchFrame& shape, bool selected) {
  TThumbnailCell cell;
  cell.Selected = selected;
  ScriptedUserInterface quiet;
  return ToImage(RenderShapeCell(shape, cell, quiet));
}

}  // namespace quillmere::test
