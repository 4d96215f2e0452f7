#pragma once

#include <functional>

#include "app/user_interface.h"
#include "model/patch_frame.h"

namespace quillmere {

// What a reader tells the frame around it.
struct TLoadState {
  // Set once everything the file announced was read (or a refusal that has
  // already said all there is to say); anything else ends in the loading-error
  // message.
  bool Complete = false;
};

// The frame all readers share. Clears `shapes`, runs `body`, and then, also
// when the body raises, shows "Error during loading…" unless the state is
// complete, before a raised error continues to the general error handler.
// Shapes appended before an error stay. Returns the completion flag.
bool RunLoadFrame(TShapeList& shapes, UserInterface& ui,
                  const std::function<void(TLoadState&)>& body);

}  // namespace quillmere
