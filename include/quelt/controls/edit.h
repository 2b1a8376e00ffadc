#pragma once

// Text controls, in-place edits and combo boxes: the library half, which
// raises their events. The platform derives its native controls from these.

#include <typeinfo>

#include "quelt/controls/notify.h"
#include "quelt/core/config.h"
#include "quelt/core/events.h"
#include "quelt/core/wstring.h"
#include "quelt/paint/attributes.h"
#include "quelt/sys/scrollbar.h"

namespace quelt {

class QUELT_API ITextControl : public ICustomControl {
  public:
    virtual void SetText(const wstring &text) = 0;
    virtual wstring GetText() const = 0;
    virtual void SetFont(const font &f) = 0;
    virtual void SetReadOnly(bool readOnly) = 0;
    virtual bool IsReadOnly() const = 0;
};

class QUELT_API IInplaceEdit : public ITextControl {
  public:
    // Units start..end-1 of the text; both clamp to the text.
    virtual void SetSelection(int start, int end) = 0;
    virtual void GetSelection(int &start, int &end) const = 0;
    // Puts text in place of the selection, as typing would.
    virtual void ReplaceSelection(const wstring &text) = 0;
};

class QUELT_API IInplaceComboBox : public IInplaceEdit {
  public:
    // The index of the new item.
    virtual int AddItem(const wstring &text) = 0;
    virtual void DeleteItem(int index) = 0;
    virtual void ClearItems() = 0;
    virtual int GetItemCount() const = 0;
    // Empty outside the list.
    virtual wstring GetItemText(int index) const = 0;
    // -1 selects nothing; the edit part shows the selected item.
    virtual void SetCurSel(int index) = 0;
    virtual int GetCurSel() const = 0;
    virtual void ShowDropDown(bool show) = 0;
    virtual bool IsDroppedDown() const = 0;
};

// The edit events of every text control.
template <class I>
class QUELT_API CEditEvents : public CImplEventSender<I> {
  public:
    CEditEvents() { this->AddEventType(typeid(IEditNotify)); }

  protected:
    void NotifyEditOnChangeText(CChangeTextEvent *event) {
        this->template Fire<&IEditNotify::EditOnChangeText>(event, true);
    }
    void NotifyEditOnChar(CEditKeyDownEvent *event) {
        this->template Fire<&IEditNotify::EditOnChar>(event, true);
    }
    void NotifyEditOnKeyDown(CEditKeyDownEvent *event) {
        this->template Fire<&IEditNotify::EditOnKeyDown>(event, true);
    }
    void NotifyEditOnReturnPress(CEvent *event) {
        this->template Fire<&IEditNotify::EditOnReturnPress>(event, true);
    }
    void NotifyEditOnVisibleChange(CVisibleChangeEvent *event) {
        this->template Fire<&IEditNotify::EditOnVisibleChange>(event, true);
    }
    void NotifyEditOnGetFocus(CEvent *event) {
        this->template Fire<&IEditNotify::EditOnGetFocus>(event, true);
    }
    void NotifyEditOnLostFocus(CEvent *event) {
        this->template Fire<&IEditNotify::EditOnLostFocus>(event, true);
    }
    void NotifyEditOnMouseWheel(CEditMouseWheelEvent *event) {
        this->template Fire<&IEditNotify::EditOnMouseWheel>(event, true);
    }
};

class QUELT_API CTextControl : public CEditEvents<ITextControl> {};

class QUELT_API CInplaceEdit : public CEditEvents<IInplaceEdit> {};

class QUELT_API CInplaceComboBox : public CEditEvents<IInplaceComboBox> {
  public:
    CInplaceComboBox();

  protected:
    // An item was selected (highlighted or picked).
    void NotifyCBOnSelectItem(CComboBoxIndexEvent *event);
    // An item was chosen: the list closed on it.
    void NotifyCBOnChoicItem(CComboBoxIndexEvent *event);
};

}  // namespace quelt
