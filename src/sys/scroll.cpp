#include "quelt/sys/scroll.h"

#include <cmath>

#include "core/numeric_p.h"

namespace quelt {

namespace {

int Round(double value) { return SaturatingCast<int>(std::floor(value + 0.5)); }

// Sums and differences of ints that may leave the int range.
int Add(int a, long long b) { return SaturatingNarrow<int>(a + b); }

}  // namespace

// --- CScrollConverter ------------------------------------------------------

CScrollConverter::CScrollConverter(double min, double max, double step, double page, int precision)
    : m_page(page), m_min(min), m_max(max), m_step(step), m_precision(precision), m_ascending(max > min) {}

void CScrollConverter::SetMin(double min) {
    m_min = min;
    m_ascending = m_min < m_max;
}

void CScrollConverter::SetMax(double max) {
    m_max = max;
    m_ascending = m_min < m_max;
}

double CScrollConverter::NormalizePos(double value) const {
    if (value + m_page > Upper()) return Upper() - m_page;
    if (!(value >= Lower())) return Lower();
    return value;
}

void CScrollConverter::SetPos(double value) { m_pos = NormalizePos(value); }

void CScrollConverter::SetIntPos(int n) {
    const double size = GetScrollSize();
    double value;
    if (m_ascending) {
        value = m_precision != 0 ? m_min + size * n / m_precision : static_cast<double>(n);
    } else {
        // Dividing first, in double, keeps a reversed axis from jumping.
        value = m_precision != 0 ? m_min - size * (static_cast<double>(n) / m_precision) - m_page
                                 : m_min - n - m_page;
    }
    SetPos(value);
}

double CScrollConverter::GetScrollSize() const { return std::fabs(m_max - m_min); }

int CScrollConverter::ConvertPageSize() const {
    if (m_max == m_min) return 0;
    if (m_precision != 0)
        return SaturatingCast<int>(std::floor(m_page * m_precision / GetScrollSize() + 1.5));
    return SaturatingCast<int>(m_page);
}

int CScrollConverter::ConvertStepSize() const {
    if (m_max == m_min) return 0;
    if (m_precision != 0) return Round(m_step * m_precision / GetScrollSize());
    return SaturatingCast<int>(m_step);
}

int CScrollConverter::ConvertPos() const {
    if (m_max == m_min) return 0;
    const double offset = m_ascending ? m_pos - m_min : m_min - m_pos - m_page;
    if (m_precision != 0) return Round(offset * m_precision / GetScrollSize());
    return SaturatingCast<int>(m_ascending ? m_pos : offset);
}

int CScrollConverter::ConvertMin() const { return m_precision != 0 ? 0 : SaturatingCast<int>(Lower()); }

int CScrollConverter::ConvertMax() const {
    return m_precision != 0 ? m_precision : SaturatingCast<int>(Upper());
}

void CScrollConverter::SetEmpty() { *this = CScrollConverter(); }

// --- CPosManager -------------------------------------------------------------

CPosManager::CPosManager(int left, int top, int right, int bottom, int anchors) {
    Init(left, top, right, bottom, anchors);
}

CPosManager::CPosManager(const screen_rectangle<int> &outer, const screen_rectangle<int> &inner,
                         int anchors) {
    Init(outer, inner, anchors);
}

void CPosManager::Init(int left, int top, int right, int bottom, int anchors) {
    m_left = left;
    m_top = top;
    m_right = right;
    m_bottom = bottom;
    m_anchors = anchors;
}

void CPosManager::Init(const screen_rectangle<int> &outer, const screen_rectangle<int> &inner, int anchors) {
    Init(Add(inner.left, -static_cast<long long>(outer.left)),
         Add(inner.top, -static_cast<long long>(outer.top)),
         Add(outer.right, -static_cast<long long>(inner.right)),
         Add(outer.bottom, -static_cast<long long>(inner.bottom)), anchors);
}

screen_rectangle<int> CPosManager::GetCtrlRect(const screen_rectangle<int> &outer, int width,
                                               int height) const {
    const bool left = (m_anchors & 1) != 0;
    const bool top = (m_anchors & 2) != 0;
    const bool right = (m_anchors & 4) != 0;
    const bool bottom = (m_anchors & 8) != 0;
    const int r = right ? Add(outer.right, -static_cast<long long>(m_right)) : 0;
    const int b = bottom ? Add(outer.bottom, -static_cast<long long>(m_bottom)) : 0;
    const int l = left ? Add(outer.left, m_left) : Add(r, -static_cast<long long>(width));
    const int t = top ? Add(outer.top, m_top) : Add(b, -static_cast<long long>(height));
    return {l, t, right ? r : Add(l, width), bottom ? b : Add(t, height)};
}

}  // namespace quelt
