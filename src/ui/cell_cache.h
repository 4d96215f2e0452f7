#pragma once

#include <QImage>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <list>
#include <map>
#include <memory>

#include "model/picture.h"

namespace quillmere::ui {

// What a rendered cell depends on. `Generation` counts the document's
// changes (every edit and load goes through the workspace's one entry point,
// whose observer moves it on), so a cell of an older generation is never
// shown again. The highlight drawn over the focused cell is not part of a
// cell: it is added at paint time.
struct TCellKey {
  int Document = 0;  // 0 destination, 1 source
  std::uint64_t Generation = 0;
  int Shape = -1;  // -1 for a blank cell
  int Frame = -1;  // -1 for a shape grid's cell
  bool Selected = false;

  auto operator<=>(const TCellKey&) const = default;
};

// Rendered cells, least recently used dropped first once the pictures'
// bytes pass the budget.
class CellCache {
 public:
  // What the grids' pictures may hold in all: the cached cells and the
  // buffers of the cells being decoded, whose planes (up to a few MiB a
  // worker) stay in the workers' memory between paints.
  static constexpr std::size_t kMemoryBound = 64u << 20;
  static constexpr std::size_t kDefaultBudget = kMemoryBound - (4u << 20);

  explicit CellCache(std::size_t budgetBytes = kDefaultBudget) : budget_(budgetBytes) {}

  // The cached picture, or null. It lives as long as it is held, even
  // after the cache drops it.
  std::shared_ptr<const TPicture> Find(const TCellKey& key);
  // Keeps a colour picture for `key` and returns it.
  std::shared_ptr<const TPicture> Insert(const TCellKey& key, TPicture picture);
  // Forgets every cell of one document, or all.
  void Forget(int document);
  void Clear();

  // The pictures' bytes with what each entry costs beside them.
  std::size_t Bytes() const { return bytes_; }
  std::size_t Count() const { return entries_.size(); }
  std::size_t Budget() const { return budget_; }

  // A colour picture as an image sharing its pixels and keeping it alive.
  static QImage ImageOf(std::shared_ptr<const TPicture> picture);

 private:
  struct TEntry {
    std::shared_ptr<const TPicture> Picture;
    std::list<TCellKey>::iterator Use;
  };
  void Trim();

  std::size_t budget_;
  std::size_t bytes_ = 0;
  std::map<TCellKey, TEntry> entries_;
  std::list<TCellKey> uses_;  // most recent first
};

}  // namespace quillmere::ui
