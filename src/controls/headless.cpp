#include "quelt/controls/headless.h"

#include "core/numeric_p.h"

namespace quelt {

size<int> BoundsSize(const screen_rectangle<int> &bounds) {
    return {PixelCount(bounds.left, bounds.right), PixelCount(bounds.top, bounds.bottom)};
}

// --- item lists ----------------------------------------------------------------

int CHeadlessItems::Add(const wstring &text) {
    m_items.push_back(text);
    return Count() - 1;
}

void CHeadlessItems::Erase(int index) {
    if (!Has(index)) return;
    m_items.erase(m_items.begin() + index);
    if (index < m_current)
        --m_current;
    else if (index == m_current)
        m_current = -1;
}

void CHeadlessItems::Clear() {
    m_items.clear();
    m_current = -1;
}

// --- combo box -----------------------------------------------------------------

void CHeadlessComboBox::SetCurSel(int index) {
    m_list.Select(index);
    if (m_list.Current() >= 0) Assign(m_list.Text(m_list.Current()));
    Changed();
}

void CHeadlessComboBox::ShowDropDown(bool show) {
    m_dropped = show;
    Changed();
}

void CHeadlessComboBox::Select(int index) {
    if (!IsEnabled() || !m_list.Has(index)) return;
    m_list.Select(index);
    CComboBoxIndexEvent event(Sender(), index);
    NotifyCBOnSelectItem(&event);
    SelectAll();
    Edit(m_list.Text(index));
}

void CHeadlessComboBox::Choose(int index) {
    if (!IsEnabled() || !m_list.Has(index)) return;
    Select(index);
    m_dropped = false;
    Changed();
    CComboBoxIndexEvent event(Sender(), index);
    NotifyCBOnChoicItem(&event);
}

// --- buttons -------------------------------------------------------------------

void CHeadlessButton::SetDefault(bool isDefault) {
    m_default = isDefault;
    Changed();
}

void CHeadlessButton::Press() {
    if (IsEnabled()) RaiseClick();
}

void CHeadlessButton::DoublePress() {
    if (!IsEnabled()) return;
    RaiseClick();
    CEvent event(Sender());
    NotifyButtonOnDoubleClick(&event);
}

void CHeadlessCheckBox::SetChecked(bool checked) {
    m_checked = checked;
    Changed();
}

void CHeadlessCheckBox::Press() {
    if (!IsEnabled()) return;
    Click();
    m_checked = !m_checked;
    Changed();
    CEvent event(Sender());
    NotifyButtonOnClick(&event);
}

CHeadlessRadioButton::~CHeadlessRadioButton() { LeaveGroup(); }

void CHeadlessRadioButton::LeaveGroup() {
    if (!m_pGroup) return;
    m_pGroup->erase(std::remove(m_pGroup->begin(), m_pGroup->end(), this), m_pGroup->end());
    m_pGroup.reset();
}

void CHeadlessRadioButton::Group(const std::vector<CHeadlessRadioButton *> &buttons) {
    auto group = std::make_shared<std::vector<CHeadlessRadioButton *>>();
    for (CHeadlessRadioButton *button : buttons) {
        button->LeaveGroup();
        button->m_pGroup = group;
        group->push_back(button);
    }
}

void CHeadlessRadioButton::CheckAlone() {
    m_checked = true;
    Changed();
    if (!m_pGroup) return;
    for (CHeadlessRadioButton *other : *m_pGroup) {
        if (other == this || !other->m_checked) continue;
        other->m_checked = false;
        other->Changed();
    }
}

void CHeadlessRadioButton::SetChecked(bool checked) {
    if (checked) {
        CheckAlone();
        return;
    }
    m_checked = false;
    Changed();
}

void CHeadlessRadioButton::Press() {
    if (!IsEnabled()) return;
    Click();
    CheckAlone();
    CEvent event(Sender());
    NotifyButtonOnClick(&event);
}

// --- list box ------------------------------------------------------------------

void CHeadlessListBox::SetCurSel(int index) {
    m_list.Select(index);
    Changed();
}

void CHeadlessListBox::Select(int index) {
    if (!IsEnabled() || !m_list.Has(index) || index == m_list.Current()) return;
    m_list.Select(index);
    Changed();
    CEvent event(Sender());
    NotifyListBoxOnSelectionChanged(&event);
}

void CHeadlessListBox::DoubleClickItem(int index) {
    if (!IsEnabled() || !m_list.Has(index)) return;
    Select(index);
    CEvent event(Sender());
    NotifyListBoxOnDoubleClick(&event);
}

void CHeadlessListBox::PressKey(int key, VKeyState keys) {
    if (!IsEnabled()) return;
    CListBoxKeyDownEvent event(Sender(), keys, key, 0);
    NotifyListBoxOnKeyDown(&event);
    const int last = GetItemCount() - 1;
    if (!event.IsAllowed() || last < 0) return;
    switch (key) {
        case vk::Up:
            Select(std::max(m_list.Current() - 1, 0));
            break;
        case vk::Down:
            Select(std::min(m_list.Current() + 1, last));
            break;
        case vk::Home:
            Select(0);
            break;
        case vk::End:
            Select(last);
            break;
        default:
            break;
    }
}

namespace {

wchar Upper(wchar unit) { return unit >= 'a' && unit <= 'z' ? static_cast<wchar>(unit - 'a' + 'A') : unit; }

}  // namespace

void CHeadlessListBox::TypeChar(unsigned short character) {
    if (!IsEnabled()) return;
    CListBoxKeyDownEvent event(Sender(), 0, 0, character);
    NotifyListBoxOnChar(&event);
    const int count = GetItemCount();
    if (!event.IsAllowed()) return;
    for (int step = 1; step <= count; ++step) {
        const int i = (std::max(m_list.Current(), -1) + step) % count;
        const wstring item = m_list.Text(i);
        if (!item.empty() && Upper(item.front()) == Upper(character)) {
            Select(i);
            return;
        }
    }
}

void CHeadlessListBox::KindFocusChanged(bool got) {
    CFocusEvent event(Sender());
    if (got) {
        NotifyListBoxOnGetFocus(&event);
    } else {
        NotifyListBoxOnLostFocus(&event);
    }
}

}  // namespace quelt
