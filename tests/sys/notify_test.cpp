#include "quelt/sys/notify.h"

#include <gtest/gtest.h>

#include "quelt/controls/notify.h"
#include "quelt/paint/palette.h"
#include "quelt/testing/palette.h"

namespace quelt {
namespace {

TEST(EventRecordTest, PackedPositionsAreSignedHalves) {
    struct Case {
        unsigned packed;
        int x, y;
    };
    for (const Case &c : {Case{0x0001FFFFu, -1, 1}, Case{0x80007FFFu, 32767, -32768},
                          Case{0x0014000Au, 10, 20}, Case{0xFFFFFFFFu, -1, -1}}) {
        const CMouseEvent event(nullptr, static_cast<int>(c.packed), keystate::LeftButton, button::Left);
        EXPECT_EQ(event.GetPoint(), point<int>(c.x, c.y)) << std::hex << c.packed;
    }
}

TEST(EventRecordTest, KeyTestsReadTheBits) {
    const CInputEvent some(nullptr, keystate::Control | keystate::LeftButton);
    EXPECT_TRUE(some.IsPressed(keystate::Control | keystate::Shift));
    EXPECT_FALSE(some.IsMultiPressed(keystate::Control | keystate::Shift));
    EXPECT_TRUE(some.IsMultiPressed(keystate::Control | keystate::LeftButton));
    EXPECT_TRUE(some.IsMousePressed());
    EXPECT_FALSE(some.IsNotPressed());
    const CInputEvent keysOnly(nullptr, keystate::Shift | keystate::Alt);
    EXPECT_FALSE(keysOnly.IsMousePressed());
    EXPECT_TRUE(CInputEvent(nullptr, 0).IsNotPressed());
}

TEST(EventRecordTest, KeyCodesFollowTheLinuxTable) {
    EXPECT_EQ(vk::Digit(0), 48);
    EXPECT_EQ(vk::Letter('Z'), 90);
    EXPECT_EQ(vk::F(1), 112);
    EXPECT_EQ(vk::F(12), 123);
    EXPECT_EQ(vk::Down, 40);
    EXPECT_EQ(keystate::Control, 0x200);
}

TEST(EventRecordTest, RecordsKeepWhatTheyAreGiven) {
    const CMouseWheelEvent wheel(nullptr, 3, 4, keystate::Shift, -240);
    EXPECT_EQ(wheel.GetMouseButton(), button::None);
    EXPECT_EQ(wheel.GetDelta(), -240);
    CKeyboardEvent key(nullptr, keystate::Shift, vk::Tab, 9);
    EXPECT_TRUE(key.IsAccepted());
    key.Ignore();
    EXPECT_FALSE(key.IsAccepted());
    CEditKeyDownEvent edit(nullptr, 0, vk::Return, 13);
    edit.Forbid();
    EXPECT_FALSE(edit.IsAllowed());
    EXPECT_TRUE(edit.IsAccepted());
    const CScrollEvent scroll(nullptr, CScrollEvent::ThumbPosition, 12.5);
    EXPECT_EQ(scroll.GetAction(), 5);
    EXPECT_EQ(scroll.GetVal(), 12.5);
    EXPECT_EQ(CChangeTextEvent(nullptr, u"abc"_w).GetText(), u"abc"_w);
    EXPECT_EQ(CToolbarDropDownEvent(nullptr, 7, {1, 2, 3, 4}).GetID(), 7);
    EXPECT_EQ(CWindowEvent(nullptr).GetPoint(), point<int>(0, 0));
}

TEST(EventRecordTest, TooltipQueryStartsEmptyInThePaletteColours) {
    CTooltipEvent bare(nullptr, 5, 6);
    EXPECT_TRUE(bare.GetColor().IsColorUndefined());
    testing::FixedSysPalette palette;
    SetSysPallete(&palette);
    const CTooltipEvent event(nullptr, 5, 6);
    SetSysPallete(nullptr);
    EXPECT_EQ(event.GetPoint(), point<int>(5, 6));
    EXPECT_TRUE(event.GetText().empty());
    EXPECT_EQ(event.GetRect(), screen_rectangle<int>());
    EXPECT_EQ(event.GetPos(), screen_rectangle<int>());
    EXPECT_FALSE(event.IsTracking());
    EXPECT_EQ(event.GetColor(), _color(255, 255, 225, 255));
    EXPECT_EQ(event.GetFontColor(), _color(0, 0, 0, 255));
    EXPECT_EQ(event.GetFont(), font());
}

TEST(EventRecordTest, CustomEventsLiveOnTheHeapUntilDestroyed) {
    CCustomEvent::destroy(nullptr);
    int payload = 3;
    auto *event = new CCustomEvent(nullptr, 9, &payload);
    EXPECT_EQ(event->GetID(), 9);
    EXPECT_EQ(event->GetData(), &payload);
    event->destroy();
}

}  // namespace
}  // namespace quelt
