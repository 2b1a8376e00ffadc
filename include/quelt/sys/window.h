#pragma once

// One native window as the library sees it, and the bookkeeping half of
// every platform window: events, tooltips, scroll axes and bars, cursor and
// container links.

#include <memory>

#include "quelt/core/base.h"
#include "quelt/core/config.h"
#include "quelt/core/events.h"
#include "quelt/core/wstring.h"
#include "quelt/paint/attributes.h"
#include "quelt/paint/canvas.h"
#include "quelt/paint/color.h"
#include "quelt/paint/geometry.h"
#include "quelt/paint/painter.h"
#include "quelt/sys/container.h"
#include "quelt/sys/notify.h"
#include "quelt/sys/scroll.h"
#include "quelt/sys/scrollbar.h"
#include "quelt/sys/system.h"

namespace quelt {

class IBorder;
class IPopupMenu;

class QUELT_API ISysWindow : public CBase, public ICanvas, public IEventSender {
  public:
    enum ScrollType : int { HorzScroll = 0, VertScroll = 1 };
    // Per axis: shown while the content is larger than the view, always, or
    // (any other value) never.
    enum ScrollState : int { ScrollAuto = 0, ScrollAlways = 1, ScrollNever = 2 };
    // Which bars may show at all.
    enum ScrollCondition : int { ScrollBoth = 0, ScrollVertOnly = 1, ScrollHorzOnly = 2, ScrollNone = 3 };
    // Passed through to the platform.
    enum BorderStyle : int { NoBorder = 0 };

    ISysWindow() = default;
    ISysWindow(const ISysWindow &other)
        : CBase(other), ICanvas(other), IEventSender(other), m_pHandle(other.m_pHandle) {}
    ISysWindow &operator=(const ISysWindow &other) {
        m_pHandle = other.m_pHandle;
        return *this;
    }

    // Bounds inclusive, in the parent's client coordinates.
    virtual void SetBounds(const screen_rectangle<int> &bounds, bool redraw) = 0;
    virtual screen_rectangle<int> GetBounds() const = 0;
    // The client rectangle, corners inclusive.
    virtual rectangle<int> GetBoundsRect() = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool GetEnabled() = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool GetVisible() = 0;
    virtual bool IsFocused() = 0;
    virtual void SetFocus() = 0;
    virtual void SetWindowMode(bool mode) = 0;
    virtual bool GetWindowMode() = 0;
    virtual void SetEnableTooltip(bool enable) = 0;
    virtual bool GetEnableTooltip() = 0;
    virtual void SetTooltipDelay(int delay) = 0;
    virtual int GetTooltipDelay() = 0;
    virtual void ShowTooltip(int x, int y, const wstring &text, _color color, _color fontColor,
                             const font &f) = 0;
    virtual void TrackTooltip(int x, int y, const wstring &text) = 0;
    virtual void HideTooltip() = 0;
    virtual void HideTooltipEx() = 0;
    virtual void SetUpdateOnResize(bool update) = 0;
    virtual bool GetUpdateOnResize() = 0;
    virtual void ClientToScreen(point<int> &p) = 0;
    virtual void ScreenToClient(point<int> &p) = 0;
    virtual void SetBorderStyle(BorderStyle style) = 0;
    virtual BorderStyle GetBorderStyle() = 0;
    virtual void DoScrollContent(int dx, int dy, int left, int top, int right, int bottom) = 0;
    virtual bool GetScrollVisible(ScrollType type) = 0;
    virtual void SetScrollInfo(ScrollType type, const ScrollInfo &info) = 0;
    virtual void GetScrollInfo(ScrollType type, ScrollInfo &info) const = 0;
    virtual void SetScrollPos(ScrollType type, const ScrollPos &pos) = 0;
    virtual void GetScrollPos(ScrollType type, ScrollPos &pos) const = 0;
    virtual void SetScrollState(ScrollType type, ScrollState state) = 0;
    virtual ScrollState GetScrollState(ScrollType type) = 0;
    virtual void SetScrollCondition(ScrollCondition condition) = 0;
    virtual ScrollCondition GetScrollCondition() = 0;
    virtual void SetScrollVal(ScrollType type, double value) = 0;
    // Both values are positions, not offsets.
    virtual void ScrollBy(double x, double y) = 0;
    virtual void SetCursor(int id) = 0;
    virtual int GetCursor() = 0;
    // A new popup menu owned by the caller.
    virtual quelt_ptr<IPopupMenu> CreatePopupMenu() = 0;
    virtual void DoInvalidate(int left, int top, int right, int bottom) = 0;
    virtual void DoRefresh(int left, int top, int right, int bottom, bool flag) = 0;
    // True suspends repainting, false resumes it.
    virtual void LockUpdate(bool lock) = 0;
    virtual IBorder *CreateBorder() = 0;
    // A native child window inside this one.
    virtual ISysWindow *CreateChildWindow() = 0;
    // This window or one inside it has the keyboard focus.
    virtual bool HasFocus() = 0;

    void ScrollContent(int dx, int dy, const screen_rectangle<int> &r);
    void ScrollContent(int dx, int dy);
    void Invalidate(rectangle<int> r);
    void Invalidate();
    void Refresh(rectangle<int> r, bool flag);
    void Refresh(bool flag);
    // Replaces the registered owner; null allowed.
    void RegisterHandle(IHandle *handle) { m_pHandle = handle; }
    // The registered owner's handle, null without one.
    void *GetHandle() const { return m_pHandle ? m_pHandle->GetHandle() : nullptr; }

  private:
    IHandle *m_pHandle = nullptr;
};

// The platform's tooltip window.
class QUELT_API ITooltip {
  public:
    virtual ~ITooltip();
    virtual void SetText(const wstring &text) = 0;
    // The background.
    virtual void SetColor(const _color &color) = 0;
    virtual void SetFontColor(const _color &color) = 0;
    virtual void SetFont(const font &f) = 0;
    // Screen coordinates.
    virtual void SetPos(const point<int> &pos) = 0;
    virtual void SetHeight(int height) = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    // Moves to (x, y), then shows text.
    virtual void Track(int x, int y, const wstring &text);
    // While true the window leaves the tooltip alone when the mouse goes.
    virtual bool IsHot() = 0;
};

// The bookkeeping half of a platform window. The platform subclass creates
// the native window, its tooltip and bars, feeds native input into the
// protected raise and processing operations, and implements the rest.
//
// Handlers may close the window they are called from: Release() waits until
// every entry point of the window has returned.
class QUELT_API CSysWindow : public CImplEventSender<ISysWindow>,
                             public CTooltipTimerNotify,
                             public CVertScrollBarNotify,
                             public CHorzScrollBarNotify {
  public:
    // Throws WindowException when no system is installed.
    CSysWindow();
    ~CSysWindow() override;
    CSysWindow(const CSysWindow &) = delete;
    CSysWindow &operator=(const CSysWindow &) = delete;

    // Deletes the window, once no entry point of it is running any more.
    void Release() override;

    void SetEnableTooltip(bool enable) override;
    bool GetEnableTooltip() override;
    void SetTooltipDelay(int delay) override { m_tooltipDelay = delay; }
    int GetTooltipDelay() override { return m_tooltipDelay; }
    void ShowTooltip(int x, int y, const wstring &text, _color color, _color fontColor,
                     const font &f) override;
    void TrackTooltip(int x, int y, const wstring &text) override;
    void HideTooltip() override;
    void HideTooltipEx() override;
    void SetUpdateOnResize(bool update) override { m_updateOnResize = update; }
    bool GetUpdateOnResize() override { return m_updateOnResize; }
    bool GetScrollVisible(ScrollType type) override;
    void SetScrollInfo(ScrollType type, const ScrollInfo &info) override;
    void GetScrollInfo(ScrollType type, ScrollInfo &info) const override;
    void SetScrollPos(ScrollType type, const ScrollPos &pos) override;
    void GetScrollPos(ScrollType type, ScrollPos &pos) const override;
    void SetScrollState(ScrollType type, ScrollState state) override;
    ScrollState GetScrollState(ScrollType type) override;
    void SetScrollCondition(ScrollCondition condition) override;
    ScrollCondition GetScrollCondition() override { return m_scrollCondition; }
    void SetScrollVal(ScrollType type, double value) override;
    void ScrollBy(double x, double y) override;
    // The id is kept only when the platform could show the cursor.
    void SetCursor(int id) override;
    int GetCursor() override { return m_cursor; }
    // A border container for this window, owned by the caller; it becomes
    // the window's child container.
    IBorder *CreateBorder() override;
    // Shows the cursor id and reports success.
    virtual bool ApplyCursor(int id) = 0;

    void SetParentContainer(CBaseContainer *container) { m_pParentContainer = container; }
    CBaseContainer *GetParentContainer() const { return m_pParentContainer; }
    // The container that lays out and tabs through this window's children.
    void SetChildContainer(CBaseContainer *container) { m_pChildContainer = container; }
    CBaseContainer *GetChildContainer() const { return m_pChildContainer; }

    // The focus leaves this window in the given direction.
    void GetFocusChange(bool forward);
    // The focus enters this window from outside.
    void SetFocusChange(bool forward);
    // A tab key press in this window.
    void ProcessTab(bool forward);

  protected:
    // Keeps the window alive while a native event is being handled; the
    // platform opens one around each event it feeds in. Alive() turns false
    // when the window was deleted outright meanwhile: touch nothing then.
    class QUELT_API EntryScope {
      public:
        explicit EntryScope(CSysWindow *window);
        ~EntryScope();
        EntryScope(const EntryScope &) = delete;
        EntryScope &operator=(const EntryScope &) = delete;
        bool Alive() const;

      private:
        struct State;
        friend class CSysWindow;
        CSysWindow *m_pWindow;
        std::shared_ptr<State> m_pState;
    };

    // A platform window whose destructor raises events (OnDestroy) calls this
    // first, so that a receiver releasing the window then deletes nothing.
    void MarkDestroying();

    void NotifyOnDraw(IPainter *painter);
    void NotifyOnButtonDown(CMouseEvent *event);
    void NotifyOnButtonUp(CMouseEvent *event);
    void NotifyOnMouseMove(CMouseEvent *event);
    void NotifyOnWheel(CMouseWheelEvent *event);
    void NotifyOnClick(CMouseEvent *event);
    void NotifyOnDoubleClick(CMouseEvent *event);
    void NotifyOnHover(CMouseEvent *event);
    void NotifyOnLeave(CMouseEvent *event);
    void NotifyOnKeyDown(CKeyboardEvent *event);
    void NotifyOnKeyUp(CKeyboardEvent *event);
    void NotifyOnChar(CKeyboardEvent *event);
    void NotifyOnResize(CWindowEvent *event);
    void NotifyOnMove(CWindowEvent *event);
    void NotifyOnDestroy(CWindowEvent *event);
    void NotifyOnShow(CWindowEvent *event);
    void NotifyOnHide(CWindowEvent *event);
    void NotifyOnGetFocus(CFocusEvent *event);
    void NotifyOnLostFocus(CFocusEvent *event);
    void NotifyOnContextMenu(CContextMenuEvent *event);
    void NotifyOnTooltip(CTooltipEvent *event);
    void NotifyOnTooltipTrack(CTooltipEvent *event);
    void NotifyOnVertScroll(CScrollEvent *event);
    void NotifyOnHorzScroll(CScrollEvent *event);
    void NotifyOnCustomEvent(CCustomEvent *event);
    void NotifyOnSysColorChanged(CEvent *event);

    // Native input, in client coordinates, as every platform feeds it in.
    // Each opens an entry scope: a handler that deletes the window ends the
    // sequence there.
    // OnMouseMove, then the tooltip follows the mouse.
    void NativeMouseMove(int x, int y, VKeyState keys);
    // OnButtonDown alone.
    void NativeButtonDown(int x, int y, MouseButton button, VKeyState keys);
    // OnButtonUp alone.
    void NativeButtonUp(int x, int y, MouseButton button, VKeyState keys);
    // Down (keys plus the button's pressed bit), up, click.
    void NativeClick(int x, int y, MouseButton button, VKeyState keys);
    // Down (keys plus the button's pressed bit), up, double-click, up.
    void NativeDoubleClick(int x, int y, MouseButton button, VKeyState keys);
    // OnHover alone.
    void NativeHover(int x, int y, VKeyState keys);
    // OnWheel; a notch is 120, positive away from the user.
    void NativeWheel(int x, int y, int delta, VKeyState keys);
    // OnLeave at (-1, -1), then the tooltip hides.
    void NativeLeave();
    // OnKeyDown; Tab then moves the focus on (back with Shift) unless a
    // receiver stopped the event or asked the platform to skip the key.
    void NativeKeyDown(int key, VKeyState keys, unsigned short character);
    // OnKeyUp alone.
    void NativeKeyUp(int key, VKeyState keys, unsigned short character);
    // OnChar with one UTF-16 unit.
    void NativeChar(unsigned short character, VKeyState keys);
    // OnResize with the new client size, then the scroll bars follow it.
    void NativeResize(int width, int height);

    // The mouse moved to (x, y), client coordinates.
    void ProcessTooltipMouseMove(int x, int y);
    // The mouse left the window.
    void ProcessHideTooltip();
    // Borrowed; null hides nothing but forgets the query state.
    void SetTooltip(ITooltip *tooltip);

    void RefreshScroll(bool unused);
    void SetScrollEmpty();
    // Listens to both bars, once each.
    void SubscribeScrollBars();
    // Owned from now on; the old ones are released.
    void SetScrollBars(quelt_ptr<IScrollBar> vert, quelt_ptr<IScrollBar> horz,
                       quelt_ptr<ICustomControl> corner);
    double GetScrollScale(ScrollType type) const;
    void InternalSetScrollStateX(int min, int max, int page, int step, int pos, bool enabled);
    void InternalSetScrollStateY(int min, int max, int page, int step, int pos, bool enabled);
    void InternalSetScrollValX(int pos);
    void InternalSetScrollValY(int pos);
    void InternalSetScrollCond(bool showH, bool showV, bool needH, bool needV);

  private:
    friend class CBaseContainer;

    struct Axis {
        CScrollConverter converter;
        CPosManager placement;
        ScrollState state = ScrollAuto;
        double scale = 0;
        bool visible = false;
    };

    void OnTooltipTimer(CTimerEvent *event) override;
    void VertScrollBarOnScroll(CScrollEvent *event) override;
    void HorzScrollBarOnScroll(CScrollEvent *event) override;

    bool IsHorzScrollCanVisible() const;
    bool IsVertScrollCanVisible() const;
    static bool IsAxis(ScrollType type) { return type == HorzScroll || type == VertScroll; }
    // Moves an axis to the bar's value n and reports it.
    void BarScrolled(ScrollType type, CScrollEvent *event);
    void SetBarInfo(IScrollBar *bar, int min, int max, int page, int step, int pos, bool enabled);
    // Down (keys plus the button's pressed bit), up, then the click raise
    // names; false once a receiver destroyed the window.
    bool NativePress(int x, int y, MouseButton button, VKeyState keys,
                     void (CSysWindow::*raise)(CMouseEvent *));
    void StopTooltipTimer();
    // The mouse in screen coordinates; fallback without a system or mouse.
    point<int> MousePosition(point<int> fallback);
    // The tooltip query once the mouse left the hot rectangle.
    void QueryTooltip(int x, int y, point<int> screen, EntryScope &scope);
    void TrackInHotRectangle(int x, int y, point<int> screen, EntryScope &scope);

    int m_cursor = 0;
    screen_rectangle<int> m_tooltipHot;
    screen_rectangle<int> m_tooltipPlace;
    wstring m_tooltipText;
    bool m_tooltipTracking = false;
    point<int> m_lastMouse;
    ITooltip *m_pTooltip = nullptr;
    CBaseContainer *m_pChildContainer = nullptr;
    CBaseContainer *m_pParentContainer = nullptr;
    bool m_updateOnResize = true;
    bool m_tooltipEnabled = true;
    quelt_ptr<ISysTimer> m_pTooltipTimer;
    Axis m_axes[2];
    quelt_ptr<IScrollBar> m_pVertBar;
    quelt_ptr<IScrollBar> m_pHorzBar;
    quelt_ptr<ICustomControl> m_pCorner;
    int m_tooltipDelay = 300;
    ScrollCondition m_scrollCondition = ScrollBoth;
    std::shared_ptr<EntryScope::State> m_pEntries;
};

}  // namespace quelt
