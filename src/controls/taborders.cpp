#include "quelt/controls/taborders.h"

#include "quelt/sys/window.h"

namespace quelt {

ITabOrders::~ITabOrders() = default;

void CTabOrders::SetSize(unsigned n) { m_windows.resize(n, nullptr); }

void CTabOrders::Set(int index, ISysWindow *window) {
    if (index >= 0 && index < GetSize()) m_windows[static_cast<std::size_t>(index)] = window;
}

ISysWindow *CTabOrders::Get(int index) {
    return index >= 0 && index < GetSize() ? m_windows[static_cast<std::size_t>(index)] : nullptr;
}

int CTabOrders::GetFocused(bool last) {
    for (int i = 0; i < GetSize(); ++i) {
        ISysWindow *window = m_windows[static_cast<std::size_t>(i)];
        if (window && window->HasFocus()) return i;
    }
    return last ? -1 : GetSize();
}

}  // namespace quelt
