#include "formats/load_frame.h"

#include "app/messages.h"

namespace quillmere {
namespace {

void Finish(const TLoadState& state, UserInterface& ui) {
  if (!state.Complete) Show(ui, TMsgId::LoadingError);
}

}  // namespace

bool RunLoadFrame(TShapeList& shapes, UserInterface& ui,
                  const std::function<void(TLoadState&)>& body) {
  shapes.clear();
  TLoadState state;
  try {
    body(state);
  } catch (...) {
    Finish(state, ui);
    throw;
  }
  Finish(state, ui);
  return state.Complete;
}

}  // namespace quillmere
