#pragma once

// A scripted popup menu: items with marks and enabling, every call logged
// ("window.menu1.CheckItem 2 1"), and the user's choosing of items.

#include <memory>
#include <string>
#include <vector>

#include "quelt/controls/menu.h"
#include "quelt/testing/calllog.h"

namespace quelt::testing {

class ScriptedMenu : public CSysMenu {
  public:
    ScriptedMenu(std::shared_ptr<CallLog> log, std::string name, const ISysWindow *owner);

    void AppendItem(int id, const wstring &text) override;
    void AppendSeparator() override;
    void Show(int x, int y) override;
    int GetItemCount() override;
    int GetItemPosition(int id) override;
    bool IsItemChecked(int pos) override;
    void CheckItem(int pos, bool checked) override;
    void EnableItem(int pos, bool enabled) override;
    bool IsItemEnabled(int pos) override;

    // The user moves over an item: OnSelected.
    void HighlightMenuItem(int id);
    // The user clicks an item: OnSelected, the check or radio logic
    // (ProcessItem with the item's mark), the menu closes, OnClicked.
    // Unknown, disabled and separator items do nothing.
    void ChooseMenuItem(int id);
    // The user closes the menu without choosing.
    void Dismiss() { m_shown = false; }

    bool IsShown() const { return m_shown; }
    // The marks as the user sees them, without logging.
    bool Marked(int pos) const;
    const std::string &GetName() const { return m_name; }

  private:
    struct Item {
        int id;
        wstring text;
        bool separator;
        bool checked;
        bool enabled;
    };
    bool Valid(int pos) const { return pos >= 0 && pos < static_cast<int>(m_items.size()); }

    std::shared_ptr<CallLog> m_pLog;
    std::string m_name;
    std::vector<Item> m_items;
    bool m_shown = false;
};

}  // namespace quelt::testing
