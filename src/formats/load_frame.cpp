#include "formats/load_frame.h"

#include "interface/messages.h"

namespace quillmere {
namespace {

void Finish(const TLoadOutcome& state, UserInterface& ui) {
  if (!state.Complete) Show(ui, TMsgId::LoadingError);
}

}  // namespace

TLoadOutcome RunLoadFrame(TShapeList& shapes, UserInterface& ui,
                          const std::function<void(TLoadOutcome&)>& body) {
  shapes.clear();
  TLoadOutcome state;
  try {
    body(state);
  } catch (...) {
    Finish(state, ui);
    throw;
  }
  Finish(state, ui);
  return state;
}

}  // namespace quillmere
