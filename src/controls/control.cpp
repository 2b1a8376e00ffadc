#include "quelt/controls/control.h"

#include <typeinfo>

namespace quelt {

ICustomCommonControl::~ICustomCommonControl() = default;
IInplaceLabel::~IInplaceLabel() = default;
IInplaceButton::~IInplaceButton() = default;
IInplaceCheckBox::~IInplaceCheckBox() = default;
IInplaceRadioButton::~IInplaceRadioButton() = default;
IInplaceListBox::~IInplaceListBox() = default;
IInplaceGroupBox::~IInplaceGroupBox() = default;

CCustomControl::CCustomControl() {
    AddEventType(typeid(IMouseNotify));
    AddEventType(typeid(IMouseHoverNotify));
    AddEventType(typeid(IMouseClickNotify));
    AddEventType(typeid(IKeyboardNotify));
    AddEventType(typeid(IWindowNotify));
    AddEventType(typeid(IFocusNotify));
}

#define QUELT_RAISE(Class, Name, Interface, Handler, Record) \
    void Class::Name(Record *event) { Fire<&Interface::Handler>(event, true); }

QUELT_RAISE(CCustomControl, NotifyOnButtonDown, IMouseNotify, OnButtonDown, CMouseEvent)
QUELT_RAISE(CCustomControl, NotifyOnButtonUp, IMouseNotify, OnButtonUp, CMouseEvent)
QUELT_RAISE(CCustomControl, NotifyOnMouseMove, IMouseNotify, OnMouseMove, CMouseEvent)
QUELT_RAISE(CCustomControl, NotifyOnWheel, IMouseNotify, OnWheel, CMouseWheelEvent)
QUELT_RAISE(CCustomControl, NotifyOnHover, IMouseHoverNotify, OnHover, CMouseEvent)
QUELT_RAISE(CCustomControl, NotifyOnLeave, IMouseHoverNotify, OnLeave, CMouseEvent)
QUELT_RAISE(CCustomControl, NotifyOnClick, IMouseClickNotify, OnClick, CMouseEvent)
QUELT_RAISE(CCustomControl, NotifyOnDoubleClick, IMouseClickNotify, OnDoubleClick, CMouseEvent)
QUELT_RAISE(CCustomControl, NotifyOnKeyDown, IKeyboardNotify, OnKeyDown, CKeyboardEvent)
QUELT_RAISE(CCustomControl, NotifyOnKeyUp, IKeyboardNotify, OnKeyUp, CKeyboardEvent)
QUELT_RAISE(CCustomControl, NotifyOnChar, IKeyboardNotify, OnChar, CKeyboardEvent)
QUELT_RAISE(CCustomControl, NotifyOnResize, IWindowNotify, OnResize, CWindowEvent)
QUELT_RAISE(CCustomControl, NotifyOnMove, IWindowNotify, OnMove, CWindowEvent)
QUELT_RAISE(CCustomControl, NotifyOnDestroy, IWindowNotify, OnDestroy, CWindowEvent)
QUELT_RAISE(CCustomControl, NotifyOnShow, IWindowNotify, OnShow, CWindowEvent)
QUELT_RAISE(CCustomControl, NotifyOnHide, IWindowNotify, OnHide, CWindowEvent)
QUELT_RAISE(CCustomControl, NotifyOnGetFocus, IFocusNotify, OnGetFocus, CFocusEvent)
QUELT_RAISE(CCustomControl, NotifyOnLostFocus, IFocusNotify, OnLostFocus, CFocusEvent)

CInplaceListBox::CInplaceListBox() { AddEventType(typeid(IListBoxNotify)); }

QUELT_RAISE(CInplaceListBox, NotifyListBoxOnSelectionChanged, IListBoxNotify, ListBoxOnSelectionChanged,
            CEvent)
QUELT_RAISE(CInplaceListBox, NotifyListBoxOnDoubleClick, IListBoxNotify, ListBoxOnDoubleClick, CEvent)
QUELT_RAISE(CInplaceListBox, NotifyListBoxOnGetFocus, IListBoxNotify, ListBoxOnGetFocus, CFocusEvent)
QUELT_RAISE(CInplaceListBox, NotifyListBoxOnLostFocus, IListBoxNotify, ListBoxOnLostFocus, CFocusEvent)
QUELT_RAISE(CInplaceListBox, NotifyListBoxOnKeyDown, IListBoxNotify, ListBoxOnKeyDown, CListBoxKeyDownEvent)
QUELT_RAISE(CInplaceListBox, NotifyListBoxOnChar, IListBoxNotify, ListBoxOnChar, CListBoxKeyDownEvent)

#undef QUELT_RAISE

}  // namespace quelt
