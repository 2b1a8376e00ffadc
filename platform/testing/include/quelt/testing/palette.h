#pragma once

#include <map>

#include "quelt/paint/palette.h"

namespace quelt::testing {

// A system palette with a colour per role, each settable, that counts every
// lookup. It starts with these colours, distinct so tests can tell roles apart:
//   1 (0,0,0)  2 (0,120,215)  3 (240,240,240)  4 (255,255,255)  5 (227,227,227)
//   6 (160,160,160)  7 (105,105,105)  8 (0,0,0)  9 (255,255,255)  10 (109,109,109)
//   11 (255,255,225)  12 (0,0,0)  (all alpha 255)
// A role without a colour answers the undefined colour. It does not install
// itself: call SetSysPallete.
class FixedSysPalette : public ISysPalette {
  public:
    FixedSysPalette();

    _color GetColor(int role) override;

    void SetColor(int role, _color color) { m_colors[role] = color; }
    // Every lookup so far, and those of one role.
    int Calls() const { return m_calls; }
    int Calls(int role) const;
    void ResetCalls();

  private:
    std::map<int, _color> m_colors;
    std::map<int, int> m_callsByRole;
    int m_calls = 0;
};

}  // namespace quelt::testing
