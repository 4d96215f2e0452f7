#include "ui/cell_cache.h"

#include <utility>

namespace quillmere::ui {
namespace {

// What a cached cell holds: its pixels and the bookkeeping around them (the
// picture, its shared count, the map node and the use list's node).
std::size_t Cost(const TPicture& picture) { return picture.Pixels.capacity() + 256; }

void ReleasePicture(void* holder) { delete static_cast<std::shared_ptr<const TPicture>*>(holder); }

}  // namespace

QImage CellCache::ImageOf(std::shared_ptr<const TPicture> picture) {
  if (!picture || picture->Empty() || picture->Depth != TPictureDepth::Rgb24) return {};
  const TPicture& p = *picture;
  auto* holder = new std::shared_ptr<const TPicture>(std::move(picture));
  // The image only reads the pixels; QImage's const-data constructor keeps
  // it from ever writing to them.
  return QImage(p.Pixels.data(), p.Width, p.Height, static_cast<qsizetype>(p.RowBytes()),
                QImage::Format_RGB888, ReleasePicture, holder);
}

std::shared_ptr<const TPicture> CellCache::Find(const TCellKey& key) {
  const auto found = entries_.find(key);
  if (found == entries_.end()) return nullptr;
  uses_.splice(uses_.begin(), uses_, found->second.Use);
  return found->second.Picture;
}

std::shared_ptr<const TPicture> CellCache::Insert(const TCellKey& key, TPicture picture) {
  auto shared = std::make_shared<const TPicture>(std::move(picture));
  const auto found = entries_.find(key);
  if (found != entries_.end()) {
    bytes_ -= Cost(*found->second.Picture);
    uses_.erase(found->second.Use);
    entries_.erase(found);
  }
  uses_.push_front(key);
  entries_.emplace(key, TEntry{shared, uses_.begin()});
  bytes_ += Cost(*shared);
  Trim();
  return shared;
}

void CellCache::Trim() {
  while (bytes_ > budget_ && !uses_.empty()) {
    const auto found = entries_.find(uses_.back());
    bytes_ -= Cost(*found->second.Picture);
    entries_.erase(found);
    uses_.pop_back();
  }
}

void CellCache::Forget(int document) {
  for (auto it = entries_.begin(); it != entries_.end();) {
    if (it->first.Document == document) {
      bytes_ -= Cost(*it->second.Picture);
      uses_.erase(it->second.Use);
      it = entries_.erase(it);
    } else {
      ++it;
    }
  }
}

void CellCache::Clear() {
  entries_.clear();
  uses_.clear();
  bytes_ = 0;
}

}  // namespace quillmere::ui
