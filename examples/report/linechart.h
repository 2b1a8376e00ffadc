#pragma once

// A line chart control and its overview, built on the library's public API
// only, as a host would build its own.
//
// LineChart draws numeric columns (Int or Double) of a memory data set as
// lines against an Int, Double or DateTime column, in record order. Empty
// cells break a line: a non-finite Double, an Int of INT_MIN and a DateTime
// still at the value a new record starts with (day 1) are the empty cells the
// table tool writes. It redraws when its data set changes and prints as it
// draws on screen.
//
// ChartOverview is the small companion: it shows every series over the whole
// x range, marks the part the chart shows, and moves that part where the user
// clicks or drags. Link the two with overview.SetSupport(&chart).
//
// The mouse wheel, over the chart's plot or over the overview, zooms the
// visible range about the value under the pointer: a notch away from the
// user shows a fifth less, a notch back undoes it.

#include <memory>
#include <optional>
#include <vector>

#include "axis.h"
#include "quelt/dataset/memdataset.h"
#include "quelt/paint/palette.h"
#include "quelt/visual/control.h"
#include "quelt/visual/overview.h"

namespace report {

class LineChart : public quelt::CQueltControl, public quelt::COverviewSupport {
  public:
    // Series i draws in palette role SeriesRole + i % SeriesColorCount.
    static constexpr int SeriesRole = 100;
    static constexpr int SeriesColorCount = 8;

    // window may be null (SetSysWindow attaches later). The data set must
    // outlive the chart or be destroyed first; the chart then draws nothing.
    LineChart(quelt::ISysWindow *window, quelt::CMemDataSet &dataSet);
    ~LineChart() override;

    // std::invalid_argument for a column the data set lacks or of a type the
    // chart cannot place on that axis.
    void SetXColumn(const quelt::wstring &name);
    void AddSeries(const quelt::wstring &name);
    void ClearSeries();
    const quelt::wstring &GetXColumn() const { return m_xName; }
    const std::vector<quelt::wstring> &GetSeries() const { return m_series; }

    // The x range of every record with a value and the y range of every value
    // plotted, each made usable for division (see UsableRange).
    quelt::rectangle<double> GetFullRect() const;
    // The x range drawn: the full one until SetVisibleRange picks another.
    AxisRange GetVisibleRange() const;
    // Non-finite ends are ignored; a linked overview follows.
    void SetVisibleRange(double from, double to);
    void ShowAll();
    // The narrowest range a zoom shows spans this many records (by their
    // average spacing over the full range).
    static constexpr int MinVisibleRecords = 5;
    // Scales the visible range by factor (below 1 zooms in) about x, which
    // keeps its place on screen; the range stays inside the full one and at
    // least MinVisibleRecords records wide. A linked overview follows.
    void ZoomAt(double x, double factor);

    // Where the last drawing put the plot area (device units of its painter):
    // the visible x range spans its width, GetPlotYRange its height.
    quelt::rectangle<double> GetPlotRect() const { return m_plot; }
    // The full y range with a margin of YMargin of it above and below, so
    // that no line runs along the plot's frame.
    AxisRange GetPlotYRange() const { return m_plotY; }
    static constexpr double YMargin = 0.04;

    // The series colours; a host may set its own on it.
    quelt::ICustomPaletteEx &GetPalette() { return *m_palette; }
    quelt::_color GetSeriesColor(int series) const;

    void OnDraw(quelt::IPainter *painter) override;
    // Every series over the full range, filling the painter's area.
    bool DrawOverview(quelt::IPainter *painter) override;
    void SetOverview(quelt::IOverview *overview) override;
    // The overview moved the viewport: its x range becomes the visible one,
    // widened (and the overview told) when it spans too few records.
    void OnChangeViewport(quelt::COverviewEvent *event) override;
    // The wheel over the plot zooms about the value under the pointer.
    void OnWheel(quelt::CMouseWheelEvent *event) override;

  private:
    class DataListener;
    struct Values;
    struct Layout;

    // Reads the columns through typed views; nothing when unset or detached.
    Values Read() const;
    static quelt::rectangle<double> FullRect(const Values &values);
    AxisRange VisibleIn(const quelt::rectangle<double> &full) const;
    bool IsDateAxis() const;
    void DataChanged();
    void Apply(const AxisRange &range);
    // The width of MinVisibleRecords records in full.
    double MinVisibleWidth(const quelt::rectangle<double> &full) const;
    // The full rectangle and the viewport, to the linked overview.
    void Publish();
    quelt::rectangle<double> Viewport(const quelt::rectangle<double> &full) const;
    void DrawChart(quelt::IPainter &painter);
    // The x ticks when at most maxTicks fit: calendar ones on a date axis.
    std::vector<Tick> XTicks(const AxisRange &range, int maxTicks) const;
    // As many x ticks as the plot's width holds labels for; sample is a label's likely width.
    std::vector<Tick> FitXTicks(quelt::IPainter &painter, const Layout &layout, double sample) const;
    void DrawAxes(quelt::IPainter &painter, const Layout &layout);
    void DrawLegend(quelt::IPainter &painter, const quelt::rectangle<double> &area);
    // The lines of every series, clipped to the plot area.
    void DrawLines(quelt::IPainter &painter, const Values &values, const quelt::rectangle<double> &plot,
                   const AxisRange &x, const AxisRange &y, int width);

    quelt::CMemDataSet *m_pData;
    std::unique_ptr<DataListener> m_pListener;
    quelt::quelt_ptr<quelt::ICustomPaletteEx> m_palette;
    quelt::wstring m_xName;
    std::vector<quelt::wstring> m_series;
    std::optional<AxisRange> m_visible;
    quelt::rectangle<double> m_plot;
    AxisRange m_plotY;
};

class ChartOverview : public quelt::CQueltControl {
  public:
    explicit ChartOverview(quelt::ISysWindow *window);
    ~ChartOverview() override;

    // Links the overviewed side both ways (null unlinks).
    void SetSupport(quelt::IOverviewSupport *support);
    quelt::IOverview &GetOverview();
    // What the support reported: its whole content and the part it shows.
    quelt::rectangle<double> GetFullRect() const;
    quelt::rectangle<double> GetViewport() const;

    void OnDraw(quelt::IPainter *painter) override;
    void OnButtonDown(quelt::CMouseEvent *event) override;
    void OnMouseMove(quelt::CMouseEvent *event) override;
    // The wheel zooms the viewport about the value under the pointer.
    void OnWheel(quelt::CMouseWheelEvent *event) override;

  private:
    class Link;

    // The full range's value at client x.
    double ValueAt(int x) const;
    // Centres the viewport, keeping its width, on client x (within the full range).
    void MoveViewportTo(int x);

    std::unique_ptr<Link> m_pLink;
};

}  // namespace report
