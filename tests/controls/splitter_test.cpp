#include <gtest/gtest.h>

#include <limits>

#include "controls/control_listener.h"
#include "quelt/testing/containers.h"
#include "sys/window_fixture.h"

namespace quelt {
namespace {

using namespace test;
using quelt::testing::ScriptedSplitter;
using Rect = screen_rectangle<int>;

class Splitter : public ScriptedSplitter {
  public:
    using CSplitter::ClampPosition;
    using CSplitter::ScalePosition;
    using ScriptedSplitter::ScriptedSplitter;
};

class SplitterTest : public ::testing::Test {
  protected:
    ScriptedWindow *Child() { return static_cast<ScriptedWindow *>(parent.CreateChildWindow()); }
    ScriptedWindow *Focused() const { return system->GetFocusedWindow(); }

    InstalledSystem system;
    ScriptedWindow parent{"form", 203, 100};
    Splitter splitter{system->SharedLog(), "split", &parent, ISplitter::Horizontal};
    ControlListener heard{system->Log(), "heard"};
};

TEST_F(SplitterTest, ClampsAndScalesPositions) {
    EXPECT_EQ(splitter.GetSeparatorSize(), 3);
    EXPECT_EQ(splitter.GetMinimalSize(), 60);
    struct Clamp {
        int pos, total, expected;
    };
    for (const Clamp &c : {Clamp{10, 100, 48}, Clamp{0, 203, 60}, Clamp{500, 203, 140}, Clamp{80, 203, 80},
                           Clamp{-7, 203, 60}, Clamp{80, -5, 0}, Clamp{80, 2, 0}, Clamp{80, 123, 60},
                           Clamp{80, 122, 59}, Clamp{2147483647, 2147483647, 2147483584}}) {
        EXPECT_EQ(splitter.ClampPosition(c.pos, c.total), c.expected) << c.pos << " of " << c.total;
    }
    struct Scale {
        int pos, from, to;
        ISplitter::ResizeMode mode;
        int expected;
    };
    for (const Scale &s :
         {Scale{80, 203, 403, ISplitter::Proportional, 160}, Scale{80, 403, 203, ISplitter::Proportional, 60},
          Scale{100, 203, 403, ISplitter::Proportional, 200}, Scale{80, 203, 403, ISplitter::KeepFirst, 80},
          Scale{80, 203, 403, ISplitter::KeepSecond, 280}, Scale{80, 203, 153, ISplitter::KeepSecond, 60},
          Scale{80, 3, 403, ISplitter::Proportional, 80}, Scale{80, 203, 100, ISplitter::KeepFirst, 48}}) {
        EXPECT_EQ(splitter.ScalePosition(s.pos, s.from, s.to, s.mode), s.expected)
            << s.pos << " " << s.from << "->" << s.to << " mode " << s.mode;
    }
}

TEST_F(SplitterTest, KeepsItsPositionThroughResizes) {
    ScriptedWindow *left = Child();
    ScriptedWindow *right = Child();
    heard.Listen(&splitter);
    splitter.SetSections(left, right);
    splitter.SetPosition(80);
    EXPECT_EQ(left->GetBounds(), Rect(0, 0, 79, 99));
    EXPECT_EQ(right->GetBounds(), Rect(83, 0, 202, 99));
    struct Step {
        int width;
        int position;
    };
    for (const Step &s : {Step{100, 48}, Step{403, 160}, Step{203, 80}, Step{10, 3}, Step{203, 80}}) {
        parent.Resize(s.width, 100);
        EXPECT_EQ(splitter.GetPosition(), s.position) << s.width;
        for (ScriptedWindow *section : {left, right}) {
            const Rect b = section->GetBounds();
            EXPECT_GE(b.right - b.left, -1) << s.width;
            EXPECT_LE(b.right, s.width - 1) << s.width;
        }
    }
    splitter.SetResizeMode(ISplitter::KeepSecond);
    parent.Resize(303, 100);
    EXPECT_EQ(splitter.GetPosition(), 180);
    // A change only when the position moves; a drag past the minimal size
    // holds at it and scales from there.
    splitter.Drag(180);
    splitter.SetResizeMode(ISplitter::Proportional);
    splitter.Drag(10);
    parent.Resize(603, 100);
    EXPECT_EQ(splitter.GetPosition(), 120);
    EXPECT_EQ(system->Log().Matching({"heard."}),
              (Lines{"heard.SplitterOnChangeSize 80 100", "heard.SplitterOnChangeSize 48 80",
                     "heard.SplitterOnChangeSize 160 48", "heard.SplitterOnChangeSize 80 160",
                     "heard.SplitterOnChangeSize 3 80", "heard.SplitterOnChangeSize 80 3",
                     "heard.SplitterOnChangeSize 180 80", "heard.SplitterOnChangeSize 60 180",
                     "heard.SplitterOnChangeSize 120 60"}));
}

TEST_F(SplitterTest, AParentReachingTheEndOfIntKeepsTheSectionsInside) {
    constexpr int hi = std::numeric_limits<int>::max();
    ScriptedWindow *left = Child();
    ScriptedWindow *right = Child();
    splitter.SetResizeMode(ISplitter::KeepFirst);
    splitter.SetSections(left, right);
    splitter.SetPosition(80);
    parent.SetBounds({0, 0, hi, 99}, false);
    EXPECT_EQ(splitter.GetPosition(), 80);
    EXPECT_EQ(left->GetBounds(), Rect(0, 0, 79, 99));
    EXPECT_EQ(right->GetBounds(), Rect(83, 0, hi, 99));
}

TEST_F(SplitterTest, StackedSectionsAndTheMinimalSize) {
    Splitter stacked(system->SharedLog(), "stack", &parent, ISplitter::Vertical);
    ScriptedWindow *top = Child();
    ScriptedWindow *bottom = Child();
    stacked.SetMinimalSize(-4);
    EXPECT_EQ(stacked.GetMinimalSize(), 0);
    stacked.SetSections(top, bottom);
    stacked.SetPosition(30);
    EXPECT_EQ(top->GetBounds(), Rect(0, 0, 202, 29));
    EXPECT_EQ(bottom->GetBounds(), Rect(0, 33, 202, 99));
    stacked.SetMinimalSize(40);
    EXPECT_EQ(stacked.GetPosition(), 40);
}

TEST_F(SplitterTest, TabVisitsTheVisibleSectionsInOrder) {
    ScriptedWindow *first = Child();
    ScriptedWindow *second = Child();
    splitter.SetSections(first, second);
    parent.SetFocusChange(true);
    EXPECT_EQ(Focused(), first);
    first->KeyDown(vk::Tab);
    EXPECT_EQ(Focused(), second);
    second->KeyDown(vk::Tab);
    EXPECT_EQ(Focused(), first);
    first->KeyDown(vk::Tab, keystate::Shift);
    EXPECT_EQ(Focused(), second);
    second->KeyDown(vk::Tab, keystate::Shift);
    EXPECT_EQ(Focused(), first);
    // A hidden first section sends entering focus to the second, both ways.
    first->SetVisible(false);
    splitter.SetFocusChange(true);
    EXPECT_EQ(Focused(), second);
    second->SetVisible(false);
    first->SetVisible(true);
    splitter.SetFocusChange(false);
    EXPECT_EQ(Focused(), first);
    splitter.ProcessTab(false);
    EXPECT_EQ(Focused(), first);
    // A section that goes is forgotten.
    second->Destroy();
    EXPECT_EQ(splitter.GetSecondSection(), nullptr);
    first->KeyDown(vk::Tab);
    EXPECT_EQ(Focused(), first);
}

}  // namespace
}  // namespace quelt
