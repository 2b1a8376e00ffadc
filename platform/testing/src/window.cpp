#include "quelt/testing/window.h"

#include <algorithm>
#include <cmath>

#include "sys/bounds_p.h"

#include "quelt/testing/menu.h"

namespace quelt::testing {

using logtext::Call;

// --- tooltip -------------------------------------------------------------------

void ScriptedTooltip::SetText(const wstring &text) {
    m_pLog->Add(Call(m_name, "SetText", text));
    m_text = text;
}

void ScriptedTooltip::SetColor(const _color &color) { m_pLog->Add(Call(m_name, "SetColor", color)); }

void ScriptedTooltip::SetFontColor(const _color &color) { m_pLog->Add(Call(m_name, "SetFontColor", color)); }

void ScriptedTooltip::SetFont(const font &f) { m_pLog->Add(Call(m_name, "SetFont", f)); }

void ScriptedTooltip::SetPos(const point<int> &pos) {
    m_pLog->Add(Call(m_name, "SetPos", pos));
    m_pos = pos;
}

void ScriptedTooltip::SetHeight(int height) { m_pLog->Add(Call(m_name, "SetHeight", height)); }

void ScriptedTooltip::Show() {
    m_pLog->Add(Call(m_name, "Show"));
    m_shown = true;
}

void ScriptedTooltip::Hide() {
    m_pLog->Add(Call(m_name, "Hide"));
    m_shown = false;
}

bool ScriptedTooltip::IsHot() {
    m_pLog->Add(Call(m_name, "IsHot"));
    return m_hot;
}

// --- scroll bar ----------------------------------------------------------------

void ScriptedScrollBar::SetBounds(int left, int top, int right, int bottom) {
    m_bounds = {left, top, right, bottom};
    m_pLog->Add(Call(m_name, "SetBounds", m_bounds));
}

screen_rectangle<int> ScriptedScrollBar::GetBounds() const {
    m_pLog->Add(Call(m_name, "GetBounds"));
    return m_bounds;
}

void ScriptedScrollBar::SetVisible(bool visible) {
    m_pLog->Add(Call(m_name, "SetVisible", visible));
    m_visible = visible;
}

void ScriptedScrollBar::SetEnabled(bool enabled) {
    m_pLog->Add(Call(m_name, "SetEnabled", enabled));
    m_enabled = enabled;
}

void ScriptedScrollBar::SetScrollInfo(const ScrollInfo &info) {
    m_pLog->Add(Call(m_name, "SetScrollInfo", info));
    m_info = info;
    // The library hands over integers; anything else is held as the nearest int.
    m_pos = std::isnan(info.pos) ? 0 : static_cast<int>(std::clamp(info.pos, -2147483648.0, 2147483647.0));
}

void ScriptedScrollBar::SetScrollPos(int pos) {
    m_pLog->Add(Call(m_name, "SetScrollPos", pos));
    m_pos = pos;
}

void ScriptedScrollBar::Scroll(CScrollEvent::ScrollAction action, double value) {
    CScrollEvent event(static_cast<IEventSender *>(this), action, value);
    NotifyScrollBarOnScroll(&event);
}

// --- window: life --------------------------------------------------------------

namespace {

std::shared_ptr<CallLog> CurrentLog() {
    auto *system = dynamic_cast<ScriptedSystem *>(GetCurrentSystem());
    return system ? system->SharedLog() : std::make_shared<CallLog>();
}

template <class T>
quelt_ptr<T> Owned(T *object) {
    return quelt_ptr<T>(object);
}

}  // namespace

ScriptedWindow::ScriptedWindow(std::string name, int width, int height)
    : m_pLog(CurrentLog()),
      m_name(std::move(name)),
      m_tooltip(m_pLog, m_name + ".tooltip"),
      m_pVert(new ScriptedScrollBar(m_pLog, m_name + ".vbar")),
      m_pHorz(new ScriptedScrollBar(m_pLog, m_name + ".hbar")),
      m_pCorner(new ScriptedScrollBar(m_pLog, m_name + ".corner")),
      m_bounds(0, 0, std::max(width, 1) - 1, std::max(height, 1) - 1) {
    SetTooltip(&m_tooltip);
    SetScrollBars(Owned<IScrollBar>(m_pVert), Owned<IScrollBar>(m_pHorz), Owned<ICustomControl>(m_pCorner));
    SubscribeScrollBars();
}

ScriptedWindow::~ScriptedWindow() {
    MarkDestroying();
    Destroy();
    if (ScriptedSystem *system = System(); system && system->m_pFocused == this) system->m_pFocused = nullptr;
    if (m_pParentWindow) {
        auto &siblings = m_pParentWindow->m_children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    const std::vector<ScriptedWindow *> children = m_children;
    for (ScriptedWindow *child : children) child->Destroy();
    for (ScriptedWindow *child : m_children) child->m_pParentWindow = nullptr;
    m_children.clear();
    for (ScriptedWindow *child : children) child->Release();
    // The tooltip is a member; the library must not reach it while the rest goes.
    SetTooltip(nullptr);
}

ScriptedSystem *ScriptedWindow::System() const { return dynamic_cast<ScriptedSystem *>(GetCurrentSystem()); }

void ScriptedWindow::Destroy() {
    if (m_destroyed) return;
    m_destroyed = true;
    CWindowEvent event(static_cast<IEventSender *>(this));
    NotifyOnDestroy(&event);
}

// --- window: gestures ----------------------------------------------------------

void ScriptedWindow::MouseMove(int x, int y, VKeyState keys) { NativeMouseMove(x, y, keys); }

void ScriptedWindow::ButtonDown(int x, int y, MouseButton button, VKeyState keys) {
    NativeButtonDown(x, y, button, keys);
}

void ScriptedWindow::ButtonUp(int x, int y, MouseButton button, VKeyState keys) {
    NativeButtonUp(x, y, button, keys);
}

void ScriptedWindow::Click(int x, int y, MouseButton button, VKeyState keys) {
    NativeClick(x, y, button, keys);
}

void ScriptedWindow::DoubleClick(int x, int y, MouseButton button, VKeyState keys) {
    NativeDoubleClick(x, y, button, keys);
}

void ScriptedWindow::Hover(int x, int y, VKeyState keys) { NativeHover(x, y, keys); }

void ScriptedWindow::Wheel(int x, int y, int delta, VKeyState keys) { NativeWheel(x, y, delta, keys); }

void ScriptedWindow::Leave() { NativeLeave(); }

void ScriptedWindow::KeyDown(int key, VKeyState keys, unsigned short character) {
    NativeKeyDown(key, keys, character);
}

void ScriptedWindow::KeyUp(int key, VKeyState keys, unsigned short character) {
    NativeKeyUp(key, keys, character);
}

void ScriptedWindow::Char(unsigned short character, VKeyState keys) { NativeChar(character, keys); }

void ScriptedWindow::Resize(int width, int height) {
    SetBounds(ResizedBounds(m_bounds, width, height), true);
}

void ScriptedWindow::Move(int x, int y) { SetBounds(MovedBounds(m_bounds, x, y), true); }

void ScriptedWindow::ContextMenu(int x, int y) {
    CContextMenuEvent event(static_cast<IEventSender *>(this), x, y);
    NotifyOnContextMenu(&event);
}

void ScriptedWindow::Post(int id, void *data) {
    auto *event = new CCustomEvent(static_cast<IEventSender *>(this), id, data);
    // Destroyed after delivery, also when a receiver throws.
    struct Destroyer {
        CCustomEvent *event;
        ~Destroyer() { CCustomEvent::destroy(event); }
    } destroyer{event};
    NotifyOnCustomEvent(event);
}

void ScriptedWindow::Draw(IPainter *painter) {
    EntryScope scope(this);
    const rectangle<int> client = GetBoundsRect();
    m_painter.SetPaintRect({client.left, client.top, client.right, client.bottom});
    IPainter *target = painter ? painter : &m_painter;
    target->SetUpdateRect({client.left, client.top, client.right, client.bottom});
    target->BeginPaint(static_cast<IPainter::StdSettings>(1));
    NotifyOnDraw(target);
    if (scope.Alive()) target->EndPaint();
}

void ScriptedWindow::SysColorChanged() {
    CEvent event(static_cast<IEventSender *>(this));
    NotifyOnSysColorChanged(&event);
}

// --- window: focus -------------------------------------------------------------

void ScriptedWindow::MoveFocus(ScriptedSystem *system, ScriptedWindow *next) {
    ScriptedWindow *old = system->m_pFocused;
    if (old == next) return;
    system->m_pFocused = next;
    if (old) {
        CFocusEvent lost(static_cast<IEventSender *>(old));
        old->NotifyOnLostFocus(&lost);
    }
    // A receiver of the loss may have moved the focus on, or closed the window.
    if (next && system->m_pFocused == next) {
        CFocusEvent got(static_cast<IEventSender *>(next));
        next->NotifyOnGetFocus(&got);
    }
}

void ScriptedWindow::SetFocus() {
    Add(Call(m_name, "SetFocus"));
    EntryScope scope(this);
    if (ScriptedSystem *system = System()) MoveFocus(system, this);
}

bool ScriptedWindow::IsFocused() {
    Add(Call(m_name, "IsFocused"));
    ScriptedSystem *system = System();
    return system && system->m_pFocused == this;
}

bool ScriptedWindow::HasFocus() {
    Add(Call(m_name, "HasFocus"));
    ScriptedSystem *system = System();
    for (ScriptedWindow *w = system ? system->m_pFocused : nullptr; w; w = w->m_pParentWindow) {
        if (w == this) return true;
    }
    return false;
}

// --- window: platform operations -------------------------------------------------

bool ScriptedWindow::HasMultiPainterSupport() {
    Add(Call(m_name, "HasMultiPainterSupport"));
    return true;
}

quelt_ptr<IPainter> ScriptedWindow::CreatePainter() {
    Add(Call(m_name, "CreatePainter"));
    auto *painter = new RecordingPainter(this);
    painter->SetPaintRect(ClientRect<screen_rectangle<int>>(m_bounds));
    return quelt_ptr<IPainter>(painter);
}

IPainter *ScriptedWindow::TakeDefPainter() {
    Add(Call(m_name, "TakeDefPainter"));
    m_painter.SetPaintRect(ClientRect<screen_rectangle<int>>(m_bounds));
    return &m_painter;
}

int ScriptedWindow::GetCanvasMetrics(CanvasMetrics index) const {
    m_pLog->Add(Call(m_name, "GetCanvasMetrics", static_cast<int>(index)));
    const auto it = m_metrics.find(index);
    if (it != m_metrics.end()) return it->second;
    // 96 pixels to the inch unless the test says otherwise.
    const int width = PixelCount(m_bounds.left, m_bounds.right);
    const int height = PixelCount(m_bounds.top, m_bounds.bottom);
    switch (index) {
        case WidthPixels:
            return width;
        case HeightPixels:
            return height;
        case WidthMillimetres:
            return static_cast<int>(width * 25.4 / 96 + 0.5);
        case HeightMillimetres:
            return static_cast<int>(height * 25.4 / 96 + 0.5);
    }
    return 0;
}

void ScriptedWindow::SetBounds(const screen_rectangle<int> &bounds, bool redraw) {
    Add(Call(m_name, "SetBounds", bounds, redraw));
    EntryScope scope(this);
    const bool resized = SizeDiffers(bounds, m_bounds);
    const bool moved = bounds.left != m_bounds.left || bounds.top != m_bounds.top;
    m_bounds = bounds;
    if (moved) {
        CWindowEvent event(static_cast<IEventSender *>(this), bounds.left, bounds.top);
        NotifyOnMove(&event);
        if (!scope.Alive()) return;
    }
    if (!resized) return;
    NativeResize(PixelCount(m_bounds.left, m_bounds.right), PixelCount(m_bounds.top, m_bounds.bottom));
}

screen_rectangle<int> ScriptedWindow::GetBounds() const {
    m_pLog->Add(Call(m_name, "GetBounds"));
    return m_bounds;
}

rectangle<int> ScriptedWindow::GetBoundsRect() {
    Add(Call(m_name, "GetBoundsRect"));
    return ClientRect<rectangle<int>>(m_bounds);
}

void ScriptedWindow::SetEnabled(bool enabled) {
    Add(Call(m_name, "SetEnabled", enabled));
    m_enabled = enabled;
}

bool ScriptedWindow::GetEnabled() {
    Add(Call(m_name, "GetEnabled"));
    return m_enabled;
}

void ScriptedWindow::SetVisible(bool visible) {
    Add(Call(m_name, "SetVisible", visible));
    if (visible == m_visible) return;
    m_visible = visible;
    CWindowEvent event(static_cast<IEventSender *>(this));
    if (visible) {
        NotifyOnShow(&event);
    } else {
        NotifyOnHide(&event);
    }
}

bool ScriptedWindow::GetVisible() {
    Add(Call(m_name, "GetVisible"));
    return m_visible;
}

void ScriptedWindow::SetWindowMode(bool mode) {
    Add(Call(m_name, "SetWindowMode", mode));
    m_windowMode = mode;
}

bool ScriptedWindow::GetWindowMode() {
    Add(Call(m_name, "GetWindowMode"));
    return m_windowMode;
}

void ScriptedWindow::ClientToScreen(point<int> &p) {
    Add(Call(m_name, "ClientToScreen", p));
    p.x += m_bounds.left;
    p.y += m_bounds.top;
    if (m_pParentWindow) m_pParentWindow->ClientToScreen(p);
}

void ScriptedWindow::ScreenToClient(point<int> &p) {
    Add(Call(m_name, "ScreenToClient", p));
    if (m_pParentWindow) m_pParentWindow->ScreenToClient(p);
    p.x -= m_bounds.left;
    p.y -= m_bounds.top;
}

void ScriptedWindow::SetBorderStyle(BorderStyle style) {
    Add(Call(m_name, "SetBorderStyle", static_cast<int>(style)));
    m_borderStyle = style;
}

ISysWindow::BorderStyle ScriptedWindow::GetBorderStyle() {
    Add(Call(m_name, "GetBorderStyle"));
    return m_borderStyle;
}

void ScriptedWindow::DoScrollContent(int dx, int dy, int left, int top, int right, int bottom) {
    Add(Call(m_name, "DoScrollContent", dx, dy, left, top, right, bottom));
}

quelt_ptr<IPopupMenu> ScriptedWindow::CreatePopupMenu() {
    Add(Call(m_name, "CreatePopupMenu"));
    return quelt_ptr<IPopupMenu>(
        new ScriptedMenu(m_pLog, m_name + ".menu" + std::to_string(++m_menus), this));
}

void ScriptedWindow::DoInvalidate(int left, int top, int right, int bottom) {
    Add(Call(m_name, "DoInvalidate", left, top, right, bottom));
}

void ScriptedWindow::DoRefresh(int left, int top, int right, int bottom, bool flag) {
    Add(Call(m_name, "DoRefresh", left, top, right, bottom, flag));
}

void ScriptedWindow::LockUpdate(bool lock) { Add(Call(m_name, "LockUpdate", lock)); }

ISysWindow *ScriptedWindow::CreateChildWindow() {
    Add(Call(m_name, "CreateChildWindow"));
    auto *child = new ScriptedWindow(m_name + ".child" + std::to_string(m_children.size() + 1), 1, 1);
    child->m_pParentWindow = this;
    m_children.push_back(child);
    return child;
}

bool ScriptedWindow::ApplyCursor(int id) {
    Add(Call(m_name, "ApplyCursor", id));
    return m_applyCursor;
}

}  // namespace quelt::testing
