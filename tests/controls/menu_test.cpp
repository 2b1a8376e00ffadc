#include <gtest/gtest.h>

#include "controls/control_listener.h"
#include "quelt/testing/menu.h"
#include "sys/window_fixture.h"

namespace quelt {
namespace {

using namespace test;
using quelt::testing::ScriptedMenu;

class MenuTest : public ::testing::Test {
  protected:
    // Items 10..(10 + styles.size() - 1) at positions 0.. with the given styles (by identifier).
    void Build(const std::vector<IPopupMenu::ItemStyle> &styles) {
        for (std::size_t i = 0; i < styles.size(); ++i) {
            menu->AppendItem(10 + static_cast<int>(i), Utf8ToWide("item"));
            menu->SetItemStyle(10 + static_cast<int>(i), styles[i], IPopupMenu::ByCommand);
        }
    }
    std::string Marks() const {
        std::string marks;
        for (int i = 0; i < count(); ++i) marks += menu->Marked(i) ? 'x' : '.';
        return marks;
    }
    int count() const { return static_cast<int>(items); }

    InstalledSystem system;
    ScriptedWindow window{"form"};
    quelt_ptr<IPopupMenu> owned = window.CreatePopupMenu();
    ScriptedMenu *menu = dynamic_cast<ScriptedMenu *>(owned.get());
    std::size_t items = 0;
    ControlListener heard{system->Log(), "heard"};
};

constexpr auto N = IPopupMenu::StyleNormal;
constexpr auto C = IPopupMenu::StyleCheck;
constexpr auto R = IPopupMenu::StyleRadio;

TEST_F(MenuTest, TheWindowHandsOutAScriptedMenu) {
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetName(), "form.menu1");
    EXPECT_EQ(menu->GetOwner(), &window);
    menu->AppendItem(1, Utf8ToWide("Open"));
    menu->Show(5, 6);
    EXPECT_TRUE(menu->IsShown());
    EXPECT_EQ(system->Log().Matching({"form.menu1."}),
              (Lines{"form.menu1.AppendItem 1 Open", "form.menu1.Show 5 6"}));
}

TEST_F(MenuTest, RadioRunsKeepOneItemChecked) {
    const std::vector<IPopupMenu::ItemStyle> styles = {R, R, R, N, R, R, C};
    items = styles.size();
    Build(styles);
    struct Step {
        int id;
        const char *marks;
    };
    // Runs are positions 0-2 and 4-5; the normal item parts them.
    for (const Step &s : {Step{10, "x......"}, Step{12, "..x...."}, Step{12, "..x...."}, Step{14, "..x.x.."},
                          Step{15, "..x..x."}, Step{11, ".x...x."}, Step{16, ".x...xx"}, Step{16, ".x...x."},
                          Step{13, ".x...x."}}) {
        menu->ChooseMenuItem(s.id);
        EXPECT_EQ(Marks(), s.marks) << s.id;
    }
    // Two marks set behind the menu's back: choosing one clears the other.
    menu->CheckItem(0, true);
    menu->CheckItem(2, true);
    menu->ChooseMenuItem(10);
    EXPECT_EQ(Marks(), "x....x.");
    // Checking through the menu by identifier or position acts like choosing.
    menu->SetItemChecked(12, true, IPopupMenu::ByCommand);
    EXPECT_EQ(Marks(), "..x..x.");
    menu->SetItemChecked(4, true, IPopupMenu::ByPosition);
    EXPECT_EQ(Marks(), "..x.x..");
    menu->SetItemChecked(4, false, IPopupMenu::ByPosition);
    EXPECT_EQ(Marks(), "..x....");
}

TEST_F(MenuTest, CheckItemsToggleFromTheStatePassed) {
    items = 3;
    Build({C, N, C});
    menu->CheckItem(0, true);
    menu->ProcessItem(0, true);
    EXPECT_EQ(Marks(), "...");
    menu->ProcessItem(2, false);
    EXPECT_EQ(Marks(), "..x");
    menu->ProcessItem(1, false);
    EXPECT_EQ(Marks(), "..x");
    menu->SetItemChecked(10, true, IPopupMenu::ByCommand);
    EXPECT_EQ(Marks(), "x.x");
}

TEST_F(MenuTest, UnknownItemsAndPositionsDoNothing) {
    items = 2;
    Build({R, R});
    system->Log().Clear();
    menu->SetItemChecked(99, true, IPopupMenu::ByCommand);
    menu->SetItemChecked(2, true, IPopupMenu::ByPosition);
    menu->SetItemChecked(-1, true, IPopupMenu::ByPosition);
    menu->ProcessItem(-1, true);
    menu->ProcessItem(2, true);
    menu->ChooseMenuItem(99);
    EXPECT_EQ(system->Log().Matching({"form.menu1.CheckItem"}), Lines());
    EXPECT_EQ(menu->GetItemStyle(99, IPopupMenu::ByCommand), N);
    EXPECT_EQ(menu->GetItemStyle(7, IPopupMenu::ByPosition), N);
    // A missing style reads plain and is not stored by reading.
    CStyleStorage storage;
    EXPECT_EQ(storage.GetStyle(3), N);
    storage.SetStyle(3, R);
    storage.SetStyle(3, C);
    EXPECT_EQ(storage.GetStyle(3), C);
}

TEST_F(MenuTest, ChoosingSelectsMarksThenReportsTheClick) {
    items = 3;
    Build({C, N, R});
    menu->AppendSeparator();
    heard.Listen(menu);
    menu->EnableItem(1, false);
    menu->Show(0, 0);
    system->Log().Clear();
    menu->ChooseMenuItem(11);
    menu->HighlightMenuItem(12);
    menu->ChooseMenuItem(10);
    EXPECT_FALSE(menu->IsShown());
    EXPECT_EQ(system->Log().Matching({"heard.", "form.menu1.CheckItem"}),
              (Lines{"heard.OnSelected 12", "heard.OnSelected 10", "form.menu1.CheckItem 0 1",
                     "heard.OnClicked 10"}));
}

}  // namespace
}  // namespace quelt
