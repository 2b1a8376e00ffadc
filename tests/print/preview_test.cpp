#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "quelt/paint/painter.h"
#include "quelt/print/preview.h"
#include "quelt/print/previewprinter.h"
#include "quelt/testing/menu.h"
#include "quelt/testing/painter.h"
#include "quelt/testing/pictures.h"
#include "quelt/testing/printer.h"
#include "quelt/testing/system.h"
#include "quelt/testing/window.h"

namespace quelt {
namespace {

using quelt::testing::InstalledSystem;
using quelt::testing::RecordingPainter;
using quelt::testing::RecordingVectorPicture;
using quelt::testing::ScriptedMenu;
using quelt::testing::ScriptedPrinter;
using quelt::testing::ScriptedThread;
using quelt::testing::ScriptedWindow;
using Lines = std::vector<std::string>;

// The drawing lines of a recorded page (what its painter filled).
Lines Fills(IVectorPicture *picture) {
    Lines fills;
    if (!picture) return fills;
    for (const std::string &line : static_cast<RecordingVectorPicture *>(picture)->Log())
        if (line.find("FillRect") != std::string::npos) fills.push_back(line);
    return fills;
}

// A window of 4 px/mm and a system printer; the printer side of the preview.
struct PreviewPrinterTest : ::testing::Test {
    PreviewPrinterTest() {
        window.SetCanvasMetrics(ICanvas::WidthPixels, 400);
        window.SetCanvasMetrics(ICanvas::WidthMillimetres, 100);
        window.SetCanvasMetrics(ICanvas::HeightPixels, 400);
        window.SetCanvasMetrics(ICanvas::HeightMillimetres, 100);
        system->SetPrinter(&printer);
    }
    // Pages 0..n-1 each fill one rectangle at their own number.
    void Record(CPreviewPrinter &p, int n, int abortAt = -1) {
        IPainter *painter = p.GetDrawedPicture()->TakeDefPainter();
        painter->BeginPaint(IPainter::SettingsPrint);
        p.BeginDoc(painter);
        for (int i = 0; i < n; ++i) {
            p.GetDrawedPicture()->TakeDefPainter()->FillRect(i, i, i + 1, i + 1);
            if (i + 1 < n && (i == abortAt ? (p.AbortPrint(), !p.NewPage()) : !p.NewPage())) break;
        }
        painter->EndPaint();
        p.EndDoc();
    }
    InstalledSystem system;
    ScriptedPrinter printer;
    ScriptedWindow window{"preview", 400, 600};
};

TEST_F(PreviewPrinterTest, EachPageHoldsOnlyItsOwnDrawing) {
    CPreviewPrinter p(&window);
    Record(p, 3);
    ASSERT_EQ(p.GetPageCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const Lines fills = Fills(p.GetPage(i));
        ASSERT_EQ(fills.size(), 1u) << "page " << i;
        const std::string n = std::to_string(i);
        EXPECT_EQ(fills[0], "internalFillRect " + n + " " + n + " " + std::to_string(i + 1) + " " +
                                std::to_string(i + 1));
    }
    EXPECT_EQ(p.GetPage(-1), nullptr);
    EXPECT_EQ(p.GetPage(3), nullptr);
    EXPECT_EQ(p.GetPages().size(), 3u);
    p.ReleasePicturies();
    EXPECT_EQ(p.GetPageCount(), 0);
    EXPECT_TRUE(p.GetPages().empty());
}

TEST_F(PreviewPrinterTest, AnAbortedJobAddsNoBlankPage) {
    CPreviewPrinter p(&window);
    Record(p, 5, 1);
    EXPECT_EQ(p.GetPageCount(), 1);
    for (IVectorPicture *page : p.GetPages()) EXPECT_NE(page, nullptr);
    // Without a current picture the job records nothing.
    p.ReleasePicturies();
    p.BeginDoc(nullptr);
    p.EndDoc();
    EXPECT_EQ(p.GetPageCount(), 0);
}

TEST_F(PreviewPrinterTest, SettingsComeFromTheSystemPrinterAndSizeThePictures) {
    printer.SetPaperOrientation(IPrinter::Landscape);
    printer.SetMargins(size<int>(10, 15), size<int>(5, 7));
    printer.SetMetric(static_cast<ICanvas::CanvasMetrics>(9), 1);
    CPreviewPrinter p(&window);
    EXPECT_EQ(p.GetMargins(false), size<int>(10, 15));
    EXPECT_EQ(p.GetMargins(true), size<int>(5, 7));
    EXPECT_EQ(p.GetCanvasMetrics(static_cast<ICanvas::CanvasMetrics>(9)), 1);
    EXPECT_EQ(p.GetScale(), size<double>(4, 4));
    // Landscape A4: 297 x 210 mm.
    IVectorPicture *picture = p.GetDrawedPicture();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetCanvasMetrics(ICanvas::WidthPixels), 297 * 4);
    EXPECT_EQ(picture->GetCanvasMetrics(ICanvas::HeightPixels), 210 * 4);
    p.ReleasePicturies();
    for (double bad : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), HUGE_VAL}) {
        p.SetScale(size<double>(bad, 2));
        EXPECT_EQ(p.GetScale(), size<double>(4, 4)) << bad;
    }
    p.SetScale(size<double>(0.001, 0.001));
    picture = p.GetDrawedPicture();
    EXPECT_EQ(picture->GetCanvasMetrics(ICanvas::WidthPixels), 1);
    EXPECT_EQ(p.GetNumCopies(), 1);
    EXPECT_TRUE(p.GetCollate());
    EXPECT_EQ(p.CreatePainter().get(), nullptr);
}

// n pages, each filling one rectangle at its own number.
class Pages : public CPrintSupport {
  public:
    explicit Pages(int n) : m_n(n) {}
    bool IsPrintSupport(bool byPage) override { return byPage; }
    int GetPageCount(IPrinter *) const override { return m_n; }
    void OnPrintPage(IPainter *painter, IPrinter *, int page) override {
        painter->FillRect(page, page, page + 1, page + 1);
    }

  private:
    int m_n;
};

// Writes what a preview raises; may act on a page event.
class Heard : public CPreviewNotify {
  public:
    void OnCurrentPageChange(CPreviewEvent *e) override { Add("page", e->GetPageNumber()); }
    void OnStartPreviewPrepare(CPreviewEvent *e) override { Add("start", e->GetPageNumber()); }
    void OnStopPreviewPrepare(CPreviewEvent *e) override { Add("stop", e->GetPageNumber()); }
    void OnPagePrepare(CPreviewEvent *e) override {
        Add("prepare", e->GetPageNumber());
        if (onPage) onPage(e->GetPageNumber());
    }
    void OnChangeScale(CScaleChangeByMouseEvent *e) override {
        Add("zoom", e->GetScale());
        Add("view", e->GetView());
    }
    Lines Take() {
        std::lock_guard<std::mutex> lock(m_mutex);
        Lines taken;
        taken.swap(m_lines);
        return taken;
    }
    std::function<void(int)> onPage;

  private:
    void Add(const std::string &what, int n) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lines.push_back(what + " " + std::to_string(n));
    }
    std::mutex m_mutex;
    Lines m_lines;
};

// A4 portrait on a 4 px/mm window of 400 x 600.
struct PreviewTest : PreviewPrinterTest {
    PreviewTest() { preview.Subscribe(heard.AsNotify(), typeid(IPreviewNotify), true); }
    void Click(int x, int y) {
        CMouseEvent e(&window, x, y, 0, button::Left);
        preview.OnClick(&e);
    }
    void Scroll(CScrollEvent::ScrollAction action) {
        CScrollEvent e(&window, action, 0);
        preview.OnVertScroll(&e);
    }
    void Command(int id) {
        CMenuEvent e(preview.GetContextMenu(), id);
        preview.OnClicked(&e);
    }
    CQueltPreview preview{&window};
    Heard heard;
};

TEST_F(PreviewTest, WholePageAndPageWidthFitTheWindow) {
    Pages three(3);
    preview.SetPrint(&three, nullptr);
    EXPECT_EQ(preview.GetPageCount(), 3);
    EXPECT_EQ(heard.Take(), (Lines{"start 0", "prepare 2", "prepare 3", "stop 3"}));
    EXPECT_EQ(preview.GetScale(), 45);
    EXPECT_EQ(preview.GetPaperLeft(), 11);
    ScrollInfo info;
    window.GetScrollInfo(ISysWindow::VertScroll, info);
    EXPECT_EQ(info.max, 1642);
    EXPECT_EQ(info.page, 600);
    Scroll(CScrollEvent::PageDown);
    EXPECT_EQ(preview.GetScrollOffset(), -600);
    Scroll(CScrollEvent::PageDown);
    EXPECT_EQ(preview.GetScrollOffset(), -1042);
    Scroll(CScrollEvent::LineUp);
    EXPECT_EQ(preview.GetScrollOffset(), -1027);
    window.Resize(800, 600);
    EXPECT_EQ(preview.GetScale(), 47);
    preview.SetPageView(IPrintPreview::PageWidth);
    EXPECT_EQ(preview.GetScale(), 92);
    preview.SetPageView(IPrintPreview::Custom);
    EXPECT_EQ(preview.GetPageView(), IPrintPreview::PageWidth);
    // The same arguments prepare nothing again.
    preview.SetPrint(&three, nullptr);
    EXPECT_TRUE(heard.Take().empty());
}

TEST_F(PreviewTest, ScaleIsBoundedAndTheGapFollowsIt) {
    struct Case {
        int scale, wantScale, wantGap;
    };
    for (const Case c :
         {Case{150, 150, 15}, Case{5, 10, 6}, Case{75, 75, 7}, Case{300, 300, 15}, Case{1000, 500, 15}}) {
        CQueltPreview p(&window);
        p.SetScale(c.scale);
        EXPECT_EQ(p.GetScale(), c.wantScale) << c.scale;
        EXPECT_EQ(p.GetGap(), c.wantGap) << c.scale;
        EXPECT_EQ(p.GetPageView(), IPrintPreview::Custom);
    }
    // Without pages and without a window nothing divides by zero.
    CQueltPreview detached(nullptr);
    detached.SetPageView(IPrintPreview::PageWidth);
    detached.SetScale(INT_MIN);
    EXPECT_EQ(detached.GetScale(), 10);
    detached.SetPaperBorderWidth(-4);
    detached.SetShadowOffset(-4);
    EXPECT_EQ(detached.GetPaperBorderWidth(), 0);
    EXPECT_EQ(detached.GetShadowOffset(), 0);
}

TEST_F(PreviewTest, PagesAreClampedAndTheMenuWraps) {
    Command(3);
    EXPECT_EQ(preview.GetPage(), 0);
    Pages three(3);
    preview.SetPrint(&three, nullptr);
    heard.Take();
    preview.SetPage(-5);
    EXPECT_EQ(preview.GetPage(), 0);
    preview.SetPage(100);
    EXPECT_EQ(preview.GetPage(), 2);
    Command(3);
    EXPECT_EQ(preview.GetPage(), 0);
    Command(4);
    EXPECT_EQ(preview.GetPage(), 2);
    EXPECT_EQ(heard.Take(), (Lines{"page 2", "page 0", "page 2"}));
    auto *menu = static_cast<ScriptedMenu *>(preview.GetContextMenu());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetItemCount(), 10);
    menu->ChooseMenuItem(200);
    EXPECT_EQ(preview.GetScale(), 200);
    menu->ChooseMenuItem(1);
    EXPECT_EQ(preview.GetScale(), 44);
    // A new document starts on its first page.
    Pages one(1);
    preview.SetPrint(&one, nullptr);
    EXPECT_EQ(heard.Take().front(), "page 0");
}

TEST_F(PreviewTest, MouseZoomKeepsThePointAndAlternates) {
    Pages three(3);
    preview.SetPrint(&three, nullptr);
    heard.Take();
    Click(1, 1);  // beside the paper
    EXPECT_EQ(preview.GetScale(), 45);
    Click(100, 100);
    EXPECT_EQ(preview.GetScale(), 100);
    EXPECT_EQ(preview.GetPageView(), IPrintPreview::Custom);
    EXPECT_EQ(preview.GetGap(), 15);
    // (100 - 0) x 100 / 45 from 100: the offset that keeps the point.
    EXPECT_EQ(preview.GetScrollOffset(), -122);
    Click(100, 100);
    EXPECT_EQ(preview.GetScale(), 44);
    EXPECT_EQ(preview.GetPageView(), IPrintPreview::WholePage);
    EXPECT_EQ(heard.Take(), (Lines{"zoom 100", "view 2", "zoom 44", "view 0"}));
}

TEST_F(PreviewTest, AbortStopsAtThePageAndDrawsOnlyRecordedPages) {
    Pages five(5);
    heard.onPage = [&](int page) {
        if (page == 2) preview.AbortPrepare();
    };
    preview.SetPrint(&five, nullptr);
    EXPECT_EQ(preview.GetPageCount(), 1);
    EXPECT_EQ(heard.Take(), (Lines{"start 0", "prepare 2", "stop 2"}));
    // Each sheet shows its own picture once.
    RecordingPainter &painter = window.DefaultPainter();
    painter.Clear();
    preview.OnDraw(&painter);
    int pictures = 0;
    for (const std::string &line : painter.Log())
        pictures += line.find("DrawVectorPicture") != std::string::npos;
    EXPECT_EQ(pictures, 1);
}

// 40 pages; once armed, page 20 waits for the worker's stop request. It waits
// in the page's drawing, outside any notification, so the window's own
// handlers never wait for it.
class HeldAtPage20 : public Pages {
  public:
    explicit HeldAtPage20(ScriptedThread *thread) : Pages(40), m_thread(thread) {}
    void OnPrintPage(IPainter *painter, IPrinter *printer, int page) override {
        if (armed && page == 20)
            while (!m_thread->IsStopRequested()) std::this_thread::yield();
        Pages::OnPrintPage(painter, printer, page);
    }
    std::atomic<bool> armed{false};

  private:
    ScriptedThread *m_thread;
};

TEST_F(PreviewTest, WorkerPreparesWhileTheWindowReadsAndDestructionWaitsForIt) {
    auto preview2 = std::make_unique<CQueltPreview>(&window);
    ScriptedThread *thread = system->Threads().back();
    HeldAtPage20 many(thread);
    preview2->SetPrint(&many, nullptr);
    ASSERT_EQ(preview2->GetPageCount(), 40);
    Heard workerHeard;
    preview2->Subscribe(workerHeard.AsNotify(), typeid(IPreviewNotify), true);
    std::atomic<bool> reached{false};
    workerHeard.onPage = [&](int page) {
        if (page == 5) reached = true;
    };
    many.armed = true;
    thread->SetMode(1);
    thread->Start(preview2.get());
    std::thread worker([thread] { thread->Run(); });
    RecordingPainter &painter = window.DefaultPainter();
    while (!reached) {
        const int count = preview2->GetPageCount();
        EXPECT_GE(count, 0);
        EXPECT_LE(count, 40);
        preview2->OnDraw(&painter);
    }
    // Still preparing when the preview goes: the destructor asks the worker to
    // stop and waits for it.
    preview2.reset();
    worker.join();
    Lines lines = workerHeard.Take();
    ASSERT_FALSE(lines.empty());
    // Stopped by the destructor before its end.
    EXPECT_EQ(lines.back().rfind("stop ", 0), 0u) << lines.back();
    EXPECT_LT(std::stoi(lines.back().substr(5)), 40);
}

// Counts the drawing events the preview re-raises on the window thread.
class DrawSeen : public CDrawingNotify {
  public:
    void OnDraw(IPainter *) override { ++draws; }
    std::atomic<int> draws{0};
};

TEST_F(PreviewTest, AWorkerHandlerWaitingForTheWindowsDrawingDoesNotBlockIt) {
    auto preview2 = std::make_unique<CQueltPreview>(&window);
    ScriptedThread *thread = system->Threads().back();
    Pages eight(8);
    preview2->SetPrint(&eight, nullptr);
    DrawSeen drawn;
    preview2->Subscribe(drawn.AsNotify(), typeid(IDrawingNotify), true);
    Heard workerHeard;
    preview2->Subscribe(workerHeard.AsNotify(), typeid(IPreviewNotify), true);
    // Inside its own notification the worker waits until the window thread
    // has raised a drawing event on the same preview; a bound turns a hang
    // into a failure.
    std::atomic<bool> sawDrawing{false}, done{false};
    workerHeard.onPage = [&](int page) {
        if (page != 3) return;
        const int before = drawn.draws.load();
        const auto bound = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (drawn.draws.load() == before && std::chrono::steady_clock::now() < bound)
            std::this_thread::yield();
        sawDrawing = drawn.draws.load() != before;
        done = true;
    };
    thread->SetMode(1);
    thread->Start(preview2.get());
    std::thread worker([thread] { thread->Run(); });
    RecordingPainter &painter = window.DefaultPainter();
    while (!done) preview2->OnDraw(&painter);
    worker.join();
    EXPECT_TRUE(sawDrawing);
    preview2.reset();
}

// The offsets after a thumb drag to (x, y), then the test's gesture.
struct Offsets {
    int x, y;
};

// Drags both thumbs: the offsets become minus the positions, within the limits.
void DragTo(ScriptedWindow &window, Offsets at) {
    window.HorzBar().Scroll(CScrollEvent::ThumbTrack, -at.x);
    window.VertBar().Scroll(CScrollEvent::ThumbTrack, -at.y);
}

size_t Invalidations(ScriptedWindow &window) {
    size_t n = 0;
    for (const std::string &line : window.Log().Take()) n += line.find("DoInvalidate") != std::string::npos;
    return n;
}

// 3 pages at 45 % in 400 x 600: vertical offsets -1042..0.
TEST_F(PreviewTest, TheWheelScrollsByHalfItsDeltaWithinTheLimits) {
    Pages three(3);
    preview.SetPrint(&three, nullptr);
    struct Case {
        int from, delta, want;
    };
    for (const Case c : {Case{0, -240, -120}, Case{-600, 120, -540}, Case{-1000, -240, -1042},
                         Case{0, 240, 0}, Case{-300, -1, -300}, Case{-300, INT_MIN, -1042}}) {
        DragTo(window, {0, c.from});
        ASSERT_EQ(preview.GetScrollOffset(), c.from);
        window.Log().Clear();
        window.Wheel(100, 100, c.delta);
        EXPECT_EQ(preview.GetScrollOffset(), c.want) << c.from << " " << c.delta;
        ScrollInfo info;
        window.GetScrollInfo(ISysWindow::VertScroll, info);
        EXPECT_EQ(info.pos, -c.want) << c.from << " " << c.delta;
        // Only a move repaints.
        EXPECT_EQ(Invalidations(window) > 0, c.want != c.from) << c.from << " " << c.delta;
    }
}

// At 100 % in 400 x 600 the grid is 870 x 3624: offsets -470..0 and -3024..0.
TEST_F(PreviewTest, KeysScrollLikeTheScrollBars) {
    Pages three(3);
    preview.SetPrint(&three, nullptr);
    preview.SetScale(100);
    ASSERT_EQ(preview.GetGap(), 15);
    struct Case {
        int key;
        Offsets want;
    };
    const Offsets from{-300, -300};
    for (const Case c : {Case{40, {-300, -315}}, Case{38, {-300, -285}}, Case{39, {-315, -300}},
                         Case{37, {-285, -300}}, Case{34, {-300, -900}}, Case{33, {-300, 0}},
                         // Home, End and the zoom keys are not the preview's.
                         Case{36, from}, Case{35, from}, Case{107, from}, Case{109, from}, Case{187, from}}) {
        DragTo(window, from);
        ASSERT_EQ(preview.GetScrollOffset(), from.y);
        window.KeyDown(c.key);
        EXPECT_EQ(preview.GetScrollOffset(), c.want.y) << c.key;
        EXPECT_EQ(preview.GetPaperLeft(), 15 + c.want.x) << c.key;
        EXPECT_EQ(preview.GetScale(), 100) << c.key;
        ScrollInfo info;
        window.GetScrollInfo(ISysWindow::HorzScroll, info);
        EXPECT_EQ(info.pos, -c.want.x) << c.key;
    }
    // Page down twice reaches the end and stays there.
    DragTo(window, {0, -3000});
    window.KeyDown(34);
    EXPECT_EQ(preview.GetScrollOffset(), -3024);
}

TEST_F(PreviewTest, ThumbValuesThatAreNotNumbersMoveNothing) {
    Pages three(3);
    preview.SetPrint(&three, nullptr);
    struct Case {
        double value;
        int want;
    };
    for (const Case c : {Case{std::numeric_limits<double>::quiet_NaN(), -300}, Case{HUGE_VAL, -300},
                         Case{-HUGE_VAL, -300}, Case{1e300, -1042}, Case{-1e300, 0}, Case{400.7, -400}}) {
        DragTo(window, {0, -300});
        CScrollEvent e(&window, CScrollEvent::ThumbPosition, c.value);
        preview.OnVertScroll(&e);
        EXPECT_EQ(preview.GetScrollOffset(), c.want) << c.value;
    }
}

TEST_F(PreviewPrinterTest, ZoomCursorsStayWhileAnyPreviewLives) {
    auto &mouse = system->Mouse();
    auto registered = [&] { return mouse.HasCursor(31) && mouse.HasCursor(32); };
    ASSERT_FALSE(mouse.HasCursor(31) || mouse.HasCursor(32));
    auto first = std::make_unique<CQueltPreview>(&window);
    EXPECT_TRUE(registered());
    auto second = std::make_unique<CQueltPreview>(nullptr);
    first.reset();
    EXPECT_TRUE(registered());
    second.reset();
    EXPECT_FALSE(mouse.HasCursor(31) || mouse.HasCursor(32));
    // The count starts again from nothing.
    CQueltPreview again(&window);
    EXPECT_TRUE(registered());
}

// 3 pages at 45 %, one column: sheets at y 10 - 544 and 554 - 1088, x 11 - 389.
TEST_F(PreviewTest, TheCursorTellsWhatAClickWillDo) {
    Pages three(3);
    preview.SetPrint(&three, nullptr);
    auto applied = [&] { return window.Log().Matching({"preview.ApplyCursor"}); };
    window.Log().Clear();
    struct Move {
        int x, y;
        Lines want;
    };
    for (const Move &m : {Move{100, 100, {"preview.ApplyCursor 32"}}, Move{120, 120, {}},
                          Move{5, 5, {"preview.ApplyCursor 1"}}, Move{100, 549, {}},
                          Move{100, 560, {"preview.ApplyCursor 32"}}}) {
        window.MouseMove(m.x, m.y);
        EXPECT_EQ(applied(), m.want) << m.x << " " << m.y;
        window.Log().Clear();
    }
    // At the zoom-in scale the next click zooms out.
    system->Mouse().SetPos(100, 100);
    Click(100, 100);
    EXPECT_EQ(applied(), Lines{"preview.ApplyCursor 31"});
}

// What a page of a support that fills in red records, per colour depth of the printer.
TEST_F(PreviewTest, APrinterWithoutColourPreviewsInGray) {
    class Red : public Pages {
      public:
        Red() : Pages(2) {}
        void OnPrintPage(IPainter *painter, IPrinter *, int page) override {
            painter->SetBrush(brush(_color(255, 0, 0, 255), brush::Solid));
            painter->FillRect(page, page, page + 10, page + 10);
        }
    } red;
    struct Case {
        int bits;
        bool gray;
    };
    for (const Case c : {Case{1, true}, Case{24, false}, Case{0, false}}) {
        printer.SetMetric(static_cast<ICanvas::CanvasMetrics>(9), c.bits);
        CQueltPreview p(&window);
        p.SetPrint(&red, nullptr);
        ASSERT_EQ(p.GetPageCount(), 2) << c.bits;
        // The painter keeps its brush from page to page: the document sets it once.
        Lines brushes;
        for (IVectorPicture *page : p.GetPreviewPrinter().GetPages())
            for (const std::string &line : static_cast<RecordingVectorPicture *>(page)->Log())
                if (line.rfind("internalSetBrush", 0) == 0) brushes.push_back(line);
        ASSERT_EQ(brushes.size(), 1u) << c.bits;
        EXPECT_EQ(brushes[0], c.gray ? "internalSetBrush 76,76,76,255 1" : "internalSetBrush 255,0,0,255 1")
            << c.bits;
    }
}

// Every guard of the layout: nothing divides by zero, nothing is drawn where
// nothing fits, and the scale keeps its last value.
TEST_F(PreviewPrinterTest, LayoutGuardsAgainstEmptyAndZeroSizes) {
    struct Case {
        const char *name;
        int width, height;  // the client area
        int pixels;         // per 100 mm
        int pages;
        int scale;  // after asking for the page width
        bool draws;
    };
    for (const Case c :
         {Case{"fits", 400, 600, 400, 3, 45, true}, Case{"no pages", 400, 600, 400, 0, 100, false},
          Case{"no client", 0, 0, 400, 3, 100, false}, Case{"no width", 0, 600, 400, 3, 100, false},
          Case{"one pixel", 1, 1, 400, 3, 10, false}, Case{"flat client", 400, 1, 400, 3, 45, false},
          Case{"no metrics", 400, 600, 0, 3, 100, false}}) {
        ScriptedWindow w("guard", 400, 600);
        w.SetBounds({0, 0, c.width - 1, c.height - 1}, true);
        w.SetCanvasMetrics(ICanvas::WidthPixels, c.pixels);
        w.SetCanvasMetrics(ICanvas::WidthMillimetres, 100);
        w.SetCanvasMetrics(ICanvas::HeightPixels, c.pixels);
        w.SetCanvasMetrics(ICanvas::HeightMillimetres, 100);
        CQueltPreview p(&w);
        p.SetBackgroundColor(_color(9, 9, 9, 255));
        Pages doc(c.pages);
        p.SetPrint(&doc, nullptr);
        p.SetPageView(IPrintPreview::PageWidth);
        EXPECT_EQ(p.GetScale(), c.scale) << c.name;
        EXPECT_EQ(p.GetScrollOffset(), 0) << c.name;
        RecordingPainter &painter = w.DefaultPainter();
        painter.Clear();
        p.OnDraw(&painter);
        int pictures = 0, fills = 0;
        for (const std::string &line : painter.Log()) {
            pictures += line.find("DrawVectorPicture") != std::string::npos;
            fills += line.find("internalFillRect") != std::string::npos;
        }
        EXPECT_EQ(pictures > 0, c.draws) << c.name;
        // The background is filled wherever there is a client area.
        EXPECT_EQ(fills > 0, c.width > 0 && c.height > 0) << c.name;
    }
}

TEST_F(PreviewTest, SetPrintLaterLeavesTheRecordingToTheWorker) {
    Pages three(3);
    ScriptedThread *thread = system->Threads().back();
    EXPECT_TRUE(preview.SetPrintLater(&three, nullptr));
    EXPECT_EQ(preview.GetPageCount(), 0);
    EXPECT_TRUE(heard.Take().empty());
    EXPECT_FALSE(preview.SetPrintLater(&three, nullptr));
    // A worker of another mode prepares nothing.
    thread->Start(&preview);
    thread->Run();
    EXPECT_EQ(preview.GetPageCount(), 0);
    thread->SetMode(1);
    thread->Start(&preview);
    thread->Run();
    EXPECT_EQ(preview.GetPageCount(), 3);
    EXPECT_EQ(preview.GetScale(), 45);
    EXPECT_EQ(heard.Take(), (Lines{"start 0", "prepare 2", "prepare 3", "stop 3"}));
}

}  // namespace
}  // namespace quelt
