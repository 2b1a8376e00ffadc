#include "linechart.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "quelt/dataset/columnview.h"
#include "quelt/paint/attributes.h"
#include "quelt/paint/painter.h"

namespace report {

using quelt::_color;
using quelt::CMemDataSet;
using quelt::COverviewEvent;
using quelt::IField;
using quelt::IOverviewNotify;
using quelt::IPainter;
using quelt::rectangle;
using quelt::screen_rectangle;
using quelt::wstring;
using quelt::operator""_w;

namespace {

constexpr double kEmpty = std::numeric_limits<double>::quiet_NaN();
constexpr int kPad = 4;
constexpr int kTick = 4;

const _color kSeriesColors[LineChart::SeriesColorCount] = {
    {31, 119, 180, 255},  {255, 127, 14, 255}, {44, 160, 44, 255},   {214, 39, 40, 255},
    {148, 103, 189, 255}, {140, 86, 75, 255},  {227, 119, 194, 255}, {127, 127, 127, 255}};
constexpr _color kBackground = quelt::color_white;
constexpr _color kInk = quelt::color_black;
constexpr _color kGrid = quelt::color_lightgray;
constexpr _color kFrame = quelt::color_darkgray;

// Cell values as plotted: the empty cells of each type become NaN.
double Plotted(int value) { return value == INT_MIN ? kEmpty : value; }
double Plotted(double value) { return std::isfinite(value) ? value : kEmpty; }
double Plotted(const quelt::tdatetime &value) {
    return value.GetDateTime() <= quelt::tdatetime().GetDateTime() ? kEmpty : value.GetDateTime();
}

// One typed pass over a column: the view reads each cell in place.
template <class T>
std::vector<double> ReadView(CMemDataSet &data, int field) {
    const quelt::ColumnView<T> view(data, field);
    std::vector<double> values;
    values.reserve(view.size());
    for (const T &cell : view) values.push_back(Plotted(cell));
    return values;
}

std::vector<double> ReadColumn(CMemDataSet &data, int field) {
    switch (data.GetField(field)->GetType()) {
        case IField::Int:
            return ReadView<int>(data, field);
        case IField::Double:
            return ReadView<double>(data, field);
        case IField::DateTime:
            return ReadView<quelt::tdatetime>(data, field);
        default:
            return {};
    }
}

// The field's index, -1 when the data set has no such field.
int FindField(const CMemDataSet &data, const wstring &name) {
    for (unsigned i = 0; i < data.GetFieldCount(); ++i) {
        if (data.GetFieldName(static_cast<int>(i)) == name) return static_cast<int>(i);
    }
    return -1;
}

void RequireType(const CMemDataSet &data, const wstring &name, bool dateAllowed) {
    const int field = FindField(data, name);
    if (field < 0) throw std::invalid_argument("no column '" + quelt::WideToUtf8(name) + "'");
    const IField::Types type = data.GetField(field)->GetType();
    if (type == IField::Int || type == IField::Double || (dateAllowed && type == IField::DateTime)) return;
    throw std::invalid_argument("column '" + quelt::WideToUtf8(name) + "' is not numeric");
}

AxisRange Span(const std::vector<double> &values, AxisRange range) {
    for (double v : values) {
        if (std::isnan(v)) continue;
        range.low = std::min(range.low, v);
        range.high = std::max(range.high, v);
    }
    return range;
}

// Maps values of a range onto the pixels between two device coordinates.
struct Scale {
    Scale(const AxisRange &range, double from, double to)
        : origin(range.low), start(from), factor((to - from) / (range.high - range.low)) {}
    double operator()(double value) const { return start + (value - origin) * factor; }
    double origin, start, factor;
};

// A wheel notch (120) away from the user narrows the range to this share.
constexpr double kZoomPerNotch = 0.8;
constexpr double kNotch = 120;

double WheelFactor(int delta) { return std::pow(kZoomPerNotch, delta / kNotch); }

quelt::font LabelFont() { return quelt::font(u"Sans"_w, quelt::font::DefaultFamily, 8, 0, 0); }

void SetPen(IPainter &painter, _color color, int width) {
    painter.SetPen(quelt::pen(color, width, quelt::pen::Solid));
}

void Fill(IPainter &painter, const rectangle<double> &r, _color color) {
    painter.SetBrush(quelt::brush(color, quelt::brush::Solid));
    painter.FillRect(r);
}

rectangle<double> Area(IPainter &painter) {
    const screen_rectangle<int> r = painter.GetPaintRect();
    return {static_cast<double>(r.left), static_cast<double>(r.top), static_cast<double>(r.right),
            static_cast<double>(r.bottom)};
}

// The painter's clip narrowed to r until the guard goes; no earlier clip
// means the whole paint rectangle.
class ClipGuard {
  public:
    ClipGuard(IPainter &painter, const rectangle<double> &r)
        : m_painter(painter), m_saved(painter.GetClipRect()) {
        if (m_saved == rectangle<double>()) m_saved = Area(painter);
        m_painter.SetClipRect(r);
    }
    ~ClipGuard() { m_painter.SetClipRect(m_saved); }
    ClipGuard(const ClipGuard &) = delete;
    ClipGuard &operator=(const ClipGuard &) = delete;

  private:
    IPainter &m_painter;
    rectangle<double> m_saved;
};

}  // namespace

// The columns as read for one drawing: x and one y vector per series.
struct LineChart::Values {
    std::vector<double> x;
    std::vector<std::vector<double>> y;

    bool Has(std::size_t series, std::size_t record) const {
        return !std::isnan(x[record]) && !std::isnan(y[series][record]);
    }
};

// Where the axes go and what they show.
struct LineChart::Layout {
    rectangle<double> plot;
    AxisRange x, y;
    std::vector<Tick> xTicks;
    AxisTicks yTicks;
};

class LineChart::DataListener : public quelt::CDataSetNotify {
  public:
    explicit DataListener(LineChart &chart) : m_chart(chart) {}
    void OnInsertRow(quelt::CDataSetEvent *) override { m_chart.DataChanged(); }
    void OnInsertColumn(quelt::CDataSetEvent *) override { m_chart.DataChanged(); }
    void OnAddRow(quelt::CDataSetEvent *) override { m_chart.DataChanged(); }
    void OnAddColumn(quelt::CDataSetEvent *) override { m_chart.DataChanged(); }
    void OnDelRow(quelt::CDataSetEvent *) override { m_chart.DataChanged(); }
    void OnDelColumn(quelt::CDataSetEvent *) override { m_chart.DataChanged(); }
    void OnUpdateGeneral(quelt::CDataSetEvent *) override { m_chart.DataChanged(); }
    void OnUpdateField(quelt::CDataSetEvent *) override { m_chart.DataChanged(); }
    void OnSetFormat(quelt::CSetFormatEvent *) override { m_chart.DataChanged(); }
    // The data set is going: the chart stops reading it.
    void OnUnsubscribe(quelt::IEventSender *sender) override {
        CDataSetNotify::OnUnsubscribe(sender);
        if (m_chart.m_pData && sender == static_cast<quelt::IEventSender *>(m_chart.m_pData)) {
            m_chart.m_pData = nullptr;
        }
    }

  private:
    LineChart &m_chart;
};

LineChart::LineChart(quelt::ISysWindow *window, CMemDataSet &dataSet)
    : CQueltControl(window, false),
      m_pData(&dataSet),
      m_pListener(std::make_unique<DataListener>(*this)),
      m_palette(quelt::CreateCustomPalette()) {
    // The overview follows this chart through IOverviewNotify.
    AddEventType(typeid(IOverviewNotify));
    for (int i = 0; i < SeriesColorCount; ++i) m_palette->SetColor(SeriesRole + i, kSeriesColors[i]);
    dataSet.Subscribe(m_pListener->AsNotify(), typeid(quelt::IDataSetNotify), true);
}

LineChart::~LineChart() {
    if (m_pData) m_pData->Unsubscribe(m_pListener->AsNotify(), typeid(quelt::IDataSetNotify), true);
}

void LineChart::SetXColumn(const wstring &name) {
    if (m_pData) RequireType(*m_pData, name, true);
    m_xName = name;
    m_visible.reset();
    DataChanged();
}

void LineChart::AddSeries(const wstring &name) {
    if (m_pData) RequireType(*m_pData, name, false);
    m_series.push_back(name);
    DataChanged();
}

void LineChart::ClearSeries() {
    m_series.clear();
    DataChanged();
}

_color LineChart::GetSeriesColor(int series) const {
    return m_palette->GetColor(SeriesRole + series % SeriesColorCount);
}

LineChart::Values LineChart::Read() const {
    Values values;
    if (!m_pData) return values;
    const int xField = FindField(*m_pData, m_xName);
    if (xField < 0) return values;
    values.x = ReadColumn(*m_pData, xField);
    for (const wstring &name : m_series) {
        const int field = FindField(*m_pData, name);
        values.y.push_back(field < 0 ? std::vector<double>(values.x.size(), kEmpty)
                                     : ReadColumn(*m_pData, field));
        // A column that changed type since it was chosen plots nothing.
        values.y.back().resize(values.x.size(), kEmpty);
    }
    return values;
}

bool LineChart::IsDateAxis() const {
    const int field = m_pData ? FindField(*m_pData, m_xName) : -1;
    return field >= 0 && m_pData->GetField(field)->GetType() == IField::DateTime;
}

rectangle<double> LineChart::GetFullRect() const { return FullRect(Read()); }

rectangle<double> LineChart::FullRect(const Values &values) {
    const double inf = std::numeric_limits<double>::infinity();
    AxisRange y{inf, -inf};
    for (std::size_t s = 0; s < values.y.size(); ++s) {
        for (std::size_t i = 0; i < values.x.size(); ++i) {
            if (!values.Has(s, i)) continue;
            y.low = std::min(y.low, values.y[s][i]);
            y.high = std::max(y.high, values.y[s][i]);
        }
    }
    const AxisRange xSpan = Span(values.x, {inf, -inf});
    const AxisRange x = UsableRange(xSpan.low, xSpan.high);
    const AxisRange usableY = UsableRange(y.low, y.high);
    return {x.low, usableY.low, x.high, usableY.high};
}

AxisRange LineChart::GetVisibleRange() const { return VisibleIn(GetFullRect()); }

AxisRange LineChart::VisibleIn(const rectangle<double> &full) const {
    return m_visible ? *m_visible : AxisRange{full.left, full.right};
}

void LineChart::SetVisibleRange(double from, double to) {
    if (!std::isfinite(from) || !std::isfinite(to)) return;
    Apply(UsableRange(from, to));
    Publish();
}

void LineChart::ShowAll() {
    m_visible.reset();
    Invalidate();
    Publish();
}

void LineChart::Apply(const AxisRange &range) {
    m_visible = range;
    Invalidate();
}

void LineChart::DataChanged() {
    Invalidate();
    Publish();
}

rectangle<double> LineChart::Viewport(const rectangle<double> &full) const {
    const AxisRange x = VisibleIn(full);
    return {x.low, full.top, x.high, full.bottom};
}

void LineChart::Publish() {
    if (!GetOverview()) return;
    const rectangle<double> rect = GetFullRect();
    COverviewEvent full(this, rect);
    Fire<&IOverviewNotify::OnChangeFullRect>(&full, true);
    COverviewEvent viewport(this, Viewport(rect));
    Fire<&IOverviewNotify::OnChangeViewport>(&viewport, true);
}

void LineChart::SetOverview(quelt::IOverview *overview) {
    COverviewSupport::SetOverview(overview);
    // A new overview hears this chart's notifications only once the link is
    // complete, after this call; it is told the ranges directly.
    auto *notify = dynamic_cast<IOverviewNotify *>(overview);
    if (!notify) return;
    const rectangle<double> rect = GetFullRect();
    COverviewEvent full(this, rect);
    notify->OnChangeFullRect(&full);
    COverviewEvent viewport(this, Viewport(rect));
    notify->OnChangeViewport(&viewport);
}

double LineChart::MinVisibleWidth(const rectangle<double> &full) const {
    const double records = m_pData ? m_pData->GetRecordCount() : 0;
    const double width = full.right - full.left;
    return records > MinVisibleRecords ? width * (MinVisibleRecords - 1) / (records - 1) : width;
}

void LineChart::ZoomAt(double x, double factor) {
    if (!std::isfinite(x)) return;
    const rectangle<double> full = GetFullRect();
    Apply(ZoomedRange(VisibleIn(full), {full.left, full.right}, x, factor, MinVisibleWidth(full)));
    Publish();
}

void LineChart::OnChangeViewport(COverviewEvent *event) {
    const rectangle<double> &r = event->GetRect();
    if (!std::isfinite(r.left) || !std::isfinite(r.right)) return;
    const AxisRange wanted = UsableRange(r.left, r.right);
    const rectangle<double> full = GetFullRect();
    const double minWidth = MinVisibleWidth(full);
    if (wanted.high - wanted.low >= minWidth) {
        Apply(wanted);
        return;
    }
    const double centre = (wanted.low + wanted.high) / 2;
    Apply(ZoomedRange(wanted, {full.left, full.right}, centre, 1, minWidth));
    Publish();
}

void LineChart::OnWheel(quelt::CMouseWheelEvent *event) {
    const double width = m_plot.right - m_plot.left;
    const bool overPlot = event->GetX() >= m_plot.left && event->GetX() <= m_plot.right &&
                          event->GetY() >= m_plot.top && event->GetY() <= m_plot.bottom;
    if (overPlot && width > 0) {
        const AxisRange visible = GetVisibleRange();
        ZoomAt(visible.low + (event->GetX() - m_plot.left) * (visible.high - visible.low) / width,
               WheelFactor(event->GetDelta()));
    }
    CQueltControl::OnWheel(event);
}

void LineChart::OnDraw(IPainter *painter) {
    DrawChart(*painter);
    CQueltControl::OnDraw(painter);
}

bool LineChart::DrawOverview(IPainter *painter) {
    const Values values = Read();
    if (values.y.empty() || values.x.empty()) return false;
    const rectangle<double> full = FullRect(values);
    DrawLines(*painter, values, Area(*painter), {full.left, full.right}, {full.top, full.bottom}, 1);
    return true;
}

void LineChart::DrawChart(IPainter &painter) {
    const rectangle<double> area = Area(painter);
    Fill(painter, area, kBackground);
    painter.SetFont(LabelFont());
    const double line = painter.GetTextSize(u"0"_w).cy;
    const Values values = Read();
    const rectangle<double> full = FullRect(values);

    Layout layout;
    layout.x = VisibleIn(full);
    layout.y = Widened({full.top, full.bottom}, YMargin);
    // The y labels decide the left inset; the plot's width then decides how many x labels fit.
    const double top = area.top + line + 3 * kPad;
    const double bottom = area.bottom - line - kTick - 2 * kPad;
    layout.yTicks = NiceTicks(layout.y, std::max(2, static_cast<int>((bottom - top) / (2 * line))));
    double labelWidth = 0;
    for (int i = 0; i < layout.yTicks.count; ++i) {
        labelWidth = std::max(labelWidth,
                              painter.GetTextSize(NumberLabel(layout.yTicks.At(i), layout.yTicks.step)).cx);
    }
    // Month labels ("Mar 2024") are the widest of a date axis.
    const double sample =
        painter.GetTextSize(IsDateAxis() ? u"Mar 2024"_w : NumberLabel(layout.x.high, 1)).cx;
    // Room for the y labels on the left, and for half an x label beyond either end of the axis.
    const double left = area.left + std::max(labelWidth + kTick + 2 * kPad, sample / 2 + kPad);
    layout.plot = {left, top, area.right - sample / 2 - kPad, bottom};
    if (layout.plot.right - layout.plot.left < 2 || layout.plot.bottom - layout.plot.top < 2) return;
    layout.xTicks = FitXTicks(painter, layout, sample);

    m_plot = layout.plot;
    m_plotY = layout.y;
    DrawAxes(painter, layout);
    if (!values.x.empty()) DrawLines(painter, values, layout.plot, layout.x, layout.y, 2);
    DrawLegend(painter, {layout.plot.left, area.top, area.right, top});
}

std::vector<Tick> LineChart::XTicks(const AxisRange &range, int maxTicks) const {
    return IsDateAxis() ? CalendarTicks(range, maxTicks).ticks : NumberTicks(range, maxTicks);
}

std::vector<Tick> LineChart::FitXTicks(IPainter &painter, const Layout &layout, double sample) const {
    const double width = layout.plot.right - layout.plot.left;
    const double perUnit = width / (layout.x.high - layout.x.low);
    // Fewer ticks until the widest label leaves a gap to its closest neighbour
    // (calendar ticks are not evenly spaced).
    for (int count = std::max(2, static_cast<int>(width / (sample * 1.5)));; --count) {
        std::vector<Tick> ticks = XTicks(layout.x, count);
        double widest = 0;
        double closest = width;
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            widest = std::max(widest, painter.GetTextSize(ticks[i].label).cx);
            if (i > 0) closest = std::min(closest, (ticks[i].value - ticks[i - 1].value) * perUnit);
        }
        if (count <= 2 || widest + 2 * kPad <= closest) return ticks;
    }
}

void LineChart::DrawAxes(IPainter &painter, const Layout &layout) {
    const rectangle<double> &plot = layout.plot;
    const Scale toX(layout.x, plot.left, plot.right);
    const Scale toY(layout.y, plot.bottom, plot.top);
    painter.SetTextColor(kInk);
    painter.SetTextAlign(IPainter::TextCentre | IPainter::TextTop);
    for (const Tick &tick : layout.xTicks) {
        const double px = toX(tick.value);
        SetPen(painter, kGrid, 1);
        painter.MoveTo(px, plot.top);
        painter.LineTo(px, plot.bottom + kTick);
        painter.DrawString(px, plot.bottom + kTick + kPad / 2, tick.label, -1);
    }
    painter.SetTextAlign(IPainter::TextRight | IPainter::TextMiddle);
    for (int i = 0; i < layout.yTicks.count; ++i) {
        const double value = layout.yTicks.At(i);
        const double py = toY(value);
        SetPen(painter, kGrid, 1);
        painter.MoveTo(plot.left - kTick, py);
        painter.LineTo(plot.right, py);
        painter.DrawString(plot.left - kTick - kPad / 2, py, NumberLabel(value, layout.yTicks.step), -1);
    }
    SetPen(painter, kFrame, 1);
    painter.SetBrush(quelt::brush(kBackground, quelt::brush::NoFill));
    painter.Rectangle(plot);
}

void LineChart::DrawLegend(IPainter &painter, const rectangle<double> &area) {
    const double line = painter.GetTextSize(u"0"_w).cy;
    const double swatch = std::max(4.0, line - 4);
    double x = area.left;
    const double middle = (area.top + area.bottom) / 2;
    painter.SetTextColor(kInk);
    painter.SetTextAlign(IPainter::TextLeft | IPainter::TextMiddle);
    for (std::size_t i = 0; i < m_series.size() && x < area.right; ++i) {
        Fill(painter, {x, middle - swatch / 2, x + swatch, middle + swatch / 2},
             GetSeriesColor(static_cast<int>(i)));
        x += swatch + kPad;
        painter.DrawString(x, middle, m_series[i], -1);
        x += painter.GetTextSize(m_series[i]).cx + 3 * kPad;
    }
}

void LineChart::DrawLines(IPainter &painter, const Values &values, const rectangle<double> &plot,
                          const AxisRange &x, const AxisRange &y, int width) {
    const Scale toX(x, plot.left, plot.right);
    const Scale toY(y, plot.bottom, plot.top);
    const ClipGuard clip(painter, plot);
    // Vertices go to the device as given: the clip and the visible-range test
    // below keep what is drawn inside, and the plot stays one call per vertex.
    const bool checked = painter.IsCheckOutside();
    painter.CheckOutside(false);
    const std::size_t count = values.x.size();
    // A segment is needed when it crosses the visible x range.
    auto seen = [&](std::size_t a, std::size_t b) {
        return std::min(values.x[a], values.x[b]) <= x.high && std::max(values.x[a], values.x[b]) >= x.low;
    };
    for (std::size_t s = 0; s < values.y.size(); ++s) {
        SetPen(painter, GetSeriesColor(static_cast<int>(s)), width);
        bool open = false;
        for (std::size_t i = 0; i < count; ++i) {
            const bool has = values.Has(s, i);
            const bool prev = has && i > 0 && values.Has(s, i - 1) && seen(i - 1, i);
            const bool next = has && i + 1 < count && values.Has(s, i + 1) && seen(i, i + 1);
            const bool inside = has && values.x[i] >= x.low && values.x[i] <= x.high;
            if (!prev && open) {
                painter.EndPlot();
                open = false;
            }
            if (!(prev || next || inside)) continue;
            if (!open) painter.BeginPlot(IPainter::PlotLineStrip);
            open = true;
            painter.Vertex(toX(values.x[i]), toY(values.y[s][i]));
        }
        if (open) painter.EndPlot();
    }
    painter.CheckOutside(checked);
}

// --- the overview

// The pairing half: keeps what the chart reported and raises the viewport
// the user picks.
class ChartOverview::Link : public quelt::COverview {
  public:
    explicit Link(ChartOverview &owner) : m_owner(owner) { AddEventType(typeid(IOverviewNotify)); }

    void SetViewport(const rectangle<double> &viewport) override {
        m_viewport = viewport;
        m_owner.Invalidate();
        COverviewEvent event(this, viewport);
        Fire<&IOverviewNotify::OnChangeViewport>(&event, true);
    }
    rectangle<double> GetViewport() override { return m_viewport; }
    void OnChangeFullRect(COverviewEvent *event) override {
        m_full = event->GetRect();
        m_owner.Invalidate();
    }
    void OnChangeViewport(COverviewEvent *event) override {
        m_viewport = event->GetRect();
        m_owner.Invalidate();
    }
    const rectangle<double> &Full() const { return m_full; }

  private:
    ChartOverview &m_owner;
    rectangle<double> m_full{0, 0, 1, 1};
    rectangle<double> m_viewport{0, 0, 1, 1};
};

ChartOverview::ChartOverview(quelt::ISysWindow *window)
    : CQueltControl(window, false), m_pLink(std::make_unique<Link>(*this)) {}

// The link goes first: it unlinks the support while this control still stands.
ChartOverview::~ChartOverview() { m_pLink.reset(); }

void ChartOverview::SetSupport(quelt::IOverviewSupport *support) { m_pLink->SetOverview(support); }

quelt::IOverview &ChartOverview::GetOverview() { return *m_pLink; }

rectangle<double> ChartOverview::GetFullRect() const { return m_pLink->Full(); }

rectangle<double> ChartOverview::GetViewport() const { return m_pLink->GetViewport(); }

void ChartOverview::OnDraw(IPainter *painter) {
    const rectangle<double> area = Area(*painter);
    Fill(*painter, area, kBackground);
    const rectangle<double> full = GetFullRect();
    const rectangle<double> viewport = GetViewport();
    const Scale toX({full.left, full.right}, area.left, area.right);
    const rectangle<double> marked{toX(viewport.left), area.top, toX(viewport.right), area.bottom};
    // The parts the chart does not show are shaded.
    Fill(*painter, {area.left, area.top, marked.left, area.bottom}, kGrid);
    Fill(*painter, {marked.right, area.top, area.right, area.bottom}, kGrid);
    if (quelt::IOverviewSupport *support = m_pLink->GetSupport()) support->DrawOverview(painter);
    SetPen(*painter, kFrame, 1);
    painter->SetBrush(quelt::brush(kBackground, quelt::brush::NoFill));
    painter->Rectangle(marked);
    CQueltControl::OnDraw(painter);
}

void ChartOverview::OnButtonDown(quelt::CMouseEvent *event) {
    MoveViewportTo(event->GetX());
    CQueltControl::OnButtonDown(event);
}

void ChartOverview::OnMouseMove(quelt::CMouseEvent *event) {
    if (event->IsPressed(quelt::keystate::LeftButton)) MoveViewportTo(event->GetX());
    CQueltControl::OnMouseMove(event);
}

void ChartOverview::OnWheel(quelt::CMouseWheelEvent *event) {
    const rectangle<double> full = GetFullRect();
    const rectangle<double> viewport = GetViewport();
    // The chart widens a range of too few records itself.
    const AxisRange zoomed = ZoomedRange({viewport.left, viewport.right}, {full.left, full.right},
                                         ValueAt(event->GetX()), WheelFactor(event->GetDelta()), 0);
    m_pLink->SetViewport({zoomed.low, viewport.top, zoomed.high, viewport.bottom});
    CQueltControl::OnWheel(event);
}

double ChartOverview::ValueAt(int x) const {
    const rectangle<double> full = GetFullRect();
    return full.left + (full.right - full.left) * x / std::max(1, GetWidth() - 1);
}

void ChartOverview::MoveViewportTo(int x) {
    const rectangle<double> full = GetFullRect();
    const rectangle<double> viewport = GetViewport();
    const double width = std::min(viewport.right - viewport.left, full.right - full.left);
    const double at = ValueAt(x);
    const double left = std::clamp(at - width / 2, full.left, full.right - width);
    m_pLink->SetViewport({left, viewport.top, left + width, viewport.bottom});
}

}  // namespace report
