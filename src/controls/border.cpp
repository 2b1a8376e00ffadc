#include "quelt/controls/border.h"

#include <algorithm>
#include <new>
#include <typeinfo>

#include "core/numeric_p.h"

namespace quelt {

IBorder::~IBorder() = default;

// The window base makes its border here, where borders are known.
IBorder *CSysWindow::CreateBorder() {
    CBorder *border = new (std::nothrow) CBorder(this);
    m_pChildContainer = border;
    return border;
}

namespace {

// The free part of the parent while the edges are placed; 64-bit so that no
// sum of coordinates and sizes overflows.
struct Area {
    long long left, top, right, bottom;
};

screen_rectangle<int> Normalised(long long l, long long t, long long r, long long b) {
    return {SaturatingNarrow<int>(std::min(l, r)), SaturatingNarrow<int>(std::min(t, b)),
            SaturatingNarrow<int>(std::max(l, r)), SaturatingNarrow<int>(std::max(t, b))};
}

bool Usable(ISysWindow *window) { return window && window->GetVisible(); }

}  // namespace

CBorder::CBorder(CSysWindow *parent) : m_pTabOrders(std::make_unique<CTabOrders>()) {
    SetParent(parent);
    if (parent) parent->Subscribe(CWindowNotify::AsNotify(), typeid(IWindowNotify), true);
}

CBorder::~CBorder() = default;

ISysWindow *CBorder::AddChild(Alignment alignment) {
    CSysWindow *parent = GetParent();
    ISysWindow *window = parent ? parent->CreateChildWindow() : nullptr;
    if (!window) return nullptr;
    if (auto *sys = dynamic_cast<CSysWindow *>(window)) sys->SetParentContainer(this);
    Watch(window);
    m_children.emplace_back(alignment, window);
    RebuildTabOrder();
    return window;
}

void CBorder::OnResize(CWindowEvent *event) {
    CSysWindow *parent = GetParent();
    if (parent && event->GetSource() == static_cast<IEventSender *>(parent)) Layout();
}

void CBorder::Layout() {
    CSysWindow *parent = GetParent();
    if (!parent) return;
    const rectangle<int> bounds = parent->GetBoundsRect();
    Area r{bounds.left, bounds.top, bounds.right, bounds.bottom};
    ISysWindow *client = nullptr;
    // A child moved by the layout may make its receivers change the children.
    const auto children = m_children;
    for (const auto &[alignment, window] : children) {
        if (!window->GetVisible()) continue;
        const screen_rectangle<int> b = window->GetBounds();
        const long long w = std::max(0LL, static_cast<long long>(b.right) - b.left);
        const long long h = std::max(0LL, static_cast<long long>(b.bottom) - b.top);
        switch (alignment) {
            case AlignLeft: {
                const long long x1 = std::min(r.left + w, r.right);
                window->SetBounds(Normalised(r.left, r.top, x1, r.bottom), true);
                r.left = x1 + 1;
                break;
            }
            case AlignRight: {
                const long long x0 = std::max(r.right - w, r.left);
                window->SetBounds(Normalised(x0, r.top, r.right, r.bottom), true);
                r.right = x0 - 1;
                break;
            }
            case AlignTop: {
                const long long y1 = std::min(r.top + h, r.bottom);
                window->SetBounds(Normalised(r.left, r.top, r.right, y1), true);
                r.top = y1 + 1;
                break;
            }
            case AlignBottom: {
                const long long y0 = std::max(r.bottom - h, r.top);
                window->SetBounds(Normalised(r.left, y0, r.right, r.bottom), true);
                r.bottom = y0 - 1;
                break;
            }
            case AlignClient:
                client = window;
                break;
            default:
                break;
        }
    }
    if (client) client->SetBounds(Normalised(r.left, r.top, r.right, r.bottom), true);
    RebuildTabOrder();
}

void CBorder::RebuildTabOrder() {
    std::vector<ISysWindow *> order;
    order.reserve(m_children.size());
    for (const auto &child : m_children) order.push_back(child.second);
    std::stable_sort(order.begin(), order.end(), [](ISysWindow *a, ISysWindow *b) {
        const screen_rectangle<int> ra = a->GetBounds();
        const screen_rectangle<int> rb = b->GetBounds();
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    m_pTabOrders->SetSize(static_cast<unsigned>(order.size()));
    for (std::size_t i = 0; i < order.size(); ++i) m_pTabOrders->Set(static_cast<int>(i), order[i]);
}

void CBorder::OnWindowGone(ISysWindow *window) {
    m_children.erase(std::remove_if(m_children.begin(), m_children.end(),
                                    [window](const auto &child) { return child.second == window; }),
                     m_children.end());
    RebuildTabOrder();
}

int CBorder::GetNextTabIndex(int index) {
    for (int i = std::max(index + 1, 0); i < m_pTabOrders->GetSize(); ++i) {
        if (Usable(m_pTabOrders->Get(i))) return i;
    }
    return -1;
}

int CBorder::GetPrevTabIndex(int index) {
    for (int i = std::min(index, m_pTabOrders->GetSize()) - 1; i >= 0; --i) {
        if (Usable(m_pTabOrders->Get(i))) return i;
    }
    return -1;
}

int CBorder::GetNextTabIndexEx(int index) {
    const int next = GetNextTabIndex(index);
    return next >= 0 ? next : GetNextTabIndex(-1);
}

int CBorder::GetPrevTabIndexEx(int index) {
    const int prev = GetPrevTabIndex(index);
    return prev >= 0 ? prev : GetPrevTabIndex(m_pTabOrders->GetSize());
}

void CBorder::GetFocusChange(CSysWindow *, bool forward) {
    {
        Reentry entered(*this);
        if (!entered) return;
        const int focused = m_pTabOrders->GetFocused(forward);
        const int target = forward ? GetNextTabIndex(focused) : GetPrevTabIndex(focused);
        if (target >= 0) {
            Enter(m_pTabOrders->Get(target), forward);
            return;
        }
    }
    // Past the last child: the parent window passes the focus on (and,
    // without a container of its own, back round to the first child).
    HandToParent(forward);
}

void CBorder::EnterWrapping(bool forward) {
    Reentry entered(*this);
    if (!entered) return;
    const int focused = m_pTabOrders->GetFocused(forward);
    const int target = forward ? GetNextTabIndexEx(focused) : GetPrevTabIndexEx(focused);
    if (target >= 0) Enter(m_pTabOrders->Get(target), forward);
}

void CBorder::SetFocusChange(bool forward) { EnterWrapping(forward); }

void CBorder::ProcessTab(bool forward) { EnterWrapping(forward); }

}  // namespace quelt
