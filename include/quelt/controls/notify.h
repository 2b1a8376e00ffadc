#pragma once

// The events in-place controls, containers and menus raise: their records,
// notification interfaces and do-nothing receivers.

#include "quelt/core/config.h"
#include "quelt/core/events.h"
#include "quelt/core/wstring.h"
#include "quelt/paint/geometry.h"
#include "quelt/sys/notify.h"

namespace quelt {

// --- records ---------------------------------------------------------------

class QUELT_API CEditMouseWheelEvent : public CMouseWheelEvent {
  public:
    using CMouseWheelEvent::CMouseWheelEvent;
};

// Forbid() keeps the control from handling the key itself.
class QUELT_API CEditKeyDownEvent : public CKeyboardEvent, public CRequestFlavor {
  public:
    using CKeyboardEvent::CKeyboardEvent;
};

class QUELT_API CListBoxKeyDownEvent : public CKeyboardEvent, public CRequestFlavor {
  public:
    using CKeyboardEvent::CKeyboardEvent;
};

class QUELT_API CChangeTextEvent : public CEvent {
  public:
    CChangeTextEvent(IEventSender *source, const wstring &text) : CEvent(source), m_text(text) {}
    wstring GetText() const { return m_text; }

  private:
    wstring m_text;
};

class QUELT_API CVisibleChangeEvent : public CEvent {
  public:
    CVisibleChangeEvent(IEventSender *source, bool visible) : CEvent(source), m_visible(visible) {}
    bool IsVisible() const { return m_visible; }

  private:
    bool m_visible;
};

class QUELT_API CComboBoxIndexEvent : public CEvent {
  public:
    CComboBoxIndexEvent(IEventSender *source, int index) : CEvent(source), m_index(index) {}
    int GetIndex() const { return m_index; }

  private:
    int m_index;
};

class QUELT_API CTabEvent : public CEvent {
  public:
    CTabEvent(IEventSender *source, int index) : CEvent(source), m_index(index) {}
    int GetIndex() const { return m_index; }

  private:
    int m_index;
};

class QUELT_API CMenuEvent : public CEvent {
  public:
    CMenuEvent(IEventSender *source, int id) : CEvent(source), m_id(id) {}
    int GetId() const { return m_id; }

  private:
    int m_id;
};

class QUELT_API CToolbarEvent : public CEvent {
  public:
    CToolbarEvent(IEventSender *source, int id) : CEvent(source), m_id(id) {}
    int GetID() const { return m_id; }

  private:
    int m_id;
};

class QUELT_API CToolbarDropDownEvent : public CEvent {
  public:
    CToolbarDropDownEvent(IEventSender *source, int id, const screen_rectangle<int> &rect)
        : CEvent(source), m_id(id), m_rect(rect) {}
    int GetID() const { return m_id; }
    const screen_rectangle<int> &GetRect() const { return m_rect; }

  private:
    int m_id;
    screen_rectangle<int> m_rect;
};

class QUELT_API CSplitterEvent : public CEvent {
  public:
    CSplitterEvent(IEventSender *source, int size, int oldSize)
        : CEvent(source), m_size(size), m_oldSize(oldSize) {}
    int GetSize() const { return m_size; }
    int GetOldSize() const { return m_oldSize; }

  private:
    int m_size;
    int m_oldSize;
};

// --- notification interfaces ----------------------------------------------

class QUELT_API IButtonNotify : public INotify {
  public:
    virtual void ButtonOnClick(CEvent *event) = 0;
    virtual void ButtonOnDoubleClick(CEvent *event) = 0;
    virtual void ButtonOnGetFocus(CFocusEvent *event) = 0;
    virtual void ButtonOnLostFocus(CFocusEvent *event) = 0;
};

class QUELT_API IEditNotify : public INotify {
  public:
    virtual void EditOnChangeText(CChangeTextEvent *event) = 0;
    virtual void EditOnChar(CEditKeyDownEvent *event) = 0;
    virtual void EditOnKeyDown(CEditKeyDownEvent *event) = 0;
    virtual void EditOnReturnPress(CEvent *event) = 0;
    virtual void EditOnVisibleChange(CVisibleChangeEvent *event) = 0;
    virtual void EditOnGetFocus(CEvent *event) = 0;
    virtual void EditOnLostFocus(CEvent *event) = 0;
    virtual void EditOnMouseWheel(CEditMouseWheelEvent *event) = 0;
};

class QUELT_API IComboBoxNotify : public INotify {
  public:
    virtual void CBOnSelectItem(CComboBoxIndexEvent *event) = 0;
    virtual void CBOnChoicItem(CComboBoxIndexEvent *event) = 0;
};

class QUELT_API IListBoxNotify : public INotify {
  public:
    virtual void ListBoxOnSelectionChanged(CEvent *event) = 0;
    virtual void ListBoxOnDoubleClick(CEvent *event) = 0;
    virtual void ListBoxOnGetFocus(CFocusEvent *event) = 0;
    virtual void ListBoxOnLostFocus(CFocusEvent *event) = 0;
    virtual void ListBoxOnKeyDown(CListBoxKeyDownEvent *event) = 0;
    virtual void ListBoxOnChar(CListBoxKeyDownEvent *event) = 0;
};

class QUELT_API ITabNotebookNotify : public INotify {
  public:
    virtual void TabOnChangePageIndex(CTabEvent *event) = 0;
};

class QUELT_API ISplitterNotify : public INotify {
  public:
    virtual void SplitterOnChangeSize(CSplitterEvent *event) = 0;
};

class QUELT_API IToolbarNotify : public INotify {
  public:
    virtual void ToolbarOnCommand(CToolbarEvent *event) = 0;
    virtual void ToolbarOnDropDown(CToolbarDropDownEvent *event) = 0;
};

class QUELT_API IMenuNotify : public INotify {
  public:
    virtual void OnSelected(CMenuEvent *event) = 0;
    virtual void OnClicked(CMenuEvent *event) = 0;
};

// --- default receivers ------------------------------------------------------

class QUELT_API CButtonNotify : public CSubscriber<IButtonNotify> {
  public:
    void ButtonOnClick(CEvent *) override {}
    void ButtonOnDoubleClick(CEvent *) override {}
    void ButtonOnGetFocus(CFocusEvent *) override {}
    void ButtonOnLostFocus(CFocusEvent *) override {}
};

class QUELT_API CEditNotify : public CSubscriber<IEditNotify> {
  public:
    void EditOnChangeText(CChangeTextEvent *) override {}
    void EditOnChar(CEditKeyDownEvent *) override {}
    void EditOnKeyDown(CEditKeyDownEvent *) override {}
    void EditOnReturnPress(CEvent *) override {}
    void EditOnVisibleChange(CVisibleChangeEvent *) override {}
    void EditOnGetFocus(CEvent *) override {}
    void EditOnLostFocus(CEvent *) override {}
    void EditOnMouseWheel(CEditMouseWheelEvent *) override {}
};

class QUELT_API CComboBoxNotify : public CSubscriber<IComboBoxNotify> {
  public:
    void CBOnSelectItem(CComboBoxIndexEvent *) override {}
    void CBOnChoicItem(CComboBoxIndexEvent *) override {}
};

class QUELT_API CListBoxNotify : public CSubscriber<IListBoxNotify> {
  public:
    void ListBoxOnSelectionChanged(CEvent *) override {}
    void ListBoxOnDoubleClick(CEvent *) override {}
    void ListBoxOnGetFocus(CFocusEvent *) override {}
    void ListBoxOnLostFocus(CFocusEvent *) override {}
    void ListBoxOnKeyDown(CListBoxKeyDownEvent *) override {}
    void ListBoxOnChar(CListBoxKeyDownEvent *) override {}
};

class QUELT_API CTabNotebookNotify : public CSubscriber<ITabNotebookNotify> {
  public:
    void TabOnChangePageIndex(CTabEvent *) override {}
};

class QUELT_API CSplitterNotify : public CSubscriber<ISplitterNotify> {
  public:
    void SplitterOnChangeSize(CSplitterEvent *) override {}
};

class QUELT_API CToolbarNotify : public CSubscriber<IToolbarNotify> {
  public:
    void ToolbarOnCommand(CToolbarEvent *) override {}
    void ToolbarOnDropDown(CToolbarDropDownEvent *) override {}
};

class QUELT_API CMenuNotify : public CSubscriber<IMenuNotify> {
  public:
    void OnSelected(CMenuEvent *) override {}
    void OnClicked(CMenuEvent *) override {}
};

// The toolbar's auto-repeat timer receiver.
class QUELT_API CRepeatTimerNotify : public CTimerNotify {
  public:
    void OnTimer(CTimerEvent *event) override { OnRepeatTimer(event); }
    virtual void OnRepeatTimer(CTimerEvent *event) = 0;
};

}  // namespace quelt
