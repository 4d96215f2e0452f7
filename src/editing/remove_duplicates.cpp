#include "editing/remove_duplicates.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "interface/messages.h"
#include "model/sha1_digest.h"

namespace quillmere {
namespace {

void PutInt16(std::vector<std::uint8_t>& bytes, std::int16_t value) {
  const auto bits = static_cast<std::uint16_t>(value);
  bytes.push_back(static_cast<std::uint8_t>(bits & 0xFF));
  bytes.push_back(static_cast<std::uint8_t>(bits >> 8));
}

// Collects the small values between frames so that a frame costs one or two
// digest updates, not one per 16-bit value.
void Flush(Sha1Digest& digest, std::vector<std::uint8_t>& pending) {
  digest.Update(pending.data(), pending.size());
  pending.clear();
}

}  // namespace

void TFrameComparator::Prepare(const TPatchFrame& shape, const TDedupeOptions& options) {
  Sha1Digest picture;
  std::vector<std::uint8_t> pending;
  if (options.Flags) PutInt16(pending, static_cast<std::int16_t>(shape.Flags));
  for (const TPatchSubFrame& frame : shape.Frames) {
    Flush(picture, pending);
    picture.Update(frame.Pixels.data(), frame.Pixels.size());
    if (options.FurrePosition) {
      PutInt16(pending, frame.FurrePosX);
      PutInt16(pending, frame.FurrePosY);
    }
    if (options.ObjectPosition) {
      PutInt16(pending, frame.ShapePosX);
      PutInt16(pending, frame.ShapePosY);
    }
  }
  Flush(picture, pending);
  pictureDigest_ = picture.HexDigest();

  Sha1Digest script;
  for (const TKSStep& step : shape.Script) {
    PutInt16(pending, step.Command);
    PutInt16(pending, step.Arg1);
    PutInt16(pending, step.Arg2);
    if (pending.size() >= 4096) Flush(script, pending);
  }
  Flush(script, pending);
  scriptDigest_ = script.HexDigest();
}

int RemoveDuplicateShapes(TShapeList& shapes, const TDedupeOptions& options) {
  // Only the first survivor with a given picture digest is ever compared (a
  // later one with the same picture is never reached), so one map entry per
  // picture digest answers "the first equal s" without a linear search.
  std::unordered_map<std::string, std::string> firstScriptByPicture;
  std::size_t kept = 0;
  for (std::size_t i = 0; i < shapes.size(); ++i) {
    TFrameComparator comparator;
    comparator.Prepare(shapes[i], options);
    const auto [found, inserted] =
        firstScriptByPicture.try_emplace(comparator.PictureDigest(), comparator.ScriptDigest());
    const bool duplicate = !inserted && (!options.KitterSpeak || found->second == comparator.ScriptDigest());
    if (duplicate) continue;
    // Compacting in one pass gives the same list as removing each duplicate
    // in place, without moving the tail once per removal.
    if (kept != i) shapes[kept] = std::move(shapes[i]);
    ++kept;
  }
  const auto removed = static_cast<int>(shapes.size() - kept);
  shapes.resize(kept);
  return removed;
}

TMessage DuplicateRemovalMessage(int before, int after) {
  return MakeMessage(TMsgId::DuplicateRemoval,
                     {std::to_string(before), std::to_string(after), std::to_string(before - after)});
}

}  // namespace quillmere
