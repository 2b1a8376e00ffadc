#pragma once

// A receiver that writes what it hears into the scripted platform's log, so
// that platform calls and notifications read in one order.

#include <functional>
#include <string>

#include "quelt/sys/window.h"
#include "quelt/testing/system.h"
#include "quelt/testing/window.h"

namespace quelt::test {

using quelt::testing::CallLog;
using quelt::testing::InstalledSystem;
using quelt::testing::ScriptedWindow;
using Lines = std::vector<std::string>;

class Listener : public CMouseNotify,
                 public CMouseClickNotify,
                 public CMouseHoverNotify,
                 public CKeyboardNotify,
                 public CWindowNotify,
                 public CFocusNotify,
                 public CTooltipNotify,
                 public CScrollNotify,
                 public CCustomEventNotify,
                 public CContextMenuNotify,
                 public CSystemNotify,
                 public CDrawingNotify {
  public:
    Listener(CallLog &log, std::string name) : m_log(log), m_name(std::move(name)) {}

    // Subscribes every interface at window (append, notify true).
    void Listen(ISysWindow *window) {
        window->Subscribe(CMouseNotify::AsNotify(), typeid(IMouseNotify), true);
        window->Subscribe(CMouseClickNotify::AsNotify(), typeid(IMouseClickNotify), true);
        window->Subscribe(CMouseHoverNotify::AsNotify(), typeid(IMouseHoverNotify), true);
        window->Subscribe(CKeyboardNotify::AsNotify(), typeid(IKeyboardNotify), true);
        window->Subscribe(CWindowNotify::AsNotify(), typeid(IWindowNotify), true);
        window->Subscribe(CFocusNotify::AsNotify(), typeid(IFocusNotify), true);
        window->Subscribe(CTooltipNotify::AsNotify(), typeid(ITooltipNotify), true);
        window->Subscribe(CScrollNotify::AsNotify(), typeid(IScrollNotify), true);
        window->Subscribe(CCustomEventNotify::AsNotify(), typeid(ICustomEventNotify), true);
        window->Subscribe(CContextMenuNotify::AsNotify(), typeid(IContextMenuNotify), true);
        window->Subscribe(CSystemNotify::AsNotify(), typeid(ISystemNotify), true);
        window->Subscribe(CDrawingNotify::AsNotify(), typeid(IDrawingNotify), true);
    }

    void OnButtonDown(CMouseEvent *e) override { Mouse("OnButtonDown", e); }
    void OnButtonUp(CMouseEvent *e) override { Mouse("OnButtonUp", e); }
    void OnMouseMove(CMouseEvent *e) override { Mouse("OnMouseMove", e); }
    void OnWheel(CMouseWheelEvent *e) override { Hear("OnWheel", e, std::to_string(e->GetDelta())); }
    void OnClick(CMouseEvent *e) override { Mouse("OnClick", e); }
    void OnDoubleClick(CMouseEvent *e) override { Mouse("OnDoubleClick", e); }
    void OnHover(CMouseEvent *e) override { Mouse("OnHover", e); }
    void OnLeave(CMouseEvent *e) override { Mouse("OnLeave", e); }
    void OnKeyDown(CKeyboardEvent *e) override { Hear("OnKeyDown", e, std::to_string(e->GetVirtualKey())); }
    void OnKeyUp(CKeyboardEvent *e) override { Hear("OnKeyUp", e, std::to_string(e->GetVirtualKey())); }
    void OnChar(CKeyboardEvent *e) override { Hear("OnChar", e, std::to_string(e->GetCharacterCode())); }
    void OnResize(CWindowEvent *e) override { Hear("OnResize", e, Pair(e->GetX(), e->GetY())); }
    void OnMove(CWindowEvent *e) override { Hear("OnMove", e, Pair(e->GetX(), e->GetY())); }
    void OnDestroy(CWindowEvent *e) override { Hear("OnDestroy", e, ""); }
    void OnShow(CWindowEvent *e) override { Hear("OnShow", e, ""); }
    void OnHide(CWindowEvent *e) override { Hear("OnHide", e, ""); }
    void OnGetFocus(CFocusEvent *e) override { Hear("OnGetFocus", e, ""); }
    void OnLostFocus(CFocusEvent *e) override { Hear("OnLostFocus", e, ""); }
    void OnTooltip(CTooltipEvent *e) override {
        Hear("OnTooltip", e, Pair(e->GetX(), e->GetY()));
        if (tooltip) tooltip(e);
    }
    void OnTooltipTrack(CTooltipEvent *e) override {
        Hear("OnTooltipTrack", e, Pair(e->GetX(), e->GetY()));
        if (tooltip) tooltip(e);
    }
    void OnHorzScroll(CScrollEvent *e) override { Scroll("OnHorzScroll", e); }
    void OnVertScroll(CScrollEvent *e) override { Scroll("OnVertScroll", e); }
    void OnCustomEvent(CCustomEvent *e) override { Hear("OnCustomEvent", e, std::to_string(e->GetID())); }
    void OnContextMenu(CContextMenuEvent *e) override { Hear("OnContextMenu", e, Pair(e->x, e->y)); }
    void OnSysColorChanged(CEvent *e) override { Hear("OnSysColorChanged", e, ""); }
    void OnDraw(IPainter *) override { m_log.Add(m_name + ".OnDraw"); }

    // Runs after any notification is logged.
    std::function<void(CEvent *)> action;
    // Fills in tooltip queries.
    std::function<void(CTooltipEvent *)> tooltip;

  private:
    static std::string Pair(int a, int b) { return std::to_string(a) + "," + std::to_string(b); }
    void Mouse(const char *what, CMouseEvent *e) { Hear(what, e, Pair(e->GetX(), e->GetY())); }
    void Scroll(const char *what, CScrollEvent *e) {
        Hear(what, e, std::to_string(e->GetAction()) + " " + quelt::testing::logtext::Arg(e->GetVal()));
    }
    void Hear(const char *what, CEvent *e, const std::string &args) {
        m_log.Add(m_name + "." + what + (args.empty() ? "" : " " + args));
        if (action) action(e);
    }

    CallLog &m_log;
    std::string m_name;
};

// The lines of the log that start with one of the prefixes.
inline Lines Only(const CallLog &log, const Lines &prefixes) { return log.Matching(prefixes); }

}  // namespace quelt::test
