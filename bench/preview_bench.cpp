// The print preview on the Cairo platform: a 200-page document (each page 500
// lines and 50 strings) recorded into vector pictures on the preview's worker
// thread while the loop lays out and paints the whole-page view of an 800 x 600
// window, against printing the same pages through the PDF printer into a Cairo
// PDF surface. Both sides count the CPU time of every thread of the process.
// The counter pages_prepared_at_first_draw is the most pages (over the
// iterations) recorded when the window first painted page 1.

#include <atomic>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "common/bench_common.h"
#include "quelt/cairo/preview.h"
#include "quelt/cairo/printer.h"
#include "quelt/cairo/window.h"
#include "quelt/paint/painter.h"

namespace quelt::bench {
namespace {

constexpr int kLines = 500;
constexpr int kStrings = 50;

int PageCount() { return Quick() ? 10 : 200; }

struct Segment {
    double x1, y1, x2, y2;
};

// The same lines on every page, in fractions of the page.
const std::vector<Segment> &PageLines() {
    static const std::vector<Segment> lines = [] {
        std::mt19937 random(kSeed);
        std::uniform_real_distribution<double> at(0.05, 0.95);
        std::vector<Segment> v;
        for (int i = 0; i < kLines; ++i) v.push_back({at(random), at(random), at(random), at(random)});
        return v;
    }();
    return lines;
}

// Pages of lines and strings, drawn to the size of whatever paints them.
class Document : public CQueltControl {
  public:
    Document() : CQueltControl(nullptr, true) {}
    bool IsPrintSupport(bool byPage) override { return byPage; }
    int GetPageCount(IPrinter *) const override { return PageCount(); }
    void OnPrintPage(IPainter *painter, IPrinter *, int page) override {
        const screen_rectangle<int> r = painter->GetPaintRect();
        const double w = r.right - r.left;
        const double h = r.bottom - r.top;
        painter->SetPen(pen(_color(20, 40, 160, 255), 1, pen::Solid));
        for (const Segment &s : PageLines()) {
            painter->MoveTo(s.x1 * w, s.y1 * h);
            painter->LineTo(s.x2 * w, s.y2 * h);
        }
        painter->SetFont(font(Utf8ToWide("Sans"), font::DefaultFamily, 9, 0, 0));
        for (int i = 0; i < kStrings; ++i)
            painter->DrawString(
                0.05 * w, (0.05 + 0.018 * i) * h,
                Utf8ToWide("Page " + std::to_string(page + 1) + ", row " + std::to_string(i + 1)), -1);
    }
};

// A headless loop with a PDF printer whose file goes to the temporary directory.
struct Platform {
    Platform() : system(new cairo::CairoSystem(96)) {
        SetCurrentSystem(system);
        printer.SetMargins({10, 10}, {10, 10});
        printer.SetOutputPath((std::filesystem::temp_directory_path() / "quelt_preview_bench.pdf").string());
        system->SetPrinter(&printer);
    }
    ~Platform() {
        std::filesystem::remove(printer.GetOutputPath());
        SetCurrentSystem(nullptr);
    }
    cairo::CairoSystem *system;
    cairo::CairoPdfPrinter printer;
};

// Notes how many pages were recorded when the window first painted with a page.
class FirstDraw : public CDrawingNotify {
  public:
    explicit FirstDraw(CQueltPreview &preview) : m_preview(preview) {}
    void OnDraw(IPainter *) override {
        if (pagesAtFirstDraw < 0 && m_preview.GetPageCount() > 0) pagesAtFirstDraw = m_preview.GetPageCount();
    }
    int pagesAtFirstDraw = -1;

  private:
    CQueltPreview &m_preview;
};

class Ended : public CPreviewNotify {
  public:
    void OnStopPreviewPrepare(CPreviewEvent *) override { stopped = true; }
    std::atomic<bool> stopped{false};
};

void PreviewOurs(benchmark::State &state) {
    Platform platform;
    Document doc;
    auto *window = new cairo::CairoWindow(800, 600);
    int worst = 0;
    for (auto _ : state) {
        CQueltPreview preview(window);
        Ended ended;
        preview.Subscribe(ended.AsNotify(), typeid(IPreviewNotify), true);
        FirstDraw first(preview);
        // After the preview's own receiver: it sees what was just painted.
        window->Subscribe(first.AsNotify(), typeid(IDrawingNotify), true);
        cairo::CairoPreviewWorker worker(preview);
        if (!worker.Start(&doc)) state.SkipWithError("the worker did not start");
        while (!ended.stopped) platform.system->RunFor(1);
        preview.GetWorkerThread()->Wait(-1);
        platform.system->Pump();
        if (preview.GetPageCount() != PageCount()) state.SkipWithError("pages missing");
        worst = std::max(worst, first.pagesAtFirstDraw);
    }
    window->Release();
    state.counters["pages_per_second"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * PageCount(), benchmark::Counter::kIsRate);
    state.counters["pages_prepared_at_first_draw"] = worst;
}

void PreviewBaseline(benchmark::State &state) {
    Platform platform;
    Document doc;
    for (auto _ : state) doc.Print();
    state.counters["pages_per_second"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * PageCount(), benchmark::Counter::kIsRate);
}

void Register() {
    benchmark::RegisterBenchmark("preview_200_pages/ours", PreviewOurs)
        ->MeasureProcessCPUTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("preview_200_pages/baseline", PreviewBaseline)
        ->MeasureProcessCPUTime()
        ->Unit(benchmark::kMillisecond);
}

const int registered = (Register(), 0);

}  // namespace
}  // namespace quelt::bench
