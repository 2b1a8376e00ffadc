#include "quelt/testing/menu.h"

#include <algorithm>

namespace quelt::testing {

using logtext::Call;

ScriptedMenu::ScriptedMenu(std::shared_ptr<CallLog> log, std::string name, const ISysWindow *owner)
    : CSysMenu(owner), m_pLog(std::move(log)), m_name(std::move(name)) {}

void ScriptedMenu::AppendItem(int id, const wstring &text) {
    m_pLog->Add(Call(m_name, "AppendItem", id, text));
    m_items.push_back({id, text, false, false, true});
}

void ScriptedMenu::AppendSeparator() {
    m_pLog->Add(Call(m_name, "AppendSeparator"));
    m_items.push_back({0, wstring(), true, false, true});
}

void ScriptedMenu::Show(int x, int y) {
    m_pLog->Add(Call(m_name, "Show", x, y));
    m_shown = true;
}

int ScriptedMenu::GetItemCount() {
    m_pLog->Add(Call(m_name, "GetItemCount"));
    return static_cast<int>(m_items.size());
}

int ScriptedMenu::GetItemPosition(int id) {
    m_pLog->Add(Call(m_name, "GetItemPosition", id));
    const auto it = std::find_if(m_items.begin(), m_items.end(),
                                 [id](const Item &item) { return !item.separator && item.id == id; });
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

bool ScriptedMenu::IsItemChecked(int pos) {
    m_pLog->Add(Call(m_name, "IsItemChecked", pos));
    return Marked(pos);
}

bool ScriptedMenu::Marked(int pos) const {
    return Valid(pos) && m_items[static_cast<std::size_t>(pos)].checked;
}

void ScriptedMenu::CheckItem(int pos, bool checked) {
    m_pLog->Add(Call(m_name, "CheckItem", pos, checked));
    if (Valid(pos)) m_items[static_cast<std::size_t>(pos)].checked = checked;
}

void ScriptedMenu::EnableItem(int pos, bool enabled) {
    m_pLog->Add(Call(m_name, "EnableItem", pos, enabled));
    if (Valid(pos)) m_items[static_cast<std::size_t>(pos)].enabled = enabled;
}

bool ScriptedMenu::IsItemEnabled(int pos) {
    m_pLog->Add(Call(m_name, "IsItemEnabled", pos));
    return Valid(pos) && m_items[static_cast<std::size_t>(pos)].enabled;
}

void ScriptedMenu::HighlightMenuItem(int id) {
    CMenuEvent event(Self(), id);
    NotifyOnSelected(&event);
}

void ScriptedMenu::ChooseMenuItem(int id) {
    const auto it = std::find_if(m_items.begin(), m_items.end(),
                                 [id](const Item &item) { return !item.separator && item.id == id; });
    if (it == m_items.end() || !it->enabled) return;
    const int pos = static_cast<int>(it - m_items.begin());
    HighlightMenuItem(id);
    ProcessItem(pos, Marked(pos));
    m_shown = false;
    CMenuEvent event(Self(), id);
    NotifyOnClicked(&event);
}

}  // namespace quelt::testing
