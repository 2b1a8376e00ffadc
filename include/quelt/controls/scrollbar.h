#pragma once

// The library half of a native scroll bar.

#include "quelt/core/config.h"
#include "quelt/core/events.h"
#include "quelt/sys/notify.h"
#include "quelt/sys/scrollbar.h"

namespace quelt {

// The platform derives its scroll bar from this and raises the user's moves
// through NotifyScrollBarOnScroll. A bar never takes the focus.
class QUELT_API CScrollBar : public CImplEventSender<IScrollBar> {
  public:
    CScrollBar();
    void SetFocus() override {}
    bool IsFocused() const override { return false; }

  protected:
    void NotifyScrollBarOnScroll(CScrollEvent *event);
};

}  // namespace quelt
