#include "quelt/sys/window.h"

#include <cmath>
#include <typeinfo>

#include "core/numeric_p.h"
#include "quelt/core/exceptions.h"

namespace quelt {

namespace {

int Add(int a, long long b) { return SaturatingNarrow<int>(a + b); }

bool IsZero(const screen_rectangle<int> &r) { return r == screen_rectangle<int>(); }

// Edges count as inside.
bool Contains(const screen_rectangle<int> &r, int x, int y) {
    return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
}

screen_rectangle<int> AsScreen(const rectangle<int> &r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

// --- ISysWindow helpers -------------------------------------------------------

void ISysWindow::ScrollContent(int dx, int dy, const screen_rectangle<int> &r) {
    DoScrollContent(dx, dy, r.left, r.top, r.right, r.bottom);
}

void ISysWindow::ScrollContent(int dx, int dy) { ScrollContent(dx, dy, AsScreen(GetBoundsRect())); }

void ISysWindow::Invalidate(rectangle<int> r) { DoInvalidate(r.left, r.top, r.right, r.bottom); }

void ISysWindow::Invalidate() { Invalidate(GetBoundsRect()); }

void ISysWindow::Refresh(rectangle<int> r, bool flag) { DoRefresh(r.left, r.top, r.right, r.bottom, flag); }

void ISysWindow::Refresh(bool flag) { Refresh(GetBoundsRect(), flag); }

ITooltip::~ITooltip() = default;

void ITooltip::Track(int x, int y, const wstring &text) {
    SetPos({x, y});
    SetText(text);
}

// --- lifetime -----------------------------------------------------------------

struct CSysWindow::EntryScope::State {
    int count = 0;
    bool releasePending = false;
    // The delete has begun: events raised by destructors must not start another.
    bool dying = false;
    bool destroyed = false;
};

CSysWindow::EntryScope::EntryScope(CSysWindow *window) : m_pWindow(window), m_pState(window->m_pEntries) {
    ++m_pState->count;
}

CSysWindow::EntryScope::~EntryScope() {
    if (--m_pState->count != 0 || !m_pState->releasePending || m_pState->dying) return;
    m_pState->dying = true;
    delete m_pWindow;
}

bool CSysWindow::EntryScope::Alive() const { return !m_pState->destroyed; }

CSysWindow::CSysWindow() : m_pEntries(std::make_shared<EntryScope::State>()) {
    ISystem *system = GetCurrentSystem();
    if (!system) throw WindowException();
    AddEventType(typeid(IDrawingNotify));
    AddEventType(typeid(IMouseNotify));
    AddEventType(typeid(IMouseClickNotify));
    AddEventType(typeid(IMouseHoverNotify));
    AddEventType(typeid(IKeyboardNotify));
    AddEventType(typeid(IWindowNotify));
    AddEventType(typeid(IFocusNotify));
    AddEventType(typeid(IContextMenuNotify));
    AddEventType(typeid(ITooltipNotify));
    AddEventType(typeid(IScrollNotify));
    AddEventType(typeid(ICustomEventNotify));
    AddEventType(typeid(ISystemNotify));
    m_pTooltipTimer = system->CreateTimer(100, 0);
    if (m_pTooltipTimer)
        m_pTooltipTimer->Subscribe(CTooltipTimerNotify::AsNotify(), typeid(ITimerNotify), true);
}

CSysWindow::~CSysWindow() {
    m_pEntries->dying = true;
    m_pEntries->destroyed = true;
    m_pCorner.reset();
    m_pHorzBar.reset();
    m_pVertBar.reset();
    m_pTooltipTimer.reset();
}

void CSysWindow::Release() {
    if (m_pEntries->dying) return;
    if (m_pEntries->count > 0) {
        m_pEntries->releasePending = true;
        return;
    }
    m_pEntries->dying = true;
    delete this;
}

void CSysWindow::MarkDestroying() { m_pEntries->dying = true; }

// --- raise helpers --------------------------------------------------------------

void CSysWindow::NotifyOnDraw(IPainter *painter) {
    EntryScope scope(this);
    Fire<&IDrawingNotify::OnDraw>(painter, false);
}

#define QUELT_RAISE(Name, Interface, Handler, Record) \
    void CSysWindow::Name(Record *event) {            \
        EntryScope scope(this);                       \
        Fire<&Interface::Handler>(event, true);       \
    }

QUELT_RAISE(NotifyOnButtonDown, IMouseNotify, OnButtonDown, CMouseEvent)
QUELT_RAISE(NotifyOnButtonUp, IMouseNotify, OnButtonUp, CMouseEvent)
QUELT_RAISE(NotifyOnMouseMove, IMouseNotify, OnMouseMove, CMouseEvent)
QUELT_RAISE(NotifyOnWheel, IMouseNotify, OnWheel, CMouseWheelEvent)
QUELT_RAISE(NotifyOnClick, IMouseClickNotify, OnClick, CMouseEvent)
QUELT_RAISE(NotifyOnDoubleClick, IMouseClickNotify, OnDoubleClick, CMouseEvent)
QUELT_RAISE(NotifyOnHover, IMouseHoverNotify, OnHover, CMouseEvent)
QUELT_RAISE(NotifyOnLeave, IMouseHoverNotify, OnLeave, CMouseEvent)
QUELT_RAISE(NotifyOnKeyDown, IKeyboardNotify, OnKeyDown, CKeyboardEvent)
QUELT_RAISE(NotifyOnKeyUp, IKeyboardNotify, OnKeyUp, CKeyboardEvent)
QUELT_RAISE(NotifyOnChar, IKeyboardNotify, OnChar, CKeyboardEvent)
QUELT_RAISE(NotifyOnResize, IWindowNotify, OnResize, CWindowEvent)
QUELT_RAISE(NotifyOnMove, IWindowNotify, OnMove, CWindowEvent)
QUELT_RAISE(NotifyOnDestroy, IWindowNotify, OnDestroy, CWindowEvent)
QUELT_RAISE(NotifyOnShow, IWindowNotify, OnShow, CWindowEvent)
QUELT_RAISE(NotifyOnHide, IWindowNotify, OnHide, CWindowEvent)
QUELT_RAISE(NotifyOnGetFocus, IFocusNotify, OnGetFocus, CFocusEvent)
QUELT_RAISE(NotifyOnLostFocus, IFocusNotify, OnLostFocus, CFocusEvent)
QUELT_RAISE(NotifyOnContextMenu, IContextMenuNotify, OnContextMenu, CContextMenuEvent)
QUELT_RAISE(NotifyOnTooltip, ITooltipNotify, OnTooltip, CTooltipEvent)
QUELT_RAISE(NotifyOnTooltipTrack, ITooltipNotify, OnTooltipTrack, CTooltipEvent)
QUELT_RAISE(NotifyOnVertScroll, IScrollNotify, OnVertScroll, CScrollEvent)
QUELT_RAISE(NotifyOnHorzScroll, IScrollNotify, OnHorzScroll, CScrollEvent)
QUELT_RAISE(NotifyOnCustomEvent, ICustomEventNotify, OnCustomEvent, CCustomEvent)
QUELT_RAISE(NotifyOnSysColorChanged, ISystemNotify, OnSysColorChanged, CEvent)

#undef QUELT_RAISE

// --- tooltips -------------------------------------------------------------------

void CSysWindow::SetTooltip(ITooltip *tooltip) {
    m_pTooltip = tooltip;
    if (tooltip) return;
    StopTooltipTimer();
    m_tooltipHot = {};
}

void CSysWindow::SetEnableTooltip(bool enable) {
    m_tooltipEnabled = enable;
    if (enable) return;
    if (m_pTooltip) m_pTooltip->Hide();
    StopTooltipTimer();
    m_tooltipHot = {};
}

bool CSysWindow::GetEnableTooltip() { return m_tooltipEnabled && m_pTooltip; }

void CSysWindow::ShowTooltip(int x, int y, const wstring &text, _color color, _color fontColor,
                             const font &f) {
    if (!GetEnableTooltip()) return;
    point<int> p(x, y);
    ClientToScreen(p);
    m_pTooltip->SetColor(color);
    m_pTooltip->SetFontColor(fontColor);
    m_pTooltip->SetFont(f);
    m_pTooltip->SetText(text);
    m_pTooltip->SetPos({Add(p.x, 20), Add(p.y, 20)});
    m_pTooltip->Show();
}

void CSysWindow::TrackTooltip(int x, int y, const wstring &text) {
    if (GetEnableTooltip()) m_pTooltip->Track(x, y, text);
}

void CSysWindow::HideTooltip() {
    if (m_pTooltip) m_pTooltip->Hide();
    m_tooltipPlace = {};
    StopTooltipTimer();
}

void CSysWindow::HideTooltipEx() {
    HideTooltip();
    m_tooltipHot = {};
}

void CSysWindow::StopTooltipTimer() {
    if (m_pTooltipTimer) m_pTooltipTimer->Enable(false);
}

point<int> CSysWindow::MousePosition(point<int> fallback) {
    ISystem *system = GetCurrentSystem();
    ISysMouse *mouse = system ? system->GetMouse() : nullptr;
    if (mouse) mouse->GetCursorPos(fallback);
    return fallback;
}

void CSysWindow::ProcessTooltipMouseMove(int x, int y) {
    if (!GetEnableTooltip()) return;
    EntryScope scope(this);
    point<int> screen(x, y);
    ClientToScreen(screen);
    if (!Contains(m_tooltipHot, x, y)) {
        QueryTooltip(x, y, screen, scope);
    } else if (m_tooltipTracking) {
        TrackInHotRectangle(x, y, screen, scope);
    }
}

void CSysWindow::QueryTooltip(int x, int y, point<int> screen, EntryScope &scope) {
    StopTooltipTimer();
    m_pTooltip->Hide();
    CTooltipEvent event(Self(), x, y);
    NotifyOnTooltip(&event);
    if (!scope.Alive()) return;
    m_tooltipHot = event.GetRect();
    m_tooltipPlace = event.GetPos();
    m_tooltipText = event.GetText();
    m_tooltipTracking = event.IsTracking();
    // A receiver may have switched tooltips off (or taken the tooltip away).
    if (m_tooltipText.empty() || !GetEnableTooltip()) return;
    m_pTooltip->SetColor(event.GetColor());
    m_pTooltip->SetFontColor(event.GetFontColor());
    m_pTooltip->SetFont(event.GetFont());
    m_pTooltip->SetText(m_tooltipText);
    if (!IsZero(m_tooltipPlace)) {
        point<int> p(m_tooltipPlace.left, m_tooltipPlace.top);
        ClientToScreen(p);
        m_pTooltip->SetPos(p);
        m_pTooltip->SetHeight(Add(m_tooltipPlace.bottom, -static_cast<long long>(m_tooltipPlace.top)));
        m_pTooltip->Show();
        return;
    }
    m_lastMouse = MousePosition(screen);
    m_pTooltip->SetPos({Add(screen.x, 15), Add(screen.y, 15)});
    const int delay = GetTooltipDelay();
    if (delay > 0 && m_pTooltipTimer) {
        m_pTooltipTimer->SetInterval(delay);
        m_pTooltipTimer->Enable(true);
        return;
    }
    m_pTooltip->Show();
}

void CSysWindow::TrackInHotRectangle(int x, int y, point<int> screen, EntryScope &scope) {
    CTooltipEvent event(Self(), x, y);
    event.SetRect(m_tooltipHot);
    event.SetText(m_tooltipText);
    event.SetTracking(m_tooltipTracking);
    NotifyOnTooltipTrack(&event);
    if (!scope.Alive()) return;
    m_tooltipText = event.GetText();
    if (!GetEnableTooltip()) return;
    m_pTooltip->Track(Add(screen.x, 20), Add(screen.y, 20), m_tooltipText);
}

void CSysWindow::OnTooltipTimer(CTimerEvent *) {
    EntryScope scope(this);
    ISystem *system = GetCurrentSystem();
    ISysMouse *mouse = system ? system->GetMouse() : nullptr;
    if (!GetEnableTooltip() || !mouse) {
        StopTooltipTimer();
        return;
    }
    point<int> m;
    mouse->GetCursorPos(m);
    if (m != m_lastMouse) {
        m_lastMouse = m;
        return;
    }
    m_pTooltip->SetPos({Add(m.x, 15), Add(m.y, 15)});
    m_pTooltip->Show();
    StopTooltipTimer();
}

void CSysWindow::ProcessHideTooltip() {
    if (!m_pTooltip || m_pTooltip->IsHot()) return;
    m_pTooltip->Hide();
    m_tooltipHot = {};
    StopTooltipTimer();
}

// --- cursor -------------------------------------------------------------------

void CSysWindow::SetCursor(int id) {
    if (ApplyCursor(id)) m_cursor = id;
}

// --- scroll axes -----------------------------------------------------------------

bool CSysWindow::GetScrollVisible(ScrollType type) { return IsAxis(type) && m_axes[type].visible; }

void CSysWindow::SetScrollInfo(ScrollType type, const ScrollInfo &info) {
    if (!IsAxis(type)) return;
    const rectangle<int> r = GetBoundsRect();
    // A client area without width or height counts as one pixel.
    const long long width = r.left == r.right ? 1 : static_cast<long long>(r.right) - r.left;
    const long long height = r.top == r.bottom ? 1 : static_cast<long long>(r.bottom) - r.top;
    Axis &axis = m_axes[type];
    axis.converter = CScrollConverter(info.min, info.max, info.step, info.page, info.precision);
    axis.converter.SetPos(info.pos);
    axis.scale = info.page / static_cast<double>(type == HorzScroll ? width : height);
    RefreshScroll(false);
}

void CSysWindow::GetScrollInfo(ScrollType type, ScrollInfo &info) const {
    if (!IsAxis(type)) {
        info = ScrollInfo();
        return;
    }
    const CScrollConverter &c = m_axes[type].converter;
    info = ScrollInfo(c.GetMin(), c.GetMax(), c.GetStepSize(), c.GetPageSize(), c.GetScrollPrecision());
    info.pos = c.GetPos();
}

void CSysWindow::SetScrollPos(ScrollType type, const ScrollPos &pos) {
    if (IsAxis(type)) m_axes[type].placement.Init(pos.left, pos.top, pos.right, pos.bottom, pos.anchors);
}

void CSysWindow::GetScrollPos(ScrollType type, ScrollPos &pos) const {
    if (!IsAxis(type)) {
        pos = ScrollPos{0, 0, 0, 0, 0};
        return;
    }
    const CPosManager &p = m_axes[type].placement;
    pos = ScrollPos{p.GetIndentLeft(), p.GetIndentTop(), p.GetIndentRight(), p.GetIndentBottom(),
                    p.GetAnchors()};
}

void CSysWindow::SetScrollState(ScrollType type, ScrollState state) {
    if (!IsAxis(type)) return;
    m_axes[type].state = state;
    RefreshScroll(false);
}

ISysWindow::ScrollState CSysWindow::GetScrollState(ScrollType type) {
    return IsAxis(type) ? m_axes[type].state : ScrollAuto;
}

void CSysWindow::SetScrollCondition(ScrollCondition condition) {
    if (condition == m_scrollCondition) return;
    m_scrollCondition = condition;
    RefreshScroll(false);
}

void CSysWindow::SetScrollVal(ScrollType type, double value) {
    if (!IsAxis(type)) return;
    CScrollConverter &c = m_axes[type].converter;
    c.SetPos(value);
    if (type == HorzScroll) {
        InternalSetScrollValX(c.ConvertPos());
    } else {
        InternalSetScrollValY(c.ConvertPos());
    }
}

void CSysWindow::ScrollBy(double x, double y) {
    SetScrollVal(HorzScroll, x);
    SetScrollVal(VertScroll, y);
}

void CSysWindow::SetScrollEmpty() {
    for (Axis &axis : m_axes) {
        axis.converter.SetEmpty();
        axis.placement.SetEmpty();
        axis.scale = 0;
        axis.state = ScrollAuto;
    }
}

double CSysWindow::GetScrollScale(ScrollType type) const { return IsAxis(type) ? m_axes[type].scale : 0; }

bool CSysWindow::IsHorzScrollCanVisible() const {
    return m_scrollCondition == ScrollBoth || m_scrollCondition == ScrollHorzOnly;
}

bool CSysWindow::IsVertScrollCanVisible() const {
    return m_scrollCondition == ScrollBoth || m_scrollCondition == ScrollVertOnly;
}

void CSysWindow::RefreshScroll(bool) {
    const bool canShow[2] = {IsHorzScrollCanVisible(), IsVertScrollCanVisible()};
    bool needed[2];
    for (int type = HorzScroll; type <= VertScroll; ++type) {
        Axis &axis = m_axes[type];
        const CScrollConverter &c = axis.converter;
        needed[type] = std::fabs(c.GetMax() - c.GetMin()) > c.GetPageSize();
        axis.visible =
            canShow[type] && (axis.state == ScrollAlways || (axis.state == ScrollAuto && needed[type]));
    }
    const CScrollConverter &h = m_axes[HorzScroll].converter;
    const CScrollConverter &v = m_axes[VertScroll].converter;
    InternalSetScrollStateX(h.ConvertMin(), h.ConvertMax(), h.ConvertPageSize(), h.ConvertStepSize(),
                            h.ConvertPos(), needed[HorzScroll]);
    InternalSetScrollStateY(v.ConvertMin(), v.ConvertMax(), v.ConvertPageSize(), v.ConvertStepSize(),
                            v.ConvertPos(), needed[VertScroll]);
    InternalSetScrollCond(m_axes[HorzScroll].visible, m_axes[VertScroll].visible, needed[HorzScroll],
                          needed[VertScroll]);
}

void CSysWindow::SetBarInfo(IScrollBar *bar, int min, int max, int page, int step, int pos, bool enabled) {
    if (!enabled || !bar) return;
    ScrollInfo info(min, max, step, page, 0);
    info.pos = pos;
    bar->SetScrollInfo(info);
}

void CSysWindow::InternalSetScrollStateX(int min, int max, int page, int step, int pos, bool enabled) {
    SetBarInfo(m_pHorzBar.get(), min, max, page, step, pos, enabled);
}

void CSysWindow::InternalSetScrollStateY(int min, int max, int page, int step, int pos, bool enabled) {
    SetBarInfo(m_pVertBar.get(), min, max, page, step, pos, enabled);
}

void CSysWindow::InternalSetScrollValX(int pos) {
    if (m_pHorzBar) m_pHorzBar->SetScrollPos(pos);
}

void CSysWindow::InternalSetScrollValY(int pos) {
    if (m_pVertBar) m_pVertBar->SetScrollPos(pos);
}

void CSysWindow::InternalSetScrollCond(bool showH, bool showV, bool needH, bool needV) {
    ISystem *system = GetCurrentSystem();
    const int t = system ? system->GetSystemMetrics(0) : 0;
    const rectangle<int> r = GetBoundsRect();
    const screen_rectangle<int> outer = AsScreen(r);
    const CPosManager &hPlace = m_axes[HorzScroll].placement;
    const CPosManager &vPlace = m_axes[VertScroll].placement;
    const int rightT = Add(r.right, -static_cast<long long>(t));
    const int bottomT = Add(r.bottom, -static_cast<long long>(t));
    auto place = [](ICustomControl *control, const screen_rectangle<int> &b) {
        if (control) control->SetBounds(b.left, b.top, b.right, b.bottom);
    };
    if (m_pVertBar) {
        const screen_rectangle<int> current = m_pVertBar->GetBounds();
        place(m_pVertBar.get(),
              vPlace.IsEmpty()
                  ? screen_rectangle<int>(rightT, r.top, r.right, showH ? bottomT : r.bottom)
                  : vPlace.GetCtrlRect(outer, t, Add(current.bottom, -static_cast<long long>(current.top))));
    }
    if (m_pHorzBar) {
        const screen_rectangle<int> current = m_pHorzBar->GetBounds();
        place(m_pHorzBar.get(),
              hPlace.IsEmpty()
                  ? screen_rectangle<int>(r.left, bottomT, showV ? rightT : r.right, r.bottom)
                  : hPlace.GetCtrlRect(outer, Add(current.right, -static_cast<long long>(current.left)), t));
    }
    if (hPlace.IsEmpty() && showV && showH) place(m_pCorner.get(), {rightT, bottomT, r.right, r.bottom});
    if (m_pVertBar) {
        m_pVertBar->SetVisible(showV);
        m_pVertBar->SetEnabled(needV);
    }
    if (m_pHorzBar) {
        m_pHorzBar->SetVisible(showH);
        m_pHorzBar->SetEnabled(needH);
    }
    if (m_pCorner) {
        const bool bottomIndent = !hPlace.IsEmpty() && !hPlace.IsStdBottom();
        const bool rightIndent = !vPlace.IsEmpty() && !vPlace.IsStdRight();
        m_pCorner->SetVisible(showH && showV && !bottomIndent && !rightIndent);
    }
}

// --- scroll bars -------------------------------------------------------------------

void CSysWindow::SetScrollBars(quelt_ptr<IScrollBar> vert, quelt_ptr<IScrollBar> horz,
                               quelt_ptr<ICustomControl> corner) {
    m_pVertBar = vert;
    m_pHorzBar = horz;
    m_pCorner = corner;
}

void CSysWindow::SubscribeScrollBars() {
    const std::type_info &type = typeid(IScrollBarNotify);
    INotify *vert = CVertScrollBarNotify::AsNotify();
    INotify *horz = CHorzScrollBarNotify::AsNotify();
    if (m_pVertBar && !detail::IsListed(m_pVertBar.get(), vert, type))
        m_pVertBar->Subscribe(vert, type, true);
    if (m_pHorzBar && !detail::IsListed(m_pHorzBar.get(), horz, type))
        m_pHorzBar->Subscribe(horz, type, true);
}

void CSysWindow::BarScrolled(ScrollType type, CScrollEvent *event) {
    EntryScope scope(this);
    CScrollConverter &c = m_axes[type].converter;
    c.SetIntPos(SaturatingCast<int>(event->GetVal()));
    CScrollEvent scrolled(Self(), event->GetAction(), c.GetPos());
    if (type == VertScroll) {
        NotifyOnVertScroll(&scrolled);
    } else {
        NotifyOnHorzScroll(&scrolled);
    }
}

void CSysWindow::VertScrollBarOnScroll(CScrollEvent *event) { BarScrolled(VertScroll, event); }

void CSysWindow::HorzScrollBarOnScroll(CScrollEvent *event) { BarScrolled(HorzScroll, event); }

// --- focus --------------------------------------------------------------------------

void CSysWindow::GetFocusChange(bool forward) {
    if (m_pParentContainer) {
        m_pParentContainer->GetFocusChange(this, forward);
    } else if (m_pChildContainer) {
        m_pChildContainer->SetFocusChange(forward);
    }
}

void CSysWindow::SetFocusChange(bool forward) {
    if (m_pChildContainer) {
        m_pChildContainer->SetFocusChange(forward);
    } else {
        SetFocus();
    }
}

void CSysWindow::ProcessTab(bool forward) {
    if (m_pChildContainer) {
        m_pChildContainer->ProcessTab(forward);
    } else {
        SetFocus();
    }
}

}  // namespace quelt
