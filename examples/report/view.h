#pragma once

// The report's window: one top-level window whose border container docks the
// grid on the left, the chart's overview along the bottom and the chart in the
// rest; resizing lays them out again.
// On the Cairo platform, without a display: the host pumps the system and
// saves the window's pixels.

#include <memory>
#include <string>
#include <vector>

#include <quelt/cairo/window.h>
#include <quelt/quelt.h>

#include "gridview.h"
#include "linechart.h"

namespace report {

class ReportView {
  public:
    // The grid takes gridShare of the width when the window opens; the chart
    // draws the series against x, the overview below it all of them.
    ReportView(quelt::CMemDataSet &data, int width, int height, double gridShare, const quelt::wstring &x,
               const std::vector<quelt::wstring> &series);
    ~ReportView();
    ReportView(const ReportView &) = delete;
    ReportView &operator=(const ReportView &) = delete;

    GridView &Grid() { return *m_grid; }
    LineChart &Chart() { return *m_chart; }
    quelt::cairo::CairoWindow &Window() { return m_window; }
    quelt::cairo::CairoWindow &GridWindow() { return *m_gridWindow; }
    quelt::cairo::CairoWindow &ChartWindow() { return *m_chartWindow; }
    void Resize(int width, int height) { m_window.Resize(width, height); }
    // Paints what is damaged in every window, children first.
    void Paint();
    // Narrows the grid's window to its columns and the scroll bar once they
    // have been measured (by a first Paint), leaving the rest to the chart.
    void FitGrid();

  private:
    void Layout();

    quelt::cairo::CairoWindow m_window;
    std::unique_ptr<quelt::IBorder> m_border;
    // Children of m_window, which deletes them.
    quelt::cairo::CairoWindow *m_gridWindow;
    quelt::cairo::CairoWindow *m_overviewWindow;
    quelt::cairo::CairoWindow *m_chartWindow;
    std::unique_ptr<GridView> m_grid;
    std::unique_ptr<LineChart> m_chart;
    std::unique_ptr<ChartOverview> m_overview;
};

}  // namespace report
