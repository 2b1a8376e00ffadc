#pragma once

// A window without a display: its client area is an ARGB32 image surface.
// Invalidation accumulates damage; the system's next Pump() raises OnDraw
// with a painter clipped to it, then draws the scroll bars and the tooltip
// over the client, so a saved PNG shows them. Input is injected with the
// gestures a native platform would turn native input into.

#include <cairo.h>

#include <memory>
#include <string>
#include <vector>

#include "quelt/cairo/painter.h"
#include "quelt/cairo/system.h"
#include "quelt/controls/scrollbar.h"
#include "quelt/sys/window.h"

namespace quelt::cairo {

class CairoWindow;

// The tooltip: a box in the tooltip colours with its text, drawn over the
// client of its window; its position is in screen coordinates.
class CairoTooltip : public ITooltip {
  public:
    explicit CairoTooltip(CairoWindow *window) : m_window(window) {}
    void SetText(const wstring &text) override;
    void SetColor(const _color &color) override { m_color = color; }
    void SetFontColor(const _color &color) override { m_fontColor = color; }
    void SetFont(const font &f) override { m_font = f; }
    void SetPos(const point<int> &pos) override;
    // A placed tooltip's height; 0 fits the text.
    void SetHeight(int height) override { m_height = height; }
    void Show() override;
    void Hide() override;
    // The mouse is never over a headless tooltip.
    bool IsHot() override { return false; }

    bool IsShown() const { return m_shown; }
    const wstring &GetText() const { return m_text; }
    point<int> GetPos() const { return m_pos; }
    // Where it is drawn, in client coordinates (inclusive); measured with the painter.
    screen_rectangle<int> Area(IPainter &painter);
    void Draw(IPainter &painter);

  private:
    void Damage();

    CairoWindow *m_window;
    wstring m_text;
    _color m_color;
    _color m_fontColor;
    font m_font;
    point<int> m_pos;
    int m_height = 0;
    bool m_shown = false;
    screen_rectangle<int> m_drawn{0, 0, -1, -1};
};

// A scroll bar (or the corner box) drawn over the client: two arrow boxes and
// a thumb in the face colours. Press() is the user clicking on it.
class CairoScrollBar : public CScrollBar {
  public:
    CairoScrollBar(CairoWindow *window, bool vertical, bool corner)
        : m_window(window), m_vertical(vertical), m_corner(corner) {}
    void SetBounds(int left, int top, int right, int bottom) override;
    screen_rectangle<int> GetBounds() const override { return m_bounds; }
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void SetScrollInfo(const ScrollInfo &info) override;
    void SetScrollPos(int pos) override;

    bool IsVisible() const { return m_visible; }
    bool IsEnabled() const { return m_enabled; }
    int GetPos() const { return m_pos; }
    const ScrollInfo &GetInfo() const { return m_info; }
    bool Contains(int x, int y) const;
    // A click at (x, y), client coordinates: the arrows move a line, the track a page.
    void Press(int x, int y);
    // The user drags the thumb to pos (ThumbTrack), or drops it there (ThumbPosition).
    void Drag(int pos, bool drop);
    void Draw(IPainter &painter);

  private:
    void Report(CScrollEvent::ScrollAction action, double value);
    void Damage();
    // The thumb's extent along the bar, in client pixels.
    void Thumb(int &from, int &to) const;

    CairoWindow *m_window;
    bool m_vertical;
    bool m_corner;
    screen_rectangle<int> m_bounds{0, 0, -1, -1};
    ScrollInfo m_info;
    int m_pos = 0;
    bool m_visible = false;
    bool m_enabled = true;
};

class CairoWindow : public CSysWindow {
  public:
    // A top-level window at (0, 0) on the screen; needs a current CairoSystem.
    CairoWindow(int width, int height);
    // Raises OnDestroy unless Destroy() did, then deletes its child windows.
    ~CairoWindow() override;

    // --- gestures (client coordinates); moves also put the virtual mouse there
    void MouseMove(int x, int y, VKeyState keys = 0);
    void ButtonDown(int x, int y, MouseButton button = button::Left, VKeyState keys = keystate::LeftButton);
    void ButtonUp(int x, int y, MouseButton button = button::Left, VKeyState keys = 0);
    // Down, up, click; on a scroll bar the bar takes it.
    void Click(int x, int y, MouseButton button = button::Left, VKeyState keys = 0);
    // Down, up, double-click, up.
    void DoubleClick(int x, int y, MouseButton button = button::Left, VKeyState keys = 0);
    void Hover(int x, int y, VKeyState keys = 0);
    void Wheel(int x, int y, int delta, VKeyState keys = 0);
    void Leave();
    // Tab moves the focus on (back with shift) unless a receiver stopped the key.
    void KeyDown(int key, VKeyState keys = 0, unsigned short character = 0);
    void KeyUp(int key, VKeyState keys = 0, unsigned short character = 0);
    void Char(unsigned short character, VKeyState keys = 0);
    void Resize(int width, int height);
    void Move(int x, int y);
    // Screen coordinates.
    void ContextMenu(int x, int y);
    // Thread-safe: the custom event reaches the window on the loop's thread (unless it is gone by then).
    void PostCustomEvent(int id, void *data = nullptr);
    void SysColorChanged();
    // The native window closes: OnDestroy, once.
    void Destroy();

    // --- pixels
    // Paints what is damaged first; false when the file cannot be written.
    bool SavePng(const char *path);
    cairo_surface_t *GetSurface() const { return m_surface; }
    // A client pixel as it is now; the undefined colour outside.
    _color GetPixel(int x, int y) const;
    // Paints the damaged area now; false when there was nothing to paint.
    bool PaintDamage();
    // The damaged area, inclusive (right < left when none).
    screen_rectangle<int> GetDamage() const { return m_damage; }
    CairoTooltip &Tooltip() { return m_tooltip; }
    CairoScrollBar &VertBar() { return *m_vert; }
    CairoScrollBar &HorzBar() { return *m_horz; }
    // Adds the inclusive rectangle, clipped to the client, to the damage.
    void Damage(screen_rectangle<int> area);

    // --- ICanvas and ISysWindow
    bool HasMultiPainterSupport() override { return true; }
    quelt_ptr<IPainter> CreatePainter() override;
    IPainter *TakeDefPainter() override { return m_painter.get(); }
    int GetCanvasMetrics(CanvasMetrics index) const override;
    void SetBounds(const screen_rectangle<int> &bounds, bool redraw) override;
    screen_rectangle<int> GetBounds() const override { return m_bounds; }
    rectangle<int> GetBoundsRect() override { return {0, 0, Width() - 1, Height() - 1}; }
    void SetEnabled(bool enabled) override { m_enabled = enabled; }
    bool GetEnabled() override { return m_enabled; }
    void SetVisible(bool visible) override;
    bool GetVisible() override { return m_visible; }
    bool IsFocused() override;
    void SetFocus() override;
    void SetWindowMode(bool mode) override { m_windowMode = mode; }
    bool GetWindowMode() override { return m_windowMode; }
    void ClientToScreen(point<int> &p) override;
    void ScreenToClient(point<int> &p) override;
    void SetBorderStyle(BorderStyle style) override { m_borderStyle = style; }
    BorderStyle GetBorderStyle() override { return m_borderStyle; }
    // Copies the pixels and damages the strip the move exposed.
    void DoScrollContent(int dx, int dy, int left, int top, int right, int bottom) override;
    // A CairoMenu drawn over this window's client while it is shown.
    quelt_ptr<IPopupMenu> CreatePopupMenu() override;
    void DoInvalidate(int left, int top, int right, int bottom) override;
    // Damages the rectangle and paints at once.
    void DoRefresh(int left, int top, int right, int bottom, bool flag) override;
    void LockUpdate(bool lock) override { m_locked = lock; }
    // A child window, deleted with this one; its pixels are its own surface.
    ISysWindow *CreateChildWindow() override;
    bool HasFocus() override;
    // 0 and the cursors registered with the mouse.
    bool ApplyCursor(int id) override;

  private:
    friend class CairoTooltip;
    friend class CairoScrollBar;

    CairoSystem *System() const;
    int Width() const;
    int Height() const;
    void Reallocate();
    CairoScrollBar *BarAt(int x, int y);
    static void MoveFocus(CairoSystem *system, CairoWindow *next);

    CairoTooltip m_tooltip{this};
    CairoScrollBar *m_vert;
    CairoScrollBar *m_horz;
    CairoScrollBar *m_corner;
    screen_rectangle<int> m_bounds;
    screen_rectangle<int> m_damage{0, 0, -1, -1};
    cairo_surface_t *m_surface = nullptr;
    std::unique_ptr<CairoPainter> m_painter;
    CairoWindow *m_parent = nullptr;
    std::vector<CairoWindow *> m_children;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    BorderStyle m_borderStyle = NoBorder;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_windowMode = false;
    bool m_locked = false;
    bool m_destroyed = false;
};

}  // namespace quelt::cairo
