#include "quelt/testing/palette.h"

namespace quelt::testing {

FixedSysPalette::FixedSysPalette()
    : m_colors{
          {1, _color(0, 0, 0, 255)},        {2, _color(0, 120, 215, 255)},    {3, _color(240, 240, 240, 255)},
          {4, _color(255, 255, 255, 255)},  {5, _color(227, 227, 227, 255)},  {6, _color(160, 160, 160, 255)},
          {7, _color(105, 105, 105, 255)},  {8, _color(0, 0, 0, 255)},        {9, _color(255, 255, 255, 255)},
          {10, _color(109, 109, 109, 255)}, {11, _color(255, 255, 225, 255)}, {12, _color(0, 0, 0, 255)}} {}

_color FixedSysPalette::GetColor(int role) {
    ++m_calls;
    ++m_callsByRole[role];
    const auto it = m_colors.find(role);
    return it == m_colors.end() ? _color() : it->second;
}

int FixedSysPalette::Calls(int role) const {
    const auto it = m_callsByRole.find(role);
    return it == m_callsByRole.end() ? 0 : it->second;
}

void FixedSysPalette::ResetCalls() {
    m_calls = 0;
    m_callsByRole.clear();
}

}  // namespace quelt::testing
