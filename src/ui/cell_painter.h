#pragma once

#include <QImage>
#include <array>
#include <cstdint>
#include <vector>

#include "app/drag_drop.h"
#include "app/pane_state.h"
#include "app/settings.h"
#include "interface/user_interface.h"
#include "ui/cell_cache.h"

namespace quillmere::ui {

// The pictures of a grid's visible cells. For each column it runs the grid's
// paint handler (which decides what the cell shows and sets enabled states),
// takes the cell from the cache or renders it with the core's thumbnail
// rendering (cells not yet drawn are decoded side by side), and adds the
// large highlight to the focused cell of a focused grid.
class CellPainter {
 public:
  CellPainter(TPaneState& panes, const TSettings& settings, UserInterface& ui)
      : panes_(panes), settings_(settings), ui_(ui) {}

  std::vector<QImage> Cells(TGridId grid, int first, int last, bool gridHasFocus);

  // A document (0 destination, 1 source) changed: none of its cells may be
  // shown again.
  void DocumentChanged(int document);

  const CellCache& Cache() const { return cache_; }

 private:
  TPaneState& panes_;
  const TSettings& settings_;
  UserInterface& ui_;
  CellCache cache_;
  std::array<std::uint64_t, 2> generation_{};
};

}  // namespace quillmere::ui
