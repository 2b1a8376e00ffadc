#include "quelt/visual/control.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <typeinfo>

#include "quelt/paint/palette.h"
#include "quelt/testing/palette.h"
#include "quelt/testing/printer.h"
#include "sys/window_fixture.h"

namespace quelt {
namespace {

using namespace test;
using quelt::testing::ScriptedPrinter;

// Subscribes every interface of the listener at a control.
void ListenTo(Listener &l, IEventSender *s) {
    s->Subscribe(static_cast<CMouseNotify &>(l).AsNotify(), typeid(IMouseNotify), true);
    s->Subscribe(static_cast<CMouseClickNotify &>(l).AsNotify(), typeid(IMouseClickNotify), true);
    s->Subscribe(static_cast<CMouseHoverNotify &>(l).AsNotify(), typeid(IMouseHoverNotify), true);
    s->Subscribe(static_cast<CKeyboardNotify &>(l).AsNotify(), typeid(IKeyboardNotify), true);
    s->Subscribe(static_cast<CWindowNotify &>(l).AsNotify(), typeid(IWindowNotify), true);
    s->Subscribe(static_cast<CFocusNotify &>(l).AsNotify(), typeid(IFocusNotify), true);
    s->Subscribe(static_cast<CTooltipNotify &>(l).AsNotify(), typeid(ITooltipNotify), true);
    s->Subscribe(static_cast<CScrollNotify &>(l).AsNotify(), typeid(IScrollNotify), true);
    s->Subscribe(static_cast<CCustomEventNotify &>(l).AsNotify(), typeid(ICustomEventNotify), true);
    s->Subscribe(static_cast<CContextMenuNotify &>(l).AsNotify(), typeid(IContextMenuNotify), true);
    s->Subscribe(static_cast<CSystemNotify &>(l).AsNotify(), typeid(ISystemNotify), true);
    s->Subscribe(static_cast<CDrawingNotify &>(l).AsNotify(), typeid(IDrawingNotify), true);
}

// A control that logs its update hooks and may print page by page.
class Control : public CQueltControl {
  public:
    Control(ISysWindow *window, CallLog &log, bool mode = true) : CQueltControl(window, mode), m_log(log) {}

    bool IsPrintSupport(bool byPage) override { return byPage ? pages >= 0 : false; }
    int GetPageCount(IPrinter *) const override { return pages; }
    void OnPrintPage(IPainter *painter, IPrinter *, int page) override {
        m_log.Add("control.OnPrintPage " + std::to_string(page));
        painter->LineTo(page, page);
    }
    using CQueltControl::GetUpdateLockCount;

    int pages = -1;

  protected:
    void InternalBeginUpdate() override { m_log.Add("control.InternalBeginUpdate"); }
    void InternalEndUpdate() override { m_log.Add("control.InternalEndUpdate"); }

  private:
    CallLog &m_log;
};

// Cancels the job when page 2 begins.
class CancelOnPage2 : public CPrinterNotify {
  public:
    void OnPagePrint(CPagePrintEvent *e) override {
        if (e->GetPageNumber() == 2) e->Abort();
    }
};

class ControlTest : public ::testing::Test {
  protected:
    void SetUp() override { SetSysPallete(&palette); }
    void TearDown() override { SetSysPallete(nullptr); }

    // The platform calls the window received.
    Lines WindowCalls(const std::string &name = "window") { return Only(log, {name + "."}); }

    quelt::testing::FixedSysPalette palette;
    InstalledSystem system;
    CallLog &log = system->Log();
};

TEST_F(ControlTest, ConstructionSubscribesSetsTheModeAndRegistersTheHandle) {
    ScriptedWindow window;
    Control control(&window, log);
    EXPECT_EQ(WindowCalls(), (Lines{"window.SetWindowMode 1"}));
    EXPECT_EQ(window.GetHandle(), static_cast<void *>(&control));
    EXPECT_EQ(control.GetSysWindow(), &window);
    for (const std::type_info *type :
         {&typeid(IDrawingNotify), &typeid(IMouseNotify), &typeid(IKeyboardNotify), &typeid(IWindowNotify),
          &typeid(ICustomEventNotify), &typeid(ISystemNotify)}) {
        EXPECT_EQ(window.GetReceiverCount(*type), 1) << type->name();
    }
    // The control's own ten types; system changes only once the host adds them.
    for (const std::type_info *type :
         {&typeid(IDrawingNotify), &typeid(IMouseNotify), &typeid(IMouseClickNotify),
          &typeid(IMouseHoverNotify), &typeid(IKeyboardNotify), &typeid(IWindowNotify), &typeid(IFocusNotify),
          &typeid(IContextMenuNotify), &typeid(ITooltipNotify), &typeid(IScrollNotify)}) {
        EXPECT_TRUE(control.CausesEvent(*type)) << type->name();
    }
    EXPECT_FALSE(control.CausesEvent(typeid(ISystemNotify)));
    EXPECT_FALSE(control.CausesEvent(typeid(ICustomEventNotify)));
}

TEST_F(ControlTest, EveryWindowEventIsRaisedAgainWithTheWindowAsSource) {
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
        {"hover and leave",
         [](ScriptedWindow &w) {
             w.Hover(1, 2);
             w.Leave();
         },
         {"heard.OnHover 1,2", "heard.OnLeave -1,-1"}},
        {"wheel", [](ScriptedWindow &w) { w.Wheel(1, 2, 120); }, {"heard.OnWheel 120"}},
        {"keys",
         [](ScriptedWindow &w) {
             w.KeyDown(vk::Letter('A'));
             w.KeyUp(vk::Letter('A'));
             w.Char('a');
         },
         {"heard.OnKeyDown 65", "heard.OnKeyUp 65", "heard.OnChar 97"}},
        {"resize and move",
         [](ScriptedWindow &w) {
             w.Resize(40, 30);
             w.Move(3, 4);
         },
         {"heard.OnResize 40,30", "heard.OnMove 3,4"}},
        {"hide and show",
         [](ScriptedWindow &w) {
             w.SetVisible(false);
             w.SetVisible(true);
         },
         {"heard.OnHide", "heard.OnShow"}},
        {"focus", [](ScriptedWindow &w) { w.SetFocus(); }, {"heard.OnGetFocus"}},
        {"context menu", [](ScriptedWindow &w) { w.ContextMenu(7, 8); }, {"heard.OnContextMenu 7,8"}},
        {"scroll",
         [](ScriptedWindow &w) {
             w.SetScrollInfo(ISysWindow::VertScroll, ScrollInfo(0, 100, 1, 10, 0));
             w.SetScrollInfo(ISysWindow::HorzScroll, ScrollInfo(0, 100, 1, 10, 0));
             w.VertBar().Scroll(CScrollEvent::LineDown, 1);
             w.HorzBar().Scroll(CScrollEvent::PageDown, 10);
         },
         {"heard.OnVertScroll 1 1", "heard.OnHorzScroll 3 10"}},
        {"draw", [](ScriptedWindow &w) { w.Draw(); }, {"heard.OnDraw"}},
        {"custom events are not raised again", [](ScriptedWindow &w) { w.Post(5); }, {}},
        {"system changes need the type", [](ScriptedWindow &w) { w.SysColorChanged(); }, {}},
        {"destroy", [](ScriptedWindow &w) { w.Destroy(); }, {"heard.OnDestroy"}},
    };
    for (const Case &c : cases) {
        ScriptedWindow window;
        Control control(&window, log);
        Listener heard(log, "heard");
        ListenTo(heard, &control);
        bool sourceIsWindow = true;
        heard.action = [&](CEvent *e) {
            sourceIsWindow &= e->GetSource() == static_cast<IEventSender *>(&window);
        };
        log.Clear();
        c.gesture(window);
        EXPECT_EQ(Only(log, {"heard."}), c.heard) << c.name;
        EXPECT_TRUE(sourceIsWindow) << c.name;
    }
}

TEST_F(ControlTest, TooltipQueriesAndSystemChangesReachTheControlsSubscribers) {
    ScriptedWindow window;
    Control control(&window, log);
    Listener heard(log, "heard");
    ListenTo(heard, &control);
    heard.tooltip = [](CTooltipEvent *e) { e->SetText(u"tip"_w); };
    window.SetTooltipDelay(0);
    window.MouseMove(10, 20);
    EXPECT_TRUE(window.Tooltip().IsShown());
    EXPECT_EQ(window.Tooltip().GetText(), u"tip"_w);
    control.AddEventType(typeid(ISystemNotify));
    control.Subscribe(static_cast<CSystemNotify &>(heard).AsNotify(), typeid(ISystemNotify), true);
    log.Clear();
    window.SysColorChanged();
    EXPECT_EQ(Only(log, {"heard."}), Lines{"heard.OnSysColorChanged"});
}

TEST_F(ControlTest, AStoppedEventStopsAtTheControlButEveryDrawingSubscriberDraws) {
    ScriptedWindow window;
    Control control(&window, log);
    Listener first(log, "first"), second(log, "second");
    ListenTo(first, &control);
    ListenTo(second, &control);
    first.action = [](CEvent *e) { e->StopProcessing(); };
    log.Clear();
    window.MouseMove(1, 1);
    window.Draw();
    EXPECT_EQ(Only(log, {"first.", "second."}),
              (Lines{"first.OnMouseMove 1,1", "first.OnTooltip 1,1", "first.OnDraw", "second.OnDraw"}));
}

TEST_F(ControlTest, AControlForgetsAWindowThatGoes) {
    auto checkDetached = [&](Control &control, const char *how) {
        EXPECT_EQ(control.GetSysWindow(), nullptr) << how;
        log.Clear();
        EXPECT_EQ(control.GetWidth(), 1) << how;
        EXPECT_EQ(control.GetHeight(), 1) << how;
        EXPECT_EQ(control.GetBoundsRect(), rectangle<int>()) << how;
        EXPECT_FALSE(control.GetEnabled()) << how;
        EXPECT_FALSE(control.GetVisible()) << how;
        EXPECT_FALSE(control.IsFocused()) << how;
        EXPECT_FALSE(control.GetHideScrollbars()) << how;
        EXPECT_EQ(control.GetScrollbarCondition(), ISysWindow::ScrollBoth) << how;
        EXPECT_EQ(control.GetBorderStyle(), ISysWindow::NoBorder) << how;
        control.Refresh();
        control.Invalidate();
        control.SetEnabled(true);
        control.SetVisible(true);
        control.SetHideScrollbars(true);
        control.SetBorderStyle(ISysWindow::NoBorder);
        control.SetScrollbarCondition(ISysWindow::ScrollNone);
        control.BeginUpdate();
        control.EndUpdate();
        // Only the update hooks run; no window hears anything.
        EXPECT_EQ(log.Lines(), (Lines{"control.InternalBeginUpdate", "control.InternalEndUpdate"})) << how;
    };
    {
        // The native window closes, then its object goes.
        auto *window = new ScriptedWindow;
        Control control(window, log);
        Listener heard(log, "heard");
        ListenTo(heard, &control);
        window->Destroy();
        EXPECT_EQ(Only(log, {"heard."}), Lines{"heard.OnDestroy"});
        window->Release();
        checkDetached(control, "destroyed");
    }
    {
        // The window object is deleted outright (its destructor raises OnDestroy).
        auto *window = new ScriptedWindow;
        Control control(window, log);
        window->Release();
        checkDetached(control, "deleted");
    }
    {
        // The window's sender drops the control without any OnDestroy.
        ScriptedWindow window;
        Control control(&window, log);
        window.Unsubscribe(static_cast<CControlWindowNotify &>(control).AsNotify(), typeid(IWindowNotify),
                           true);
        checkDetached(control, "unhooked");
    }
}

TEST_F(ControlTest, OnDestroyFromAnotherWindowLeavesTheControlAttached) {
    ScriptedWindow window, other("other");
    Control control(&window, log);
    Listener heard(log, "heard");
    ListenTo(heard, &control);
    CWindowEvent event(static_cast<IEventSender *>(&other));
    control.OnDestroy(&event);
    EXPECT_EQ(control.GetSysWindow(), &window);
    EXPECT_EQ(Only(log, {"heard."}), Lines{"heard.OnDestroy"});
    log.Clear();
    EXPECT_EQ(control.GetWidth(), 100);
    EXPECT_EQ(WindowCalls(), Lines{"window.GetBoundsRect"});
}

TEST_F(ControlTest, SetSysWindowMovesSubscriptionsModeHandleAndLock) {
    ScriptedWindow a("a"), b("b");
    Control control(&a, log);
    Listener heard(log, "heard");
    ListenTo(heard, &control);
    control.BeginUpdate();
    log.Clear();
    control.SetSysWindow(&b);
    EXPECT_EQ(Only(log, {"a.", "b."}),
              (Lines{"a.GetWindowMode", "a.LockUpdate 0", "b.SetWindowMode 1", "b.LockUpdate 1",
                     "b.GetBoundsRect", "b.DoInvalidate 0 0 99 49"}));
    EXPECT_EQ(a.GetHandle(), nullptr);
    EXPECT_EQ(b.GetHandle(), static_cast<void *>(&control));
    EXPECT_EQ(a.GetReceiverCount(typeid(IMouseNotify)), 0);
    log.Clear();
    a.MouseMove(1, 1);
    b.MouseMove(2, 2);
    EXPECT_EQ(Only(log, {"heard."}), (Lines{"heard.OnMouseMove 2,2", "heard.OnTooltip 2,2"}));
    // The same window again does nothing.
    log.Clear();
    control.SetSysWindow(&b);
    EXPECT_TRUE(log.Lines().empty());
    // Null only detaches; a later window gets the cached mode.
    control.SetSysWindow(nullptr);
    EXPECT_EQ(b.GetHandle(), nullptr);
    EXPECT_EQ(b.GetReceiverCount(typeid(IDrawingNotify)), 0);
    log.Clear();
    control.SetSysWindow(&a);
    EXPECT_EQ(Only(log, {"a."}),
              (Lines{"a.SetWindowMode 1", "a.LockUpdate 1", "a.GetBoundsRect", "a.DoInvalidate 0 0 99 49"}));
    control.EndUpdate();
}

TEST_F(ControlTest, DestructionLetsTheWindowGoAndKeepsAnotherControlsHandle) {
    ScriptedWindow window;
    auto x = std::make_unique<Control>(&window, log);
    auto y = std::make_unique<Control>(&window, log);
    y.reset();
    // Y no longer owns the handle (X registered first, Y second, Y cleared it): no stale handle.
    EXPECT_EQ(window.GetHandle(), nullptr);
    y = std::make_unique<Control>(&window, log);
    y->BeginUpdate();
    x.reset();
    EXPECT_EQ(window.GetHandle(), static_cast<void *>(y.get()));
    log.Clear();
    y.reset();
    EXPECT_EQ(WindowCalls(), Lines{"window.LockUpdate 0"});
    EXPECT_EQ(window.GetHandle(), nullptr);
    EXPECT_EQ(window.GetReceiverCount(typeid(IMouseNotify)), 0);
    // The window keeps working without anyone to call.
    window.MouseMove(1, 1);
    window.Draw();
}

TEST_F(ControlTest, UpdatesNestAndOnlyTheOutermostPairTouchesTheWindow) {
    ScriptedWindow window;
    Control control(&window, log);
    log.Clear();
    control.BeginUpdate();
    control.BeginUpdate();
    control.EndUpdate();
    EXPECT_EQ(Only(log, {"window.", "control."}),
              (Lines{"window.LockUpdate 1", "control.InternalBeginUpdate"}));
    control.EndUpdate();
    // Unbalanced: the count goes below zero and the next begin does not lock.
    control.EndUpdate();
    EXPECT_EQ(control.GetUpdateLockCount(), -1);
    control.BeginUpdate();
    EXPECT_EQ(Only(log, {"window.", "control."}),
              (Lines{"window.LockUpdate 1", "control.InternalBeginUpdate", "window.LockUpdate 0",
                     "control.InternalEndUpdate"}));
}

TEST_F(ControlTest, ForwardersReachTheWindow) {
    ScriptedWindow window("window", 40, 30);
    Control control(&window, log);
    control.SetHideScrollbars(false);
    EXPECT_EQ(window.GetScrollState(ISysWindow::HorzScroll), ISysWindow::ScrollAlways);
    EXPECT_FALSE(control.GetHideScrollbars());
    control.SetHideScrollbars(true);
    EXPECT_EQ(window.GetScrollState(ISysWindow::HorzScroll), ISysWindow::ScrollAuto);
    EXPECT_TRUE(control.GetHideScrollbars());
    control.SetScrollbarCondition(ISysWindow::ScrollVertOnly);
    EXPECT_EQ(control.GetScrollbarCondition(), ISysWindow::ScrollVertOnly);
    log.Clear();
    control.SetBorderStyle(static_cast<ISysWindow::BorderStyle>(2));
    EXPECT_EQ(control.GetBorderStyle(), 2);
    control.SetEnabled(false);
    EXPECT_FALSE(control.GetEnabled());
    EXPECT_EQ(control.GetWidth(), 40);
    EXPECT_EQ(control.GetHeight(), 30);
    control.Refresh();
    int list = 0;
    auto *images = reinterpret_cast<IImageList *>(&list);
    control.SetImageList(images);
    control.SetImageList(images);
    EXPECT_EQ(control.GetImageList(), images);
    control.SetControlTag(u"tag"_w);
    EXPECT_EQ(control.GetControlTag(), u"tag"_w);
    EXPECT_EQ(Only(log, {"window.Set", "window.Do"}),
              (Lines{"window.SetBorderStyle 2", "window.SetEnabled 0", "window.DoRefresh 0 0 39 29 0",
                     "window.DoInvalidate 0 0 39 29"}));
}

TEST_F(ControlTest, HugeBoundsSaturateTheWidthAndHeight) {
    class Huge : public ScriptedWindow {
      public:
        rectangle<int> GetBoundsRect() override { return {INT_MIN, INT_MAX, INT_MAX, INT_MIN}; }
    } window;
    Control control(&window, log);
    EXPECT_EQ(control.GetWidth(), INT_MAX);
    EXPECT_EQ(control.GetHeight(), INT_MIN);
}

TEST_F(ControlTest, ADetachedControlAttachesLater) {
    Control control(nullptr, log, false);
    EXPECT_EQ(control.GetSysWindow(), nullptr);
    EXPECT_EQ(control.GetWidth(), 1);
    ScriptedWindow window;
    control.SetSysWindow(&window);
    EXPECT_EQ(WindowCalls(),
              (Lines{"window.SetWindowMode 0", "window.GetBoundsRect", "window.DoInvalidate 0 0 99 49"}));
    EXPECT_EQ(window.GetHandle(), static_cast<void *>(&control));
}

TEST_F(ControlTest, PrintDrawsTheControlOnTheSystemsPrinter) {
    ScriptedWindow window;
    Control control(&window, log);
    Listener heard(log, "heard");
    ListenTo(heard, &control);
    // No printer: nothing is printed.
    control.Print();
    EXPECT_TRUE(Only(log, {"heard."}).empty());

    ScriptedPrinter printer;
    system->SetPrinter(&printer);
    // The default support declines: the control draws as on screen, and its subscribers with it.
    control.Print();
    EXPECT_EQ(Only(log, {"heard."}), Lines{"heard.OnDraw"});
    ASSERT_EQ(printer.Jobs().size(), 1u);
    EXPECT_EQ(printer.Jobs()[0].pages.size(), 1u);
    EXPECT_FALSE(printer.Jobs()[0].aborted);

    // Page by page, and only the pages in the range reach the paper.
    control.pages = 4;
    printer.SetFromTo(3, 0);
    log.Clear();
    control.Print();
    EXPECT_EQ(Only(log, {"control.OnPrintPage"}), (Lines{"control.OnPrintPage 0", "control.OnPrintPage 1",
                                                         "control.OnPrintPage 2", "control.OnPrintPage 3"}));
    const ScriptedPrinter::Job &job = printer.Jobs()[1];
    ASSERT_EQ(job.pages.size(), 2u);
    EXPECT_EQ(job.pages[0].number, 3);
    EXPECT_EQ(job.pages[1].number, 4);
    EXPECT_EQ(job.pagesBegun, 4);

    // Cancelled on page 2: nothing more is printed and the job says so.
    CancelOnPage2 cancel;
    printer.Subscribe(cancel.AsNotify(), typeid(IPrinterNotify), true);
    log.Clear();
    control.Print();
    EXPECT_EQ(Only(log, {"control.OnPrintPage"}), (Lines{"control.OnPrintPage 0"}));
    EXPECT_TRUE(printer.Jobs()[2].aborted);
    // Page 1 was sent before the cancel; nothing after it.
    ASSERT_EQ(printer.Jobs()[2].pages.size(), 1u);
    EXPECT_EQ(printer.Jobs()[2].pages[0].number, 1);
    system->SetPrinter(nullptr);
}

}  // namespace
}  // namespace quelt
