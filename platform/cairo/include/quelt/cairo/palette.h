#pragma once

#include "quelt/paint/palette.h"

namespace quelt::cairo {

// A plain light scheme. Roles: 1 window background (255,255,255), 2 window
// text (0,0,0), 3 face (240,240,240), 4 light (255,255,255), 5 highlight
// (227,227,227), 6 shadow (160,160,160), 7 dark shadow (105,105,105),
// 8 selection (0,120,215), 9 selected text (255,255,255), 10 disabled text
// (109,109,109), 11 tooltip background (255,255,225), 12 tooltip text (0,0,0).
// Other roles answer the undefined colour.
class CairoSysPalette : public ISysPalette {
  public:
    _color GetColor(int role) override;
};

}  // namespace quelt::cairo
