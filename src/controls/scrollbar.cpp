#include "quelt/controls/scrollbar.h"

#include <typeinfo>

namespace quelt {

CScrollBar::CScrollBar() { AddEventType(typeid(IScrollBarNotify)); }

void CScrollBar::NotifyScrollBarOnScroll(CScrollEvent *event) {
    Fire<&IScrollBarNotify::ScrollBarOnScroll>(event, true);
}

}  // namespace quelt
