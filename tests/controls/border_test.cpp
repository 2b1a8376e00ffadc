#include "quelt/controls/border.h"

#include <gtest/gtest.h>

#include <memory>

#include "quelt/controls/scrollbar.h"
#include "quelt/controls/taborders.h"
#include "sys/window_fixture.h"

namespace quelt {
namespace {

using namespace test;
using quelt::testing::ScriptedScrollBar;
using Rect = screen_rectangle<int>;

class BorderTest : public ::testing::Test {
  protected:
    BorderTest() : border(dynamic_cast<CBorder *>(parent.CreateBorder())) {}

    // A child docked as given whose bounds are w wide and h high (right - left, bottom - top).
    ScriptedWindow *Child(IBorder::Alignment alignment, int w = 0, int h = 0) {
        auto *child = static_cast<ScriptedWindow *>(border->AddChild(alignment));
        child->SetBounds({0, 0, w, h}, false);
        return child;
    }
    ScriptedWindow *Focused() const { return system->GetFocusedWindow(); }

    InstalledSystem system;
    ScriptedWindow parent{"parent", 100, 50};
    std::unique_ptr<CBorder> border;
};

TEST_F(BorderTest, IsTheParentsChildContainerUntilItGoes) {
    ASSERT_NE(border, nullptr);
    EXPECT_EQ(parent.GetChildContainer(), border.get());
    ScriptedWindow *child = Child(IBorder::AlignClient);
    EXPECT_EQ(child->GetParentContainer(), border.get());
    border.reset();
    EXPECT_EQ(parent.GetChildContainer(), nullptr);
    EXPECT_EQ(child->GetParentContainer(), nullptr);
}

TEST_F(BorderTest, DocksChildrenToTheEdgesInCreationOrder) {
    struct Docked {
        IBorder::Alignment alignment;
        int w, h;
        bool visible;
        Rect placed;
    };
    struct Case {
        const char *name;
        std::vector<Docked> children;
    };
    const Case cases[] = {
        {"left and client",
         {{IBorder::AlignLeft, 19, 0, true, {0, 0, 19, 49}},
          {IBorder::AlignClient, 0, 0, true, {20, 0, 99, 49}}}},
        {"two tops",
         {{IBorder::AlignTop, 0, 10, true, {0, 0, 99, 10}},
          {IBorder::AlignTop, 0, 10, true, {0, 11, 99, 21}}}},
        {"right, bottom and client",
         {{IBorder::AlignRight, 9, 0, true, {90, 0, 99, 49}},
          {IBorder::AlignBottom, 0, 4, true, {0, 45, 89, 49}},
          {IBorder::AlignClient, 0, 0, true, {0, 0, 89, 44}}}},
        {"hidden ones keep their place",
         {{IBorder::AlignLeft, 19, 0, false, {0, 0, 19, 0}},
          {IBorder::AlignClient, 0, 0, true, {0, 0, 99, 49}}}},
        {"too wide",
         {{IBorder::AlignLeft, 500, 0, true, {0, 0, 99, 49}},
          {IBorder::AlignClient, 0, 0, true, {99, 0, 100, 49}}}},
        {"the last client wins",
         {{IBorder::AlignClient, 0, 0, true, {0, 0, 0, 0}},
          {IBorder::AlignClient, 0, 0, true, {0, 0, 99, 49}},
          {static_cast<IBorder::Alignment>(9), 3, 3, true, {0, 0, 3, 3}}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        border = std::make_unique<CBorder>(&parent);
        std::vector<ScriptedWindow *> children;
        for (const Docked &d : c.children) {
            children.push_back(Child(d.alignment, d.w, d.h));
            children.back()->SetVisible(d.visible);
        }
        border->Layout();
        for (std::size_t i = 0; i < children.size(); ++i)
            EXPECT_EQ(children[i]->GetBounds(), c.children[i].placed) << i;
    }
}

TEST_F(BorderTest, LaysOutOnTheParentsResizeAndOrdersTabsByCorner) {
    ScriptedWindow *right = Child(IBorder::AlignRight, 9);
    ScriptedWindow *bottom = Child(IBorder::AlignBottom, 0, 4);
    ScriptedWindow *client = Child(IBorder::AlignClient);
    parent.Resize(200, 60);
    EXPECT_EQ(right->GetBounds(), Rect(190, 0, 199, 59));
    EXPECT_EQ(bottom->GetBounds(), Rect(0, 55, 189, 59));
    EXPECT_EQ(client->GetBounds(), Rect(0, 0, 189, 54));
    const CTabOrders &tabs = border->GetTabOrders();
    ASSERT_EQ(tabs.GetSize(), 3);
    auto &order = const_cast<CTabOrders &>(tabs);
    EXPECT_EQ(order.Get(0), client);
    EXPECT_EQ(order.Get(1), right);
    EXPECT_EQ(order.Get(2), bottom);
    // A resize reported by another window lays nothing out.
    ScriptedWindow other("other");
    other.Subscribe(border->CWindowNotify::AsNotify(), typeid(IWindowNotify), true);
    client->SetBounds({0, 0, 5, 5}, false);
    other.Resize(300, 300);
    EXPECT_EQ(client->GetBounds(), Rect(0, 0, 5, 5));
}

TEST_F(BorderTest, TabMovesTheFocusAroundTheVisibleChildren) {
    ScriptedWindow *c[3];
    for (ScriptedWindow *&child : c) child = Child(IBorder::AlignLeft, 9);
    border->Layout();
    struct Case {
        const char *name;
        int from;
        int hidden;  // -1: none
        VKeyState keys;
        int to;
    };
    for (const Case &k : {Case{"forward", 0, -1, 0, 1}, Case{"wraps at the end", 2, -1, 0, 0},
                          Case{"back wraps at the start", 0, -1, keystate::Shift, 2},
                          Case{"skips the hidden", 0, 1, 0, 2}, Case{"wraps past the hidden", 1, 2, 0, 0},
                          Case{"back skips the hidden", 2, 1, keystate::Shift, 0}}) {
        SCOPED_TRACE(k.name);
        for (ScriptedWindow *child : c) child->SetVisible(true);
        if (k.hidden >= 0) c[k.hidden]->SetVisible(false);
        c[k.from]->SetFocus();
        c[k.from]->KeyDown(vk::Tab, k.keys);
        EXPECT_EQ(Focused(), c[k.to]);
    }
    // Entering from outside goes to the first visible child; with all hidden nowhere.
    c[1]->SetFocus();
    parent.SetFocusChange(true);
    EXPECT_EQ(Focused(), c[2]);
    for (ScriptedWindow *child : c) child->SetVisible(false);
    parent.ProcessTab(true);
    EXPECT_EQ(Focused(), c[2]);
    // A receiver that stops the tab key, or asks the platform to skip it, keeps the focus where it is.
    for (ScriptedWindow *child : c) child->SetVisible(true);
    struct Keeper : CKeyboardNotify {
        bool stop = true;
        void OnKeyDown(CKeyboardEvent *e) override {
            if (stop) {
                e->StopProcessing();
            } else {
                e->Ignore();
            }
        }
    };
    for (bool stop : {true, false}) {
        Keeper keeper;
        keeper.stop = stop;
        c[0]->SubscribeFirst(keeper.AsNotify(), typeid(IKeyboardNotify), true);
        c[0]->SetFocus();
        c[0]->KeyDown(vk::Tab);
        EXPECT_EQ(Focused(), c[0]) << stop;
    }
}

TEST_F(BorderTest, ForgetsWindowsThatGo) {
    ScriptedWindow *a = Child(IBorder::AlignLeft, 9);
    ScriptedWindow *b = Child(IBorder::AlignLeft, 9);
    b->Release();
    EXPECT_EQ(border->GetTabOrders().GetSize(), 1);
    border->Layout();
    EXPECT_EQ(a->GetBounds(), Rect(0, 0, 9, 49));
    // The parent goes first: the border keeps no window, and making children fails.
    auto *doomed = new ScriptedWindow("doomed");
    std::unique_ptr<CBorder> orphan(dynamic_cast<CBorder *>(doomed->CreateBorder()));
    orphan->AddChild(IBorder::AlignClient);
    doomed->Release();
    EXPECT_EQ(orphan->GetParent(), nullptr);
    EXPECT_EQ(orphan->GetTabOrders().GetSize(), 0);
    EXPECT_EQ(orphan->AddChild(IBorder::AlignClient), nullptr);
    orphan->Layout();
    orphan->SetFocusChange(true);
}

TEST(TabOrdersTest, FindsTheFocusedEntryAndGuardsItsRange) {
    InstalledSystem system;
    ScriptedWindow a("a"), b("b");
    CTabOrders tabs;
    tabs.SetSize(3);
    tabs.Set(0, &a);
    tabs.Set(2, &b);
    tabs.Set(3, &a);
    tabs.Set(-1, &a);
    EXPECT_EQ(tabs.Get(3), nullptr);
    EXPECT_EQ(tabs.Get(-1), nullptr);
    EXPECT_EQ(tabs.GetFocused(false), 3);
    EXPECT_EQ(tabs.GetFocused(true), -1);
    b.SetFocus();
    EXPECT_EQ(tabs.GetFocused(true), 2);
    tabs.SetSize(1);
    EXPECT_EQ(tabs.GetFocused(false), 1);
    EXPECT_EQ(CTabOrders().GetFocused(false), 0);
}

TEST(ScrollBarTest, NeverTakesTheFocusAndRaisesOnlyScrollEvents) {
    auto log = std::make_shared<CallLog>();
    ScriptedScrollBar bar(log, "bar");
    bar.SetFocus();
    EXPECT_FALSE(bar.IsFocused());
    CScrollBarNotify scroll;
    CMouseNotify mouse;
    EXPECT_TRUE(bar.Subscribe(scroll.AsNotify(), typeid(IScrollBarNotify), true));
    EXPECT_FALSE(bar.Subscribe(mouse.AsNotify(), typeid(IMouseNotify), true));
}

}  // namespace
}  // namespace quelt
