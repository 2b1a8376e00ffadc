#pragma once

// Scripted in-place controls: every operation a host or the library calls is a
// line of the log ("form.name.SetText hello"); the controls keep their state,
// and gestures (TypeText, PressKey, Select, Choose, Press, Click, Focus, ...)
// raise what a user's typing, clicking and selecting raises on a native
// control. Gestures themselves write no line. A disabled control ignores
// gestures.

#include <memory>
#include <string>
#include <vector>

#include "quelt/controls/control.h"
#include "quelt/controls/edit.h"
#include "quelt/testing/calllog.h"

namespace quelt::testing {

// The process-wide text of the scripted clipboard.
wstring &ScriptedClipboard();

// Place, visibility, enabling and focus of a scripted control.
template <class Base>
class ScriptedControl : public Base {
  public:
    ScriptedControl(std::shared_ptr<CallLog> log, std::string name)
        : m_pLog(std::move(log)), m_name(std::move(name)) {}

    void SetBounds(int left, int top, int right, int bottom) override;
    screen_rectangle<int> GetBounds() const override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void SetFocus() override;
    bool IsFocused() const override;

    // The focus goes elsewhere.
    void Blur();
    bool IsVisible() const { return m_visible; }
    bool IsEnabled() const { return m_enabled; }
    const std::string &GetName() const { return m_name; }
    CallLog &Log() const { return *m_pLog; }

  protected:
    template <class... A>
    void Add(const char *operation, const A &...args) const {
        m_pLog->Add(logtext::Call(m_name, operation, args...));
    }
    IEventSender *Sender() { return static_cast<IEventSender *>(this); }
    const screen_rectangle<int> &Bounds() const { return m_bounds; }
    // The control's own events for a change of visibility or focus.
    virtual void VisibilityChanged(bool visible) = 0;
    virtual void FocusChanged(bool got) = 0;

  private:
    std::shared_ptr<CallLog> m_pLog;
    std::string m_name;
    screen_rectangle<int> m_bounds;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_focused = false;
};

// An edit's text, selection and keys: shared by the edit and the combo box.
template <class Base>
class ScriptedEditing : public ScriptedControl<Base> {
  public:
    using ScriptedControl<Base>::ScriptedControl;

    void SetText(const wstring &text) override;
    wstring GetText() const override;
    void SetFont(const font &f) override;
    void SetReadOnly(bool readOnly) override;
    bool IsReadOnly() const override;
    void SetSelection(int start, int end) override;
    void GetSelection(int &start, int &end) const override;
    void ReplaceSelection(const wstring &text) override;

    // Each unit: EditOnChar, then (unless forbidden or read-only) it replaces
    // the selection and EditOnChangeText reports the new text.
    void TypeText(const wstring &text);
    // EditOnKeyDown, then unless forbidden: Return raises EditOnReturnPress;
    // Back and Delete erase; Left, Right, Home and End move the caret; the
    // clipboard keys copy, cut and paste through ScriptedClipboard().
    void PressKey(int key, VKeyState keys = 0);
    // EditOnMouseWheel.
    void Wheel(int delta, VKeyState keys = 0);

  protected:
    void VisibilityChanged(bool visible) override;
    void FocusChanged(bool got) override;
    // Puts text in place of the selection and reports the change.
    void Edit(const wstring &text);
    // The text changes without the user: no event.
    void Assign(const wstring &text);
    void SelectAll();

  private:
    wstring m_text;
    int m_start = 0;
    int m_end = 0;
    bool m_readOnly = false;
};

// The items and the selection a scripted combo or list box keeps; an erase
// before the selection shifts it, erasing the selection clears it.
struct ScriptedItems {
    std::vector<wstring> items;
    int current = -1;

    int Add(const wstring &text);
    void Erase(int index);
    void Clear();
    int Count() const { return static_cast<int>(items.size()); }
    bool Has(int index) const { return index >= 0 && index < Count(); }
    wstring Text(int index) const { return Has(index) ? items[static_cast<std::size_t>(index)] : wstring(); }
    // An index outside the list selects nothing.
    void Select(int index) { current = Has(index) ? index : -1; }
};

class ScriptedEdit : public ScriptedEditing<CInplaceEdit> {
  public:
    using ScriptedEditing::ScriptedEditing;
};

class ScriptedComboBox : public ScriptedEditing<CInplaceComboBox> {
  public:
    using ScriptedEditing::ScriptedEditing;

    int AddItem(const wstring &text) override;
    void DeleteItem(int index) override;
    void ClearItems() override;
    int GetItemCount() const override;
    wstring GetItemText(int index) const override;
    void SetCurSel(int index) override;
    int GetCurSel() const override;
    void ShowDropDown(bool show) override;
    bool IsDroppedDown() const override;

    // The user highlights an item of the list: CBOnSelectItem, the edit
    // shows the item, EditOnChangeText.
    void Select(int index);
    // The user picks an item: Select, then the list closes and CBOnChoicItem.
    void Choose(int index);

  private:
    ScriptedItems m_list;
    bool m_dropped = false;
};

// A common control: mouse and keyboard gestures raise the six window-like
// event families.
template <class Base>
class ScriptedCommon : public ScriptedControl<Base> {
  public:
    using ScriptedControl<Base>::ScriptedControl;

    void SetFont(const font &f) override;
    // Down, up, click (client coordinates).
    void Click(int x = 0, int y = 0);
    void DoubleClick(int x = 0, int y = 0);
    void MouseMove(int x, int y);
    void Hover(int x, int y);
    void Leave();
    void Wheel(int delta);
    void KeyDown(int key, VKeyState keys = 0);
    void KeyUp(int key, VKeyState keys = 0);
    void Char(unsigned short character);
    // Set the bounds through SetBounds: OnMove and OnResize follow.
    void SetBounds(int left, int top, int right, int bottom) override;
    // The native control goes: OnDestroy.
    void Destroy();

  protected:
    void VisibilityChanged(bool visible) override;
    void FocusChanged(bool got) override;
    // The kind's own focus events after the common ones.
    virtual void KindFocusChanged(bool) {}
};

// Label, group box and the three buttons keep a caption.
template <class Base>
class ScriptedCaptioned : public ScriptedCommon<Base> {
  public:
    using ScriptedCommon<Base>::ScriptedCommon;
    void SetText(const wstring &text) override;
    wstring GetText() const override { return m_text; }

  private:
    wstring m_text;
};

class ScriptedLabel : public ScriptedCaptioned<CInplaceLabel> {
  public:
    using ScriptedCaptioned::ScriptedCaptioned;
};

class ScriptedGroupBox : public ScriptedCaptioned<CInplaceGroupBox> {
  public:
    using ScriptedCaptioned::ScriptedCaptioned;
};

class ScriptedButton : public ScriptedCaptioned<CInplaceButton> {
  public:
    using ScriptedCaptioned::ScriptedCaptioned;
    void SetDefault(bool isDefault) override;
    bool IsDefault() const override { return m_default; }
    // The user clicks the button: the mouse events, then ButtonOnClick.
    void Press();
    // Two clicks: ButtonOnClick, then ButtonOnDoubleClick.
    void DoublePress();

  protected:
    void KindFocusChanged(bool got) override;

  private:
    bool m_default = false;
};

class ScriptedCheckBox : public ScriptedCaptioned<CInplaceCheckBox> {
  public:
    using ScriptedCaptioned::ScriptedCaptioned;
    void SetChecked(bool checked) override;
    bool IsChecked() const override { return m_checked; }
    // The user clicks the box: the mark toggles, then ButtonOnClick.
    void Press();

  protected:
    void KindFocusChanged(bool got) override;

  private:
    bool m_checked = false;
};

// Radio buttons of one group keep at most one checked.
class ScriptedRadioButton : public ScriptedCaptioned<CInplaceRadioButton> {
  public:
    using ScriptedCaptioned::ScriptedCaptioned;
    ~ScriptedRadioButton() override;
    void SetChecked(bool checked) override;
    bool IsChecked() const override { return m_checked; }
    // The user clicks the button: it is checked, the rest of its group
    // cleared, then ButtonOnClick.
    void Press();

    // Makes the buttons one group (each leaves any group it was in).
    static void Group(const std::vector<ScriptedRadioButton *> &buttons);

  protected:
    void KindFocusChanged(bool got) override;

  private:
    void LeaveGroup();

    std::shared_ptr<std::vector<ScriptedRadioButton *>> m_pGroup;
    bool m_checked = false;
};

class ScriptedListBox : public ScriptedCommon<CInplaceListBox> {
  public:
    using ScriptedCommon::ScriptedCommon;

    int AddItem(const wstring &text) override;
    void DeleteItem(int index) override;
    void ClearItems() override;
    int GetItemCount() const override;
    wstring GetItemText(int index) const override;
    void SetCurSel(int index) override;
    int GetCurSel() const override;

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

  private:
    ScriptedItems m_list;
};

}  // namespace quelt::testing
