#pragma once

#include <string>

#include "interface/user_interface.h"
#include "model/patch_frame.h"

namespace quillmere {

// What two shapes must share, besides their pixel bytes, to count as the same.
// The fields follow the dialog's check boxes in their order: "Identical
// Flags", "Identical Furre Position", "Identical Object Position", "Identical
// Kitterspeak".
struct TDedupeOptions {
  bool Flags = false;
  bool FurrePosition = false;   // the frames' FurrePosX, FurrePosY
  bool ObjectPosition = false;  // the frames' ShapePosX, ShapePosY
  bool KitterSpeak = false;

  bool operator==(const TDedupeOptions&) const = default;
};

// The identity of one shape as two SHA-1 digests (40 hex digits each). Only
// the digests are kept, so memory grows with the number of distinct shapes,
// not with their pixel data.
//
// Picture digest, all 16-bit values little-endian: Flags if asked for; then
// per frame its Pixels bytes, FurrePosX and FurrePosY if asked for, ShapePosX
// and ShapePosY if asked for. Frame sizes, formats, encodings and opacity take
// no part, nor how the bytes are split into frames. Script digest: Command,
// Arg1, Arg2 of each step.
class TFrameComparator {
 public:
  void Prepare(const TPatchFrame& shape, const TDedupeOptions& options);

  const std::string& PictureDigest() const { return pictureDigest_; }
  const std::string& ScriptDigest() const { return scriptDigest_; }

 private:
  std::string pictureDigest_;
  std::string scriptDigest_;
};

// Removes every shape that repeats an earlier one and returns how many went;
// the first of each group stays and the survivors keep their order. A shape
// repeats the first earlier survivor with the same picture digest; with
// KitterSpeak on their scripts must match too, and a differing script makes
// the shape a survivor without looking at later candidates.
int RemoveDuplicateShapes(TShapeList& shapes, const TDedupeOptions& options);

// The box that reports a scan: the counts before and after and their
// difference, one per line.
TMessage DuplicateRemovalMessage(int before, int after);

}  // namespace quillmere
