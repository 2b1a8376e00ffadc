#include "view.h"

#include <gtest/gtest.h>

#include <quelt/cairo/printer.h>
#include <quelt/cairo/system.h>

#include <atomic>
#include <thread>

#include "preview.h"

// Fontconfig keeps its caches until the process ends; LeakSanitizer is told so (and nothing else).
extern "C" const char *__lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace report {
namespace {

using namespace quelt;

// x = 0 .. 99 and y = x * x, in a memory data set.
class ViewTest : public ::testing::Test {
  protected:
    ViewTest() : system(new cairo::CairoSystem(96)), owner(CreateMemDataSet()) {
        SetCurrentSystem(system);
        data = &dynamic_cast<CMemDataSet &>(*owner);
        data->AddField(u"x"_w, IField::Int);
        data->AddField(u"y"_w, IField::Double);
        IDataSet::Cursor cursor = data->CreateCursor();
        for (int x = 0; x < 100; ++x) {
            data->Append(cursor);
            cursor[0] = x;
            cursor[1] = static_cast<double>(x) * x;
        }
    }
    ~ViewTest() override {
        system->SetPrinter(nullptr);
        DeleteMemDataSet(owner);
        SetCurrentSystem(nullptr);
    }

    static int Width(const screen_rectangle<int> &r) { return r.right - r.left + 1; }

    cairo::CairoPdfPrinter printer;
    cairo::CairoSystem *system;
    IMemDataSet *owner;
    CMemDataSet *data;
};

TEST_F(ViewTest, GridLeftOverviewBelowChartInTheRest) {
    ReportView view(*data, 800, 400, 0.25, u"x"_w, {u"y"_w});
    const screen_rectangle<int> grid = view.GridWindow().GetBounds();
    const screen_rectangle<int> chart = view.ChartWindow().GetBounds();
    EXPECT_EQ(grid.left, 0);
    EXPECT_EQ(grid.bottom, 399);
    EXPECT_EQ(chart.left, grid.right + 1);
    EXPECT_EQ(chart.right, 799);
    EXPECT_EQ(chart.top, 0);
    EXPECT_LT(chart.bottom, 399 - 50);
}

TEST_F(ViewTest, ResizingLaysTheControlsOutAgain) {
    ReportView view(*data, 800, 400, 0.25, u"x"_w, {u"y"_w});
    const int gridWidth = Width(view.GridWindow().GetBounds());
    const int chartWidth = Width(view.ChartWindow().GetBounds());
    view.Resize(1000, 500);
    EXPECT_EQ(Width(view.GridWindow().GetBounds()), gridWidth);
    EXPECT_EQ(Width(view.ChartWindow().GetBounds()), chartWidth + 200);
    EXPECT_EQ(view.GridWindow().GetBounds().bottom, 499);
}

TEST_F(ViewTest, FittingTheGridHandsTheChartTheSpareWidth) {
    ReportView view(*data, 800, 400, 0.5, u"x"_w, {u"y"_w});
    view.Paint();
    const int chartWidth = Width(view.ChartWindow().GetBounds());
    const int before = Width(view.GridWindow().GetBounds());
    view.FitGrid();
    const int gridWidth = Width(view.GridWindow().GetBounds());
    EXPECT_LT(gridWidth, before);
    EXPECT_GE(gridWidth, view.Grid().GetContentWidth() + system->GetSystemMetrics(0));
    EXPECT_EQ(Width(view.ChartWindow().GetBounds()), chartWidth + before - gridWidth);
}

// The current record is drawn inverted, in the dark shadow; the rows around it are not.
TEST_F(ViewTest, TheCurrentRecordIsDrawnInvertedWhereItIs) {
    ReportView view(*data, 800, 400, 0.3, u"x"_w, {u"y"_w});
    view.Grid().SetCurrentRecord(40);
    view.Grid().SetTopRecord(37);
    view.Paint();
    const _color dark = GetSysPallete()->GetColor(RoleDarkShadow);
    int first = -1, last = -1;
    for (int y = 0; y < 400; ++y) {
        if (view.Window().GetPixel(3, y) != dark) continue;
        if (first < 0) first = y;
        last = y;
    }
    ASSERT_GT(first, 0);
    // Below the header and three records: the fourth row down.
    const int row = last - first + 1;
    EXPECT_NEAR(first, 4 * row, 4);
}

// Counts the pages recorded away from the loop's thread.
class OffLoopPages : public CPreviewNotify {
  public:
    void OnPagePrepare(CPreviewEvent *) override {
        if (std::this_thread::get_id() != m_loop) ++count;
    }
    std::atomic<int> count{0};

  private:
    const std::thread::id m_loop = std::this_thread::get_id();
};

// Pixels of the two windows that differ.
int Differing(const cairo::CairoWindow &a, const cairo::CairoWindow &b, int width, int height) {
    int differing = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) differing += a.GetPixel(x, y) != b.GetPixel(x, y);
    }
    return differing;
}

// The worker records every page the grid prints while the loop paints the
// grid on screen, and the pages show as those prepared on the loop's thread.
TEST_F(ViewTest, PreviewPagesPreparedOnTheWorkerAreThePagesPreparedInPlace) {
    system->SetPrinter(&printer);
    ReportView view(*data, 800, 400, 0.3, u"x"_w, {u"y"_w});
    const int pages = view.Grid().GetPageCount(&printer);
    ASSERT_GE(pages, 2);
    cairo::CairoWindow onWorker(300, 420), inPlace(300, 420);
    CQueltPreview worked(&onWorker), direct(&inPlace);
    OffLoopPages offLoop;
    worked.Subscribe(offLoop.AsNotify(), typeid(IPreviewNotify), true);
    EXPECT_EQ(PreparePreview(*system, worked, view.Grid()), pages);
    // Every page but the last raises a page event.
    EXPECT_EQ(offLoop.count, pages - 1);
    direct.SetPrint(&view.Grid(), nullptr);
    ASSERT_EQ(direct.GetPageCount(), pages);
    for (CQueltPreview *preview : {&worked, &direct}) preview->SetPageView(IPrintPreview::WholePage);
    onWorker.PaintDamage();
    inPlace.PaintDamage();
    EXPECT_EQ(Differing(onWorker, inPlace, 300, 420), 0);
}

}  // namespace
}  // namespace report
