#include <gtest/gtest.h>

#include "controls/control_listener.h"
#include "quelt/testing/containers.h"
#include "sys/window_fixture.h"

namespace quelt {
namespace {

using namespace test;
using quelt::testing::ScriptedDecoration;
using quelt::testing::ScriptedToolbar;

class DecorationTest : public ::testing::Test {
  protected:
    InstalledSystem system;
    ScriptedWindow parent{"form", 200, 100};
    ControlListener heard{system->Log(), "heard"};
};

TEST_F(DecorationTest, PlacesThePaneBelowItsElementsAndEntersIt) {
    ScriptedDecoration decoration(system->SharedLog(), "deco", &parent);
    ScriptedToolbar bar(system->SharedLog(), "bar");
    auto *pane = static_cast<ScriptedWindow *>(parent.CreateChildWindow());
    decoration.SetContentPane(pane);
    decoration.AddElement(&bar);
    EXPECT_EQ(pane->GetBounds(), screen_rectangle<int>(0, 24, 199, 99));
    EXPECT_EQ(pane->GetParentContainer(), &decoration);
    parent.SetFocusChange(true);
    EXPECT_EQ(system->GetFocusedWindow(), pane);
    pane->KeyDown(vk::Tab);
    EXPECT_EQ(system->GetFocusedWindow(), pane);
    decoration.RemoveElement(&bar);
    EXPECT_EQ(decoration.GetElementCount(), 0);
    decoration.SetContentPane(nullptr);
    EXPECT_EQ(pane->GetParentContainer(), nullptr);
    EXPECT_EQ(system->Log().Matching({"deco."}),
              (Lines{"deco.SetContentPane form.child1", "deco.AddElement bar", "deco.RemoveElement bar",
                     "deco.SetContentPane -"}));
}

TEST_F(DecorationTest, ToolbarRaisesCommandsAndRepeatsAHeldButton) {
    ScriptedToolbar bar(system->SharedLog(), "bar");
    heard.Listen(&bar);
    bar.AddButton(1, Utf8ToWide("Up"), IToolbar::PushStyle);
    bar.AddSeparator();
    bar.AddButton(2, Utf8ToWide("Bold"), IToolbar::CheckStyle);
    bar.AddButton(3, Utf8ToWide("More"), IToolbar::DropDownStyle);
    bar.AddButton(4, Utf8ToWide("Off"), IToolbar::PushStyle);
    bar.EnableButton(4, false);
    bar.Press(2);
    bar.Press(3);
    bar.Press(4);
    bar.Press(9);
    EXPECT_TRUE(bar.IsButtonChecked(2));
    EXPECT_EQ(bar.GetButtonRect(9), screen_rectangle<int>());
    bar.Hold(1, 100);
    EXPECT_TRUE(bar.IsAutoRepeating());
    system->Advance(350);
    bar.ReleaseButton();
    system->Advance(500);
    EXPECT_EQ(
        system->Log().Matching({"heard."}),
        (Lines{"heard.ToolbarOnCommand 2", "heard.ToolbarOnDropDown 3 56 0 79 23", "heard.ToolbarOnCommand 1",
               "heard.ToolbarOnCommand 1", "heard.ToolbarOnCommand 1", "heard.ToolbarOnCommand 1"}));
    // A repeat stops when its button is disabled meanwhile, from inside the tick.
    system->Log().Clear();
    bar.Hold(1, 50);
    heard.action = [&](CEvent *) { bar.EnableButton(1, false); };
    system->Advance(200);
    EXPECT_FALSE(bar.IsAutoRepeating());
    EXPECT_EQ(system->Log().Count("heard.ToolbarOnCommand 1"), 2u);
    // Nothing repeats without an interval; a toolbar that goes stops its timer.
    heard.action = nullptr;
    bar.EnableButton(1, true);
    bar.Hold(1, 0);
    EXPECT_FALSE(bar.IsAutoRepeating());
    {
        ScriptedToolbar gone(system->SharedLog(), "gone");
        gone.AddButton(5, Utf8ToWide("x"), IToolbar::PushStyle);
        gone.Hold(5, 10);
    }
    system->Advance(100);
}

}  // namespace
}  // namespace quelt
