#include "quelt/cairo/palette.h"

#include <array>

namespace quelt::cairo {

_color CairoSysPalette::GetColor(int role) {
    static constexpr std::array<_color, LastSystemRole> kColors = {
        _color(255, 255, 255, 255), _color(0, 0, 0, 255),       _color(240, 240, 240, 255),
        _color(255, 255, 255, 255), _color(227, 227, 227, 255), _color(160, 160, 160, 255),
        _color(105, 105, 105, 255), _color(0, 120, 215, 255),   _color(255, 255, 255, 255),
        _color(109, 109, 109, 255), _color(255, 255, 225, 255), _color(0, 0, 0, 255),
    };
    if (role < FirstSystemRole || role > LastSystemRole) return _color();
    return kColors[role - FirstSystemRole];
}

}  // namespace quelt::cairo
