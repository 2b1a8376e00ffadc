#include "linechart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "axis.h"
#include "quelt/dataset/fastwriter.h"
#include "quelt/testing/calllog.h"
#include "quelt/testing/painter.h"
#include "quelt/testing/printer.h"
#include "quelt/testing/system.h"
#include "quelt/testing/window.h"

namespace report {
namespace {

using quelt::IField;
using quelt::rectangle;
using quelt::operator""_w;
using quelt::testing::InstalledSystem;
using quelt::testing::ScriptedPrinter;
using quelt::testing::ScriptedWindow;
using Lines = std::vector<std::string>;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::string ColorText(quelt::_color c) {
    return std::to_string(c.GetRed()) + "," + std::to_string(c.GetGreen()) + "," +
           std::to_string(c.GetBlue()) + "," + std::to_string(c.GetAlpha());
}

// The device moves and lines drawn with the pen of that colour (its lines, not its legend swatch).
Lines LinesIn(const Lines &log, quelt::_color color) {
    const std::string pen = "internalSetPen " + ColorText(color) + " ";
    Lines lines;
    bool inside = false;
    for (const std::string &line : log) {
        if (line.rfind("internalSetPen ", 0) == 0) inside = line.rfind(pen, 0) == 0;
        const bool move = line.rfind("internalMoveTo ", 0) == 0 || line.rfind("internalLineTo ", 0) == 0;
        if (inside && move) lines.push_back(line);
    }
    return lines;
}

int CountOf(const Lines &lines, const std::string &op) {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                          [&](const std::string &l) { return l.rfind(op + " ", 0) == 0; }));
}

// x, a (Double), b (Int), day (DateTime) and name (String).
// The chart of column a against column x, the setup most tests share.
struct ChartOfA : LineChart {
    ChartOfA(quelt::ISysWindow *window, quelt::CMemDataSet &data) : LineChart(window, data) {
        SetXColumn(u"x"_w);
        AddSeries(u"a"_w);
    }
};

class LineChartTest : public ::testing::Test {
  protected:
    LineChartTest() { AddFields(); }

    void AddFields() {
        data.AddField(u"x"_w, IField::Double);
        data.AddField(u"a"_w, IField::Double);
        data.AddField(u"b"_w, IField::Int);
        data.AddField(u"day"_w, IField::DateTime);
        data.AddField(u"name"_w, IField::String);
    }

    void Reset() {
        data.Clear();
        AddFields();
    }

    // n records; x = i, a = value(i), b = i, day = 1 Jan 2024 + i.
    void Fill(int n, const std::function<double(int)> &value) {
        quelt::IFastWriter *writer = data.CreateFastWriter();
        for (int i = 0; i < n; ++i) {
            writer->AddRecord();
            writer->SetField(0, static_cast<double>(i));
            writer->SetField(1, value(i));
            writer->SetField(2, i);
            quelt::tdatetime day(1, 1, 2024);
            day.SetDateTime(day.GetDateTime() + i);
            writer->SetField(3, day);
        }
        data.DeleteFastWriter(writer);
    }

    // Draws the chart as the window paints and returns what reached the device.
    const Lines &Draw() {
        window.DefaultPainter().Clear();
        window.Draw();
        return window.DefaultPainter().Log();
    }

    InstalledSystem system;
    quelt::CMemDataSet data;
    ScriptedWindow window{"chart", 400, 300};
};

TEST_F(LineChartTest, OneDeviceCallPerNonEmptyRecord) {
    struct Case {
        const char *name;
        std::function<double(int)> value;
        int plotted;
        int runs;
    };
    const Case cases[] = {
        {"every record", [](int i) { return i * 0.5; }, 50, 1},
        {"NaN breaks the line", [](int i) { return i % 10 == 9 ? kNaN : i; }, 45, 5},
        {"infinity is empty too", [](int i) { return i == 20 ? -INFINITY : i; }, 49, 2},
        {"isolated points", [](int i) { return i % 2 ? kNaN : i; }, 25, 25},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        Fill(50, c.value);
        ChartOfA chart(&window, data);
        const Lines lines = LinesIn(Draw(), chart.GetSeriesColor(0));
        EXPECT_EQ(static_cast<int>(lines.size()), c.plotted);
        EXPECT_EQ(CountOf(lines, "internalMoveTo"), c.runs);
    }
}

TEST_F(LineChartTest, TheRangesSpanThePlotArea) {
    Fill(11, [](int i) { return 20.0 + i; });
    ChartOfA chart(&window, data);
    const Lines lines = LinesIn(Draw(), chart.GetSeriesColor(0));
    const rectangle<double> plot = chart.GetPlotRect();
    ASSERT_EQ(lines.size(), 11u);
    // The values 20 .. 30 with a margin of YMargin x 10 below and above.
    const AxisRange y = chart.GetPlotYRange();
    EXPECT_DOUBLE_EQ(y.low, 20 - 10 * LineChart::YMargin);
    EXPECT_DOUBLE_EQ(y.high, 30 + 10 * LineChart::YMargin);
    auto toY = [&](double value) {
        return plot.bottom + (value - y.low) * (plot.top - plot.bottom) / (y.high - y.low);
    };
    // The lines keep clear of the frame.
    EXPECT_GE(plot.bottom - toY(20), 2);
    EXPECT_GE(toY(30) - plot.top, 2);
    auto at = [](double x, double y) { return std::to_string(int(x)) + " " + std::to_string(int(y)); };
    EXPECT_EQ(lines.front(), "internalMoveTo " + at(plot.left, toY(20)));
    EXPECT_EQ(lines.back(), "internalLineTo " + at(plot.right, toY(30)));
    EXPECT_EQ(lines[5], "internalLineTo " + at((plot.left + plot.right) / 2, (plot.top + plot.bottom) / 2));
    // Inside the window, with room for the labels left and below and the legend above.
    EXPECT_GT(plot.left, 16);
    EXPECT_GT(plot.top, 16);
    EXPECT_LT(plot.bottom, 299 - 16);
    EXPECT_LT(plot.right, 399);
}

TEST_F(LineChartTest, AnEmptyIntCellBreaksTheLine) {
    Fill(30, [](int i) { return i; });
    unsigned record = 12;
    data.SetFieldValue(2, record, INT_MIN);
    LineChart chart(&window, data);
    chart.SetXColumn(u"x"_w);
    chart.AddSeries(u"b"_w);
    const Lines lines = LinesIn(Draw(), chart.GetSeriesColor(0));
    EXPECT_EQ(lines.size(), 29u);
    EXPECT_EQ(CountOf(lines, "internalMoveTo"), 2);
}

TEST_F(LineChartTest, FiveThousandRecordsCrossTheBatchesWithoutAGap) {
    Fill(5000, [](int i) { return std::sin(i / 100.0); });
    ASSERT_GT(5000, 4 * quelt::IPainter::PlotBatch);
    ChartOfA chart(&window, data);
    chart.AddSeries(u"b"_w);
    const Lines &log = Draw();
    for (int series = 0; series < 2; ++series) {
        const Lines lines = LinesIn(log, chart.GetSeriesColor(series));
        EXPECT_EQ(CountOf(lines, "internalMoveTo"), 1) << series;
        EXPECT_EQ(CountOf(lines, "internalLineTo"), 4999) << series;
    }
}

TEST_F(LineChartTest, EverySeriesHasItsOwnPaletteColourAndLegendEntry) {
    Fill(10, [](int i) { return i; });
    ChartOfA chart(&window, data);
    chart.AddSeries(u"b"_w);
    EXPECT_NE(chart.GetSeriesColor(0), chart.GetSeriesColor(1));
    chart.GetPalette().SetColor(LineChart::SeriesRole + 1, quelt::color_purple);
    EXPECT_EQ(chart.GetSeriesColor(1), quelt::color_purple);
    const Lines &log = Draw();
    EXPECT_EQ(LinesIn(log, quelt::color_purple).size(), 10u);
    EXPECT_EQ(std::count(log.begin(), log.end(), "internalSetBrush " + ColorText(quelt::color_purple) + " 1"),
              1);
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string &l) {
        return l.rfind("internalTextOut ", 0) == 0 && l.size() > 2 && l.substr(l.size() - 2) == " b";
    }));
}

TEST_F(LineChartTest, TickLabelsAreDrawnInThePaintersText) {
    Fill(11, [](int i) { return i * 100.0; });
    LineChart chart(&window, data);
    chart.SetXColumn(u"day"_w);
    chart.AddSeries(u"a"_w);
    const Lines &log = Draw();
    auto drawn = [&](const std::string &text) {
        return std::any_of(log.begin(), log.end(), [&](const std::string &l) {
            return l.rfind("internalTextOut ", 0) == 0 && l.find(" " + text) != std::string::npos;
        });
    };
    EXPECT_TRUE(drawn("1,000"));
    EXPECT_TRUE(drawn("0"));
    // 1 January 2024, a Monday, is a tick at every calendar step of an 11-day span.
    EXPECT_TRUE(drawn("01 Jan"));
}

TEST_F(LineChartTest, XLabelsDoNotOverlap) {
    Fill(11, [](int i) { return i; });
    for (unsigned r = 0; r < 11; ++r) data.SetFieldValue(0, r, r * 0.1);
    ChartOfA chart(&window, data);
    struct Label {
        int x, y, units;
    };
    std::vector<Label> labels;
    for (const std::string &line : Draw()) {
        Label l{};
        if (std::sscanf(line.c_str(), "internalTextOut %d %d %d", &l.x, &l.y, &l.units) == 3)
            labels.push_back(l);
    }
    // The x labels are the lowest texts.
    const int lowest =
        std::max_element(labels.begin(), labels.end(), [](auto &a, auto &b) { return a.y < b.y; })->y;
    labels.erase(std::remove_if(labels.begin(), labels.end(), [&](const Label &l) { return l.y != lowest; }),
                 labels.end());
    ASSERT_GE(labels.size(), 2u);
    for (std::size_t i = 1; i < labels.size(); ++i) {
        EXPECT_GT(labels[i].x, labels[i - 1].x + labels[i - 1].units * 8) << i;
    }
}

TEST_F(LineChartTest, OneRecordOrAConstantSeriesDrawsInsideThePlot) {
    struct Case {
        const char *name;
        int records;
    };
    for (const Case &c : {Case{"one record", 1}, Case{"constant", 40}}) {
        SCOPED_TRACE(c.name);
        Reset();
        Fill(c.records, [](int) { return 7.0; });
        LineChart chart(&window, data);
        chart.SetXColumn(c.records == 1 ? u"a"_w : u"x"_w);
        chart.AddSeries(u"a"_w);
        const rectangle<double> full = chart.GetFullRect();
        EXPECT_LT(full.top, 7.0);
        EXPECT_GT(full.bottom, 7.0);
        const Lines lines = LinesIn(Draw(), chart.GetSeriesColor(0));
        ASSERT_EQ(static_cast<int>(lines.size()), c.records);
        for (const std::string &line : lines) {
            int x = -1, y = -1;
            ASSERT_EQ(std::sscanf(line.c_str(), "%*s %d %d", &x, &y), 2) << line;
            EXPECT_TRUE(x > 0 && x < 400 && y > 0 && y < 300) << line;
            // The constant sits halfway up the widened range.
            EXPECT_EQ(y, std::stoi(lines[0].substr(lines[0].rfind(' ') + 1))) << line;
        }
    }
}

TEST_F(LineChartTest, ColumnsMustExistAndBeNumeric) {
    LineChart chart(&window, data);
    EXPECT_THROW(chart.SetXColumn(u"nope"_w), std::invalid_argument);
    EXPECT_THROW(chart.SetXColumn(u"name"_w), std::invalid_argument);
    EXPECT_THROW(chart.AddSeries(u"day"_w), std::invalid_argument);
    EXPECT_NO_THROW(chart.SetXColumn(u"day"_w));
    EXPECT_NO_THROW(chart.AddSeries(u"b"_w));
}

TEST_F(LineChartTest, AChangedDataSetRedrawsTheChartAndTellsTheOverview) {
    Fill(10, [](int i) { return i; });
    ChartOfA chart(&window, data);
    ScriptedWindow small("overview", 100, 20);
    ChartOverview overview(&small);
    overview.SetSupport(&chart);
    EXPECT_EQ(overview.GetFullRect().right, 9);
    system->Log().Clear();
    quelt::IDataSet::Cursor cursor = data.CreateCursor();
    data.Append(cursor);
    cursor[0] = 25.0;
    cursor[1] = 3.0;
    data.UpdateField(&cursor[1]);
    const Lines calls = system->Log().Lines();
    EXPECT_TRUE(std::find(calls.begin(), calls.end(), "chart.DoInvalidate 0 0 399 299") != calls.end());
    EXPECT_EQ(overview.GetFullRect().right, 25);
    EXPECT_EQ(LinesIn(Draw(), chart.GetSeriesColor(0)).size(), 11u);
}

TEST_F(LineChartTest, TheOverviewDrivesTheVisibleRange) {
    Fill(101, [](int i) { return i % 10; });
    ChartOfA chart(&window, data);
    ScriptedWindow small("overview", 101, 20);
    ChartOverview overview(&small);
    overview.SetSupport(&chart);
    EXPECT_EQ(overview.GetViewport().left, 0);
    EXPECT_EQ(overview.GetViewport().right, 100);

    overview.GetOverview().SetViewport({40, 0, 60, 9});
    EXPECT_EQ(chart.GetVisibleRange().low, 40);
    EXPECT_EQ(chart.GetVisibleRange().high, 60);
    // Records 40..60 and the one on each side that leads the line to the edge.
    EXPECT_EQ(LinesIn(Draw(), chart.GetSeriesColor(0)).size(), 23u);

    // A click centres the viewport under the mouse, keeping its width.
    small.Click(20, 5);
    EXPECT_EQ(chart.GetVisibleRange().low, 10);
    EXPECT_EQ(chart.GetVisibleRange().high, 30);
    small.Click(100, 5);
    EXPECT_EQ(chart.GetVisibleRange().high, 100);

    // The chart's own range change reaches the overview.
    chart.SetVisibleRange(5, 15);
    EXPECT_EQ(overview.GetViewport().left, 5);
    EXPECT_EQ(overview.GetViewport().right, 15);
    chart.ShowAll();
    EXPECT_EQ(overview.GetViewport().right, 100);
}

// The x value under client x of the chart's plot.
double ValueUnder(const LineChart &chart, int x) {
    const rectangle<double> plot = chart.GetPlotRect();
    const AxisRange visible = chart.GetVisibleRange();
    return visible.low + (x - plot.left) * (visible.high - visible.low) / (plot.right - plot.left);
}

TEST_F(LineChartTest, TheWheelOverThePlotZoomsAboutThePointer) {
    Fill(101, [](int i) { return i % 10; });
    ChartOfA chart(&window, data);
    ScriptedWindow small("overview", 101, 20);
    ChartOverview overview(&small);
    overview.SetSupport(&chart);
    Draw();
    const rectangle<double> plot = chart.GetPlotRect();
    const int x = static_cast<int>(plot.left + (plot.right - plot.left) / 4);
    const int y = static_cast<int>((plot.top + plot.bottom) / 2);
    const double under = ValueUnder(chart, x);

    // A notch away from the user shows a fifth less; the value under the pointer stays there.
    window.Wheel(x, y, 120);
    AxisRange visible = chart.GetVisibleRange();
    EXPECT_NEAR(visible.high - visible.low, 80, 1e-9);
    EXPECT_NEAR(ValueUnder(chart, x), under, 1e-9);
    EXPECT_EQ(overview.GetViewport().left, visible.low);
    EXPECT_EQ(overview.GetViewport().right, visible.high);
    // A notch back undoes it.
    window.Wheel(x, y, -120);
    visible = chart.GetVisibleRange();
    EXPECT_NEAR(visible.low, 0, 1e-9);
    EXPECT_NEAR(visible.high, 100, 1e-9);

    // Out no further than the full range; in no closer than a few records.
    window.Wheel(x, y, -600);
    EXPECT_EQ(chart.GetVisibleRange().low, 0);
    EXPECT_EQ(chart.GetVisibleRange().high, 100);
    window.Wheel(x, y, 120 * 40);
    visible = chart.GetVisibleRange();
    EXPECT_NEAR(visible.high - visible.low, LineChart::MinVisibleRecords - 1, 1e-9);
    EXPECT_GE(visible.low, 0);
}

TEST_F(LineChartTest, TheWheelOutsideThePlotLeavesTheRange) {
    Fill(101, [](int i) { return i; });
    ChartOfA chart(&window, data);
    Draw();
    const rectangle<double> plot = chart.GetPlotRect();
    window.Wheel(static_cast<int>(plot.left) - 5, static_cast<int>(plot.bottom) - 5, 120);
    window.Wheel(static_cast<int>(plot.left) + 5, static_cast<int>(plot.bottom) + 5, 120);
    EXPECT_EQ(chart.GetVisibleRange().low, 0);
    EXPECT_EQ(chart.GetVisibleRange().high, 100);
}

TEST_F(LineChartTest, TheWheelOverTheOverviewZoomsTheChart) {
    Fill(101, [](int i) { return i; });
    ChartOfA chart(&window, data);
    ScriptedWindow small("overview", 101, 20);
    ChartOverview overview(&small);
    overview.SetSupport(&chart);
    // Client x 100 is the full range's end: zooming about it keeps the end.
    small.Wheel(100, 5, 240);
    EXPECT_NEAR(chart.GetVisibleRange().low, 100 - 64, 1e-9);
    EXPECT_NEAR(chart.GetVisibleRange().high, 100, 1e-9);
    small.Wheel(50, 5, 120 * 40);
    // The chart widens a viewport of too few records, and the overview shows it.
    const AxisRange visible = chart.GetVisibleRange();
    EXPECT_NEAR(visible.high - visible.low, LineChart::MinVisibleRecords - 1, 1e-9);
    EXPECT_EQ(overview.GetViewport().left, visible.low);
    EXPECT_EQ(overview.GetViewport().right, visible.high);
}

TEST_F(LineChartTest, TheOverviewDrawsTheWholeSeriesAndMarksTheViewport) {
    Fill(101, [](int i) { return i; });
    ChartOfA chart(&window, data);
    ScriptedWindow small("overview", 101, 20);
    ChartOverview overview(&small);
    overview.SetSupport(&chart);
    chart.SetVisibleRange(50, 60);
    small.Draw();
    const Lines &log = small.DefaultPainter().Log();
    EXPECT_EQ(LinesIn(log, chart.GetSeriesColor(0)).size(), 101u);
    EXPECT_EQ(std::count(log.begin(), log.end(), "internalRectangle 50 0 60 19"), 1);
}

TEST_F(LineChartTest, EitherSideOfThePairMayGoFirst) {
    Fill(5, [](int i) { return i; });
    auto chart = std::make_unique<LineChart>(&window, data);
    ScriptedWindow small("overview", 100, 20);
    {
        ChartOverview overview(&small);
        overview.SetSupport(chart.get());
        EXPECT_EQ(chart->GetOverview(), &overview.GetOverview());
    }
    EXPECT_EQ(chart->GetOverview(), nullptr);
    ChartOverview overview(&small);
    overview.SetSupport(chart.get());
    chart.reset();
    small.Draw();
    EXPECT_EQ(overview.GetOverview().GetViewport().right, 1);
}

TEST_F(LineChartTest, ADataSetGoneFirstLeavesAnEmptyChart) {
    auto owned = std::make_unique<quelt::CMemDataSet>();
    owned->AddField(u"x"_w, IField::Double);
    LineChart chart(&window, *owned);
    chart.SetXColumn(u"x"_w);
    chart.AddSeries(u"x"_w);
    owned.reset();
    EXPECT_TRUE(LinesIn(Draw(), chart.GetSeriesColor(0)).empty());
    EXPECT_EQ(chart.GetFullRect(), rectangle<double>(0, 0, 1, 1));
}

TEST_F(LineChartTest, PrintsAsItDrawsThroughTheDrawingFallback) {
    Fill(20, [](int i) { return i; });
    ChartOfA chart(&window, data);
    ScriptedPrinter printer;
    system->SetPrinter(&printer);
    chart.Print();
    system->SetPrinter(nullptr);
    ASSERT_EQ(printer.Jobs().size(), 1u);
    ASSERT_EQ(printer.Jobs()[0].pages.size(), 1u);
    EXPECT_EQ(LinesIn(printer.Jobs()[0].pages[0].drawing, chart.GetSeriesColor(0)).size(), 20u);
}

// --- ticks and labels

bool IsNiceStep(double step) {
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-12));
    return std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 || std::abs(mantissa - 5) < 1e-9;
}

TEST(AxisTicks, NiceStepsCoverTheRange) {
    struct Case {
        double low, high;
        int maxTicks;
        double step;
    };
    const Case cases[] = {
        {0, 10, 6, 2},        {0.13, 0.97, 5, 0.2},      {-37, 1234, 8, 200},
        {1e6, 1e6 + 3, 4, 1}, {-0.004, 0.004, 9, 0.001}, {45000, 45365, 7, 100},
        {3, 4, 1, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.low) + ".." + std::to_string(c.high));
        const AxisTicks ticks = NiceTicks({c.low, c.high}, c.maxTicks);
        EXPECT_DOUBLE_EQ(ticks.step, c.step);
        EXPECT_TRUE(IsNiceStep(ticks.step));
        ASSERT_GE(ticks.count, 2);
        EXPECT_LE(ticks.count, std::max(c.maxTicks, 2));
        EXPECT_GE(ticks.At(0), c.low - 1e-9 * ticks.step);
        EXPECT_LT(ticks.At(0) - ticks.step, c.low);
        EXPECT_LE(ticks.At(ticks.count - 1), c.high + 1e-9 * ticks.step);
        EXPECT_GT(ticks.At(ticks.count), c.high);
    }
}

TEST(AxisTicks, UnusableRangesAreMadeUsable) {
    struct Case {
        double low, high, wantLow, wantHigh;
    };
    const Case cases[] = {
        {5, 5, 4, 6}, {100, 100, 95, 105}, {kNaN, 3, 0, 1}, {0, INFINITY, 0, 1}, {9, 2, 2, 9},
    };
    for (const Case &c : cases) {
        const AxisRange r = UsableRange(c.low, c.high);
        EXPECT_EQ(r.low, c.wantLow) << c.low << " " << c.high;
        EXPECT_EQ(r.high, c.wantHigh) << c.low << " " << c.high;
    }
    EXPECT_EQ(NiceTicks({1, 1}, 5).count, 0);
    EXPECT_EQ(NiceTicks({kNaN, 1}, 5).count, 0);
}

TEST(AxisTicks, LabelsShowTheDigitsTheStepNeeds) {
    struct Case {
        double value, step;
        const char *text;
    };
    const Case cases[] = {
        {0.30000000000000004, 0.1, "0.3"},     {12000, 2000, "12,000"},    {-0.5, 0.5, "-0.5"},
        {NiceTicks({-1, 1}, 3).At(1), 1, "0"}, {0.0025, 0.0005, "0.0025"},
    };
    for (const Case &c : cases) EXPECT_EQ(quelt::WideToUtf8(NumberLabel(c.value, c.step)), c.text) << c.value;
}

}  // namespace
}  // namespace report
