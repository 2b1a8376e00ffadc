#include "quelt/cairo/window.h"

#include <algorithm>

#include "cairo_p.h"
#include "quelt/cairo/menu.h"
#include "quelt/controls/menu.h"
#include "quelt/core/exceptions.h"
#include "quelt/paint/border.h"
#include "sys/bounds_p.h"

namespace quelt::cairo {

namespace {

constexpr screen_rectangle<int> kNothing{0, 0, -1, -1};

bool Empty(const screen_rectangle<int> &r) { return r.right < r.left || r.bottom < r.top; }

screen_rectangle<int> Unite(const screen_rectangle<int> &a, const screen_rectangle<int> &b) {
    if (Empty(a)) return b;
    if (Empty(b)) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

template <class T>
quelt_ptr<T> Owned(T *object) {
    return quelt_ptr<T>(object);
}

}  // namespace

// ---- tooltip ----

void CairoTooltip::SetText(const wstring &text) {
    m_text = text;
    if (m_shown) Damage();
}

void CairoTooltip::SetPos(const point<int> &pos) {
    m_pos = pos;
    if (m_shown) Damage();
}

void CairoTooltip::Show() {
    m_shown = true;
    Damage();
}

void CairoTooltip::Hide() {
    if (!m_shown) return;
    m_shown = false;
    Damage();
}

void CairoTooltip::Damage() {
    // What it covered and (once painted) what it will cover.
    m_window->Damage(m_drawn);
    if (m_shown) m_window->Damage(Area(*m_window->m_painter));
}

screen_rectangle<int> CairoTooltip::Area(IPainter &painter) {
    point<int> at = m_pos;
    m_window->ScreenToClient(at);
    const size<double> text = painter.GetTextSize(m_text, &m_font, -1, true, true);
    const int w = static_cast<int>(text.cx) + 8;
    const int h = m_height > 0 ? m_height : static_cast<int>(text.cy) + 4;
    return {at.x, at.y, at.x + w - 1, at.y + h - 1};
}

void CairoTooltip::Draw(IPainter &painter) {
    m_drawn = kNothing;
    if (!m_shown || m_text.empty()) return;
    painter.SetFont(m_font);
    const screen_rectangle<int> area = Area(painter);
    painter.SetPen(pen(OrDefault(m_fontColor, kBlack), 1, pen::Solid));
    painter.SetBrush(brush(OrDefault(m_color, _color(255, 255, 225, 255)), brush::Solid));
    painter.Rectangle(area.left, area.top, area.right, area.bottom);
    painter.SetTextColor(OrDefault(m_fontColor, kBlack));
    painter.SetTextAlign(0);
    painter.DrawString(area.left + 4, area.top + 2, m_text, -1);
    m_drawn = area;
}

// ---- scroll bar ----

void CairoScrollBar::Damage() {
    if (m_visible) m_window->Damage(m_bounds);
}

void CairoScrollBar::SetBounds(int left, int top, int right, int bottom) {
    Damage();
    m_bounds = {left, top, right, bottom};
    Damage();
}

void CairoScrollBar::SetVisible(bool visible) {
    Damage();
    m_visible = visible;
    Damage();
}

void CairoScrollBar::SetEnabled(bool enabled) {
    m_enabled = enabled;
    Damage();
}

void CairoScrollBar::SetScrollInfo(const ScrollInfo &info) {
    m_info = info;
    m_pos = static_cast<int>(info.pos);
    Damage();
}

void CairoScrollBar::SetScrollPos(int pos) {
    m_pos = pos;
    Damage();
}

bool CairoScrollBar::Contains(int x, int y) const {
    return m_visible && x >= m_bounds.left && x <= m_bounds.right && y >= m_bounds.top &&
           y <= m_bounds.bottom;
}

void CairoScrollBar::Report(CScrollEvent::ScrollAction action, double value) {
    CScrollEvent event(static_cast<IEventSender *>(this), action, value);
    NotifyScrollBarOnScroll(&event);
}

void CairoScrollBar::Thumb(int &from, int &to) const {
    const int start = m_vertical ? m_bounds.top : m_bounds.left;
    const int length = m_vertical ? m_bounds.bottom - m_bounds.top + 1 : m_bounds.right - m_bounds.left + 1;
    const int arrow = m_vertical ? m_bounds.right - m_bounds.left + 1 : m_bounds.bottom - m_bounds.top + 1;
    const double track = std::max(length - 2 * arrow, 0);
    const double range = m_info.max - m_info.min + std::max(m_info.page, 0.0);
    const double fraction = range > 0 ? std::clamp(m_info.page / range, 0.1, 1.0) : 1.0;
    const double offset = range > 0 ? (m_pos - m_info.min) / range : 0.0;
    from = start + arrow + static_cast<int>(std::clamp(offset, 0.0, 1.0 - fraction) * track);
    to = from + std::max(static_cast<int>(fraction * track), 1) - 1;
}

void CairoScrollBar::Press(int x, int y) {
    if (m_corner || !m_enabled || !Contains(x, y)) return;
    const int along = m_vertical ? y : x;
    const int start = m_vertical ? m_bounds.top : m_bounds.left;
    const int end = m_vertical ? m_bounds.bottom : m_bounds.right;
    const int arrow = m_vertical ? m_bounds.right - m_bounds.left + 1 : m_bounds.bottom - m_bounds.top + 1;
    int from = 0;
    int to = 0;
    Thumb(from, to);
    if (along < start + arrow) {
        Report(CScrollEvent::LineUp, m_pos);
    } else if (along > end - arrow) {
        Report(CScrollEvent::LineDown, m_pos);
    } else if (along < from) {
        Report(CScrollEvent::PageUp, m_pos);
    } else if (along > to) {
        Report(CScrollEvent::PageDown, m_pos);
    }
}

void CairoScrollBar::Drag(int pos, bool drop) {
    if (m_corner || !m_enabled) return;
    Report(drop ? CScrollEvent::ThumbPosition : CScrollEvent::ThumbTrack, pos);
}

void CairoScrollBar::Draw(IPainter &painter) {
    if (!m_visible || Empty(m_bounds)) return;
    painter.SetBrush(brush(painter.GetColor(RoleFace), brush::Solid));
    painter.FillRect(m_bounds.left, m_bounds.top, m_bounds.right, m_bounds.bottom);
    if (m_corner) return;
    const int arrow = m_vertical ? m_bounds.right - m_bounds.left : m_bounds.bottom - m_bounds.top;
    const auto box = [&](int l, int t, int r, int b) {
        DrawBorder(&painter, l, t, r, b, static_cast<BorderShape>(0), static_cast<BorderStyle>(1), true);
    };
    if (m_vertical) {
        box(m_bounds.left, m_bounds.top, m_bounds.right, m_bounds.top + arrow);
        box(m_bounds.left, m_bounds.bottom - arrow, m_bounds.right, m_bounds.bottom);
    } else {
        box(m_bounds.left, m_bounds.top, m_bounds.left + arrow, m_bounds.bottom);
        box(m_bounds.right - arrow, m_bounds.top, m_bounds.right, m_bounds.bottom);
    }
    if (!m_enabled) return;
    int from = 0;
    int to = 0;
    Thumb(from, to);
    if (to <= from) return;
    if (m_vertical) {
        box(m_bounds.left, from, m_bounds.right, to);
    } else {
        box(from, m_bounds.top, to, m_bounds.bottom);
    }
}

// ---- window: life ----

CairoWindow::CairoWindow(int width, int height)
    : m_vert(new CairoScrollBar(this, true, false)),
      m_horz(new CairoScrollBar(this, false, false)),
      m_corner(new CairoScrollBar(this, false, true)),
      m_bounds(0, 0, std::max(width, 1) - 1, std::max(height, 1) - 1) {
    if (!System()) throw WindowException();
    Reallocate();
    SetTooltip(&m_tooltip);
    SetScrollBars(Owned<IScrollBar>(m_vert), Owned<IScrollBar>(m_horz), Owned<ICustomControl>(m_corner));
    SubscribeScrollBars();
    System()->m_windows.push_back(this);
    Damage({0, 0, Width() - 1, Height() - 1});
}

CairoWindow::~CairoWindow() {
    MarkDestroying();
    Destroy();
    *m_alive = false;
    if (CairoSystem *system = System()) {
        auto &windows = system->m_windows;
        windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
        if (system->m_focused == this) system->m_focused = nullptr;
    }
    if (m_parent) {
        auto &siblings = m_parent->m_children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    const std::vector<CairoWindow *> children = m_children;
    for (CairoWindow *child : children) child->Destroy();
    for (CairoWindow *child : m_children) child->m_parent = nullptr;
    m_children.clear();
    for (CairoWindow *child : children) child->Release();
    // The tooltip is a member: the library must not reach it while the rest goes.
    SetTooltip(nullptr);
    m_painter.reset();
    cairo_surface_destroy(m_surface);
}

CairoSystem *CairoWindow::System() const { return dynamic_cast<CairoSystem *>(GetCurrentSystem()); }

int CairoWindow::Width() const { return PixelCount(m_bounds.left, m_bounds.right); }

int CairoWindow::Height() const { return PixelCount(m_bounds.top, m_bounds.bottom); }

void CairoWindow::Reallocate() {
    cairo_surface_t *old = m_surface;
    m_surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Width(), Height());
    if (old) {
        // What was there stays until the next paint covers it.
        cairo_t *cr = cairo_create(m_surface);
        cairo_set_source_surface(cr, old, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
    }
    if (m_painter) {
        m_painter->SetTarget(m_surface, Width(), Height());
    } else {
        m_painter.reset(new CairoPainter(this, m_surface, Width(), Height()));
    }
    if (old) cairo_surface_destroy(old);
}

void CairoWindow::Destroy() {
    if (m_destroyed) return;
    m_destroyed = true;
    CWindowEvent event(static_cast<IEventSender *>(this));
    NotifyOnDestroy(&event);
}

// ---- window: painting ----

void CairoWindow::Damage(screen_rectangle<int> area) {
    if (Empty(area)) return;
    area.left = std::max(area.left, 0);
    area.top = std::max(area.top, 0);
    area.right = std::min(area.right, Width() - 1);
    area.bottom = std::min(area.bottom, Height() - 1);
    if (!Empty(area)) m_damage = Unite(m_damage, area);
}

void CairoWindow::DoInvalidate(int left, int top, int right, int bottom) {
    Damage({std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)});
}

void CairoWindow::DoRefresh(int left, int top, int right, int bottom, bool) {
    DoInvalidate(left, top, right, bottom);
    PaintDamage();
}

bool CairoWindow::PaintDamage() {
    if (Empty(m_damage) || m_locked || !m_visible || m_destroyed) return false;
    EntryScope scope(this);
    const screen_rectangle<int> damage = m_damage;
    m_damage = kNothing;
    CairoPainter &painter = *m_painter;
    painter.SetBaseClip(damage);
    painter.SetUpdateRect(damage);
    painter.BeginPaint(static_cast<IPainter::StdSettings>(1));
    painter.SetBrush(brush(painter.GetColor(1), brush::Solid));
    painter.FillRect(damage.left, damage.top, damage.right, damage.bottom);
    painter.SetBrush(brush(kBlack, brush::NoFill));
    NotifyOnDraw(&painter);
    if (!scope.Alive()) return true;
    painter.BeginPaint(static_cast<IPainter::StdSettings>(1));
    cairo_t *cr = painter.GetContext();
    for (CairoWindow *child : m_children) {
        if (!child->m_visible) continue;
        cairo_surface_flush(child->m_surface);
        cairo_save(cr);
        cairo_set_source_surface(cr, child->m_surface, child->m_bounds.left, child->m_bounds.top);
        cairo_paint(cr);
        cairo_restore(cr);
    }
    m_vert->Draw(painter);
    m_horz->Draw(painter);
    m_corner->Draw(painter);
    m_tooltip.Draw(painter);
    painter.EndPaint();
    painter.SetBaseClip(kNothing);
    if (m_parent) m_parent->Damage(m_bounds);
    return true;
}

bool CairoWindow::SavePng(const char *path) {
    if (!path) return false;
    PaintDamage();
    cairo_surface_flush(m_surface);
    return cairo_surface_write_to_png(m_surface, path) == CAIRO_STATUS_SUCCESS;
}

_color CairoWindow::GetPixel(int x, int y) const { return ReadPixel(m_surface, x, y); }

void CairoWindow::DoScrollContent(int dx, int dy, int left, int top, int right, int bottom) {
    const int l = std::max(std::min(left, right), 0);
    const int t = std::max(std::min(top, bottom), 0);
    const int r = std::min(std::max(left, right), Width() - 1);
    const int b = std::min(std::max(top, bottom), Height() - 1);
    if (r < l || b < t || (dx == 0 && dy == 0)) return;
    cairo_surface_flush(m_surface);
    // Through a copy: Cairo cannot read and write one surface at once.
    cairo_surface_t *copy =
        cairo_surface_create_similar_image(m_surface, CAIRO_FORMAT_ARGB32, Width(), Height());
    cairo_t *cr = cairo_create(copy);
    cairo_set_source_surface(cr, m_surface, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cr = cairo_create(m_surface);
    cairo_rectangle(cr, l, t, r - l + 1, b - t + 1);
    cairo_clip(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, copy, dx, dy);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(copy);
    // The strips the content left.
    if (dx > 0) Damage({l, t, std::min(l + dx - 1, r), b});
    if (dx < 0) Damage({std::max(r + dx + 1, l), t, r, b});
    if (dy > 0) Damage({l, t, r, std::min(t + dy - 1, b)});
    if (dy < 0) Damage({l, std::max(b + dy + 1, t), r, b});
    // Overlays moved with the pixels: they are drawn again where they belong.
    for (const CairoScrollBar *bar : {m_vert, m_horz, m_corner})
        if (bar->IsVisible()) Damage(bar->GetBounds());
    if (m_tooltip.IsShown()) Damage(m_tooltip.Area(*m_painter));
}

// ---- window: canvas and state ----

quelt_ptr<IPainter> CairoWindow::CreatePainter() {
    return quelt_ptr<IPainter>(new CairoPainter(this, m_surface, Width(), Height()));
}

int CairoWindow::GetCanvasMetrics(CanvasMetrics index) const {
    const CairoSystem *system = System();
    return DeviceMetric(index, Width(), Height(), system ? system->GetDpi() : kDefaultDpi);
}

void CairoWindow::SetBounds(const screen_rectangle<int> &bounds, bool redraw) {
    EntryScope scope(this);
    const screen_rectangle<int> next(bounds.left, bounds.top, std::max(bounds.right, bounds.left),
                                     std::max(bounds.bottom, bounds.top));
    const bool resized = SizeDiffers(next, m_bounds);
    const bool moved = next.left != m_bounds.left || next.top != m_bounds.top;
    if (m_parent) m_parent->Damage(m_bounds);
    m_bounds = next;
    if (resized) Reallocate();
    if (redraw) Damage({0, 0, Width() - 1, Height() - 1});
    if (moved) {
        CWindowEvent event(static_cast<IEventSender *>(this), next.left, next.top);
        NotifyOnMove(&event);
        if (!scope.Alive()) return;
    }
    if (!resized) return;
    NativeResize(Width(), Height());
}

void CairoWindow::SetVisible(bool visible) {
    if (visible == m_visible) return;
    m_visible = visible;
    if (visible) Damage({0, 0, Width() - 1, Height() - 1});
    if (m_parent) m_parent->Damage(m_bounds);
    CWindowEvent event(static_cast<IEventSender *>(this));
    if (visible) {
        NotifyOnShow(&event);
    } else {
        NotifyOnHide(&event);
    }
}

void CairoWindow::ClientToScreen(point<int> &p) {
    for (const CairoWindow *w = this; w; w = w->m_parent) {
        p.x += w->m_bounds.left;
        p.y += w->m_bounds.top;
    }
}

void CairoWindow::ScreenToClient(point<int> &p) {
    for (const CairoWindow *w = this; w; w = w->m_parent) {
        p.x -= w->m_bounds.left;
        p.y -= w->m_bounds.top;
    }
}

quelt_ptr<IPopupMenu> CairoWindow::CreatePopupMenu() { return quelt_ptr<IPopupMenu>(new CairoMenu(this)); }

ISysWindow *CairoWindow::CreateChildWindow() {
    auto *child = new CairoWindow(1, 1);
    child->m_parent = this;
    m_children.push_back(child);
    return child;
}

bool CairoWindow::ApplyCursor(int id) {
    const CairoSystem *system = System();
    return id == 0 || (system && const_cast<CairoSystem *>(system)->Mouse().HasCursor(id));
}

// ---- window: focus ----

void CairoWindow::MoveFocus(CairoSystem *system, CairoWindow *next) {
    CairoWindow *old = system->m_focused;
    if (old == next) return;
    system->m_focused = next;
    if (old) {
        CFocusEvent lost(static_cast<IEventSender *>(old));
        old->NotifyOnLostFocus(&lost);
    }
    // A receiver of the loss may have moved the focus on, or closed the window.
    if (next && system->m_focused == next) {
        CFocusEvent got(static_cast<IEventSender *>(next));
        next->NotifyOnGetFocus(&got);
    }
}

void CairoWindow::SetFocus() {
    EntryScope scope(this);
    if (CairoSystem *system = System()) MoveFocus(system, this);
}

bool CairoWindow::IsFocused() {
    const CairoSystem *system = System();
    return system && system->m_focused == this;
}

bool CairoWindow::HasFocus() {
    const CairoSystem *system = System();
    for (const CairoWindow *w = system ? system->m_focused : nullptr; w; w = w->m_parent)
        if (w == this) return true;
    return false;
}

// ---- window: gestures ----

CairoScrollBar *CairoWindow::BarAt(int x, int y) {
    for (CairoScrollBar *bar : {m_vert, m_horz, m_corner})
        if (bar->Contains(x, y)) return bar;
    return nullptr;
}

void CairoWindow::MouseMove(int x, int y, VKeyState keys) {
    point<int> screen(x, y);
    ClientToScreen(screen);
    if (CairoSystem *system = System()) system->Mouse().SetPos(screen.x, screen.y);
    NativeMouseMove(x, y, keys);
}

void CairoWindow::ButtonDown(int x, int y, MouseButton button, VKeyState keys) {
    NativeButtonDown(x, y, button, keys);
}

void CairoWindow::ButtonUp(int x, int y, MouseButton button, VKeyState keys) {
    NativeButtonUp(x, y, button, keys);
}

void CairoWindow::Click(int x, int y, MouseButton button, VKeyState keys) {
    if (CairoScrollBar *bar = BarAt(x, y)) {
        bar->Press(x, y);
        return;
    }
    NativeClick(x, y, button, keys);
}

void CairoWindow::DoubleClick(int x, int y, MouseButton button, VKeyState keys) {
    NativeDoubleClick(x, y, button, keys);
}

void CairoWindow::Hover(int x, int y, VKeyState keys) { NativeHover(x, y, keys); }

void CairoWindow::Wheel(int x, int y, int delta, VKeyState keys) { NativeWheel(x, y, delta, keys); }

void CairoWindow::Leave() { NativeLeave(); }

void CairoWindow::KeyDown(int key, VKeyState keys, unsigned short character) {
    NativeKeyDown(key, keys, character);
}

void CairoWindow::KeyUp(int key, VKeyState keys, unsigned short character) {
    NativeKeyUp(key, keys, character);
}

void CairoWindow::Char(unsigned short character, VKeyState keys) { NativeChar(character, keys); }

void CairoWindow::Resize(int width, int height) { SetBounds(ResizedBounds(m_bounds, width, height), true); }

void CairoWindow::Move(int x, int y) { SetBounds(MovedBounds(m_bounds, x, y), false); }

void CairoWindow::ContextMenu(int x, int y) {
    CContextMenuEvent event(static_cast<IEventSender *>(this), x, y);
    NotifyOnContextMenu(&event);
}

void CairoWindow::PostCustomEvent(int id, void *data) {
    CairoSystem *system = System();
    if (!system) return;
    std::weak_ptr<bool> alive = m_alive;
    system->Post([this, alive, id, data] {
        if (alive.expired() || !*alive.lock()) return;
        auto *event = new CCustomEvent(static_cast<IEventSender *>(this), id, data);
        // Destroyed after delivery, also when a receiver throws.
        struct Destroyer {
            CCustomEvent *event;
            ~Destroyer() { CCustomEvent::destroy(event); }
        } destroyer{event};
        NotifyOnCustomEvent(event);
    });
}

void CairoWindow::SysColorChanged() {
    CEvent event(static_cast<IEventSender *>(this));
    NotifyOnSysColorChanged(&event);
}

}  // namespace quelt::cairo
