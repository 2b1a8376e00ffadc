#include "quelt/testing/menu.h"

namespace quelt::testing {

ScriptedMenu::ScriptedMenu(std::shared_ptr<CallLog> log, std::string name, const ISysWindow *owner)
    : CHeadlessMenu(owner), ScriptedTrace(std::move(log), std::move(name)) {}

void ScriptedMenu::AppendItem(int id, const wstring &text) {
    Trace("AppendItem", id, text);
    CHeadlessMenu::AppendItem(id, text);
}

void ScriptedMenu::AppendSeparator() {
    Trace("AppendSeparator");
    CHeadlessMenu::AppendSeparator();
}

void ScriptedMenu::Show(int x, int y) {
    Trace("Show", x, y);
    CHeadlessMenu::Show(x, y);
}

int ScriptedMenu::GetItemCount() {
    Trace("GetItemCount");
    return CHeadlessMenu::GetItemCount();
}

int ScriptedMenu::GetItemPosition(int id) {
    Trace("GetItemPosition", id);
    return CHeadlessMenu::GetItemPosition(id);
}

bool ScriptedMenu::IsItemChecked(int pos) {
    Trace("IsItemChecked", pos);
    return CHeadlessMenu::IsItemChecked(pos);
}

void ScriptedMenu::CheckItem(int pos, bool checked) {
    Trace("CheckItem", pos, checked);
    CHeadlessMenu::CheckItem(pos, checked);
}

void ScriptedMenu::EnableItem(int pos, bool enabled) {
    Trace("EnableItem", pos, enabled);
    CHeadlessMenu::EnableItem(pos, enabled);
}

bool ScriptedMenu::IsItemEnabled(int pos) {
    Trace("IsItemEnabled", pos);
    return CHeadlessMenu::IsItemEnabled(pos);
}

}  // namespace quelt::testing
