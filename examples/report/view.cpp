#include "view.h"

#include <stdexcept>

namespace report {

using namespace quelt;

namespace {

constexpr int kOverviewHeight = 90;

cairo::CairoWindow *Child(ISysWindow *window) {
    auto *child = dynamic_cast<cairo::CairoWindow *>(window);
    if (!child) throw std::runtime_error("the window has no room for its controls");
    return child;
}

}  // namespace

ReportView::ReportView(CMemDataSet &data, int width, int height, double gridShare, const wstring &x,
                       const std::vector<wstring> &series)
    : m_window(width, height), m_border(m_window.CreateBorder()) {
    // Edges keep their width (height) through every layout, in the order they
    // were added; the client child takes the rest.
    m_gridWindow = Child(m_border->AddChild(IBorder::AlignLeft));
    m_gridWindow->SetBounds(screen_rectangle<int>(0, 0, static_cast<int>(width * gridShare), height - 1),
                            false);
    m_overviewWindow = Child(m_border->AddChild(IBorder::AlignBottom));
    m_overviewWindow->SetBounds(screen_rectangle<int>(0, 0, width - 1, kOverviewHeight), false);
    m_chartWindow = Child(m_border->AddChild(IBorder::AlignClient));
    m_grid = std::make_unique<GridView>(m_gridWindow, data);
    m_chart = std::make_unique<LineChart>(m_chartWindow, data);
    m_chart->SetXColumn(x);
    for (const wstring &name : series) m_chart->AddSeries(name);
    m_overview = std::make_unique<ChartOverview>(m_overviewWindow);
    m_overview->SetSupport(m_chart.get());
    Layout();
}

void ReportView::Layout() {
    if (auto *border = dynamic_cast<CBorder *>(m_border.get())) border->Layout();
}

void ReportView::FitGrid() {
    const int content = m_grid->GetContentWidth();
    const screen_rectangle<int> bounds = m_gridWindow->GetBounds();
    const int width = content + GetCurrentSystem()->GetSystemMetrics(0);
    if (content <= 0 || width >= bounds.right - bounds.left) return;
    m_gridWindow->SetBounds(
        screen_rectangle<int>(bounds.left, bounds.top, bounds.left + width, bounds.bottom), true);
    Layout();
}

ReportView::~ReportView() {
    // The controls go before the windows they live on.
    m_overview.reset();
    m_chart.reset();
    m_grid.reset();
    m_border.reset();
}

void ReportView::Paint() {
    m_gridWindow->PaintDamage();
    m_chartWindow->PaintDamage();
    m_overviewWindow->PaintDamage();
    m_window.PaintDamage();
}

}  // namespace report
