#include "quelt/visual/control.h"

#include <algorithm>
#include <array>
#include <climits>
#include <typeinfo>
#include <utility>

#include "quelt/paint/painter.h"

namespace quelt {

IImageList::~IImageList() = default;

void CControlWindowNotify::OnUnsubscribe(IEventSender *sender) {
    CWindowNotify::OnUnsubscribe(sender);
    if (!m_pSenders->Contains(sender)) OnWindowDropped(sender);
}

namespace {

using Receiver = std::pair<INotify *, const std::type_info *>;

// The twelve receivers of a control at its window, in subscription order.
std::array<Receiver, 12> WindowReceivers(CQueltControl *c) {
    return {{
        {static_cast<CDrawingNotify *>(c)->AsNotify(), &typeid(IDrawingNotify)},
        {static_cast<CMouseNotify *>(c)->AsNotify(), &typeid(IMouseNotify)},
        {static_cast<CMouseClickNotify *>(c)->AsNotify(), &typeid(IMouseClickNotify)},
        {static_cast<CMouseHoverNotify *>(c)->AsNotify(), &typeid(IMouseHoverNotify)},
        {static_cast<CKeyboardNotify *>(c)->AsNotify(), &typeid(IKeyboardNotify)},
        {static_cast<CControlWindowNotify *>(c)->AsNotify(), &typeid(IWindowNotify)},
        {static_cast<CFocusNotify *>(c)->AsNotify(), &typeid(IFocusNotify)},
        {static_cast<CContextMenuNotify *>(c)->AsNotify(), &typeid(IContextMenuNotify)},
        {static_cast<CTooltipNotify *>(c)->AsNotify(), &typeid(ITooltipNotify)},
        {static_cast<CScrollNotify *>(c)->AsNotify(), &typeid(IScrollNotify)},
        {static_cast<CCustomEventNotify *>(c)->AsNotify(), &typeid(ICustomEventNotify)},
        {static_cast<CSystemNotify *>(c)->AsNotify(), &typeid(ISystemNotify)},
    }};
}

int Extent(int from, int to) {
    const long long extent = static_cast<long long>(to) - from + 1;
    return static_cast<int>(std::clamp<long long>(extent, INT_MIN, INT_MAX));
}

}  // namespace

CQueltControl::CQueltControl(ISysWindow *window, bool mode) : m_mode(mode) {
    if (ISystem *system = GetCurrentSystem()) m_pMouse = system->GetMouse();
    for (const std::type_info *type :
         {&typeid(IDrawingNotify), &typeid(IMouseNotify), &typeid(IMouseClickNotify),
          &typeid(IMouseHoverNotify), &typeid(IKeyboardNotify), &typeid(IWindowNotify), &typeid(IFocusNotify),
          &typeid(IContextMenuNotify), &typeid(ITooltipNotify), &typeid(IScrollNotify)}) {
        AddEventType(*type);
    }
    if (window) Attach(window, mode);
}

CQueltControl::~CQueltControl() {
    if (m_pWindow) Leave(m_pWindow);
}

void *CQueltControl::GetHandle() const { return const_cast<CQueltControl *>(this); }

void CQueltControl::Attach(ISysWindow *window, bool mode) {
    m_pWindow = window;
    m_pWindowSender = window;
    m_mode = mode;
    for (const Receiver &r : WindowReceivers(this)) window->Subscribe(r.first, *r.second, true);
    window->SetWindowMode(mode);
    window->RegisterHandle(this);
}

void CQueltControl::Leave(ISysWindow *window) {
    // Forgotten first: the unsubscriptions below call back.
    Forget();
    for (const Receiver &r : WindowReceivers(this)) window->Unsubscribe(r.first, *r.second, true);
    if (m_lockCount > 0) window->LockUpdate(false);
    if (window->GetHandle() == GetHandle()) window->RegisterHandle(nullptr);
}

void CQueltControl::Forget() {
    m_pWindow = nullptr;
    m_pWindowSender = nullptr;
}

void CQueltControl::OnWindowDropped(IEventSender *sender) {
    if (sender && sender == m_pWindowSender) Forget();
}

void CQueltControl::SetSysWindow(ISysWindow *window) {
    if (window == m_pWindow) return;
    ISysWindow *old = m_pWindow;
    const bool mode = old ? old->GetWindowMode() : m_mode;
    if (old) Leave(old);
    if (!window) {
        m_mode = mode;
        return;
    }
    Attach(window, mode);
    if (m_lockCount > 0) window->LockUpdate(true);
    const rectangle<int> r = window->GetBoundsRect();
    window->DoInvalidate(r.left, r.top, r.right, r.bottom);
}

// --- forwarders ------------------------------------------------------------------

rectangle<int> CQueltControl::GetBoundsRect() const {
    return m_pWindow ? m_pWindow->GetBoundsRect() : rectangle<int>();
}

int CQueltControl::GetWidth() const {
    const rectangle<int> r = GetBoundsRect();
    return Extent(r.left, r.right);
}

int CQueltControl::GetHeight() const {
    const rectangle<int> r = GetBoundsRect();
    return Extent(r.top, r.bottom);
}

void CQueltControl::SetEnabled(bool enabled) {
    if (m_pWindow) m_pWindow->SetEnabled(enabled);
}

bool CQueltControl::GetEnabled() const { return m_pWindow && m_pWindow->GetEnabled(); }

void CQueltControl::SetVisible(bool visible) {
    if (m_pWindow) m_pWindow->SetVisible(visible);
}

bool CQueltControl::GetVisible() const { return m_pWindow && m_pWindow->GetVisible(); }

bool CQueltControl::IsFocused() const { return m_pWindow && m_pWindow->IsFocused(); }

void CQueltControl::SetHideScrollbars(bool hide) {
    if (!m_pWindow) return;
    const auto state = hide ? ISysWindow::ScrollAuto : ISysWindow::ScrollAlways;
    m_pWindow->SetScrollState(ISysWindow::HorzScroll, state);
    m_pWindow->SetScrollState(ISysWindow::VertScroll, state);
}

bool CQueltControl::GetHideScrollbars() const {
    return m_pWindow && m_pWindow->GetScrollState(ISysWindow::VertScroll) == ISysWindow::ScrollAuto;
}

void CQueltControl::SetScrollbarCondition(ScrollbarCondition condition) {
    if (m_pWindow) m_pWindow->SetScrollCondition(condition);
}

CQueltControl::ScrollbarCondition CQueltControl::GetScrollbarCondition() const {
    return m_pWindow ? m_pWindow->GetScrollCondition() : ISysWindow::ScrollBoth;
}

void CQueltControl::SetBorderStyle(ISysWindow::BorderStyle style) {
    if (m_pWindow) m_pWindow->SetBorderStyle(style);
}

ISysWindow::BorderStyle CQueltControl::GetBorderStyle() const {
    return m_pWindow ? m_pWindow->GetBorderStyle() : ISysWindow::NoBorder;
}

void CQueltControl::Refresh() {
    if (!m_pWindow) return;
    const rectangle<int> r = m_pWindow->GetBoundsRect();
    m_pWindow->DoRefresh(r.left, r.top, r.right, r.bottom, false);
}

void CQueltControl::Invalidate() {
    if (!m_pWindow) return;
    const rectangle<int> r = m_pWindow->GetBoundsRect();
    m_pWindow->DoInvalidate(r.left, r.top, r.right, r.bottom);
}

// --- own state -------------------------------------------------------------------

void CQueltControl::SetImageList(IImageList *list) {
    if (list == m_pImageList) return;
    m_pImageList = list;
    Invalidate();
}

void CQueltControl::BeginUpdate() {
    if (m_lockCount++ != 0) return;
    if (m_pWindow) m_pWindow->LockUpdate(true);
    InternalBeginUpdate();
}

void CQueltControl::EndUpdate() {
    if (m_lockCount-- != 1) return;
    if (m_pWindow) m_pWindow->LockUpdate(false);
    InternalEndUpdate();
}

void CQueltControl::Print() {
    ISystem *system = GetCurrentSystem();
    IPrinter *printer = system ? system->GetPrinter() : nullptr;
    if (!printer) return;
    quelt_ptr<IPainter> painter = printer->CreatePainter();
    PrintPages(this, static_cast<CDrawingNotify *>(this), painter.get(), printer, false);
}

// --- handlers --------------------------------------------------------------------

void CQueltControl::OnDraw(IPainter *painter) { Fire<&IDrawingNotify::OnDraw>(painter, false); }
void CQueltControl::OnResize(CWindowEvent *event) { Fire<&IWindowNotify::OnResize>(event, true); }
void CQueltControl::OnMove(CWindowEvent *event) { Fire<&IWindowNotify::OnMove>(event, true); }

void CQueltControl::OnDestroy(CWindowEvent *event) {
    if (event && event->GetSource() && event->GetSource() == m_pWindowSender) Forget();
    Fire<&IWindowNotify::OnDestroy>(event, true);
}

void CQueltControl::OnShow(CWindowEvent *event) { Fire<&IWindowNotify::OnShow>(event, true); }
void CQueltControl::OnHide(CWindowEvent *event) { Fire<&IWindowNotify::OnHide>(event, true); }
void CQueltControl::OnGetFocus(CFocusEvent *event) { Fire<&IFocusNotify::OnGetFocus>(event, true); }
void CQueltControl::OnLostFocus(CFocusEvent *event) { Fire<&IFocusNotify::OnLostFocus>(event, true); }
void CQueltControl::OnButtonDown(CMouseEvent *event) { Fire<&IMouseNotify::OnButtonDown>(event, true); }
void CQueltControl::OnButtonUp(CMouseEvent *event) { Fire<&IMouseNotify::OnButtonUp>(event, true); }
void CQueltControl::OnMouseMove(CMouseEvent *event) { Fire<&IMouseNotify::OnMouseMove>(event, true); }
void CQueltControl::OnWheel(CMouseWheelEvent *event) { Fire<&IMouseNotify::OnWheel>(event, true); }
void CQueltControl::OnClick(CMouseEvent *event) { Fire<&IMouseClickNotify::OnClick>(event, true); }
void CQueltControl::OnDoubleClick(CMouseEvent *event) {
    Fire<&IMouseClickNotify::OnDoubleClick>(event, true);
}
void CQueltControl::OnHover(CMouseEvent *event) { Fire<&IMouseHoverNotify::OnHover>(event, true); }
void CQueltControl::OnLeave(CMouseEvent *event) { Fire<&IMouseHoverNotify::OnLeave>(event, true); }
void CQueltControl::OnKeyDown(CKeyboardEvent *event) { Fire<&IKeyboardNotify::OnKeyDown>(event, true); }
void CQueltControl::OnKeyUp(CKeyboardEvent *event) { Fire<&IKeyboardNotify::OnKeyUp>(event, true); }
void CQueltControl::OnChar(CKeyboardEvent *event) { Fire<&IKeyboardNotify::OnChar>(event, true); }
void CQueltControl::OnTooltip(CTooltipEvent *event) { Fire<&ITooltipNotify::OnTooltip>(event, true); }
void CQueltControl::OnTooltipTrack(CTooltipEvent *event) {
    Fire<&ITooltipNotify::OnTooltipTrack>(event, true);
}
void CQueltControl::OnHorzScroll(CScrollEvent *event) { Fire<&IScrollNotify::OnHorzScroll>(event, true); }
void CQueltControl::OnVertScroll(CScrollEvent *event) { Fire<&IScrollNotify::OnVertScroll>(event, true); }
void CQueltControl::OnContextMenu(CContextMenuEvent *event) {
    Fire<&IContextMenuNotify::OnContextMenu>(event, true);
}
void CQueltControl::OnSysColorChanged(CEvent *event) { Fire<&ISystemNotify::OnSysColorChanged>(event, true); }

}  // namespace quelt
