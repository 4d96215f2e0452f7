#pragma once

#include <QIcon>

#include "app/centre_panel_layout.h"

namespace quillmere::ui {

// The centre panel's glyph for a button: a 16 x 16 picture in colour for the
// enabled button and an embossed grey one for the disabled button, drawn
// here rather than shipped so that they stay sharp at any scale.
QIcon PanelGlyph(TPanelButton button);

}  // namespace quillmere::ui
