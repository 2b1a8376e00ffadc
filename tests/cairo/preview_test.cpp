#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "golden.h"
#include "quelt/cairo/preview.h"
#include "quelt/cairo/printer.h"
#include "quelt/cairo/window.h"
#include "quelt/paint/painter.h"

using namespace quelt;
using namespace quelt::cairo;
using namespace quelt::cairo::test;

namespace {

constexpr _color kInk(0, 0, 0, 255);
constexpr _color kRule(40, 90, 200, 255);
constexpr _color kGray(128, 128, 128, 255);

// A control of five pages: a frame, the page number, rules and text lines,
// each page with its own number of rules.
class FivePages : public CQueltControl {
  public:
    FivePages() : CQueltControl(nullptr, true) {}
    bool IsPrintSupport(bool byPage) override { return byPage; }
    int GetPageCount(IPrinter *) const override { return 5; }
    void OnPrintPage(IPainter *painter, IPrinter *, int page) override {
        const screen_rectangle<int> r = painter->GetPaintRect();
        const double w = r.right - r.left;
        const double h = r.bottom - r.top;
        painter->SetPen(pen(kInk, 4, pen::Solid));
        painter->SetBrush(brush(kInk, brush::NoFill));
        painter->Rectangle(20, 20, w - 20, h - 20);
        painter->SetTextColor(kInk);
        painter->SetFont(font(Utf8ToWide("Sans"), font::DefaultFamily, 40, 1, 0));
        painter->DrawString(60, 50, Utf8ToWide("Page " + std::to_string(page + 1)), -1);
        painter->SetPen(pen(kRule, 6, pen::Solid));
        for (int i = 0; i <= page; ++i) {
            const double y = 180 + i * 40;
            painter->MoveTo(60, y);
            painter->LineTo(w - 60, y);
        }
        painter->SetFont(font(Utf8ToWide("Sans"), font::DefaultFamily, 14, 0, 0));
        for (int i = 0; i < 12; ++i)
            painter->DrawString(
                60, 420 + i * 40,
                Utf8ToWide("Line " + std::to_string(i + 1) + " of page " + std::to_string(page + 1)), -1);
    }
};

// Remembers the threads that prepared pages and whether preparation ended.
class Progress : public CPreviewNotify {
  public:
    void OnPagePrepare(CPreviewEvent *) override {
        if (std::this_thread::get_id() != loop) offLoop = offLoop + 1;
    }
    void OnStopPreviewPrepare(CPreviewEvent *e) override {
        stoppedAt = e->GetPageNumber();
        stopped = true;
    }
    std::thread::id loop = std::this_thread::get_id();
    std::atomic<int> offLoop{0};
    std::atomic<int> stoppedAt{-1};
    std::atomic<bool> stopped{false};
};

// A CairoSystem with a PDF printer of 10 mm margins, and a 640 x 360 window.
class CairoPreviewTest : public ::testing::Test {
  protected:
    CairoPreviewTest() : system(new CairoSystem(96)) {
        SetCurrentSystem(system);
        printer.SetMargins({10, 10}, {10, 10});
        system->SetPrinter(&printer);
        window = new CairoWindow(640, 360);
    }
    ~CairoPreviewTest() override {
        window->Release();
        SetCurrentSystem(nullptr);
    }
    // Pumps the loop until the preparation has ended and its end reached the loop.
    bool PumpUntilStopped(const Progress &progress, CQueltPreview &preview) {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!progress.stopped && std::chrono::steady_clock::now() < limit) system->RunFor(5);
        preview.GetWorkerThread()->Wait(-1);
        system->RunFor(0);
        return progress.stopped;
    }
    // Saves the window as a PNG and compares the file with the reference.
    ::testing::AssertionResult SavedMatches(const std::string &name) {
        std::filesystem::create_directories(QUELT_ACTUAL_DIR);
        const std::string path = std::string(QUELT_ACTUAL_DIR) + "/" + name + ".saved.png";
        if (!window->SavePng(path.c_str())) return ::testing::AssertionFailure() << "cannot write " << path;
        cairo_surface_t *saved = cairo_image_surface_create_from_png(path.c_str());
        ::testing::AssertionResult result = MatchesGolden(saved, name, {64, 0.01});
        cairo_surface_destroy(saved);
        return result;
    }
    CairoSystem *system;
    CairoPdfPrinter printer;
    CairoWindow *window;
};

// n pages, each a black frame.
class Frames : public IPrintSupport {
  public:
    explicit Frames(int pages) : m_pages(pages) {}
    bool IsPrintSupport(bool byPage) override { return byPage; }
    int GetPageCount(IPrinter *) const override { return m_pages; }
    void OnPrintPage(IPainter *painter, IPrinter *, int) override { painter->Rectangle(10, 10, 100, 100); }
    void OnPrint(IPainter *, IPrinter *) override {}

  private:
    int m_pages;
};

struct Release {
    void operator()(CairoWindow *window) const { window->Release(); }
};

}  // namespace

TEST_F(CairoPreviewTest, FivePagesPreparedOnTheWorkerShowWholeAndAtFullSize) {
    FivePages doc;
    CQueltPreview preview(window);
    preview.SetBackgroundColor(kGray);
    Progress progress;
    preview.Subscribe(progress.AsNotify(), typeid(IPreviewNotify), true);
    CairoPreviewWorker worker(preview);
    ASSERT_TRUE(worker.Start(&doc));
    ASSERT_TRUE(PumpUntilStopped(progress, preview));
    EXPECT_EQ(progress.offLoop, 4);  // every page but the last raises a page event, all on the worker
    EXPECT_EQ(progress.stoppedAt, 5);
    EXPECT_EQ(preview.GetPageCount(), 5);
    EXPECT_EQ(preview.GetPageView(), IPrintPreview::WholePage);
    EXPECT_EQ(preview.GetScale(), 28);
    EXPECT_TRUE(SavedMatches("preview_whole_page"));
    preview.SetScale(100);
    EXPECT_TRUE(SavedMatches("preview_100"));
    // The same document again prepares nothing.
    EXPECT_FALSE(worker.Start(&doc));
}

// Hundreds of pages: the preview goes while its worker still records.
TEST_F(CairoPreviewTest, DestroyedWhileTheWorkerRecords) {
    class Many : public FivePages {
        int GetPageCount(IPrinter *) const override { return 400; }
    } doc;
    auto preview = std::make_unique<CQueltPreview>(window);
    Progress progress;
    preview->Subscribe(progress.AsNotify(), typeid(IPreviewNotify), true);
    auto worker = std::make_unique<CairoPreviewWorker>(*preview);
    ASSERT_TRUE(worker->Start(&doc));
    while (progress.offLoop < 3) system->RunFor(1);
    worker.reset();  // stops the worker and waits for it
    EXPECT_TRUE(progress.stopped);
    EXPECT_LT(progress.stoppedAt, 400);
    EXPECT_FALSE(preview->IsPreparing());
    preview.reset();
    system->RunFor(0);  // the posted page events find the preview gone
}

// Scrolling moves the window's pixels and leaves the strip it exposes empty;
// the same pass then paints the background there too.
TEST(CairoPreviewScrollTest, ScrolledPagesKeepTheirBackground) {
    auto *system = new CairoSystem(96);
    SetCurrentSystem(system);
    CairoPdfPrinter pdf;
    system->SetPrinter(&pdf);
    {
        const std::unique_ptr<CairoWindow, Release> window(new CairoWindow(400, 600));
        CQueltPreview preview(window.get());
        preview.SetBackgroundColor(kGray);
        Frames three(3);
        preview.SetPrint(&three, nullptr);
        window->PaintDamage();
        ASSERT_EQ(window->GetPixel(2, 590), kGray);
        window->VertBar().Drag(400, true);
        ASSERT_EQ(preview.GetScrollOffset(), -400);
        window->PaintDamage();
        for (int y : {10, 300, 590}) EXPECT_EQ(window->GetPixel(2, y), kGray) << "y " << y;
    }
    system->SetPrinter(nullptr);
    SetCurrentSystem(nullptr);
}
