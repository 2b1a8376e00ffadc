#include <gtest/gtest.h>

#include "controls/control_listener.h"
#include "quelt/testing/containers.h"
#include "sys/window_fixture.h"

namespace quelt {
namespace {

using namespace test;
using quelt::testing::ScriptedNotebook;
using quelt::testing::ScriptedTabNotebook;

ISysWindow *Page(int n) { return reinterpret_cast<ISysWindow *>(static_cast<std::uintptr_t>(0x1000 * n)); }

TEST(NotebookPagesTest, KeepTheCurrentIndexInRange) {
    enum Op { Insert, Erase, Select };
    struct Step {
        Op op;
        int index;
        bool changed;  // for Erase and Select
        int current;
        int count;
    };
    const Step steps[] = {
        {Insert, 0, false, -1, 1},  // pages: 1
        {Select, 0, true, 0, 1},    //
        {Select, 0, false, 0, 1},   // the current one again
        {Insert, -5, false, 0, 2},  // appended: 1 2
        {Insert, 0, false, 1, 3},   // before the current: 3 1 2
        {Select, 3, false, 1, 3},   // outside
        {Select, -1, false, 1, 3},  //
        {Erase, 0, false, 0, 2},    // before the current shifts it down: 1 2
        {Erase, 7, false, 0, 2},    // outside
        {Select, 1, true, 1, 2},    //
        {Erase, 1, true, 0, 1},     // the current, last: min(1, count - 1)
        {Erase, 0, true, -1, 0},    // the last page
        {Erase, 0, false, -1, 0},   //
    };
    CNotebookPages pages;
    int next = 1;
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        const Step &s = steps[i];
        SCOPED_TRACE(i);
        switch (s.op) {
            case Insert:
                pages.Insert(s.index, Page(next++));
                break;
            case Erase:
                EXPECT_EQ(pages.Erase(s.index), s.changed);
                break;
            case Select:
                EXPECT_EQ(pages.Select(s.index), s.changed);
                break;
        }
        EXPECT_EQ(pages.GetCurrent(), s.current);
        EXPECT_EQ(pages.GetCount(), s.count);
        for (int outside : {-1, pages.GetCount(), 1 << 30}) EXPECT_EQ(pages.Get(outside), nullptr);
    }
    // The current page of a middle erase is the one that moved into its place.
    for (int n = 1; n <= 3; ++n) pages.Insert(n, Page(n));
    pages.Select(1);
    EXPECT_TRUE(pages.Erase(1));
    EXPECT_EQ(pages.GetCurrentPage(), Page(3));
}

class NotebookTest : public ::testing::Test {
  protected:
    ScriptedWindow *Child() { return static_cast<ScriptedWindow *>(parent.CreateChildWindow()); }
    ScriptedWindow *Focused() const { return system->GetFocusedWindow(); }

    InstalledSystem system;
    ScriptedWindow parent{"form", 200, 100};
    ControlListener heard{system->Log(), "heard"};
};

TEST_F(NotebookTest, ShowsTheCurrentPageAndEntersIt) {
    ScriptedNotebook book(system->SharedLog(), "book", &parent);
    ScriptedWindow *pages[] = {Child(), Child()};
    for (ScriptedWindow *page : pages) EXPECT_GE(book.AddPage(page), 0);
    EXPECT_EQ(parent.GetChildContainer(), &book);
    EXPECT_EQ(pages[0]->GetParentContainer(), &book);
    EXPECT_EQ(book.GetCurrentPage(), 0);
    EXPECT_TRUE(pages[0]->GetVisible());
    EXPECT_FALSE(pages[1]->GetVisible());
    EXPECT_EQ(pages[0]->GetBounds(), screen_rectangle<int>(0, 0, 199, 99));
    book.SetCurrentPage(1);
    EXPECT_FALSE(pages[0]->GetVisible());
    EXPECT_TRUE(pages[1]->GetVisible());
    EXPECT_EQ(book.GetPage(2), nullptr);
    EXPECT_EQ(book.GetPage(-1), nullptr);
    // Tab from the page leaves the notebook, comes back round through the
    // form and enters the current page again.
    parent.SetFocusChange(true);
    EXPECT_EQ(Focused(), pages[1]);
    pages[1]->KeyDown(vk::Tab);
    EXPECT_EQ(Focused(), pages[1]);
    book.RemovePage(1);
    EXPECT_EQ(pages[1]->GetParentContainer(), nullptr);
    EXPECT_EQ(book.GetCurrentPage(), 0);
    // A page window that goes leaves its tab without a window.
    pages[0]->Destroy();
    EXPECT_EQ(book.GetPagesCount(), 1);
    EXPECT_EQ(book.GetPage(0), nullptr);
    parent.SetFocusChange(true);
}

TEST_F(NotebookTest, TabNotebookReportsEveryChangeOfTheCurrentTab) {
    ScriptedTabNotebook book(system->SharedLog(), "tabs", &parent, ITabNotebook::Pages);
    heard.Listen(&book);
    ScriptedWindow *pages[] = {Child(), Child(), Child()};
    for (ScriptedWindow *page : pages) book.AddPage(Utf8ToWide(page->GetName()), page);
    book.ClickTab(2);
    book.ClickTab(2);
    book.ClickTab(3);
    book.RemovePage(0);
    book.RemovePage(1);
    EXPECT_EQ(system->Log().Matching({"heard."}),
              (Lines{"heard.TabOnChangePageIndex 0", "heard.TabOnChangePageIndex 2",
                     "heard.TabOnChangePageIndex 0"}));
    EXPECT_EQ(book.GetCurrentPage(), 0);
    EXPECT_EQ(book.GetPage(), pages[1]);
    EXPECT_EQ(book.GetPage(0), pages[1]);
    EXPECT_EQ(WideToUtf8(book.GetPageCaption(0)), "form.child3");
    EXPECT_EQ(book.GetPageCaption(5), wstring());

    ScriptedTabNotebook tabsOnly(system->SharedLog(), "strip", nullptr, ITabNotebook::TabsOnly);
    tabsOnly.AddPage(Utf8ToWide("one"), nullptr);
    tabsOnly.AddPage(Utf8ToWide("two"), pages[2]);
    tabsOnly.ClickTab(1);
    EXPECT_EQ(tabsOnly.GetMode(), ITabNotebook::TabsOnly);
    EXPECT_EQ(tabsOnly.GetPage(1), nullptr);
    EXPECT_EQ(tabsOnly.GetPage(), pages[2]);
}

TEST_F(NotebookTest, TabNotebookMovesTheFocusBetweenPageAndTabs) {
    ScriptedTabNotebook book(system->SharedLog(), "tabs", &parent, ITabNotebook::Pages);
    ScriptedWindow *page = Child();
    book.AddPage(Utf8ToWide("p"), page);
    parent.SetFocusChange(true);
    EXPECT_EQ(Focused(), page);
    page->KeyDown(vk::Tab);
    EXPECT_TRUE(book.IsTabControlFocused());
    book.ProcessTab(true);
    EXPECT_EQ(Focused(), page);
    EXPECT_FALSE(book.IsTabControlFocused());
    book.ProcessTab(false);
    EXPECT_TRUE(book.IsTabControlFocused());
    // Backward the focus leaves for the form, which has nowhere else to go.
    page->SetFocus();
    page->KeyDown(vk::Tab, keystate::Shift);
    EXPECT_EQ(Focused(), page);
}

}  // namespace
}  // namespace quelt
