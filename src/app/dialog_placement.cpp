#include "app/dialog_placement.h"

namespace quillmere {

TDialogPlace CentredOver(int ownerLeft, int ownerTop, int ownerWidth, int ownerHeight, int width, int height) {
  return {ownerLeft + ownerWidth / 2 - width / 2, ownerTop + ownerHeight / 2 - height / 2};
}

}  // namespace quillmere
