#include "ui/cell_painter.h"

#include <QtConcurrent/QtConcurrentMap>
#include <exception>

#include "interface/scripted_user_interface.h"
#include "model/thumbnail.h"

namespace quillmere::ui {
namespace {

// One cell still to be drawn in a paint.
struct TCellJob {
  std::size_t Slot = 0;
  TCellKey Key;
  const TPatchFrame* Shape = nullptr;     // a shape grid's cell
  const TPatchSubFrame* Frame = nullptr;  // a frame grid's cell
  TThumbnailCell Cell;
  TPicture Picture;
  std::vector<std::string> Diagnostics;
};

void RenderJob(TCellJob& job) {
  ScriptedUserInterface collector;
  try {
    job.Picture = job.Shape != nullptr ? RenderShapeCell(*job.Shape, job.Cell, collector)
                                       : RenderThumbnail(job.Frame, job.Cell, collector);
  } catch (const std::exception& error) {
    // A damaged frame shows as a blank cell rather than a box on every repaint.
    job.Picture = RenderThumbnail(nullptr, job.Cell, collector);
    collector.DebugOutput(std::string("Cell not drawn: ") + error.what());
  }
  job.Diagnostics = collector.DebugLines();
}

}  // namespace

void CellPainter::DocumentChanged(int document) {
  ++generation_[static_cast<std::size_t>(document)];
  cache_.Forget(document);
}

std::vector<QImage> CellPainter::Cells(TGridId grid, int first, int last, bool gridHasFocus) {
  TPaneState& panes = panes_;
  const bool dest = IsDestinationGrid(grid);
  const TPane& pane = dest ? panes.Dest : panes.Src;
  const TGridSelection& selection = IsFrameGrid(grid) ? pane.SubGrid : pane.Grid;
  const int document = dest ? 0 : 1;
  const std::uint64_t generation = generation_[static_cast<std::size_t>(document)];

  std::vector<std::shared_ptr<const TPicture>> pictures(static_cast<std::size_t>(last - first + 1));
  std::vector<TCellJob> jobs;
  for (int column = first; column <= last; ++column) {
    const std::size_t slot = static_cast<std::size_t>(column - first);
    TCellJob job;
    job.Slot = slot;
    job.Cell.Selected = column >= selection.Left() && column <= selection.Right();
    job.Key.Document = document;
    job.Key.Generation = generation;
    job.Key.Selected = job.Cell.Selected;
    // The paint handlers decide the enabled states and what the cell shows.
    switch (grid) {
      case TGridId::DestGrid:
        job.Shape = panes.DestGridDrawCell(column);
        break;
      case TGridId::DestSubGrid:
        job.Frame = panes.DestSubGridDrawCell(column);
        break;
      case TGridId::SrcGrid:
        job.Shape = panes.SrcGridDrawCell(column);
        break;
      case TGridId::SrcSubGrid:
        job.Frame = panes.SrcSubGridDrawCell(column);
        break;
    }
    if (job.Shape != nullptr) {
      job.Key.Shape = column;
    } else if (job.Frame != nullptr) {
      job.Key.Shape = pane.Grid.Focus();
      job.Key.Frame = column;
    }
    pictures[slot] = cache_.Find(job.Key);
    if (!pictures[slot]) jobs.push_back(std::move(job));
  }

  // Cells not drawn before decode side by side: a screenful of large PNG
  // frames would otherwise take a quarter second per grid.
  if (jobs.size() > 1) {
    QtConcurrent::blockingMap(jobs, RenderJob);
  } else if (jobs.size() == 1) {
    RenderJob(jobs.front());
  }
  for (TCellJob& job : jobs) {
    for (const std::string& line : job.Diagnostics) ui_.DebugOutput(line);
    // Copied here, on the window's thread: pixels made by a worker live in
    // that worker's malloc arena, whose freed space the window's own cells
    // never reuse, and memory would creep past the cache's bound.
    pictures[job.Slot] = cache_.Insert(job.Key, TPicture(job.Picture));
  }

  std::vector<QImage> images;
  images.reserve(pictures.size());
  const bool highlight = settings_.LargeHighlight() && gridHasFocus;
  for (std::size_t slot = 0; slot < pictures.size(); ++slot) {
    const int column = first + static_cast<int>(slot);
    if (highlight && column == selection.Focus() && pictures[slot]) {
      TPicture marked = *pictures[slot];
      const std::uint32_t colour =
          IsFrameGrid(grid) ? settings_.SubFrameHighlight() : settings_.MainHighlight();
      DrawLargeHighlight(marked, ColourValueToRGB(colour));
      images.push_back(CellCache::ImageOf(std::make_shared<const TPicture>(std::move(marked))));
    } else {
      images.push_back(CellCache::ImageOf(pictures[slot]));
    }
  }
  return images;
}

}  // namespace quillmere::ui
