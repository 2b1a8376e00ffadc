#include "quelt/controls/splitter.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>

#include "core/numeric_p.h"
#include "quelt/sys/window.h"

namespace quelt {

ISplitter::~ISplitter() = default;

CSplitter::CSplitter(OrientationType orientation) : m_orientation(orientation) {
    AddEventType(typeid(ISplitterNotify));
}

namespace {

long long NonNegative(int value) { return std::max(value, 0); }

bool Usable(ISysWindow *window) { return window && window->GetVisible(); }

}  // namespace

int CSplitter::ClampPosition(int pos, int total) const {
    const long long m = NonNegative(m_minimalSize);
    const long long room = std::max(0LL, NonNegative(total) - NonNegative(m_separatorSize));
    if (room < 2 * m) return SaturatingNarrow<int>(room / 2);
    return SaturatingNarrow<int>(std::clamp(NonNegative(pos), m, room - m));
}

int CSplitter::ScalePosition(int pos, int oldTotal, int newTotal, ResizeMode mode) const {
    const long long s = NonNegative(m_separatorSize);
    const long long oldRoom = std::max(0LL, NonNegative(oldTotal) - s);
    const long long newRoom = std::max(0LL, NonNegative(newTotal) - s);
    long long p = NonNegative(pos);
    switch (mode) {
        case Proportional:
            if (oldRoom > 0) p = std::llround(static_cast<double>(p) * newRoom / oldRoom);
            break;
        case KeepSecond:
            p += newRoom - oldRoom;
            break;
        default:
            break;
    }
    return ClampPosition(SaturatingNarrow<int>(std::max(p, 0LL)), newTotal);
}

void CSplitter::AssignSections(ISysWindow *first, ISysWindow *second) {
    ISysWindow *old[] = {m_pFirst, m_pSecond};
    m_pFirst = first;
    m_pSecond = second;
    for (ISysWindow *window : old) {
        if (window && window != first && window != second) Disown(window);
    }
    Adopt(first);
    Adopt(second);
}

void CSplitter::AssignMinimalSize(int size) {
    m_minimalSize = std::max(size, 0);
    Update();
}

void CSplitter::AssignSeparatorSize(int size) {
    m_separatorSize = std::max(size, 0);
    Update();
}

void CSplitter::MovePosition(int pos, int total) {
    // What the user saw is what later extents keep: a drag past the minimal
    // size counts as the position it was held at.
    m_requestedTotal = std::max(total, 0);
    m_requested = ClampPosition(pos, m_requestedTotal);
    m_total = m_requestedTotal;
    Update();
}

void CSplitter::ResizeTotal(int total) {
    m_total = std::max(total, 0);
    Update();
}

void CSplitter::Update() {
    const int old = m_position;
    m_position =
        m_requested < 0
            ? ClampPosition(SaturatingNarrow<int>((m_total - NonNegative(m_separatorSize)) / 2), m_total)
            : ScalePosition(m_requested, m_requestedTotal, m_total, m_resizeMode);
    if (m_position == old) return;
    CSplitterEvent event(Self(), m_position, old);
    NotifySplitterOnChangeSize(&event);
}

void CSplitter::GetSectionRects(const screen_rectangle<int> &area, screen_rectangle<int> &first,
                                screen_rectangle<int> &second) const {
    const long long p = m_position;
    const long long s = NonNegative(m_separatorSize);
    first = second = area;
    if (m_orientation == Vertical) {
        first.bottom = SaturatingNarrow<int>(area.top + p - 1);
        second.top = SaturatingNarrow<int>(std::min<long long>(area.top + p + s, area.bottom + 1LL));
    } else {
        first.right = SaturatingNarrow<int>(area.left + p - 1);
        second.left = SaturatingNarrow<int>(std::min<long long>(area.left + p + s, area.right + 1LL));
    }
}

void CSplitter::NotifySplitterOnChangeSize(CSplitterEvent *event) {
    Fire<&ISplitterNotify::SplitterOnChangeSize>(event, true);
}

void CSplitter::OnWindowGone(ISysWindow *window) {
    if (m_pFirst == window) m_pFirst = nullptr;
    if (m_pSecond == window) m_pSecond = nullptr;
}

void CSplitter::SetFocusChange(bool forward) {
    Reentry entered(*this);
    if (!entered) return;
    ISysWindow *order[] = {forward ? m_pFirst : m_pSecond, forward ? m_pSecond : m_pFirst};
    for (ISysWindow *window : order) {
        if (Enter(window, forward)) return;
    }
}

void CSplitter::GetFocusChange(CSysWindow *from, bool forward) {
    {
        Reentry entered(*this);
        if (!entered) return;
        ISysWindow *source = from;
        ISysWindow *next = nullptr;
        if (source && source == m_pFirst && forward) next = m_pSecond;
        if (source && source == m_pSecond && !forward) next = m_pFirst;
        if (Enter(next, forward)) return;
    }
    HandToParent(forward);
}

void CSplitter::ProcessTab(bool forward) {
    Reentry entered(*this);
    if (!entered) return;
    if (forward && Enter(m_pFirst, forward)) return;
    if (Enter(m_pSecond, forward)) return;
    if (!Usable(m_pFirst)) return;
    if (auto *sys = dynamic_cast<CSysWindow *>(m_pFirst)) {
        sys->ProcessTab(forward);
    } else {
        m_pFirst->SetFocus();
    }
}

}  // namespace quelt
