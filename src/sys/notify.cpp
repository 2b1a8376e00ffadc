#include "quelt/sys/notify.h"

#include "quelt/paint/palette.h"

namespace quelt {

namespace {

_color SystemColor(int role) {
    ISysPalette *palette = GetSysPallete();
    return palette ? palette->GetColor(role) : _color();
}

}  // namespace

CTooltipEvent::CTooltipEvent(IEventSender *source, int x, int y)
    : CEvent(source),
      m_x(x),
      m_y(y),
      m_color(SystemColor(RoleTooltipBack)),
      m_fontColor(SystemColor(RoleTooltipText)) {}

}  // namespace quelt
