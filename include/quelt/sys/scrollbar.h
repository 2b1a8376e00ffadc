#pragma once

// The control operations a window uses on its scroll bars and corner box.

#include "quelt/core/base.h"
#include "quelt/core/config.h"
#include "quelt/core/events.h"
#include "quelt/paint/geometry.h"
#include "quelt/sys/scroll.h"

namespace quelt {

class QUELT_API ICustomControl : public CBase, public IEventSender {
  public:
    // Bounds are inclusive, in the parent's client coordinates.
    virtual void SetBounds(int left, int top, int right, int bottom) = 0;
    virtual screen_rectangle<int> GetBounds() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual void SetFocus() = 0;
    virtual bool IsFocused() const = 0;
};

// Raises IScrollBarNotify when the user moves it, never for the calls below.
class QUELT_API IScrollBar : public ICustomControl {
  public:
    virtual void SetScrollInfo(const ScrollInfo &info) = 0;
    virtual void SetScrollPos(int pos) = 0;
};

}  // namespace quelt
