#pragma once

// The common in-place controls (label, button, check box, radio button, list
// box, group box): the library half, which raises their events. The platform
// derives its native controls from these and implements the operations.

#include <typeinfo>

#include "quelt/controls/notify.h"
#include "quelt/core/config.h"
#include "quelt/core/events.h"
#include "quelt/core/wstring.h"
#include "quelt/paint/attributes.h"
#include "quelt/sys/notify.h"
#include "quelt/sys/scrollbar.h"

namespace quelt {

// What every common control offers besides its place and state.
class QUELT_API ICustomCommonControl {
  public:
    virtual void SetFont(const font &f) = 0;

  protected:
    virtual ~ICustomCommonControl();
};

class QUELT_API IInplaceLabel {
  public:
    virtual void SetText(const wstring &text) = 0;
    virtual wstring GetText() const = 0;

  protected:
    virtual ~IInplaceLabel();
};

class QUELT_API IInplaceButton {
  public:
    virtual void SetText(const wstring &text) = 0;
    virtual wstring GetText() const = 0;
    // The button Return presses in its form.
    virtual void SetDefault(bool isDefault) = 0;
    virtual bool IsDefault() const = 0;

  protected:
    virtual ~IInplaceButton();
};

class QUELT_API IInplaceCheckBox {
  public:
    virtual void SetText(const wstring &text) = 0;
    virtual wstring GetText() const = 0;
    virtual void SetChecked(bool checked) = 0;
    virtual bool IsChecked() const = 0;

  protected:
    virtual ~IInplaceCheckBox();
};

class QUELT_API IInplaceRadioButton {
  public:
    virtual void SetText(const wstring &text) = 0;
    virtual wstring GetText() const = 0;
    // Checking a radio button clears the others of its group.
    virtual void SetChecked(bool checked) = 0;
    virtual bool IsChecked() const = 0;

  protected:
    virtual ~IInplaceRadioButton();
};

class QUELT_API IInplaceListBox {
  public:
    // The index of the new item.
    virtual int AddItem(const wstring &text) = 0;
    virtual void DeleteItem(int index) = 0;
    virtual void ClearItems() = 0;
    virtual int GetItemCount() const = 0;
    // Empty outside the list.
    virtual wstring GetItemText(int index) const = 0;
    // -1 selects nothing.
    virtual void SetCurSel(int index) = 0;
    virtual int GetCurSel() const = 0;

  protected:
    virtual ~IInplaceListBox();
};

class QUELT_API IInplaceGroupBox {
  public:
    virtual void SetText(const wstring &text) = 0;
    virtual wstring GetText() const = 0;

  protected:
    virtual ~IInplaceGroupBox();
};

// Raises the mouse, hover, click, keyboard, window and focus events of a
// control; subscribers of other interfaces are refused.
class QUELT_API CCustomControl : public CImplEventSender<ICustomControl> {
  public:
    CCustomControl();

  protected:
    void NotifyOnButtonDown(CMouseEvent *event);
    void NotifyOnButtonUp(CMouseEvent *event);
    void NotifyOnMouseMove(CMouseEvent *event);
    void NotifyOnWheel(CMouseWheelEvent *event);
    void NotifyOnHover(CMouseEvent *event);
    void NotifyOnLeave(CMouseEvent *event);
    void NotifyOnClick(CMouseEvent *event);
    void NotifyOnDoubleClick(CMouseEvent *event);
    void NotifyOnKeyDown(CKeyboardEvent *event);
    void NotifyOnKeyUp(CKeyboardEvent *event);
    void NotifyOnChar(CKeyboardEvent *event);
    void NotifyOnResize(CWindowEvent *event);
    void NotifyOnMove(CWindowEvent *event);
    void NotifyOnDestroy(CWindowEvent *event);
    void NotifyOnShow(CWindowEvent *event);
    void NotifyOnHide(CWindowEvent *event);
    void NotifyOnGetFocus(CFocusEvent *event);
    void NotifyOnLostFocus(CFocusEvent *event);
};

class QUELT_API CInplaceLabel : public IInplaceLabel, public ICustomCommonControl, public CCustomControl {};

class QUELT_API CInplaceGroupBox : public IInplaceGroupBox,
                                   public ICustomCommonControl,
                                   public CCustomControl {};

// The button events shared by buttons, check boxes and radio buttons.
template <class I>
class QUELT_API CButtonControl : public I, public ICustomCommonControl, public CCustomControl {
  public:
    CButtonControl() { AddEventType(typeid(IButtonNotify)); }

  protected:
    void NotifyButtonOnClick(CEvent *event) { Fire<&IButtonNotify::ButtonOnClick>(event, true); }
    void NotifyButtonOnDoubleClick(CEvent *event) { Fire<&IButtonNotify::ButtonOnDoubleClick>(event, true); }
    void NotifyButtonOnGetFocus(CFocusEvent *event) { Fire<&IButtonNotify::ButtonOnGetFocus>(event, true); }
    void NotifyButtonOnLostFocus(CFocusEvent *event) { Fire<&IButtonNotify::ButtonOnLostFocus>(event, true); }
};

class QUELT_API CInplaceButton : public CButtonControl<IInplaceButton> {};
class QUELT_API CInplaceCheckBox : public CButtonControl<IInplaceCheckBox> {};
class QUELT_API CInplaceRadioButton : public CButtonControl<IInplaceRadioButton> {};

class QUELT_API CInplaceListBox : public IInplaceListBox, public ICustomCommonControl, public CCustomControl {
  public:
    CInplaceListBox();

  protected:
    void NotifyListBoxOnSelectionChanged(CEvent *event);
    void NotifyListBoxOnDoubleClick(CEvent *event);
    void NotifyListBoxOnGetFocus(CFocusEvent *event);
    void NotifyListBoxOnLostFocus(CFocusEvent *event);
    void NotifyListBoxOnKeyDown(CListBoxKeyDownEvent *event);
    void NotifyListBoxOnChar(CListBoxKeyDownEvent *event);
};

}  // namespace quelt
