#include "quelt/testing/controls.h"

#include <algorithm>

#include "quelt/controls/clipboard.h"

namespace quelt::testing {

wstring &ScriptedClipboard() {
    static wstring text;
    return text;
}

// --- every control -----------------------------------------------------------

template <class Base>
void ScriptedControl<Base>::SetBounds(int left, int top, int right, int bottom) {
    m_bounds = {left, top, right, bottom};
    Add("SetBounds", m_bounds);
}

template <class Base>
screen_rectangle<int> ScriptedControl<Base>::GetBounds() const {
    Add("GetBounds");
    return m_bounds;
}

template <class Base>
void ScriptedControl<Base>::SetVisible(bool visible) {
    Add("SetVisible", visible);
    if (visible == m_visible) return;
    m_visible = visible;
    VisibilityChanged(visible);
}

template <class Base>
void ScriptedControl<Base>::SetEnabled(bool enabled) {
    Add("SetEnabled", enabled);
    m_enabled = enabled;
}

template <class Base>
void ScriptedControl<Base>::SetFocus() {
    Add("SetFocus");
    if (!m_enabled || m_focused) return;
    m_focused = true;
    FocusChanged(true);
}

template <class Base>
bool ScriptedControl<Base>::IsFocused() const {
    Add("IsFocused");
    return m_focused;
}

template <class Base>
void ScriptedControl<Base>::Blur() {
    if (!m_focused) return;
    m_focused = false;
    FocusChanged(false);
}

// --- edits -------------------------------------------------------------------

template <class Base>
void ScriptedEditing<Base>::SetText(const wstring &text) {
    this->Add("SetText", text);
    Assign(text);
}

template <class Base>
wstring ScriptedEditing<Base>::GetText() const {
    this->Add("GetText");
    return m_text;
}

template <class Base>
void ScriptedEditing<Base>::SetFont(const font &f) {
    this->Add("SetFont", f);
}

template <class Base>
void ScriptedEditing<Base>::SetReadOnly(bool readOnly) {
    this->Add("SetReadOnly", readOnly);
    m_readOnly = readOnly;
}

template <class Base>
bool ScriptedEditing<Base>::IsReadOnly() const {
    this->Add("IsReadOnly");
    return m_readOnly;
}

template <class Base>
void ScriptedEditing<Base>::SetSelection(int start, int end) {
    this->Add("SetSelection", start, end);
    const int length = static_cast<int>(m_text.size());
    m_start = std::clamp(std::min(start, end), 0, length);
    m_end = std::clamp(std::max(start, end), 0, length);
}

template <class Base>
void ScriptedEditing<Base>::GetSelection(int &start, int &end) const {
    this->Add("GetSelection");
    start = m_start;
    end = m_end;
}

template <class Base>
void ScriptedEditing<Base>::ReplaceSelection(const wstring &text) {
    this->Add("ReplaceSelection", text);
    Edit(text);
}

template <class Base>
void ScriptedEditing<Base>::Assign(const wstring &text) {
    m_text = text;
    m_start = m_end = static_cast<int>(text.size());
}

template <class Base>
void ScriptedEditing<Base>::SelectAll() {
    m_start = 0;
    m_end = static_cast<int>(m_text.size());
}

template <class Base>
void ScriptedEditing<Base>::Edit(const wstring &text) {
    m_text.replace(static_cast<std::size_t>(m_start), static_cast<std::size_t>(m_end - m_start), text);
    m_start = m_end = m_start + static_cast<int>(text.size());
    CChangeTextEvent event(this->Sender(), m_text);
    this->NotifyEditOnChangeText(&event);
}

template <class Base>
void ScriptedEditing<Base>::TypeText(const wstring &text) {
    if (!this->IsEnabled()) return;
    for (const wchar unit : text) {
        CEditKeyDownEvent event(this->Sender(), 0, 0, unit);
        this->NotifyEditOnChar(&event);
        if (event.IsAllowed() && !m_readOnly) Edit(wstring(1, unit));
    }
}

template <class Base>
void ScriptedEditing<Base>::PressKey(int key, VKeyState keys) {
    if (!this->IsEnabled()) return;
    CEditKeyDownEvent event(this->Sender(), keys, key, 0);
    this->NotifyEditOnKeyDown(&event);
    if (!event.IsAllowed()) return;
    const wstring selected =
        m_text.substr(static_cast<std::size_t>(m_start), static_cast<std::size_t>(m_end - m_start));
    const int length = static_cast<int>(m_text.size());
    if (IsCopyToClipboard(&event)) {
        ScriptedClipboard() = selected;
    } else if (IsCutToClipboard(&event)) {
        ScriptedClipboard() = selected;
        if (!m_readOnly && !selected.empty()) Edit(wstring());
    } else if (IsPasteFromClipboard(&event)) {
        if (!m_readOnly) Edit(ScriptedClipboard());
    } else if (key == vk::Return) {
        CEvent press(this->Sender());
        this->NotifyEditOnReturnPress(&press);
    } else if ((key == vk::Back || key == vk::Delete) && !m_readOnly) {
        if (m_start == m_end && key == vk::Back) m_start = std::max(m_start - 1, 0);
        if (m_start == m_end && key == vk::Delete) m_end = std::min(m_end + 1, length);
        if (m_start < m_end) Edit(wstring());
    } else if (key == vk::Left || key == vk::Home) {
        m_start = m_end = key == vk::Home ? 0 : std::max(m_start - (m_start == m_end ? 1 : 0), 0);
    } else if (key == vk::Right || key == vk::End) {
        m_start = m_end = key == vk::End ? length : std::min(m_end + (m_start == m_end ? 1 : 0), length);
    }
}

template <class Base>
void ScriptedEditing<Base>::Wheel(int delta, VKeyState keys) {
    if (!this->IsEnabled()) return;
    CEditMouseWheelEvent event(this->Sender(), 0, 0, keys, delta);
    this->NotifyEditOnMouseWheel(&event);
}

template <class Base>
void ScriptedEditing<Base>::VisibilityChanged(bool visible) {
    CVisibleChangeEvent event(this->Sender(), visible);
    this->NotifyEditOnVisibleChange(&event);
}

template <class Base>
void ScriptedEditing<Base>::FocusChanged(bool got) {
    CEvent event(this->Sender());
    if (got) {
        this->NotifyEditOnGetFocus(&event);
    } else {
        this->NotifyEditOnLostFocus(&event);
    }
}

// --- item lists ----------------------------------------------------------------

int ScriptedItems::Add(const wstring &text) {
    items.push_back(text);
    return Count() - 1;
}

void ScriptedItems::Erase(int index) {
    if (!Has(index)) return;
    items.erase(items.begin() + index);
    if (index < current)
        --current;
    else if (index == current)
        current = -1;
}

void ScriptedItems::Clear() {
    items.clear();
    current = -1;
}

// --- combo box -----------------------------------------------------------------

int ScriptedComboBox::AddItem(const wstring &text) {
    Add("AddItem", text);
    return m_list.Add(text);
}

void ScriptedComboBox::DeleteItem(int index) {
    Add("DeleteItem", index);
    m_list.Erase(index);
}

void ScriptedComboBox::ClearItems() {
    Add("ClearItems");
    m_list.Clear();
}

int ScriptedComboBox::GetItemCount() const { return m_list.Count(); }

wstring ScriptedComboBox::GetItemText(int index) const { return m_list.Text(index); }

void ScriptedComboBox::SetCurSel(int index) {
    Add("SetCurSel", index);
    m_list.Select(index);
    if (m_list.current >= 0) Assign(m_list.Text(m_list.current));
}

int ScriptedComboBox::GetCurSel() const { return m_list.current; }

void ScriptedComboBox::ShowDropDown(bool show) {
    Add("ShowDropDown", show);
    m_dropped = show;
}

bool ScriptedComboBox::IsDroppedDown() const { return m_dropped; }

void ScriptedComboBox::Select(int index) {
    if (!IsEnabled() || index < 0 || index >= GetItemCount()) return;
    m_list.current = index;
    CComboBoxIndexEvent event(Sender(), index);
    NotifyCBOnSelectItem(&event);
    SelectAll();
    Edit(m_list.Text(index));
}

void ScriptedComboBox::Choose(int index) {
    if (!IsEnabled() || index < 0 || index >= GetItemCount()) return;
    Select(index);
    m_dropped = false;
    CComboBoxIndexEvent event(Sender(), index);
    NotifyCBOnChoicItem(&event);
}

// --- common controls -------------------------------------------------------------

template <class Base>
void ScriptedCommon<Base>::SetFont(const font &f) {
    this->Add("SetFont", f);
}

template <class Base>
void ScriptedCommon<Base>::Click(int x, int y) {
    if (!this->IsEnabled()) return;
    CMouseEvent down(this->Sender(), x, y, keystate::LeftButton, button::Left);
    this->NotifyOnButtonDown(&down);
    CMouseEvent up(this->Sender(), x, y, 0, button::Left);
    this->NotifyOnButtonUp(&up);
    CMouseEvent click(this->Sender(), x, y, 0, button::Left);
    this->NotifyOnClick(&click);
}

template <class Base>
void ScriptedCommon<Base>::DoubleClick(int x, int y) {
    if (!this->IsEnabled()) return;
    CMouseEvent down(this->Sender(), x, y, keystate::LeftButton, button::Left);
    this->NotifyOnButtonDown(&down);
    CMouseEvent up(this->Sender(), x, y, 0, button::Left);
    this->NotifyOnButtonUp(&up);
    CMouseEvent twice(this->Sender(), x, y, 0, button::Left);
    this->NotifyOnDoubleClick(&twice);
    CMouseEvent last(this->Sender(), x, y, 0, button::Left);
    this->NotifyOnButtonUp(&last);
}

template <class Base>
void ScriptedCommon<Base>::MouseMove(int x, int y) {
    CMouseEvent event(this->Sender(), x, y, 0, button::None);
    this->NotifyOnMouseMove(&event);
}

template <class Base>
void ScriptedCommon<Base>::Hover(int x, int y) {
    CMouseEvent event(this->Sender(), x, y, 0, button::None);
    this->NotifyOnHover(&event);
}

template <class Base>
void ScriptedCommon<Base>::Leave() {
    CMouseEvent event(this->Sender(), -1, -1, 0, button::None);
    this->NotifyOnLeave(&event);
}

template <class Base>
void ScriptedCommon<Base>::Wheel(int delta) {
    if (!this->IsEnabled()) return;
    CMouseWheelEvent event(this->Sender(), 0, 0, 0, delta);
    this->NotifyOnWheel(&event);
}

template <class Base>
void ScriptedCommon<Base>::KeyDown(int key, VKeyState keys) {
    if (!this->IsEnabled()) return;
    CKeyboardEvent event(this->Sender(), keys, key, 0);
    this->NotifyOnKeyDown(&event);
}

template <class Base>
void ScriptedCommon<Base>::KeyUp(int key, VKeyState keys) {
    if (!this->IsEnabled()) return;
    CKeyboardEvent event(this->Sender(), keys, key, 0);
    this->NotifyOnKeyUp(&event);
}

template <class Base>
void ScriptedCommon<Base>::Char(unsigned short character) {
    if (!this->IsEnabled()) return;
    CKeyboardEvent event(this->Sender(), 0, 0, character);
    this->NotifyOnChar(&event);
}

template <class Base>
void ScriptedCommon<Base>::SetBounds(int left, int top, int right, int bottom) {
    const screen_rectangle<int> old = this->Bounds();
    ScriptedControl<Base>::SetBounds(left, top, right, bottom);
    if (left != old.left || top != old.top) {
        CWindowEvent moved(this->Sender(), left, top);
        this->NotifyOnMove(&moved);
    }
    if (right - left != old.right - old.left || bottom - top != old.bottom - old.top) {
        CWindowEvent resized(this->Sender(), right - left + 1, bottom - top + 1);
        this->NotifyOnResize(&resized);
    }
}

template <class Base>
void ScriptedCommon<Base>::Destroy() {
    CWindowEvent event(this->Sender());
    this->NotifyOnDestroy(&event);
}

template <class Base>
void ScriptedCommon<Base>::VisibilityChanged(bool visible) {
    CWindowEvent event(this->Sender());
    if (visible) {
        this->NotifyOnShow(&event);
    } else {
        this->NotifyOnHide(&event);
    }
}

template <class Base>
void ScriptedCommon<Base>::FocusChanged(bool got) {
    CFocusEvent event(this->Sender());
    if (got) {
        this->NotifyOnGetFocus(&event);
    } else {
        this->NotifyOnLostFocus(&event);
    }
    KindFocusChanged(got);
}

template <class Base>
void ScriptedCaptioned<Base>::SetText(const wstring &text) {
    this->Add("SetText", text);
    m_text = text;
}

// --- buttons -----------------------------------------------------------------------

void ScriptedButton::SetDefault(bool isDefault) {
    Add("SetDefault", isDefault);
    m_default = isDefault;
}

void ScriptedButton::Press() {
    if (!IsEnabled()) return;
    Click();
    CEvent event(Sender());
    NotifyButtonOnClick(&event);
}

void ScriptedButton::DoublePress() {
    if (!IsEnabled()) return;
    Press();
    CEvent event(Sender());
    NotifyButtonOnDoubleClick(&event);
}

void ScriptedButton::KindFocusChanged(bool got) {
    CFocusEvent event(Sender());
    if (got) {
        NotifyButtonOnGetFocus(&event);
    } else {
        NotifyButtonOnLostFocus(&event);
    }
}

void ScriptedCheckBox::SetChecked(bool checked) {
    Add("SetChecked", checked);
    m_checked = checked;
}

void ScriptedCheckBox::Press() {
    if (!IsEnabled()) return;
    Click();
    m_checked = !m_checked;
    CEvent event(Sender());
    NotifyButtonOnClick(&event);
}

void ScriptedCheckBox::KindFocusChanged(bool got) {
    CFocusEvent event(Sender());
    if (got) {
        NotifyButtonOnGetFocus(&event);
    } else {
        NotifyButtonOnLostFocus(&event);
    }
}

ScriptedRadioButton::~ScriptedRadioButton() { LeaveGroup(); }

void ScriptedRadioButton::LeaveGroup() {
    if (!m_pGroup) return;
    m_pGroup->erase(std::remove(m_pGroup->begin(), m_pGroup->end(), this), m_pGroup->end());
    m_pGroup.reset();
}

void ScriptedRadioButton::Group(const std::vector<ScriptedRadioButton *> &buttons) {
    auto group = std::make_shared<std::vector<ScriptedRadioButton *>>();
    for (ScriptedRadioButton *button : buttons) {
        button->LeaveGroup();
        button->m_pGroup = group;
        group->push_back(button);
    }
}

void ScriptedRadioButton::SetChecked(bool checked) {
    Add("SetChecked", checked);
    m_checked = checked;
    if (!checked || !m_pGroup) return;
    for (ScriptedRadioButton *other : *m_pGroup) {
        if (other != this) other->m_checked = false;
    }
}

void ScriptedRadioButton::Press() {
    if (!IsEnabled()) return;
    Click();
    m_checked = true;
    if (m_pGroup) {
        for (ScriptedRadioButton *other : *m_pGroup) {
            if (other != this) other->m_checked = false;
        }
    }
    CEvent event(Sender());
    NotifyButtonOnClick(&event);
}

void ScriptedRadioButton::KindFocusChanged(bool got) {
    CFocusEvent event(Sender());
    if (got) {
        NotifyButtonOnGetFocus(&event);
    } else {
        NotifyButtonOnLostFocus(&event);
    }
}

// --- list box ------------------------------------------------------------------------

int ScriptedListBox::AddItem(const wstring &text) {
    Add("AddItem", text);
    return m_list.Add(text);
}

void ScriptedListBox::DeleteItem(int index) {
    Add("DeleteItem", index);
    m_list.Erase(index);
}

void ScriptedListBox::ClearItems() {
    Add("ClearItems");
    m_list.Clear();
}

int ScriptedListBox::GetItemCount() const { return m_list.Count(); }

wstring ScriptedListBox::GetItemText(int index) const { return m_list.Text(index); }

void ScriptedListBox::SetCurSel(int index) {
    Add("SetCurSel", index);
    m_list.Select(index);
}

int ScriptedListBox::GetCurSel() const { return m_list.current; }

void ScriptedListBox::Select(int index) {
    if (!IsEnabled() || index < 0 || index >= GetItemCount() || index == m_list.current) return;
    m_list.current = index;
    CEvent event(Sender());
    NotifyListBoxOnSelectionChanged(&event);
}

void ScriptedListBox::DoubleClickItem(int index) {
    if (!IsEnabled() || index < 0 || index >= GetItemCount()) return;
    Select(index);
    CEvent event(Sender());
    NotifyListBoxOnDoubleClick(&event);
}

void ScriptedListBox::PressKey(int key, VKeyState keys) {
    if (!IsEnabled()) return;
    CListBoxKeyDownEvent event(Sender(), keys, key, 0);
    NotifyListBoxOnKeyDown(&event);
    const int last = GetItemCount() - 1;
    if (!event.IsAllowed() || last < 0) return;
    switch (key) {
        case vk::Up:
            Select(std::max(m_list.current - 1, 0));
            break;
        case vk::Down:
            Select(std::min(m_list.current + 1, last));
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

void ScriptedListBox::TypeChar(unsigned short character) {
    if (!IsEnabled()) return;
    CListBoxKeyDownEvent event(Sender(), 0, 0, character);
    NotifyListBoxOnChar(&event);
    const int count = GetItemCount();
    if (!event.IsAllowed()) return;
    for (int step = 1; step <= count; ++step) {
        const int i = (std::max(m_list.current, -1) + step) % count;
        const wstring &item = m_list.items[static_cast<std::size_t>(i)];
        if (!item.empty() && Upper(item.front()) == Upper(character)) {
            Select(i);
            return;
        }
    }
}

void ScriptedListBox::KindFocusChanged(bool got) {
    CFocusEvent event(Sender());
    if (got) {
        NotifyListBoxOnGetFocus(&event);
    } else {
        NotifyListBoxOnLostFocus(&event);
    }
}

template class ScriptedControl<CInplaceEdit>;
template class ScriptedControl<CInplaceComboBox>;
template class ScriptedEditing<CInplaceEdit>;
template class ScriptedEditing<CInplaceComboBox>;
template class ScriptedControl<CInplaceLabel>;
template class ScriptedControl<CInplaceGroupBox>;
template class ScriptedControl<CInplaceButton>;
template class ScriptedControl<CInplaceCheckBox>;
template class ScriptedControl<CInplaceRadioButton>;
template class ScriptedControl<CInplaceListBox>;
template class ScriptedCommon<CInplaceLabel>;
template class ScriptedCommon<CInplaceGroupBox>;
template class ScriptedCommon<CInplaceButton>;
template class ScriptedCommon<CInplaceCheckBox>;
template class ScriptedCommon<CInplaceRadioButton>;
template class ScriptedCommon<CInplaceListBox>;
template class ScriptedCaptioned<CInplaceLabel>;
template class ScriptedCaptioned<CInplaceGroupBox>;
template class ScriptedCaptioned<CInplaceButton>;
template class ScriptedCaptioned<CInplaceCheckBox>;
template class ScriptedCaptioned<CInplaceRadioButton>;

}  // namespace quelt::testing
