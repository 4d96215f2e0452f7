#pragma once

#include <functional>

#include "interface/user_interface.h"
#include "model/patch_frame.h"

namespace quillmere {

// How a read ended.
struct TLoadOutcome {
  // The reader's completion flag: set once everything the file announced was
  // read, or by a refusal that has already said all there is to say. Without
  // it the frame adds the loading-error message.
  bool Complete = false;
  // The reader stopped early on a refusal of its own (a bad FSH size table).
  bool Refused = false;

  // The document holds everything the file holds.
  bool Whole() const { return Complete && !Refused; }
};

// The frame all readers share. Clears `shapes`, runs `body`, and then, also
// when the body raises, shows "Error during loading…" unless the state is
// complete, before a raised error continues to the general error handler.
// Shapes appended before an error stay.
TLoadOutcome RunLoadFrame(TShapeList& shapes, UserInterface& ui,
                          const std::function<void(TLoadOutcome&)>& body);

}  // namespace quillmere
