#pragma once

// The base of every visualisation control: it lives on a system window it
// does not own, hears all of that window's events and raises them again to
// its own subscribers, and prints itself.

#include "quelt/core/base.h"
#include "quelt/core/config.h"
#include "quelt/core/events.h"
#include "quelt/core/wstring.h"
#include "quelt/paint/geometry.h"
#include "quelt/print/printer.h"
#include "quelt/sys/notify.h"
#include "quelt/sys/system.h"
#include "quelt/sys/window.h"

namespace quelt {

// Images a control draws from; the library only passes it around.
class QUELT_API IImageList {
  public:
    virtual ~IImageList();
};

// A long-lived object that raises events.
class QUELT_API CQueltBase : public CBase, public CImplEventSender<IEventSender> {};

// The window receiver of a control, which also hears its window let go of it.
class QUELT_API CControlWindowNotify : public CWindowNotify {
  public:
    void OnUnsubscribe(IEventSender *sender) override;

  protected:
    // sender no longer lists this receiver.
    virtual void OnWindowDropped(IEventSender *sender) = 0;
};

class QUELT_API CQueltControl : public CQueltBase,
                                public IHandle,
                                public CDrawingNotify,
                                public CMouseNotify,
                                public CMouseClickNotify,
                                public CMouseHoverNotify,
                                public CKeyboardNotify,
                                public CControlWindowNotify,
                                public CFocusNotify,
                                public CTimerNotify,
                                public CContextMenuNotify,
                                public CTooltipNotify,
                                public CScrollNotify,
                                public CCustomEventNotify,
                                public CPrintSupport,
                                public CSystemNotify {
  public:
    using ScrollbarCondition = ISysWindow::ScrollCondition;

    // A null window gives a detached control (SetSysWindow attaches it later).
    CQueltControl(ISysWindow *window, bool mode);
    // Unlocks and forgets the window it still has; the window lives on.
    ~CQueltControl() override;
    CQueltControl(const CQueltControl &) = delete;
    CQueltControl &operator=(const CQueltControl &) = delete;

    virtual void Refresh();
    virtual void Invalidate();
    // Moves the control to window; null only detaches.
    virtual void SetSysWindow(ISysWindow *window);
    virtual bool CanBeFocused() const { return true; }

    // Null once the window has gone or let go of the control.
    ISysWindow *GetSysWindow() const { return m_pWindow; }
    // The control itself, as a CQueltControl*.
    void *GetHandle() const override;

    // --- the window's properties; defaults without a window
    rectangle<int> GetBoundsRect() const;
    int GetWidth() const;
    int GetHeight() const;
    void SetEnabled(bool enabled);
    bool GetEnabled() const;
    void SetVisible(bool visible);
    bool GetVisible() const;
    bool IsFocused() const;
    // True: both bars show only when needed; false: always.
    void SetHideScrollbars(bool hide);
    bool GetHideScrollbars() const;
    void SetScrollbarCondition(ScrollbarCondition condition);
    ScrollbarCondition GetScrollbarCondition() const;
    void SetBorderStyle(ISysWindow::BorderStyle style);
    ISysWindow::BorderStyle GetBorderStyle() const;

    // --- own state
    // Another list invalidates.
    void SetImageList(IImageList *list);
    IImageList *GetImageList() const { return m_pImageList; }
    void SetControlTag(const wstring &tag) { m_tag = tag; }
    wstring GetControlTag() const { return m_tag; }
    // Nested: only the outermost pair locks and unlocks the window.
    void BeginUpdate();
    void EndUpdate();
    // Prints on the current system's printer: page by page or in one call
    // when this control's print support says so, else as drawn on screen.
    void Print();

    // --- handlers: each raises its event again on this control
    void OnDraw(IPainter *painter) override;
    void OnResize(CWindowEvent *event) override;
    void OnMove(CWindowEvent *event) override;
    // The control's own window going: the control forgets it first.
    void OnDestroy(CWindowEvent *event) override;
    void OnShow(CWindowEvent *event) override;
    void OnHide(CWindowEvent *event) override;
    void OnGetFocus(CFocusEvent *event) override;
    void OnLostFocus(CFocusEvent *event) override;
    void OnButtonDown(CMouseEvent *event) override;
    void OnButtonUp(CMouseEvent *event) override;
    void OnMouseMove(CMouseEvent *event) override;
    void OnWheel(CMouseWheelEvent *event) override;
    void OnClick(CMouseEvent *event) override;
    void OnDoubleClick(CMouseEvent *event) override;
    void OnHover(CMouseEvent *event) override;
    void OnLeave(CMouseEvent *event) override;
    void OnKeyDown(CKeyboardEvent *event) override;
    void OnKeyUp(CKeyboardEvent *event) override;
    void OnChar(CKeyboardEvent *event) override;
    void OnTooltip(CTooltipEvent *event) override;
    void OnTooltipTrack(CTooltipEvent *event) override;
    void OnHorzScroll(CScrollEvent *event) override;
    void OnVertScroll(CScrollEvent *event) override;
    void OnContextMenu(CContextMenuEvent *event) override;
    // Reaches subscribers only once the host added ISystemNotify to the control.
    void OnSysColorChanged(CEvent *event) override;

  protected:
    virtual void InternalBeginUpdate() {}
    virtual void InternalEndUpdate() {}
    // The current system's mouse at construction, for cursor images; may be null.
    ISysMouse *GetMouse() const { return m_pMouse; }
    int GetUpdateLockCount() const { return m_lockCount; }

  private:
    void OnWindowDropped(IEventSender *sender) override;
    void Attach(ISysWindow *window, bool mode);
    // Unsubscribes from the window and leaves it as the control found it.
    void Leave(ISysWindow *window);
    void Forget();

    ISysWindow *m_pWindow = nullptr;
    // The window as a sender: compared with, never called, when it may be dying.
    IEventSender *m_pWindowSender = nullptr;
    ISysMouse *m_pMouse = nullptr;
    IImageList *m_pImageList = nullptr;
    int m_lockCount = 0;
    wstring m_tag;
    // The window mode last set, for a move from a window that is gone.
    bool m_mode = false;
};

}  // namespace quelt
