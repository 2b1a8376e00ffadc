// The line chart on real pixels: the PNG is written to the build tree to be
// looked at, and the series colour must be where the line passes.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>

#include "linechart.h"
#include "quelt/cairo/window.h"
#include "quelt/dataset/fastwriter.h"

// Fontconfig keeps its caches until the process ends; LeakSanitizer is told so (and nothing else).
extern "C" const char *__lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace report {
namespace {

using quelt::operator""_w;

// A window released when the test ends, after the controls on it.
struct Release {
    void operator()(quelt::cairo::CairoWindow *window) const { window->Release(); }
};
using Window = std::unique_ptr<quelt::cairo::CairoWindow, Release>;

class LineChartCairoTest : public ::testing::Test {
  protected:
    LineChartCairoTest() : system(new quelt::cairo::CairoSystem(96)) { quelt::SetCurrentSystem(system); }
    ~LineChartCairoTest() override { quelt::SetCurrentSystem(nullptr); }
    quelt::cairo::CairoSystem *system;
};

// Near (x, y): the line is 2 pixels wide and antialiased, so one of the pixels
// around the exact point carries the full colour.
bool ColourNear(const quelt::cairo::CairoWindow &window, int x, int y, quelt::_color color) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (window.GetPixel(x + dx, y + dy) == color) return true;
        }
    }
    return false;
}

double Sales(int i) { return 500 + 300 * std::sin(i / 15.0); }

// Days from 1 March 2024, sales on a wave, cost rising with a gap every 40 days.
void FillSales(quelt::CMemDataSet &data) {
    data.AddField(u"day"_w, quelt::IField::DateTime);
    data.AddField(u"sales"_w, quelt::IField::Double);
    data.AddField(u"cost"_w, quelt::IField::Double);
    quelt::IFastWriter *writer = data.CreateFastWriter();
    const double first = quelt::tdatetime(1, 3, 2024).GetDateTime();
    for (int i = 0; i < 120; ++i) {
        writer->AddRecord();
        quelt::tdatetime day;
        day.SetDateTime(first + i);
        writer->SetField(0, day);
        writer->SetField(1, Sales(i));
        writer->SetField(2, i % 40 == 39 ? NAN : 200 + i * 2.0);
    }
    data.DeleteFastWriter(writer);
}

TEST_F(LineChartCairoTest, TheLinePassesThroughItsPointsInItsColour) {
    quelt::CMemDataSet data;
    FillSales(data);
    const Window window(new quelt::cairo::CairoWindow(480, 300));
    LineChart chart(window.get(), data);
    chart.SetXColumn(u"day"_w);
    chart.AddSeries(u"sales"_w);
    chart.AddSeries(u"cost"_w);
    system->Pump();
    const auto path = std::filesystem::path(QUELT_ACTUAL_DIR) / "linechart.png";
    std::filesystem::create_directories(path.parent_path());
    ASSERT_TRUE(window->SavePng(path.c_str()));

    const quelt::rectangle<double> plot = chart.GetPlotRect();
    const quelt::rectangle<double> full = chart.GetFullRect();
    ASSERT_GT(plot.right - plot.left, 300);
    for (int i : {3, 30, 61, 95, 118}) {
        const double x = plot.left + (i) * (plot.right - plot.left) / (full.right - full.left);
        const AxisRange plotY = chart.GetPlotYRange();
        const double y =
            plot.bottom - (Sales(i) - plotY.low) * (plot.bottom - plot.top) / (plotY.high - plotY.low);
        EXPECT_TRUE(ColourNear(*window, static_cast<int>(x), static_cast<int>(y), chart.GetSeriesColor(0)))
            << "record " << i << " at " << x << "," << y;
    }
}

// The overview shades what the chart leaves out; its frame marks the days shown.
TEST_F(LineChartCairoTest, TheOverviewMarksTheVisibleDays) {
    quelt::CMemDataSet data;
    FillSales(data);
    const Window chartWindow(new quelt::cairo::CairoWindow(480, 300));
    const Window overviewWindow(new quelt::cairo::CairoWindow(480, 60));
    LineChart chart(chartWindow.get(), data);
    chart.SetXColumn(u"day"_w);
    chart.AddSeries(u"sales"_w);
    chart.AddSeries(u"cost"_w);
    ChartOverview overview(overviewWindow.get());
    overview.SetSupport(&chart);
    const quelt::rectangle<double> full = chart.GetFullRect();
    chart.SetVisibleRange(full.left + 30, full.left + 60);
    system->Pump();
    const auto dir = std::filesystem::path(QUELT_ACTUAL_DIR);
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(chartWindow->SavePng((dir / "linechart_zoomed.png").c_str()));
    ASSERT_TRUE(overviewWindow->SavePng((dir / "linechart_overview.png").c_str()));
    const int marked = static_cast<int>(479 * 45 / (full.right - full.left));
    EXPECT_EQ(overviewWindow->GetPixel(5, 2), quelt::color_lightgray);
    EXPECT_EQ(overviewWindow->GetPixel(marked, 2), quelt::color_white);
}

}  // namespace
}  // namespace report
