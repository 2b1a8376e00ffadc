#include "quelt/controls/menu.h"

#include <typeinfo>

namespace quelt {

IStyleStorage::~IStyleStorage() = default;

IPopupMenu::ItemStyle CStyleStorage::GetStyle(int key) const {
    const auto it = m_styles.find(key);
    return it == m_styles.end() ? IPopupMenu::StyleNormal : it->second;
}

CSysMenu::CSysMenu(const ISysWindow *owner) : m_pOwner(owner), m_pStyles(std::make_unique<CStyleStorage>()) {
    AddEventType(typeid(IMenuNotify));
}

CSysMenu::~CSysMenu() = default;

int CSysMenu::PositionOf(int item, PlaceType place) {
    const int position = place != ByCommand ? item : GetItemPosition(item);
    return position >= 0 && position < GetItemCount() ? position : -1;
}

void CSysMenu::SetItemStyle(int item, ItemStyle style, PlaceType place) {
    const int key = place != ByCommand ? item : GetItemPosition(item);
    if (key >= 0) m_pStyles->SetStyle(key, style);
}

IPopupMenu::ItemStyle CSysMenu::GetItemStyle(int item, PlaceType place) {
    const int key = place != ByCommand ? item : GetItemPosition(item);
    return key >= 0 ? m_pStyles->GetStyle(key) : StyleNormal;
}

void CSysMenu::SetItemChecked(int item, bool checked, PlaceType place) {
    if (m_busy) return;
    const int position = PositionOf(item, place);
    if (position < 0) return;
    if (checked && m_pStyles->GetStyle(position) == StyleRadio) {
        ProcessItem(position, true);
    } else {
        CheckItem(position, checked);
    }
}

void CSysMenu::ProcessItem(int position, bool state) {
    if (m_busy || position < 0 || position >= GetItemCount()) return;
    struct Busy {
        bool &flag;
        explicit Busy(bool &f) : flag(f) { flag = true; }
        ~Busy() { flag = false; }
    } busy(m_busy);
    switch (m_pStyles->GetStyle(position)) {
        case StyleCheck:
            CheckItem(position, !state);
            break;
        case StyleRadio:
            CheckRadioRun(position);
            break;
        default:
            break;
    }
}

// Every item of the run but this one is cleared, also when the run had
// more than one checked: a radio group never ends with two marks.
void CSysMenu::CheckRadioRun(int position) {
    int first = position;
    while (first > 0 && m_pStyles->GetStyle(first - 1) == StyleRadio) --first;
    int last = position;
    const int count = GetItemCount();
    while (last + 1 < count && m_pStyles->GetStyle(last + 1) == StyleRadio) ++last;
    if (!IsItemChecked(position)) CheckItem(position, true);
    for (int i = first; i <= last; ++i) {
        if (i != position && IsItemChecked(i)) CheckItem(i, false);
    }
}

void CSysMenu::NotifyOnSelected(CMenuEvent *event) { Fire<&IMenuNotify::OnSelected>(event, true); }

void CSysMenu::NotifyOnClicked(CMenuEvent *event) { Fire<&IMenuNotify::OnClicked>(event, true); }

}  // namespace quelt
