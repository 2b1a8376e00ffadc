#pragma once

// In-place controls for platforms without a native toolkit (a scripted one,
// one that draws into images): the state a native control keeps and the
// user's gestures on it. The operations keep the state; the gestures
// (TypeText, PressKey, Select, Choose, Press, Click, ...) raise what a user's
// typing, clicking and selecting raises on a native control. A disabled
// control ignores gestures. Changed() tells the platform that what the
// control shows may have changed.

#include <algorithm>
#include <memory>
#include <vector>

#include "quelt/controls/clipboard.h"
#include "quelt/controls/control.h"
#include "quelt/controls/edit.h"

namespace quelt {

// The pixels across and down the bounds, both edges included, saturated into
// int: a control's corners may lie anywhere in int.
QUELT_API size<int> BoundsSize(const screen_rectangle<int> &bounds);

// Place, visibility, enabling, font and focus.
template <class Base>
class QUELT_API CHeadlessControl : public Base {
  public:
    void SetBounds(int left, int top, int right, int bottom) override {
        m_bounds = {left, top, right, bottom};
        Changed();
    }
    screen_rectangle<int> GetBounds() const override { return m_bounds; }
    void SetVisible(bool visible) override {
        if (visible == m_visible) return;
        m_visible = visible;
        Changed();
        VisibilityChanged(visible);
    }
    void SetEnabled(bool enabled) override {
        m_enabled = enabled;
        Changed();
    }
    void SetFocus() override {
        if (!m_enabled || m_focused) return;
        m_focused = true;
        Changed();
        FocusChanged(true);
    }
    bool IsFocused() const override { return m_focused; }
    void SetFont(const font &f) override {
        m_font = f;
        Changed();
    }

    // The focus goes elsewhere.
    void Blur() {
        if (!m_focused) return;
        m_focused = false;
        Changed();
        FocusChanged(false);
    }
    bool IsVisible() const { return m_visible; }
    bool IsEnabled() const { return m_enabled; }
    bool HasFocusMark() const { return m_focused; }
    const font &GetFont() const { return m_font; }

  protected:
    IEventSender *Sender() { return static_cast<IEventSender *>(this); }
    const screen_rectangle<int> &Bounds() const { return m_bounds; }
    virtual void Changed() {}
    // The control's own events for a change of visibility or focus.
    virtual void VisibilityChanged(bool visible) = 0;
    virtual void FocusChanged(bool got) = 0;

  private:
    screen_rectangle<int> m_bounds;
    font m_font;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_focused = false;
};

// An edit's text, selection and keys: shared by the edit and the combo box.
template <class Base>
class QUELT_API CHeadlessEditing : public CHeadlessControl<Base> {
  public:
    void SetText(const wstring &text) override { Assign(text); }
    wstring GetText() const override { return m_text; }
    void SetReadOnly(bool readOnly) override {
        m_readOnly = readOnly;
        this->Changed();
    }
    bool IsReadOnly() const override { return m_readOnly; }
    void SetSelection(int start, int end) override {
        const int length = static_cast<int>(m_text.size());
        m_start = std::clamp(std::min(start, end), 0, length);
        m_end = std::clamp(std::max(start, end), 0, length);
        this->Changed();
    }
    void GetSelection(int &start, int &end) const override {
        start = m_start;
        end = m_end;
    }
    void ReplaceSelection(const wstring &text) override { Edit(text); }

    // Each unit: EditOnChar, then (unless forbidden or read-only) it replaces
    // the selection and EditOnChangeText reports the new text.
    void TypeText(const wstring &text) {
        if (!this->IsEnabled()) return;
        for (const wchar unit : text) {
            CEditKeyDownEvent event(this->Sender(), 0, 0, unit);
            this->NotifyEditOnChar(&event);
            if (event.IsAllowed() && !m_readOnly) Edit(wstring(1, unit));
        }
    }
    // EditOnKeyDown, then unless forbidden: Return raises EditOnReturnPress;
    // Back and Delete erase; Left, Right, Home and End move the caret; the
    // clipboard keys copy, cut and paste through Clipboard().
    void PressKey(int key, VKeyState keys = 0) {
        if (!this->IsEnabled()) return;
        CEditKeyDownEvent event(this->Sender(), keys, key, 0);
        this->NotifyEditOnKeyDown(&event);
        if (!event.IsAllowed()) return;
        if (IsCopyToClipboard(&event)) {
            Clipboard() = Selected();
        } else if (IsCutToClipboard(&event)) {
            Clipboard() = Selected();
            if (!m_readOnly && m_start < m_end) Edit(wstring());
        } else if (IsPasteFromClipboard(&event)) {
            if (!m_readOnly) Edit(Clipboard());
        } else if (key == vk::Return) {
            CEvent press(this->Sender());
            this->NotifyEditOnReturnPress(&press);
        } else if ((key == vk::Back || key == vk::Delete) && !m_readOnly) {
            Erase(key == vk::Back);
        } else {
            MoveCaret(key);
        }
    }
    // EditOnMouseWheel.
    void Wheel(int delta, VKeyState keys = 0) {
        if (!this->IsEnabled()) return;
        CEditMouseWheelEvent event(this->Sender(), 0, 0, keys, delta);
        this->NotifyEditOnMouseWheel(&event);
    }

    // The text and selection as shown, for drawing.
    const wstring &ShownText() const { return m_text; }
    int SelectionStart() const { return m_start; }
    int SelectionEnd() const { return m_end; }

  protected:
    // The process-wide clipboard text of the platform.
    virtual wstring &Clipboard() = 0;

    void VisibilityChanged(bool visible) override {
        CVisibleChangeEvent event(this->Sender(), visible);
        this->NotifyEditOnVisibleChange(&event);
    }
    void FocusChanged(bool got) override {
        CEvent event(this->Sender());
        if (got) {
            this->NotifyEditOnGetFocus(&event);
        } else {
            this->NotifyEditOnLostFocus(&event);
        }
    }
    // Puts text in place of the selection and reports the change.
    void Edit(const wstring &text) {
        m_text.replace(static_cast<std::size_t>(m_start), static_cast<std::size_t>(m_end - m_start), text);
        m_start = m_end = m_start + static_cast<int>(text.size());
        this->Changed();
        CChangeTextEvent event(this->Sender(), m_text);
        this->NotifyEditOnChangeText(&event);
    }
    // The text changes without the user: no event.
    void Assign(const wstring &text) {
        m_text = text;
        m_start = m_end = static_cast<int>(text.size());
        this->Changed();
    }
    void SelectAll() {
        m_start = 0;
        m_end = static_cast<int>(m_text.size());
    }

  private:
    wstring Selected() const {
        return m_text.substr(static_cast<std::size_t>(m_start), static_cast<std::size_t>(m_end - m_start));
    }
    void Erase(bool back) {
        const int length = static_cast<int>(m_text.size());
        if (m_start == m_end && back) m_start = std::max(m_start - 1, 0);
        if (m_start == m_end && !back) m_end = std::min(m_end + 1, length);
        if (m_start < m_end) Edit(wstring());
    }
    void MoveCaret(int key) {
        const int length = static_cast<int>(m_text.size());
        if (key == vk::Left || key == vk::Home) {
            m_start = m_end = key == vk::Home ? 0 : std::max(m_start - (m_start == m_end ? 1 : 0), 0);
        } else if (key == vk::Right || key == vk::End) {
            m_start = m_end = key == vk::End ? length : std::min(m_end + (m_start == m_end ? 1 : 0), length);
        } else {
            return;
        }
        this->Changed();
    }

    wstring m_text;
    int m_start = 0;
    int m_end = 0;
    bool m_readOnly = false;
};

// The items and the selection of a combo or list box; an erase before the
// selection shifts it, erasing the selection clears it.
class QUELT_API CHeadlessItems {
  public:
    int Add(const wstring &text);
    void Erase(int index);
    void Clear();
    int Count() const { return static_cast<int>(m_items.size()); }
    bool Has(int index) const { return index >= 0 && index < Count(); }
    // Empty outside the list.
    wstring Text(int index) const {
        return Has(index) ? m_items[static_cast<std::size_t>(index)] : wstring();
    }
    int Current() const { return m_current; }
    // An index outside the list selects nothing.
    void Select(int index) { m_current = Has(index) ? index : -1; }

  private:
    std::vector<wstring> m_items;
    int m_current = -1;
};

// The item-list operations a combo box and a list box share; a change of the
// items repaints the control.
template <class Base>
class QUELT_API CHeadlessItemList : public Base {
  public:
    int AddItem(const wstring &text) override {
        const int index = m_list.Add(text);
        this->Changed();
        return index;
    }
    void DeleteItem(int index) override {
        m_list.Erase(index);
        this->Changed();
    }
    void ClearItems() override {
        m_list.Clear();
        this->Changed();
    }
    int GetItemCount() const override { return m_list.Count(); }
    wstring GetItemText(int index) const override { return m_list.Text(index); }
    int GetCurSel() const override { return m_list.Current(); }

  protected:
    CHeadlessItems m_list;
};

class QUELT_API CHeadlessEdit : public CHeadlessEditing<CInplaceEdit> {};

class QUELT_API CHeadlessComboBox : public CHeadlessItemList<CHeadlessEditing<CInplaceComboBox>> {
  public:
    void SetCurSel(int index) override;
    void ShowDropDown(bool show) override;
    bool IsDroppedDown() const override { return m_dropped; }

    // The user highlights an item of the list: CBOnSelectItem, the edit
    // shows the item, EditOnChangeText.
    void Select(int index);
    // The user picks an item: Select, then the list closes and CBOnChoicItem.
    void Choose(int index);

  private:
    bool m_dropped = false;
};

// A common control: mouse and keyboard gestures raise the six window-like
// event families.
template <class Base>
class QUELT_API CHeadlessCommon : public CHeadlessControl<Base> {
  public:
    // Down, up, click (client coordinates).
    void Click(int x = 0, int y = 0) { ClickAs(&CHeadlessCommon::NotifyOnClick, x, y); }
    // Down, up, double-click, up.
    void DoubleClick(int x = 0, int y = 0) {
        if (ClickAs(&CHeadlessCommon::NotifyOnDoubleClick, x, y))
            Mouse(&CHeadlessCommon::NotifyOnButtonUp, x, y, 0);
    }
    void MouseMove(int x, int y) {
        CMouseEvent event(this->Sender(), x, y, 0, button::None);
        this->NotifyOnMouseMove(&event);
    }
    void Hover(int x, int y) {
        CMouseEvent event(this->Sender(), x, y, 0, button::None);
        this->NotifyOnHover(&event);
    }
    void Leave() {
        CMouseEvent event(this->Sender(), -1, -1, 0, button::None);
        this->NotifyOnLeave(&event);
    }
    void Wheel(int delta) {
        if (!this->IsEnabled()) return;
        CMouseWheelEvent event(this->Sender(), 0, 0, 0, delta);
        this->NotifyOnWheel(&event);
    }
    void KeyDown(int key, VKeyState keys = 0) { Key(&CHeadlessCommon::NotifyOnKeyDown, key, keys, 0); }
    void KeyUp(int key, VKeyState keys = 0) { Key(&CHeadlessCommon::NotifyOnKeyUp, key, keys, 0); }
    void Char(unsigned short character) { Key(&CHeadlessCommon::NotifyOnChar, 0, 0, character); }
    // OnMove and OnResize follow a change of place and size.
    void SetBounds(int left, int top, int right, int bottom) override {
        const screen_rectangle<int> old = this->Bounds();
        CHeadlessControl<Base>::SetBounds(left, top, right, bottom);
        if (left != old.left || top != old.top) {
            CWindowEvent moved(this->Sender(), left, top);
            this->NotifyOnMove(&moved);
        }
        const size<int> now = BoundsSize(this->Bounds());
        if (now != BoundsSize(old)) {
            CWindowEvent resized(this->Sender(), now.cx, now.cy);
            this->NotifyOnResize(&resized);
        }
    }
    // The native control goes: OnDestroy.
    void Destroy() {
        CWindowEvent event(this->Sender());
        this->NotifyOnDestroy(&event);
    }

  protected:
    void VisibilityChanged(bool visible) override {
        CWindowEvent event(this->Sender());
        if (visible) {
            this->NotifyOnShow(&event);
        } else {
            this->NotifyOnHide(&event);
        }
    }
    void FocusChanged(bool got) override {
        CFocusEvent event(this->Sender());
        if (got) {
            this->NotifyOnGetFocus(&event);
        } else {
            this->NotifyOnLostFocus(&event);
        }
        KindFocusChanged(got);
    }
    // The kind's own focus events after the common ones.
    virtual void KindFocusChanged(bool) {}

  private:
    // Down, up, then the click raise names; false when disabled.
    bool ClickAs(void (CHeadlessCommon::*raise)(CMouseEvent *), int x, int y) {
        if (!this->IsEnabled()) return false;
        Mouse(&CHeadlessCommon::NotifyOnButtonDown, x, y, keystate::LeftButton);
        Mouse(&CHeadlessCommon::NotifyOnButtonUp, x, y, 0);
        Mouse(raise, x, y, 0);
        return true;
    }
    void Mouse(void (CHeadlessCommon::*raise)(CMouseEvent *), int x, int y, VKeyState keys) {
        CMouseEvent event(this->Sender(), x, y, keys, button::Left);
        (this->*raise)(&event);
    }
    void Key(void (CHeadlessCommon::*raise)(CKeyboardEvent *), int key, VKeyState keys, unsigned short c) {
        if (!this->IsEnabled()) return;
        CKeyboardEvent event(this->Sender(), keys, key, c);
        (this->*raise)(&event);
    }
};

// Label, group box and the three buttons keep a caption.
template <class Base>
class QUELT_API CHeadlessCaptioned : public CHeadlessCommon<Base> {
  public:
    void SetText(const wstring &text) override {
        m_text = text;
        this->Changed();
    }
    wstring GetText() const override { return m_text; }

  private:
    wstring m_text;
};

class QUELT_API CHeadlessLabel : public CHeadlessCaptioned<CInplaceLabel> {};
class QUELT_API CHeadlessGroupBox : public CHeadlessCaptioned<CInplaceGroupBox> {};

// The button events the three buttons share.
template <class Base>
class QUELT_API CHeadlessButtonKind : public CHeadlessCaptioned<Base> {
  protected:
    // The mouse events of a click, then ButtonOnClick.
    void RaiseClick() {
        this->Click();
        CEvent event(this->Sender());
        this->NotifyButtonOnClick(&event);
    }
    void KindFocusChanged(bool got) override {
        CFocusEvent event(this->Sender());
        if (got) {
            this->NotifyButtonOnGetFocus(&event);
        } else {
            this->NotifyButtonOnLostFocus(&event);
        }
    }
};

class QUELT_API CHeadlessButton : public CHeadlessButtonKind<CInplaceButton> {
  public:
    void SetDefault(bool isDefault) override;
    bool IsDefault() const override { return m_default; }
    // The user clicks the button: the mouse events, then ButtonOnClick.
    void Press();
    // Two clicks: ButtonOnClick, then ButtonOnDoubleClick.
    void DoublePress();

  private:
    bool m_default = false;
};

class QUELT_API CHeadlessCheckBox : public CHeadlessButtonKind<CInplaceCheckBox> {
  public:
    void SetChecked(bool checked) override;
    bool IsChecked() const override { return m_checked; }
    // The user clicks the box: the mark toggles, then ButtonOnClick.
    void Press();

  private:
    bool m_checked = false;
};

// Radio buttons of one group keep at most one checked.
class QUELT_API CHeadlessRadioButton : public CHeadlessButtonKind<CInplaceRadioButton> {
  public:
    CHeadlessRadioButton() = default;
    CHeadlessRadioButton(const CHeadlessRadioButton &) = delete;
    CHeadlessRadioButton &operator=(const CHeadlessRadioButton &) = delete;
    ~CHeadlessRadioButton() override;
    void SetChecked(bool checked) override;
    bool IsChecked() const override { return m_checked; }
    // The user clicks the button: it is checked, the rest of its group
    // cleared, then ButtonOnClick.
    void Press();

    // Makes the buttons one group (each leaves any group it was in).
    static void Group(const std::vector<CHeadlessRadioButton *> &buttons);

  private:
    void LeaveGroup();
    // Checks this button and clears the rest of its group.
    void CheckAlone();

    std::shared_ptr<std::vector<CHeadlessRadioButton *>> m_pGroup;
    bool m_checked = false;
};

class QUELT_API CHeadlessListBox : public CHeadlessItemList<CHeadlessCommon<CInplaceListBox>> {
  public:
    void SetCurSel(int index) override;

    // The user clicks an item: ListBoxOnSelectionChanged when it changes.
    void Select(int index);
    // Select, then ListBoxOnDoubleClick.
    void DoubleClickItem(int index);
    // ListBoxOnKeyDown, then unless forbidden Up, Down, Home and End move
    // the selection.
    void PressKey(int key, VKeyState keys = 0);
    // ListBoxOnChar, then unless forbidden the next item starting with the
    // character (upper case compared) is selected.
    void TypeChar(unsigned short character);

  protected:
    void KindFocusChanged(bool got) override;
};

}  // namespace quelt
