#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "quelt/controls/scrollbar.h"
#include "quelt/sys/window.h"
#include "quelt/testing/calllog.h"
#include "quelt/testing/painter.h"
#include "quelt/testing/system.h"

namespace quelt::testing {

// A tooltip that logs every call and remembers what it shows.
class ScriptedTooltip : public ITooltip {
  public:
    ScriptedTooltip(std::shared_ptr<CallLog> log, std::string name)
        : m_pLog(std::move(log)), m_name(std::move(name)) {}
    void SetText(const wstring &text) override;
    void SetColor(const _color &color) override;
    void SetFontColor(const _color &color) override;
    void SetFont(const font &f) override;
    void SetPos(const point<int> &pos) override;
    void SetHeight(int height) override;
    void Show() override;
    void Hide() override;
    bool IsHot() override;

    void SetHot(bool hot) { m_hot = hot; }
    bool IsShown() const { return m_shown; }
    const wstring &GetText() const { return m_text; }
    point<int> GetPos() const { return m_pos; }

  private:
    std::shared_ptr<CallLog> m_pLog;
    std::string m_name;
    wstring m_text;
    point<int> m_pos;
    bool m_shown = false;
    bool m_hot = false;
};

// A scroll bar (or the corner box) that logs every call; Scroll() is the user
// moving it.
class ScriptedScrollBar : public CScrollBar {
  public:
    ScriptedScrollBar(std::shared_ptr<CallLog> log, std::string name)
        : m_pLog(std::move(log)), m_name(std::move(name)) {}
    void SetBounds(int left, int top, int right, int bottom) override;
    screen_rectangle<int> GetBounds() const override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void SetScrollInfo(const ScrollInfo &info) override;
    void SetScrollPos(int pos) override;

    // Raises ScrollBarOnScroll with the action and the bar's value.
    void Scroll(CScrollEvent::ScrollAction action, double value);
    bool IsVisible() const { return m_visible; }
    bool IsEnabled() const { return m_enabled; }
    const ScrollInfo &GetInfo() const { return m_info; }
    int GetPos() const { return m_pos; }

  private:
    std::shared_ptr<CallLog> m_pLog;
    std::string m_name;
    screen_rectangle<int> m_bounds;
    ScrollInfo m_info;
    int m_pos = 0;
    bool m_visible = false;
    bool m_enabled = true;
};

// A window without a display. Gestures run what a native platform runs for
// that input; every platform operation the library calls is a line of the log
// (the current scripted system's, or the window's own without one). A
// top-level window's bounds are in screen coordinates, a child's in its
// parent's client coordinates; the client area is the bounds' size.
class ScriptedWindow : public CSysWindow {
  public:
    // Made with a tooltip, two bars and a corner box, at (0, 0) on the screen.
    explicit ScriptedWindow(std::string name = "window", int width = 100, int height = 50);
    // Raises OnDestroy unless Destroy() did, then destroys its child windows.
    ~ScriptedWindow() override;

    // --- gestures (client coordinates)
    void MouseMove(int x, int y, VKeyState keys = 0);
    void ButtonDown(int x, int y, MouseButton button = button::Left, VKeyState keys = keystate::LeftButton);
    void ButtonUp(int x, int y, MouseButton button = button::Left, VKeyState keys = 0);
    // Down, up, click.
    void Click(int x, int y, MouseButton button = button::Left, VKeyState keys = 0);
    // Down, up, double-click, up.
    void DoubleClick(int x, int y, MouseButton button = button::Left, VKeyState keys = 0);
    void Hover(int x, int y, VKeyState keys = 0);
    void Wheel(int x, int y, int delta, VKeyState keys = 0);
    // The mouse left the window.
    void Leave();
    // Tab moves the focus on (back with shift) unless a receiver stopped the
    // key or asked the platform to skip its own handling (Ignore).
    void KeyDown(int key, VKeyState keys = 0, unsigned short character = 0);
    void KeyUp(int key, VKeyState keys = 0, unsigned short character = 0);
    void Char(unsigned short character, VKeyState keys = 0);
    // The new client size; then the bars are placed again.
    void Resize(int width, int height);
    // The new position of the bounds' top-left corner.
    void Move(int x, int y);
    // Screen coordinates.
    void ContextMenu(int x, int y);
    // Delivers a custom event, then destroys it.
    void Post(int id, void *data = nullptr);
    // Paints the client area as a native paint does: the update rectangle,
    // BeginPaint (settings 1, the screen), OnDraw, EndPaint. Null paints with
    // the window's own recording painter.
    void Draw(IPainter *painter = nullptr);
    void SysColorChanged();
    // The native window closes: OnDestroy, once.
    void Destroy();

    // --- script and inspection
    CallLog &Log() { return *m_pLog; }
    const std::string &GetName() const { return m_name; }
    ScriptedTooltip &Tooltip() { return m_tooltip; }
    ScriptedScrollBar &VertBar() { return *m_pVert; }
    ScriptedScrollBar &HorzBar() { return *m_pHorz; }
    ScriptedScrollBar &Corner() { return *m_pCorner; }
    // The painter TakeDefPainter hands out; its paint rectangle is the client area.
    RecordingPainter &DefaultPainter() { return m_painter; }
    void SetApplyCursor(bool succeeds) { m_applyCursor = succeeds; }
    void SetCanvasMetrics(CanvasMetrics index, int value) { m_metrics[index] = value; }
    std::vector<ScriptedWindow *> Children() const { return m_children; }
    bool IsDestroyed() const { return m_destroyed; }

    using CSysWindow::GetScrollScale;
    using CSysWindow::RefreshScroll;
    using CSysWindow::SetScrollEmpty;
    using CSysWindow::SetTooltip;
    using CSysWindow::SubscribeScrollBars;

    // --- ICanvas and ISysWindow
    bool HasMultiPainterSupport() override;
    quelt_ptr<IPainter> CreatePainter() override;
    IPainter *TakeDefPainter() override;
    int GetCanvasMetrics(CanvasMetrics index) const override;
    void SetBounds(const screen_rectangle<int> &bounds, bool redraw) override;
    screen_rectangle<int> GetBounds() const override;
    rectangle<int> GetBoundsRect() override;
    void SetEnabled(bool enabled) override;
    bool GetEnabled() override;
    void SetVisible(bool visible) override;
    bool GetVisible() override;
    bool IsFocused() override;
    void SetFocus() override;
    void SetWindowMode(bool mode) override;
    bool GetWindowMode() override;
    void ClientToScreen(point<int> &p) override;
    void ScreenToClient(point<int> &p) override;
    void SetBorderStyle(BorderStyle style) override;
    BorderStyle GetBorderStyle() override;
    void DoScrollContent(int dx, int dy, int left, int top, int right, int bottom) override;
    quelt_ptr<IPopupMenu> CreatePopupMenu() override;
    void DoInvalidate(int left, int top, int right, int bottom) override;
    void DoRefresh(int left, int top, int right, int bottom, bool flag) override;
    void LockUpdate(bool lock) override;
    ISysWindow *CreateChildWindow() override;
    bool HasFocus() override;
    bool ApplyCursor(int id) override;

  private:
    void Add(const std::string &line) { m_pLog->Add(line); }
    ScriptedSystem *System() const;
    // The focus moves to next (null: nowhere) with the two focus events.
    static void MoveFocus(ScriptedSystem *system, ScriptedWindow *next);

    std::shared_ptr<CallLog> m_pLog;
    std::string m_name;
    ScriptedTooltip m_tooltip;
    RecordingPainter m_painter{this};
    ScriptedScrollBar *m_pVert;
    ScriptedScrollBar *m_pHorz;
    ScriptedScrollBar *m_pCorner;
    screen_rectangle<int> m_bounds;
    ScriptedWindow *m_pParentWindow = nullptr;
    std::vector<ScriptedWindow *> m_children;
    std::map<int, int> m_metrics;
    BorderStyle m_borderStyle = NoBorder;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_windowMode = false;
    bool m_applyCursor = true;
    bool m_destroyed = false;
    int m_menus = 0;
};

}  // namespace quelt::testing
