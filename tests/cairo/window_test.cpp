#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <limits>
#include <thread>

#include "golden.h"
#include "quelt/cairo/window.h"
#include "quelt/core/exceptions.h"
#include "surface.h"

using namespace quelt;
using namespace quelt::cairo;
using namespace quelt::cairo::test;

namespace {

constexpr _color kRed(255, 0, 0, 255);
constexpr _color kBlue(0, 0, 255, 255);
constexpr _color kTipBack(255, 255, 225, 255);

// Installs a CairoSystem for the test and removes it afterwards.
class CairoWindowTest : public ::testing::Test {
  protected:
    CairoWindowTest() : system(new CairoSystem(96)) { SetCurrentSystem(system); }
    ~CairoWindowTest() override { SetCurrentSystem(nullptr); }
    CairoSystem *system;
};

// Fills the whole client in one colour; counts its calls.
class Filler : public CDrawingNotify {
  public:
    explicit Filler(_color c) : color(c) {}
    void OnDraw(IPainter *painter) override {
        ++draws;
        painter->SetBrush(brush(color, brush::Solid));
        painter->FillRect(0, 0, 10000, 10000);
    }
    _color color;
    int draws = 0;
};

class TipGiver : public CTooltipNotify {
  public:
    void OnTooltip(CTooltipEvent *event) override {
        ++queries;
        event->SetText(Utf8ToWide("Revenue: 42"));
        event->SetRect({event->GetX() - 5, event->GetY() - 5, event->GetX() + 5, event->GetY() + 5});
    }
    int queries = 0;
};

class ScrollSpy : public CScrollNotify {
  public:
    void OnVertScroll(CScrollEvent *event) override { actions.push_back(event->GetAction()); }
    std::vector<int> actions;
};

_color PngPixel(const std::filesystem::path &path, int x, int y) {
    cairo_surface_t *image = cairo_image_surface_create_from_png(path.c_str());
    CairoRasterPicture copy({cairo_image_surface_get_width(image), cairo_image_surface_get_height(image)});
    cairo_t *cr = cairo_create(copy.GetSurface());
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(image);
    return copy.GetPixel(x, y);
}

}  // namespace

// Injected mouse moves over a window with a tooltip; the timer is pumped; the
// saved PNG shows the tooltip at the mouse plus (15, 15).
TEST_F(CairoWindowTest, TooltipAppearsInTheSavedPngWhereDecided) {
    auto *window = new CairoWindow(200, 120);
    Filler filler(kPaper);
    TipGiver tips;
    window->Subscribe(filler.AsNotify(), typeid(IDrawingNotify), true);
    window->Subscribe(tips.AsNotify(), typeid(ITooltipNotify), true);
    window->SetTooltipDelay(50);
    window->Move(300, 200);  // screen and client coordinates differ
    system->Pump();
    window->MouseMove(40, 30);
    window->MouseMove(41, 30);  // inside the hot rectangle: no new query
    EXPECT_EQ(tips.queries, 1);
    EXPECT_FALSE(window->Tooltip().IsShown());
    system->RunFor(400);
    ASSERT_TRUE(window->Tooltip().IsShown());
    // Shown once the mouse rested for a period, at its last place plus (15, 15).
    EXPECT_EQ(window->Tooltip().GetPos(), point<int>(300 + 41 + 15, 200 + 30 + 15));

    const auto path = std::filesystem::path(QUELT_ACTUAL_DIR) / "window_tooltip.png";
    std::filesystem::create_directories(path.parent_path());
    ASSERT_TRUE(window->SavePng(path.c_str()));
    EXPECT_EQ(PngPixel(path, 56, 45), kInk);      // the tooltip's top-left corner
    EXPECT_EQ(PngPixel(path, 58, 47), kTipBack);  // its background
    EXPECT_EQ(PngPixel(path, 55, 44), kPaper);    // nothing above-left of it
    EXPECT_EQ(PngPixel(path, 40, 30), kPaper);    // the mouse point itself stays clear

    window->Leave();
    system->Pump();
    EXPECT_FALSE(window->Tooltip().IsShown());
    EXPECT_EQ(window->Tooltip().GetText(), Utf8ToWide("Revenue: 42"));
    EXPECT_EQ(window->GetPixel(58, 47), kPaper);  // repainted without it
    window->Release();
}

// Invalidation accumulates; the next Pump draws only the damage, clipped.
TEST_F(CairoWindowTest, PumpPaintsTheDamageOnly) {
    auto *window = new CairoWindow(60, 40);
    Filler filler(kRed);
    window->Subscribe(filler.AsNotify(), typeid(IDrawingNotify), true);
    EXPECT_GT(system->Pump(), 0);
    EXPECT_EQ(filler.draws, 1);
    EXPECT_EQ(system->Pump(), 0);
    filler.color = kBlue;
    window->DoInvalidate(10, 10, 20, 15);
    window->DoInvalidate(30, 12, 25, 20);  // corners in any order
    system->Pump();
    EXPECT_EQ(filler.draws, 2);
    int blue = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) blue += window->GetPixel(x, y) == kBlue;
    EXPECT_EQ(blue, 21 * 11);  // the union (10, 10) to (30, 20)
    window->LockUpdate(true);
    window->Invalidate();
    EXPECT_EQ(system->Pump(), 0);
    window->LockUpdate(false);
    EXPECT_EQ(system->Pump(), 1);
    window->Release();
}

// Scrolling moves pixels and damages the strip they left; the bars are drawn over the client.
TEST_F(CairoWindowTest, ScrollingCopiesPixelsAndBarsOverlayTheClient) {
    auto *window = new CairoWindow(100, 80);
    Filler filler(kPaper);
    ScrollSpy spy;
    window->Subscribe(filler.AsNotify(), typeid(IDrawingNotify), true);
    window->Subscribe(spy.AsNotify(), typeid(IScrollNotify), true);
    system->Pump();
    cairo_t *cr = cairo_create(window->GetSurface());
    cairo_set_source_rgb(cr, 1, 0, 0);
    cairo_rectangle(cr, 10, 10, 5, 5);
    cairo_fill(cr);
    cairo_destroy(cr);
    window->ScrollContent(0, 20);
    EXPECT_EQ(window->GetPixel(12, 32), kRed);
    EXPECT_EQ(window->GetDamage(), screen_rectangle<int>(0, 0, 99, 19));

    ScrollInfo info;
    info.min = 0;
    info.max = 1000;
    info.page = 100;
    info.step = 10;
    window->SetScrollInfo(ISysWindow::VertScroll, info);
    system->Pump();
    EXPECT_TRUE(window->VertBar().IsVisible());
    EXPECT_EQ(window->VertBar().GetBounds(), screen_rectangle<int>(83, 0, 99, 79));
    EXPECT_EQ(window->GetPixel(83, 0), _color(255, 255, 255, 255));   // a raised arrow box
    EXPECT_EQ(window->GetPixel(90, 60), _color(240, 240, 240, 255));  // the track
    window->Click(90, 78);                                            // the lower arrow
    window->Click(90, 60);                                            // the track below the thumb
    window->Click(50, 40);                                            // the client: no scrolling
    EXPECT_EQ(spy.actions, std::vector<int>({CScrollEvent::LineDown, CScrollEvent::PageDown}));
    EXPECT_TRUE(MatchesGolden(window->GetSurface(), "window_scroll_bar"));
    window->Release();
}

TEST_F(CairoWindowTest, TimersThreadsAndPostsRunOnTheLoop) {
    class Ticks : public CTimerNotify {
      public:
        void OnTimer(CTimerEvent *) override { ++count; }
        int count = 0;
    } ticks;
    quelt_ptr<ISysTimer> timer = system->CreateTimer(10, 0);
    timer->Subscribe(ticks.AsNotify(), typeid(ITimerNotify), true);
    system->RunFor(30);
    EXPECT_EQ(ticks.count, 0);  // a new timer is stopped
    timer->Enable(true);
    system->RunFor(100);
    EXPECT_GE(ticks.count, 3);
    timer->Enable(false);
    const int stopped = ticks.count;
    system->RunFor(30);
    EXPECT_EQ(ticks.count, stopped);

    class Work : public IRunnable {
      public:
        void Run(IThread *thread) override {
            ran = true;
            while (!dynamic_cast<CairoThread *>(thread)->IsStopRequested()) std::this_thread::yield();
        }
        std::atomic<bool> ran{false};
    } work;
    class Ends : public CEndThreadNotify {
      public:
        void OnEndThread(CEndThreadEvent *) override { ++count; }
        int count = 0;
    } ends;
    quelt_ptr<IThread> thread = system->CreateThread();
    auto &cairoThread = dynamic_cast<CairoThread &>(*thread);
    cairoThread.Subscribe(ends.AsNotify(), typeid(IEndThreadNotify), true);
    ASSERT_TRUE(cairoThread.Start(&work));
    EXPECT_FALSE(cairoThread.Start(&work));
    thread->Wait(20);  // times out: the work waits to be stopped
    EXPECT_TRUE(cairoThread.IsRunning());
    thread->Stop();
    thread->Wait(-1);
    EXPECT_TRUE(work.ran);
    EXPECT_EQ(ends.count, 0);  // reported on the loop's thread only
    system->Pump();
    EXPECT_EQ(ends.count, 1);

    std::atomic<int> posted{0};
    std::thread other([&] { system->Post([&] { posted = posted + 1; }); });
    other.join();
    EXPECT_EQ(posted, 0);
    system->RunFor(0);
    EXPECT_EQ(posted, 1);
}

TEST_F(CairoWindowTest, MetricsFollowTheDpi) {
    // A timer may outlive its system; it never ticks again and goes quietly.
    quelt_ptr<ISysTimer> orphan = system->CreateTimer(10, 0);
    orphan->Enable(true);
    SetCurrentSystem(nullptr);
    orphan = nullptr;
    system = new CairoSystem(144);
    SetCurrentSystem(system);
    EXPECT_EQ(system->GetSystemMetrics(0), 24);
    EXPECT_EQ(system->GetDBUScale(), 1.0);
    EXPECT_EQ(GetSysPallete()->GetColor(RoleTooltipBack), kTipBack);
    auto *window = new CairoWindow(144, 72);
    EXPECT_EQ(window->GetCanvasMetrics(ICanvas::WidthMillimetres), 25);
    EXPECT_EQ(window->GetBoundsRect(), rectangle<int>(0, 0, 143, 71));
    // Text grows with the DPI: 8 points at 144 dpi are taller than at 96.
    const double tall = window->TakeDefPainter()->GetTextSize(Utf8ToWide("Ag")).cy;
    Surface at96(10, 10);
    EXPECT_GT(tall, at96.Painter().GetTextSize(Utf8ToWide("Ag")).cy * 1.3);
    window->Release();
    EXPECT_THROW(system->Mouse().AddCursor(31, 32, 32, nullptr, nullptr, 10, 10), BadCursorImage);
}

// Moves and resizes near the ends of int keep the far corner at INT_MAX
// instead of wrapping it below the near one.
TEST_F(CairoWindowTest, BoundsNearTheEndsOfIntSaturate) {
    constexpr int hi = std::numeric_limits<int>::max();
    struct Case {
        const char *name;
        std::function<void(CairoWindow &)> gesture;
        screen_rectangle<int> bounds;
    };
    const Case cases[] = {
        {"moved to the far corner", [](CairoWindow &w) { w.Move(hi - 5, hi - 3); }, {hi - 5, hi - 3, hi, hi}},
        {"grown past the far corner",
         [](CairoWindow &w) { w.Move(hi - 5, 0), w.Resize(hi, 10); },
         {hi - 5, 0, hi, 9}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto *window = new CairoWindow(20, 10);
        c.gesture(*window);
        EXPECT_EQ(window->GetBounds(), c.bounds);
        const screen_rectangle<int> &b = c.bounds;
        EXPECT_EQ(window->GetBoundsRect(), rectangle<int>(0, 0, b.right - b.left, b.bottom - b.top));
        window->Release();
    }
}
