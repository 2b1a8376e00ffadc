#pragma once

// A receiver of every control, container and menu event that writes what it
// hears into the scripted platform's log, after the platform's own lines.

#include <functional>
#include <string>

#include "quelt/controls/notify.h"
#include "quelt/testing/calllog.h"

namespace quelt::test {

class ControlListener : public CEditNotify,
                        public CComboBoxNotify,
                        public CButtonNotify,
                        public CListBoxNotify,
                        public CTabNotebookNotify,
                        public CSplitterNotify,
                        public CToolbarNotify,
                        public CMenuNotify,
                        public CFocusNotify,
                        public CMouseClickNotify {
  public:
    ControlListener(testing::CallLog &log, std::string name) : m_log(log), m_name(std::move(name)) {}

    // Subscribes every interface the sender raises (append, notify true).
    void Listen(IEventSender *sender) {
        Try(sender, CEditNotify::AsNotify(), typeid(IEditNotify));
        Try(sender, CComboBoxNotify::AsNotify(), typeid(IComboBoxNotify));
        Try(sender, CButtonNotify::AsNotify(), typeid(IButtonNotify));
        Try(sender, CListBoxNotify::AsNotify(), typeid(IListBoxNotify));
        Try(sender, CTabNotebookNotify::AsNotify(), typeid(ITabNotebookNotify));
        Try(sender, CSplitterNotify::AsNotify(), typeid(ISplitterNotify));
        Try(sender, CToolbarNotify::AsNotify(), typeid(IToolbarNotify));
        Try(sender, CMenuNotify::AsNotify(), typeid(IMenuNotify));
        Try(sender, CFocusNotify::AsNotify(), typeid(IFocusNotify));
        Try(sender, CMouseClickNotify::AsNotify(), typeid(IMouseClickNotify));
    }

    void EditOnChangeText(CChangeTextEvent *e) override { Hear("EditOnChangeText", e, Text(e->GetText())); }
    void EditOnChar(CEditKeyDownEvent *e) override { Key("EditOnChar", e, e->GetCharacterCode()); }
    void EditOnKeyDown(CEditKeyDownEvent *e) override { Key("EditOnKeyDown", e, e->GetVirtualKey()); }
    void EditOnReturnPress(CEvent *e) override { Hear("EditOnReturnPress", e, ""); }
    void EditOnVisibleChange(CVisibleChangeEvent *e) override {
        Hear("EditOnVisibleChange", e, e->IsVisible() ? "1" : "0");
    }
    void EditOnGetFocus(CEvent *e) override { Hear("EditOnGetFocus", e, ""); }
    void EditOnLostFocus(CEvent *e) override { Hear("EditOnLostFocus", e, ""); }
    void EditOnMouseWheel(CEditMouseWheelEvent *e) override {
        Hear("EditOnMouseWheel", e, std::to_string(e->GetDelta()));
    }
    void CBOnSelectItem(CComboBoxIndexEvent *e) override {
        Hear("CBOnSelectItem", e, std::to_string(e->GetIndex()));
    }
    void CBOnChoicItem(CComboBoxIndexEvent *e) override {
        Hear("CBOnChoicItem", e, std::to_string(e->GetIndex()));
    }
    void ButtonOnClick(CEvent *e) override { Hear("ButtonOnClick", e, ""); }
    void ButtonOnDoubleClick(CEvent *e) override { Hear("ButtonOnDoubleClick", e, ""); }
    void ButtonOnGetFocus(CFocusEvent *e) override { Hear("ButtonOnGetFocus", e, ""); }
    void ButtonOnLostFocus(CFocusEvent *e) override { Hear("ButtonOnLostFocus", e, ""); }
    void ListBoxOnSelectionChanged(CEvent *e) override { Hear("ListBoxOnSelectionChanged", e, ""); }
    void ListBoxOnDoubleClick(CEvent *e) override { Hear("ListBoxOnDoubleClick", e, ""); }
    void ListBoxOnGetFocus(CFocusEvent *e) override { Hear("ListBoxOnGetFocus", e, ""); }
    void ListBoxOnLostFocus(CFocusEvent *e) override { Hear("ListBoxOnLostFocus", e, ""); }
    void ListBoxOnKeyDown(CListBoxKeyDownEvent *e) override {
        Key("ListBoxOnKeyDown", e, e->GetVirtualKey());
    }
    void ListBoxOnChar(CListBoxKeyDownEvent *e) override { Key("ListBoxOnChar", e, e->GetCharacterCode()); }
    void TabOnChangePageIndex(CTabEvent *e) override {
        Hear("TabOnChangePageIndex", e, std::to_string(e->GetIndex()));
    }
    void SplitterOnChangeSize(CSplitterEvent *e) override {
        Hear("SplitterOnChangeSize", e, std::to_string(e->GetSize()) + " " + std::to_string(e->GetOldSize()));
    }
    void ToolbarOnCommand(CToolbarEvent *e) override {
        Hear("ToolbarOnCommand", e, std::to_string(e->GetID()));
    }
    void ToolbarOnDropDown(CToolbarDropDownEvent *e) override {
        Hear("ToolbarOnDropDown", e, std::to_string(e->GetID()) + " " + testing::logtext::Arg(e->GetRect()));
    }
    void OnSelected(CMenuEvent *e) override { Hear("OnSelected", e, std::to_string(e->GetId())); }
    void OnClicked(CMenuEvent *e) override { Hear("OnClicked", e, std::to_string(e->GetId())); }
    void OnGetFocus(CFocusEvent *e) override { Hear("OnGetFocus", e, ""); }
    void OnLostFocus(CFocusEvent *e) override { Hear("OnLostFocus", e, ""); }
    void OnClick(CMouseEvent *e) override { Hear("OnClick", e, ""); }

    // Runs after any notification is logged.
    std::function<void(CEvent *)> action;
    // Forbids every key request it hears.
    bool forbid = false;

  private:
    static void Try(IEventSender *sender, INotify *receiver, const std::type_info &type) {
        if (sender->CausesEvent(type)) sender->Subscribe(receiver, type, true);
    }
    static std::string Text(const wstring &text) { return testing::logtext::Arg(text); }
    template <class E>
    void Key(const char *what, E *e, int code) {
        Hear(what, e, std::to_string(code));
        if (forbid) e->Forbid();
    }
    void Hear(const char *what, CEvent *e, const std::string &args) {
        m_log.Add(m_name + "." + what + (args.empty() ? "" : " " + args));
        if (action) action(e);
    }

    testing::CallLog &m_log;
    std::string m_name;
};

}  // namespace quelt::test
