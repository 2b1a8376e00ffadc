#pragma once

// Scripted in-place controls: every operation a host or the library calls is a
// line of the log ("form.name.SetText hello"); the state and the gestures
// (TypeText, PressKey, Select, Choose, Press, Click, Focus, ...) are those of
// the headless controls. Gestures themselves write no line.

#include <memory>
#include <string>
#include <vector>

#include "quelt/controls/headless.h"
#include "quelt/testing/calllog.h"

namespace quelt::testing {

// The process-wide text of the scripted clipboard.
wstring &ScriptedClipboard();

// Logs the operations every control has.
template <class Native>
class ScriptedControl : public Native {
  public:
    ScriptedControl(std::shared_ptr<CallLog> log, std::string name)
        : m_pLog(std::move(log)), m_name(std::move(name)) {}

    void SetBounds(int left, int top, int right, int bottom) override {
        Add("SetBounds", screen_rectangle<int>(left, top, right, bottom));
        Native::SetBounds(left, top, right, bottom);
    }
    screen_rectangle<int> GetBounds() const override {
        Add("GetBounds");
        return Native::GetBounds();
    }
    void SetVisible(bool visible) override {
        Add("SetVisible", visible);
        Native::SetVisible(visible);
    }
    void SetEnabled(bool enabled) override {
        Add("SetEnabled", enabled);
        Native::SetEnabled(enabled);
    }
    void SetFocus() override {
        Add("SetFocus");
        Native::SetFocus();
    }
    bool IsFocused() const override {
        Add("IsFocused");
        return Native::IsFocused();
    }
    void SetFont(const font &f) override {
        Add("SetFont", f);
        Native::SetFont(f);
    }

    const std::string &GetName() const { return m_name; }
    CallLog &Log() const { return *m_pLog; }

  protected:
    template <class... A>
    void Add(const char *operation, const A &...args) const {
        m_pLog->Add(logtext::Call(m_name, operation, args...));
    }

  private:
    std::shared_ptr<CallLog> m_pLog;
    std::string m_name;
};

// Logs the edit operations of the edit and the combo box.
template <class Native>
class ScriptedEditing : public ScriptedControl<Native> {
  public:
    using ScriptedControl<Native>::ScriptedControl;

    void SetText(const wstring &text) override {
        this->Add("SetText", text);
        Native::SetText(text);
    }
    wstring GetText() const override {
        this->Add("GetText");
        return Native::GetText();
    }
    void SetReadOnly(bool readOnly) override {
        this->Add("SetReadOnly", readOnly);
        Native::SetReadOnly(readOnly);
    }
    bool IsReadOnly() const override {
        this->Add("IsReadOnly");
        return Native::IsReadOnly();
    }
    void SetSelection(int start, int end) override {
        this->Add("SetSelection", start, end);
        Native::SetSelection(start, end);
    }
    void GetSelection(int &start, int &end) const override {
        this->Add("GetSelection");
        Native::GetSelection(start, end);
    }
    void ReplaceSelection(const wstring &text) override {
        this->Add("ReplaceSelection", text);
        Native::ReplaceSelection(text);
    }

  protected:
    wstring &Clipboard() override { return ScriptedClipboard(); }
};

// Logs the item operations of the combo and the list box.
template <class Native>
class ScriptedItemList : public Native {
  public:
    using Native::Native;

    int AddItem(const wstring &text) override {
        this->Add("AddItem", text);
        return Native::AddItem(text);
    }
    void DeleteItem(int index) override {
        this->Add("DeleteItem", index);
        Native::DeleteItem(index);
    }
    void ClearItems() override {
        this->Add("ClearItems");
        Native::ClearItems();
    }
    void SetCurSel(int index) override {
        this->Add("SetCurSel", index);
        Native::SetCurSel(index);
    }
};

class ScriptedEdit : public ScriptedEditing<CHeadlessEdit> {
  public:
    using ScriptedEditing::ScriptedEditing;
};

class ScriptedComboBox : public ScriptedItemList<ScriptedEditing<CHeadlessComboBox>> {
  public:
    using ScriptedItemList::ScriptedItemList;
    void ShowDropDown(bool show) override {
        Add("ShowDropDown", show);
        CHeadlessComboBox::ShowDropDown(show);
    }
};

// Label, group box and the three buttons log their caption.
template <class Native>
class ScriptedCaptioned : public ScriptedControl<Native> {
  public:
    using ScriptedControl<Native>::ScriptedControl;
    void SetText(const wstring &text) override {
        this->Add("SetText", text);
        Native::SetText(text);
    }
};

class ScriptedLabel : public ScriptedCaptioned<CHeadlessLabel> {
  public:
    using ScriptedCaptioned::ScriptedCaptioned;
};

class ScriptedGroupBox : public ScriptedCaptioned<CHeadlessGroupBox> {
  public:
    using ScriptedCaptioned::ScriptedCaptioned;
};

class ScriptedButton : public ScriptedCaptioned<CHeadlessButton> {
  public:
    using ScriptedCaptioned::ScriptedCaptioned;
    void SetDefault(bool isDefault) override {
        Add("SetDefault", isDefault);
        CHeadlessButton::SetDefault(isDefault);
    }
};

class ScriptedCheckBox : public ScriptedCaptioned<CHeadlessCheckBox> {
  public:
    using ScriptedCaptioned::ScriptedCaptioned;
    void SetChecked(bool checked) override {
        Add("SetChecked", checked);
        CHeadlessCheckBox::SetChecked(checked);
    }
};

class ScriptedRadioButton : public ScriptedCaptioned<CHeadlessRadioButton> {
  public:
    using ScriptedCaptioned::ScriptedCaptioned;
    void SetChecked(bool checked) override {
        Add("SetChecked", checked);
        CHeadlessRadioButton::SetChecked(checked);
    }
};

class ScriptedListBox : public ScriptedItemList<ScriptedControl<CHeadlessListBox>> {
  public:
    using ScriptedItemList::ScriptedItemList;
};

}  // namespace quelt::testing
