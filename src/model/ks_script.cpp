#include "model/ks_script.h"

#include <utility>

namespace quillmere {

TKSScript LoadScript(const TPatchFrame& shape) { return shape.Script; }

void StoreScript(TPatchFrame& shape, TKSScript steps) { shape.Script = std::move(steps); }

}  // namespace quillmere
