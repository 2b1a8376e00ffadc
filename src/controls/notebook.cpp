#include "quelt/controls/notebook.h"

#include <algorithm>
#include <typeinfo>

#include "quelt/sys/window.h"

namespace quelt {

// --- page list -----------------------------------------------------------------

ISysWindow *CNotebookPages::Get(int index) const {
    return index >= 0 && index < GetCount() ? m_pages[static_cast<std::size_t>(index)] : nullptr;
}

int CNotebookPages::IndexOf(const ISysWindow *page) const {
    const auto it = std::find(m_pages.begin(), m_pages.end(), page);
    return it == m_pages.end() ? -1 : static_cast<int>(it - m_pages.begin());
}

int CNotebookPages::Insert(int index, ISysWindow *page) {
    if (index < 0 || index > GetCount()) index = GetCount();
    m_pages.insert(m_pages.begin() + index, page);
    if (m_current >= index) ++m_current;
    return index;
}

bool CNotebookPages::Erase(int index) {
    if (index < 0 || index >= GetCount()) return false;
    m_pages.erase(m_pages.begin() + index);
    if (index < m_current) {
        --m_current;
        return false;
    }
    if (index > m_current) return false;
    m_current = m_pages.empty() ? -1 : std::min(index, GetCount() - 1);
    return true;
}

bool CNotebookPages::Select(int index) {
    if (index < 0 || index >= GetCount() || index == m_current) return false;
    m_current = index;
    return true;
}

void CNotebookPages::Forget(const ISysWindow *page) {
    if (page)
        std::replace(m_pages.begin(), m_pages.end(), const_cast<ISysWindow *>(page),
                     static_cast<ISysWindow *>(nullptr));
}

// --- notebook ------------------------------------------------------------------

INotebook::~INotebook() = default;

int CNotebook::InsertPageAt(int index, ISysWindow *page) {
    Adopt(page);
    return m_pages.Insert(index, page);
}

bool CNotebook::ErasePageAt(int index) {
    ISysWindow *page = m_pages.Get(index);
    const bool changed = m_pages.Erase(index);
    if (m_pages.IndexOf(page) < 0) Disown(page);
    return changed;
}

bool CNotebook::SelectPageAt(int index) { return m_pages.Select(index); }

void CNotebook::OnWindowGone(ISysWindow *window) { m_pages.Forget(window); }

void CNotebook::SetFocusChange(bool forward) {
    Reentry entered(*this);
    if (entered) Enter(m_pages.GetCurrentPage(), forward);
}

void CNotebook::ProcessTab(bool forward) { SetFocusChange(forward); }

// --- tab notebook --------------------------------------------------------------

ITabNotebook::~ITabNotebook() = default;

CTabNotebook::CTabNotebook(WorkMode mode) : m_mode(mode), m_creationMode(mode) {
    AddEventType(typeid(ITabNotebookNotify));
}

ISysWindow *CTabNotebook::GetPage(int index) { return m_mode == Pages ? m_pages.Get(index) : nullptr; }

int CTabNotebook::InsertPageAt(int index, ISysWindow *page) {
    Adopt(page);
    return m_pages.Insert(index, page);
}

bool CTabNotebook::ErasePageAt(int index) {
    ISysWindow *page = m_pages.Get(index);
    const bool changed = m_pages.Erase(index);
    if (page && m_pages.IndexOf(page) < 0) Disown(page);
    if (changed) RaiseChange();
    return changed;
}

bool CTabNotebook::SelectPageAt(int index) {
    if (!m_pages.Select(index)) return false;
    RaiseChange();
    return true;
}

void CTabNotebook::RaiseChange() {
    CTabEvent event(Self(), m_pages.GetCurrent());
    NotifyTabOnChangePageIndex(&event);
}

void CTabNotebook::NotifyTabOnChangePageIndex(CTabEvent *event) {
    Fire<&ITabNotebookNotify::TabOnChangePageIndex>(event, true);
}

void CTabNotebook::OnWindowGone(ISysWindow *window) { m_pages.Forget(window); }

void CTabNotebook::GetFocusChange(CSysWindow *, bool forward) {
    if (!forward) {
        HandToParent(forward);
        return;
    }
    Reentry entered(*this);
    if (entered) FocusTabControl();
}

void CTabNotebook::SetFocusChange(bool forward) {
    Reentry entered(*this);
    if (entered) Enter(m_pages.GetCurrentPage(), forward);
}

void CTabNotebook::ProcessTab(bool forward) {
    if (forward) {
        SetFocusChange(forward);
        return;
    }
    Reentry entered(*this);
    if (entered) FocusTabControl();
}

}  // namespace quelt
