#pragma once

// A scripted popup menu: the headless menu with every call logged
// ("window.menu1.CheckItem 2 1"). The user's choosing writes no line.

#include <memory>
#include <string>

#include "quelt/controls/headlesscontainers.h"
#include "quelt/testing/containers.h"

namespace quelt::testing {

class ScriptedMenu : public CHeadlessMenu, public ScriptedTrace {
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
};

}  // namespace quelt::testing
