#include "quelt/sys/window.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

#include "quelt/core/exceptions.h"
#include "quelt/paint/palette.h"
#include "quelt/testing/palette.h"
#include "sys/window_fixture.h"

namespace quelt {
namespace {

using namespace test;
using Type = ISysWindow::ScrollType;

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override { SetSysPallete(&palette); }
    void TearDown() override { SetSysPallete(nullptr); }

    // What a receiver hears of the gesture on the window: the log's lines with the prefixes.
    Lines Heard(ScriptedWindow &window, const std::function<void(ScriptedWindow &)> &gesture,
                const Lines &prefixes) {
        Listener heard(log, "heard");
        heard.Listen(&window);
        log.Clear();
        gesture(window);
        return Only(log, prefixes);
    }

    quelt::testing::FixedSysPalette palette;
    InstalledSystem system;
    CallLog &log = system->Log();
};

TEST(WindowLifeTest, AWindowNeedsASystem) {
    SetCurrentSystem(nullptr);
    EXPECT_THROW(ScriptedWindow window, WindowException);
}

TEST(WindowLifeTest, AWindowOutlivingItsSystemStillWorks) {
    auto installed = std::make_unique<InstalledSystem>();
    ScriptedWindow window;
    Listener heard(window.Log(), "heard");
    heard.Listen(&window);
    heard.tooltip = [](CTooltipEvent *e) { e->SetText(u"tip"_w); };
    installed.reset();
    window.SetTooltipDelay(0);
    window.MouseMove(10, 20);
    EXPECT_TRUE(window.Tooltip().IsShown());
    window.Resize(40, 30);
    // Without a system the bars are zero thick.
    window.SetScrollInfo(Type::VertScroll, ScrollInfo(0, 100, 1, 10, 0));
    EXPECT_EQ(window.VertBar().GetBounds(), screen_rectangle<int>(39, 0, 39, 29));
}

TEST_F(WindowTest, RegistersTheTwelveWindowTypes) {
    ScriptedWindow window;
    for (const std::type_info *type :
         {&typeid(IDrawingNotify), &typeid(IMouseNotify), &typeid(IMouseClickNotify),
          &typeid(IMouseHoverNotify), &typeid(IKeyboardNotify), &typeid(IWindowNotify), &typeid(IFocusNotify),
          &typeid(IContextMenuNotify), &typeid(ITooltipNotify), &typeid(IScrollNotify),
          &typeid(ICustomEventNotify), &typeid(ISystemNotify)}) {
        EXPECT_TRUE(window.CausesEvent(*type)) << type->name();
    }
    EXPECT_FALSE(window.CausesEvent(typeid(ITimerNotify)));
    EXPECT_EQ(Only(log, {"system.CreateTimer"}), Lines{"system.CreateTimer 100 0"});
}

TEST_F(WindowTest, GesturesRaiseWhatANativeWindowWould) {
    struct Case {
        const char *name;
        std::function<void(ScriptedWindow &)> gesture;
        Lines heard;
    };
    const Case cases[] = {
        {"move",
         [](ScriptedWindow &w) { w.MouseMove(10, 20); },
         {"heard.OnMouseMove 10,20", "heard.OnTooltip 10,20"}},
        {"click",
         [](ScriptedWindow &w) { w.Click(5, 6); },
         {"heard.OnButtonDown 5,6", "heard.OnButtonUp 5,6", "heard.OnClick 5,6"}},
        {"double click",
         [](ScriptedWindow &w) { w.DoubleClick(5, 6); },
         {"heard.OnButtonDown 5,6", "heard.OnButtonUp 5,6", "heard.OnDoubleClick 5,6",
          "heard.OnButtonUp 5,6"}},
        {"wheel", [](ScriptedWindow &w) { w.Wheel(1, 2, -120); }, {"heard.OnWheel -120"}},
        {"hover and leave",
         [](ScriptedWindow &w) { w.Hover(3, 4), w.Leave(); },
         {"heard.OnHover 3,4", "heard.OnLeave -1,-1"}},
        {"keys",
         [](ScriptedWindow &w) { w.KeyDown(vk::Return), w.Char(u'x'), w.KeyUp(vk::Return); },
         {"heard.OnKeyDown 13", "heard.OnChar 120", "heard.OnKeyUp 13"}},
        {"resize",
         [](ScriptedWindow &w) { w.Resize(200, 80), w.Resize(200, 80); },
         {"heard.OnResize 200,80"}},
        {"move window", [](ScriptedWindow &w) { w.Move(7, 8); }, {"heard.OnMove 7,8"}},
        {"hide and show",
         [](ScriptedWindow &w) { w.SetVisible(false), w.SetVisible(true); },
         {"heard.OnHide", "heard.OnShow"}},
        {"post", [](ScriptedWindow &w) { w.Post(42); }, {"heard.OnCustomEvent 42"}},
        {"draw", [](ScriptedWindow &w) { w.Draw(nullptr); }, {"heard.OnDraw"}},
        {"context menu", [](ScriptedWindow &w) { w.ContextMenu(30, 40); }, {"heard.OnContextMenu 30,40"}},
        {"colours", [](ScriptedWindow &w) { w.SysColorChanged(); }, {"heard.OnSysColorChanged"}},
        {"focus", [](ScriptedWindow &w) { w.SetFocus(), w.SetFocus(); }, {"heard.OnGetFocus"}},
        {"destroy", [](ScriptedWindow &w) { w.Destroy(), w.Destroy(); }, {"heard.OnDestroy"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedWindow window;
        EXPECT_EQ(Heard(window, c.gesture, {"heard."}), c.heard);
    }
}

TEST_F(WindowTest, BoundsAnywhereInIntSaturateInsteadOfWrapping) {
    constexpr int lo = std::numeric_limits<int>::min();
    constexpr int hi = std::numeric_limits<int>::max();
    struct Case {
        const char *name;
        std::function<void(ScriptedWindow &)> gesture;
        screen_rectangle<int> bounds;
        rectangle<int> client;
        Lines heard;
    };
    const std::string hiText = std::to_string(hi), loText = std::to_string(lo);
    const Case cases[] = {
        {"whole range",
         [](ScriptedWindow &w) {
             w.SetBounds({lo, lo, hi, hi}, false);
         },
         {lo, lo, hi, hi},
         {0, 0, hi, hi},
         {"heard.OnMove " + loText + "," + loText, "heard.OnResize " + hiText + "," + hiText}},
        {"moved to the far corner",
         [](ScriptedWindow &w) { w.Move(hi - 10, hi); },
         {hi - 10, hi, hi, hi},
         {0, 0, 10, 0},
         {"heard.OnMove " + std::to_string(hi - 10) + "," + hiText, "heard.OnResize 11,1"}},
        {"grown past the far corner",
         [](ScriptedWindow &w) { w.Move(hi - 10, 0), w.Resize(hi, 50); },
         {hi - 10, 0, hi, 49},
         {0, 0, 10, 49},
         {"heard.OnMove " + std::to_string(hi - 10) + ",0", "heard.OnResize 11,50"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedWindow window;
        EXPECT_EQ(Heard(window, c.gesture, {"heard.OnMove", "heard.OnResize"}), c.heard);
        EXPECT_EQ(window.GetBounds(), c.bounds);
        EXPECT_EQ(window.GetBoundsRect(), c.client);
    }
}

TEST_F(WindowTest, OnlyTheButtonDownOfAClickCarriesThePressedButton) {
    // Each mouse record of the sequence as its keys and button.
    struct Keys : CMouseNotify, CMouseClickNotify {
        std::vector<std::pair<VKeyState, MouseButton>> heard;
        void OnButtonDown(CMouseEvent *e) override { Hear(e); }
        void OnButtonUp(CMouseEvent *e) override { Hear(e); }
        void OnClick(CMouseEvent *e) override { Hear(e); }
        void OnDoubleClick(CMouseEvent *e) override { Hear(e); }
        void Hear(CMouseEvent *e) { heard.emplace_back(e->GetKeys(), e->GetMouseButton()); }
    };
    const std::pair<MouseButton, VKeyState> buttons[] = {{button::Left, keystate::LeftButton},
                                                         {button::Right, keystate::RightButton},
                                                         {button::Middle, keystate::MiddleButton}};
    for (bool twice : {false, true}) {
        for (const auto &[button, bit] : buttons) {
            SCOPED_TRACE(std::to_string(button) + (twice ? " double" : " single"));
            ScriptedWindow window;
            Keys keys;
            window.Subscribe(keys.CMouseNotify::AsNotify(), typeid(IMouseNotify), true);
            window.Subscribe(keys.CMouseClickNotify::AsNotify(), typeid(IMouseClickNotify), true);
            if (twice) {
                window.DoubleClick(1, 1, button, keystate::Shift);
            } else {
                window.Click(1, 1, button, keystate::Shift);
            }
            std::vector<std::pair<VKeyState, MouseButton>> expected(twice ? 4 : 3, {keystate::Shift, button});
            expected[0].first |= bit;
            EXPECT_EQ(keys.heard, expected);
        }
    }
}

TEST_F(WindowTest, HelpersPassTheClientRectangle) {
    ScriptedWindow window;
    struct Owner : IHandle {
        void *GetHandle() const override { return const_cast<Owner *>(this); }
    } owner;
    EXPECT_EQ(window.GetHandle(), nullptr);
    window.RegisterHandle(&owner);
    EXPECT_EQ(window.GetHandle(), &owner);
    window.RegisterHandle(nullptr);
    EXPECT_EQ(window.GetHandle(), nullptr);
    log.Clear();
    window.Invalidate();
    window.Refresh(false);
    window.ScrollContent(1, 2);
    window.Invalidate({1, 2, 3, 4});
    EXPECT_EQ(Only(log, {"window.Do"}),
              (Lines{"window.DoInvalidate 0 0 99 49", "window.DoRefresh 0 0 99 49 0",
                     "window.DoScrollContent 1 2 0 0 99 49", "window.DoInvalidate 1 2 3 4"}));
}

TEST_F(WindowTest, CursorIsKeptOnlyWhenThePlatformShowsIt) {
    ScriptedWindow window;
    window.SetApplyCursor(false);
    window.SetCursor(31);
    EXPECT_EQ(window.GetCursor(), 0);
    window.SetApplyCursor(true);
    window.SetCursor(32);
    EXPECT_EQ(window.GetCursor(), 32);
}

// --- tooltips ----------------------------------------------------------------------

class TooltipTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        window = std::make_unique<ScriptedWindow>();
        window->Move(100, 200);
        heard = std::make_unique<Listener>(log, "heard");
        heard->Listen(window.get());
        heard->tooltip = [this](CTooltipEvent *e) {
            e->SetText(text);
            e->SetRect(hot);
            e->SetPos(place);
            e->SetTracking(tracking);
        };
        system->SetMousePos(110, 220);
    }
    void TearDown() override {
        heard.reset();
        window.reset();
        WindowTest::TearDown();
    }
    Lines Tip() const { return Only(log, {"window.tooltip.", "heard.OnTooltip", "timer1."}); }

  public:
    std::unique_ptr<ScriptedWindow> window;
    std::unique_ptr<Listener> heard;
    wstring text = u"tip"_w;
    screen_rectangle<int> hot{0, 0, 20, 20};
    screen_rectangle<int> place;
    bool tracking = false;
};

TEST_F(TooltipTest, WithoutDelayItShowsAtOnceBesideTheMouse) {
    window->SetTooltipDelay(0);
    log.Clear();
    window->MouseMove(10, 20);
    EXPECT_EQ(Tip(),
              (Lines{"timer1.Enable 0", "window.tooltip.Hide", "heard.OnTooltip 10,20",
                     "window.tooltip.SetColor 255,255,225,255", "window.tooltip.SetFontColor 0,0,0,255",
                     "window.tooltip.SetFont 3 8 0 0 ", "window.tooltip.SetText tip",
                     "window.tooltip.SetPos 125,235", "window.tooltip.Show"}));
    // Inside the hot rectangle (edges included) nothing is asked again; outside it is.
    log.Clear();
    window->MouseMove(20, 20);
    window->MouseMove(0, 0);
    EXPECT_EQ(Only(log, {"heard.OnTooltip"}), Lines{});
    window->MouseMove(21, 5);
    EXPECT_EQ(Only(log, {"heard.OnTooltip"}), Lines{"heard.OnTooltip 21,5"});
}

TEST_F(TooltipTest, WithADelayItShowsWhenTheMouseRestsForATick) {
    log.Clear();
    window->MouseMove(10, 20);
    EXPECT_EQ(Only(log, {"timer1."}),
              (Lines{"timer1.Enable 0", "timer1.SetInterval 300", "timer1.Enable 1"}));
    system->Advance(299);
    EXPECT_FALSE(window->Tooltip().IsShown());
    system->SetMousePos(111, 221);
    system->Advance(1);
    EXPECT_FALSE(window->Tooltip().IsShown());
    log.Clear();
    system->Advance(300);
    EXPECT_EQ(Tip(), (Lines{"window.tooltip.SetPos 126,236", "window.tooltip.Show", "timer1.Enable 0"}));
    system->Advance(3000);
    EXPECT_EQ(log.Count("window.tooltip.Show"), 1u);
}

TEST_F(TooltipTest, NothingShowsOnceTooltipsAreDisabled) {
    struct Case {
        const char *name;
        int delay;
        std::function<void(TooltipTest &)> disable;
    };
    const Case cases[] = {
        {"while the delay runs", 300,
         [](TooltipTest &t) { t.window->MouseMove(10, 20), t.window->SetEnableTooltip(false); }},
        {"by taking the tooltip away", 300,
         [](TooltipTest &t) { t.window->MouseMove(10, 20), t.window->SetTooltip(nullptr); }},
        {"before the mouse moves", 0,
         [](TooltipTest &t) { t.window->SetEnableTooltip(false), t.window->MouseMove(10, 20); }},
        {"by the query's receiver", 0,
         [](TooltipTest &t) {
             t.heard->tooltip = [&t](CTooltipEvent *e) {
                 e->SetText(u"tip"_w);
                 t.window->SetEnableTooltip(false);
             };
             t.window->MouseMove(10, 20);
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        log.Clear();
        window->SetTooltipDelay(c.delay);
        c.disable(*this);
        system->Advance(1000);
        window->MouseMove(60, 40);
        window->ShowTooltip(1, 2, u"x"_w, _color(), _color(), font());
        window->TrackTooltip(1, 2, u"x"_w);
        system->Advance(1000);
        EXPECT_EQ(log.Count("window.tooltip.Show"), 0u);
        // Switched off inside the query, the answer is not even handed to the tooltip.
        if (c.delay == 0) {
            EXPECT_EQ(log.Count("window.tooltip.SetText tip"), 0u);
        }
        EXPECT_EQ(log.Count("window.tooltip.SetText x"), 0u);
        TearDown();
    }
}

TEST_F(TooltipTest, ReceiversPlaceTrackAndWithholdIt) {
    place = {5, 5, 50, 25};
    log.Clear();
    window->MouseMove(10, 20);
    EXPECT_EQ(Only(log, {"window.tooltip.SetPos", "window.tooltip.SetHeight", "window.tooltip.Show"}),
              (Lines{"window.tooltip.SetPos 105,205", "window.tooltip.SetHeight 20", "window.tooltip.Show"}));
    // Tracking: inside the hot rectangle every move asks for the text and follows the mouse.
    window->HideTooltipEx();
    place = {};
    tracking = true;
    window->SetTooltipDelay(0);
    window->MouseMove(10, 10);
    heard->tooltip = [](CTooltipEvent *e) { e->SetText(e->GetText() + u"!"_w); };
    log.Clear();
    window->MouseMove(12, 14);
    EXPECT_EQ(Tip(), (Lines{"heard.OnTooltipTrack 12,14", "window.tooltip.SetPos 132,234",
                            "window.tooltip.SetText tip!"}));
    // An empty text shows nothing, while its hot rectangle still holds.
    window->HideTooltipEx();
    heard->tooltip = [](CTooltipEvent *e) { e->SetRect({0, 0, 30, 30}); };
    log.Clear();
    window->MouseMove(1, 1);
    window->MouseMove(2, 2);
    EXPECT_EQ(Tip(), (Lines{"timer1.Enable 0", "window.tooltip.Hide", "heard.OnTooltip 1,1"}));
    // Leaving hides it unless the tooltip is hot.
    window->Tooltip().SetHot(true);
    log.Clear();
    window->Leave();
    EXPECT_EQ(Only(log, {"window.tooltip."}), Lines{"window.tooltip.IsHot"});
}

// --- scroll bars ----------------------------------------------------------------------

struct BarState {
    bool vert, horz, corner;
    bool operator==(const BarState &o) const {
        return vert == o.vert && horz == o.horz && corner == o.corner;
    }
};

BarState Shown(ScriptedWindow &w) {
    return {w.VertBar().IsVisible(), w.HorzBar().IsVisible(), w.Corner().IsVisible()};
}

TEST_F(WindowTest, BarsShowByStateConditionAndNeed) {
    struct Case {
        const char *name;
        double vertRange;  // 5 fits the page of 10, 1000 does not
        ISysWindow::ScrollState vertState;
        ISysWindow::ScrollCondition condition;
        BarState shown;
        bool vertEnabled;
    };
    for (const Case &c : {
             Case{"both needed",
                  1000,
                  ISysWindow::ScrollAuto,
                  ISysWindow::ScrollBoth,
                  {true, true, true},
                  true},
             Case{"fits", 5, ISysWindow::ScrollAuto, ISysWindow::ScrollBoth, {false, true, false}, false},
             Case{"always", 5, ISysWindow::ScrollAlways, ISysWindow::ScrollBoth, {true, true, true}, false},
             Case{"never", 1000, ISysWindow::ScrollNever, ISysWindow::ScrollBoth, {false, true, false}, true},
             Case{"vertical only",
                  1000,
                  ISysWindow::ScrollAuto,
                  ISysWindow::ScrollVertOnly,
                  {true, false, false},
                  true},
             Case{"horizontal only",
                  1000,
                  ISysWindow::ScrollAuto,
                  ISysWindow::ScrollHorzOnly,
                  {false, true, false},
                  true},
             Case{
                 "none", 1000, ISysWindow::ScrollAlways, ISysWindow::ScrollNone, {false, false, false}, true},
         }) {
        SCOPED_TRACE(c.name);
        ScriptedWindow window;
        window.SetScrollCondition(c.condition);
        window.SetScrollState(Type::VertScroll, c.vertState);
        window.SetScrollInfo(Type::HorzScroll, ScrollInfo(0, 1000, 1, 10, 0));
        window.SetScrollInfo(Type::VertScroll, ScrollInfo(0, c.vertRange, 1, 10, 0));
        EXPECT_TRUE(Shown(window) == c.shown);
        EXPECT_EQ(window.GetScrollVisible(Type::VertScroll), c.shown.vert);
        EXPECT_EQ(window.GetScrollVisible(Type::HorzScroll), c.shown.horz);
        EXPECT_EQ(window.VertBar().IsEnabled(), c.vertEnabled);
    }
}

TEST_F(WindowTest, BarsTakeTheirStandardPlaces) {
    ScriptedWindow window;
    window.SetScrollInfo(Type::HorzScroll, ScrollInfo(0, 1000, 1, 10, 0));
    log.Clear();
    window.SetScrollInfo(Type::VertScroll, ScrollInfo(0, 1000, 5, 10, 1000));
    EXPECT_EQ(
        Only(log, {"window.vbar.Set", "window.hbar.Set", "window.corner.Set"}),
        (Lines{"window.hbar.SetScrollInfo 0 0 1000 1 10 0", "window.vbar.SetScrollInfo 0 0 1000 5 11 0",
               "window.vbar.SetBounds 83 0 99 33", "window.hbar.SetBounds 0 33 83 49",
               "window.corner.SetBounds 83 33 99 49", "window.vbar.SetVisible 1", "window.vbar.SetEnabled 1",
               "window.hbar.SetVisible 1", "window.hbar.SetEnabled 1", "window.corner.SetVisible 1"}));
    EXPECT_DOUBLE_EQ(window.GetScrollScale(Type::VertScroll), 10.0 / 49);
    // A placement of its own moves one bar and leaves the other in its standard place.
    window.SetScrollPos(Type::VertScroll, ScrollPos{0, 5, 0, 5, 2 | 4 | 8});
    window.Resize(200, 100);
    EXPECT_EQ(window.VertBar().GetBounds(), screen_rectangle<int>(183, 5, 199, 94));
    EXPECT_EQ(window.HorzBar().GetBounds(), screen_rectangle<int>(0, 83, 183, 99));
    ScrollPos pos{};
    window.GetScrollPos(Type::VertScroll, pos);
    EXPECT_EQ(pos.anchors, 2 | 4 | 8);
    // A type that is no axis changes nothing.
    window.SetScrollInfo(static_cast<Type>(7), ScrollInfo(0, 5, 1, 1, 0));
    ScrollInfo info(1, 2, 3, 4, 5);
    window.GetScrollInfo(static_cast<Type>(7), info);
    EXPECT_EQ(info.max, 0);
}

TEST_F(WindowTest, ScrollPositionsAreAbsoluteAndReachTheBars) {
    ScriptedWindow window;
    window.SetScrollInfo(Type::HorzScroll, ScrollInfo(0, 100, 1, 10, 0));
    window.SetScrollInfo(Type::VertScroll, ScrollInfo(0, 100, 1, 10, 0));
    window.ScrollBy(5, 7);
    window.ScrollBy(5, 200);
    ScrollInfo h, v;
    window.GetScrollInfo(Type::HorzScroll, h);
    window.GetScrollInfo(Type::VertScroll, v);
    EXPECT_EQ(h.pos, 5);
    EXPECT_EQ(v.pos, 90);
    EXPECT_EQ(window.HorzBar().GetPos(), 5);
    EXPECT_EQ(window.VertBar().GetPos(), 90);
}

TEST_F(WindowTest, BarMovesReachReceiversOnceInControlUnits) {
    ScriptedWindow window;
    Listener heard(log, "heard");
    heard.Listen(&window);
    // A reversed axis mapped onto a precision: the bar's value maps back without a jump.
    window.SetScrollInfo(Type::VertScroll, ScrollInfo(100, 0, 1, 10, 1000));
    window.SetScrollInfo(Type::HorzScroll, ScrollInfo(0, 50, 1, 10, 0));
    window.SubscribeScrollBars();
    log.Clear();
    window.VertBar().Scroll(CScrollEvent::ThumbPosition, 500);
    window.HorzBar().Scroll(CScrollEvent::LineDown, 7.9);
    window.HorzBar().Scroll(CScrollEvent::ThumbTrack, std::nan(""));
    EXPECT_EQ(Only(log, {"heard."}),
              (Lines{"heard.OnVertScroll 5 40", "heard.OnHorzScroll 1 7", "heard.OnHorzScroll 4 0"}));
    window.SetScrollVal(Type::VertScroll, 40);
    EXPECT_EQ(window.VertBar().GetPos(), 500);
}

// --- closing from a handler ----------------------------------------------------------------

TEST_F(WindowTest, AWindowReleasedFromItsOwnHandlersGoesWhenTheyReturn) {
    struct Case {
        const char *name;
        std::function<void(ScriptedWindow &)> gesture;
        const char *killer;  // the notification whose receiver releases the window
    };
    const Case cases[] = {
        {"click", [](ScriptedWindow &w) { w.Click(1, 1); }, "heard.OnClick 1,1"},
        {"button down", [](ScriptedWindow &w) { w.Click(1, 1); }, "heard.OnButtonDown 1,1"},
        {"tooltip query", [](ScriptedWindow &w) { w.MouseMove(1, 1); }, "heard.OnTooltip 1,1"},
        {"tab key", [](ScriptedWindow &w) { w.KeyDown(vk::Tab); }, "heard.OnKeyDown 9"},
        {"bar", [](ScriptedWindow &w) { w.VertBar().Scroll(CScrollEvent::LineDown, 3); },
         "heard.OnVertScroll 1 3"},
        {"resize", [](ScriptedWindow &w) { w.Resize(10, 10); }, "heard.OnResize 10,10"},
    };
    for (bool outright : {false, true}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(c.name) + (outright ? ", deleted" : ", released"));
            auto *window = new ScriptedWindow;
            window->SetScrollInfo(Type::VertScroll, ScrollInfo(0, 100, 1, 10, 0));
            window->SetTooltipDelay(0);
            Listener heard(log, "heard"), later(log, "later");
            heard.Listen(window);
            later.Listen(window);
            heard.tooltip = [](CTooltipEvent *e) { e->SetText(u"tip"_w); };
            bool gone = false;
            heard.action = [&](CEvent *) {
                if (gone || log.Lines().back() != c.killer) return;
                gone = true;
                if (outright) {
                    delete window;
                } else {
                    window->Release();
                }
            };
            log.Clear();
            c.gesture(*window);
            EXPECT_TRUE(gone);
            const Lines lines = Only(log, {"heard.OnDestroy", "later."});
            ASSERT_FALSE(lines.empty());
            // Deleted outright, the later receiver hears nothing more; released, the
            // window lives until the gesture is over and then goes.
            EXPECT_EQ(lines.back(), "later.OnDestroy");
            EXPECT_EQ(log.Count("heard.OnDestroy"), 1u);
            const std::string killed = std::string("later.") + (c.killer + 6);
            EXPECT_EQ(log.Count(killed), outright ? 0u : 1u);
        }
    }
}

}  // namespace
}  // namespace quelt
