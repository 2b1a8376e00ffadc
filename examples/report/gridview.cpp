#include "gridview.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace report {

using namespace quelt;

namespace {

// Records measured for the column widths: enough to see the usual widths
// of a column without reading every record of a large data set.
constexpr int kMeasuredRecords = 400;
// Space around a cell's text, in millimetres.
constexpr double kCellPaddingMM = 1.6;
// The printed page: margins, and a row as high as the font's size times this.
constexpr double kPageMarginMM = 15;
constexpr double kPrintRowFactor = 1.6;
constexpr double kMMPerPoint = 25.4 / 72;
constexpr double kPrintSlack = 1.15;
// Pixels around the text of a row on screen.
constexpr int kScreenRowPadding = 6;

const _color kText(0, 0, 0, 255);

// The device's pixels per millimetre, from its own metrics.
double PixelsPerMM(IPainter *painter) {
    const int pixels = painter->GetMetrics(ICanvas::WidthPixels);
    const int millimetres = painter->GetMetrics(ICanvas::WidthMillimetres);
    return pixels > 0 && millimetres > 0 ? static_cast<double>(pixels) / millimetres : 96 / 25.4;
}

bool IsNumericType(IField::Types type) {
    return type != IField::String && type != IField::BLOB && type != IField::DateTime;
}

}  // namespace

void GridView::DataListener::OnUnsubscribe(IEventSender *sender) {
    CDataSetNotify::OnUnsubscribe(sender);
    m_grid.DataGone();
}

GridView::GridView(ISysWindow *window, IDataSet &data)
    : CQueltControl(window, false), m_data(&data), m_font(u"Sans"_w, font::DefaultFamily, 9, 0, 0) {
    m_data->Subscribe(m_listener.AsNotify(), typeid(IDataSetNotify), true);
    SetScrollbarCondition(ISysWindow::ScrollVertOnly);
    UpdateScrollBar();
}

GridView::~GridView() {
    if (m_data) m_data->Unsubscribe(m_listener.AsNotify(), typeid(IDataSetNotify), false);
}

void GridView::SetCellText(CellTextFunction text) {
    const std::lock_guard<std::recursive_mutex> lock(m_drawing);
    m_cellText = std::move(text);
    m_widthsMM.clear();
    Invalidate();
}

void GridView::SetCopyHandler(std::function<void(const wstring &)> handler) { m_onCopy = std::move(handler); }

void GridView::SetFont(const font &f) {
    const std::lock_guard<std::recursive_mutex> lock(m_drawing);
    m_font = f;
    m_widthsMM.clear();
    UpdateScrollBar();
    Invalidate();
}

// --- the data -------------------------------------------------------------------

int GridView::RecordCount() const { return m_data ? static_cast<int>(m_data->GetRecordCount()) : 0; }

// The "#" column, then the fields.
int GridView::ColumnCount() const { return m_data ? static_cast<int>(m_data->GetFieldCount()) + 1 : 0; }

void GridView::DataChanged(bool columns) {
    const std::lock_guard<std::recursive_mutex> lock(m_drawing);
    // Positions shift under inserts and deletes: the cursor starts afresh.
    m_cursor = IDataSet::Cursor();
    if (columns) m_widthsMM.clear();
    m_column = std::min(m_column, std::max(0, ColumnCount() - 1));
    ShowCurrent();
    Invalidate();
}

void GridView::DataGone() {
    const std::lock_guard<std::recursive_mutex> lock(m_drawing);
    m_cursor = IDataSet::Cursor();
    m_data = nullptr;
    m_widthsMM.clear();
    m_current = m_top = m_column = 0;
    Invalidate();
}

IField &GridView::Field(int record, int column) {
    if (!m_cursor.icursor()) {
        m_cursor = m_data->CreateCursor();
        m_cursorRecord = 0;
    }
    m_cursor += record - m_cursorRecord;
    m_cursorRecord = record;
    return m_cursor[column - 1];
}

wstring GridView::CellText(int record, int column) {
    const std::lock_guard<std::recursive_mutex> lock(m_drawing);
    if (record < 0 || record >= RecordCount() || column < 0 || column >= ColumnCount()) return wstring();
    if (column == 0) return Utf8ToWide(std::to_string(record));
    IField &field = Field(record, column);
    return m_cellText ? m_cellText(field, column - 1) : static_cast<wstring>(field);
}

wstring GridView::HeaderText(int column) const {
    return column == 0 ? u"#"_w : m_data->GetFieldName(column - 1);
}

bool GridView::IsNumeric(int column) const {
    return column == 0 || IsNumericType(m_data->GetField(column - 1)->GetType());
}

// --- layout ---------------------------------------------------------------------

void GridView::Measure(IPainter *painter) {
    if (!m_widthsMM.empty() || !m_data) return;
    painter->SetFont(m_font);
    const double perMM = PixelsPerMM(painter);
    const int records = RecordCount();
    const int step = std::max(1, records / kMeasuredRecords);
    for (int column = 0; column < ColumnCount(); ++column) {
        double widest = painter->GetTextSize(HeaderText(column)).cx;
        for (int record = 0; record < records; record += step)
            widest = std::max(widest, painter->GetTextSize(CellText(record, column)).cx);
        m_widthsMM.push_back(widest / perMM + 2 * kCellPaddingMM);
    }
}

GridView::Metrics GridView::ScreenMetrics(IPainter *painter) {
    Measure(painter);
    painter->SetFont(m_font);
    Metrics m{
        PixelsPerMM(painter), static_cast<int>(painter->GetTextSize(u"Ag"_w).cy) + kScreenRowPadding, {}};
    if (m.rowHeight != m_rowHeight) {
        m_rowHeight = m.rowHeight;
        UpdateScrollBar();
    }
    for (double mm : m_widthsMM) m.widths.push_back(static_cast<int>(std::ceil(mm * m.pixelsPerMM)));
    // The columns and the line closing the last one.
    m_contentWidth = 1;
    for (int width : m.widths) m_contentWidth += width;
    return m;
}

// Columns widened a little where the page has room, since a device may set
// text a little wider than the one that measured it, and squeezed in
// proportion when they are wider than the page.
GridView::Metrics GridView::PrintMetrics(IPainter *painter, int available) {
    Measure(painter);
    Metrics m{PixelsPerMM(painter), 0, {}};
    m.rowHeight = static_cast<int>(m_font.GetPointSize() * kMMPerPoint * kPrintRowFactor * m.pixelsPerMM);
    double total = 0;
    for (double mm : m_widthsMM) total += mm * m.pixelsPerMM;
    const double scale = total > 0 ? std::min(available / total, kPrintSlack) : 1.0;
    for (double mm : m_widthsMM) m.widths.push_back(static_cast<int>(mm * m.pixelsPerMM * scale));
    return m;
}

// The screen row height needs a painter; the font's size at 96 dots an inch
// stands in for it until the first drawing.
int GridView::RowPixels() const {
    return m_rowHeight > 0 ? m_rowHeight
                           : static_cast<int>(m_font.GetPointSize() * 96.0 / 72 * 1.25) + kScreenRowPadding;
}

int GridView::GetVisibleRows() const { return std::max(1, (GetHeight() - RowPixels()) / RowPixels()); }

void GridView::UpdateScrollBar() {
    ISysWindow *window = GetSysWindow();
    if (!window) return;
    ScrollInfo info(0, RecordCount(), 1, GetVisibleRows(), 0);
    info.pos = m_top;
    window->SetScrollInfo(ISysWindow::VertScroll, info);
}

void GridView::ScrollTo(int top) {
    top = std::clamp(top, 0, std::max(0, RecordCount() - GetVisibleRows()));
    if (top == m_top) return;
    m_top = top;
    if (ISysWindow *window = GetSysWindow()) window->SetScrollVal(ISysWindow::VertScroll, m_top);
    Invalidate();
}

void GridView::ShowCurrent() {
    m_current = std::clamp(m_current, 0, std::max(0, RecordCount() - 1));
    m_top = std::clamp(m_top, 0, std::max(0, RecordCount() - GetVisibleRows()));
    UpdateScrollBar();
    if (m_current < m_top) ScrollTo(m_current);
    if (m_current >= m_top + GetVisibleRows()) ScrollTo(m_current - GetVisibleRows() + 1);
}

void GridView::SetCurrentRecord(int record) {
    m_current = record;
    ShowCurrent();
    Invalidate();
}

void GridView::SetCurrentColumn(int column) {
    m_column = std::clamp(column, 0, std::max(0, ColumnCount() - 1));
    Invalidate();
}

// --- drawing --------------------------------------------------------------------

void GridView::DrawCell(IPainter *painter, const rectangle<double> &r, const wstring &text, bool right) {
    const double pad = kCellPaddingMM * PixelsPerMM(painter);
    const rectangle<double> inner(r.left + pad, r.top, r.right - pad, r.bottom);
    if (inner.right <= inner.left) return;
    painter->DrawString(inner, text,
                        (right ? IPainter::TextRight : IPainter::TextLeft) | IPainter::TextMiddle |
                            IPainter::TextSingleLine | IPainter::TextEllipsis,
                        -1);
}

void GridView::DrawHeader(IPainter *painter, const Metrics &m, int x, int y) {
    const int bottom = y + m.rowHeight - 1;
    int right = x;
    for (int width : m.widths) right += width;
    painter->SetPen(pen(painter->GetColor(RoleShadow), 1, pen::Solid));
    painter->SetBrush(brush(painter->GetColor(RoleFace), brush::Solid));
    painter->Rectangle(x, y, right, bottom + 1);
    painter->SetTextColor(kText);
    for (int column = 0; column < ColumnCount(); ++column) {
        DrawCell(painter, rectangle<double>(x, y, x + m.widths[column], bottom), HeaderText(column),
                 IsNumeric(column));
        x += m.widths[column];
        painter->MoveTo(x, y);
        painter->LineTo(x, bottom);
    }
}

void GridView::DrawRow(IPainter *painter, const Metrics &m, int x, int y, int record, bool current) {
    const int bottom = y + m.rowHeight - 1;
    int right = x;
    for (int width : m.widths) right += width;
    const int shade = current ? RoleDarkShadow : record % 2 == 0 ? RoleLight : RoleHighlight;
    painter->SetPen(pen(painter->GetColor(shade), 1, pen::Solid));
    painter->SetBrush(brush(painter->GetColor(shade), brush::Solid));
    painter->FillRect(x, y, right, bottom + 1);
    painter->SetTextColor(current ? painter->GetColor(RoleLight) : kText);
    painter->SetPen(pen(painter->GetColor(RoleShadow), 1, pen::Solid));
    for (int column = 0; column < ColumnCount(); ++column) {
        const rectangle<double> cell(x, y, x + m.widths[column], bottom);
        DrawCell(painter, cell, CellText(record, column), IsNumeric(column));
        if (current && column == m_column) {
            painter->SetBrush(brush(kText, brush::NoFill));
            painter->SetPen(pen(painter->GetColor(RoleLight), 1, pen::Solid));
            painter->Rectangle(cell.left + 1, cell.top + 1, cell.right - 1, cell.bottom);
            painter->SetPen(pen(painter->GetColor(RoleShadow), 1, pen::Solid));
        }
        x += m.widths[column];
        painter->MoveTo(x, y);
        painter->LineTo(x, bottom + 1);
    }
}

void GridView::OnDraw(IPainter *painter) {
    const std::lock_guard<std::recursive_mutex> lock(m_drawing);
    const int width = GetWidth();
    const int height = GetHeight();
    painter->SetPen(pen(painter->GetColor(RoleLight), 1, pen::Solid));
    painter->SetBrush(brush(painter->GetColor(RoleLight), brush::Solid));
    painter->FillRect(0, 0, width, height);
    if (m_data) {
        const Metrics m = ScreenMetrics(painter);
        DrawHeader(painter, m, 0, 0);
        int y = m.rowHeight;
        for (int record = m_top; record < RecordCount() && y < height; ++record, y += m.rowHeight)
            DrawRow(painter, m, 0, y, record, record == m_current);
    }
    CQueltControl::OnDraw(painter);
}

// --- input ----------------------------------------------------------------------

void GridView::OnResize(CWindowEvent *event) {
    CQueltControl::OnResize(event);
    // A device may set text a pixel wider or narrower at another size: measure again.
    {
        const std::lock_guard<std::recursive_mutex> lock(m_drawing);
        m_widthsMM.clear();
    }
    ShowCurrent();
    Invalidate();
}

void GridView::OnVertScroll(CScrollEvent *event) {
    CQueltControl::OnVertScroll(event);
    // The window reports the new first record, whatever the action.
    const double top = event->GetVal();
    if (!std::isfinite(top)) return;
    m_top = std::clamp(static_cast<int>(std::lround(std::clamp(top, -1e9, 1e9))), 0,
                       std::max(0, RecordCount() - GetVisibleRows()));
    Invalidate();
}

void GridView::OnWheel(CMouseWheelEvent *event) {
    CQueltControl::OnWheel(event);
    // Three records a notch, away from the user scrolling up.
    ScrollTo(m_top - event->GetDelta() / 40);
}

void GridView::OnClick(CMouseEvent *event) {
    CQueltControl::OnClick(event);
    if (event->GetY() < RowPixels()) return;
    SetCurrentRecord(m_top + event->GetY() / RowPixels() - 1);
}

void GridView::OnKeyDown(CKeyboardEvent *event) {
    CQueltControl::OnKeyDown(event);
    if (IsCopyToClipboard(event)) {
        if (m_onCopy) m_onCopy(CellText(m_current, m_column));
        return;
    }
    const int page = GetVisibleRows();
    switch (event->GetVirtualKey()) {
        case vk::Up:
            return SetCurrentRecord(m_current - 1);
        case vk::Down:
            return SetCurrentRecord(m_current + 1);
        case vk::PageUp:
            return SetCurrentRecord(m_current - page);
        case vk::PageDown:
            return SetCurrentRecord(m_current + page);
        case vk::Home:
            return SetCurrentRecord(0);
        case vk::End:
            return SetCurrentRecord(RecordCount() - 1);
        case vk::Left:
            return SetCurrentColumn(m_column - 1);
        case vk::Right:
            return SetCurrentColumn(m_column + 1);
        default:
            return;
    }
}

// --- printing -------------------------------------------------------------------

// The paper less the margins holds the header, the rows and the page number line.
int GridView::GetRowsPerPage(IPrinter *printer) const {
    const double paperMM = printer ? printer->GetCanvasMetrics(ICanvas::HeightMillimetres) : 0;
    const double rowMM = m_font.GetPointSize() * kMMPerPoint * kPrintRowFactor;
    const int rows = static_cast<int>((paperMM - 2 * kPageMarginMM) / rowMM) - 2;
    return std::max(1, rows);
}

int GridView::GetTotalPages(IPrinter *printer) const {
    const int perPage = GetRowsPerPage(printer);
    return std::max(1, (RecordCount() + perPage - 1) / perPage);
}

int GridView::GetPageCount(IPrinter *printer) const {
    const int pages = GetTotalPages(printer);
    return m_maxPrintPages > 0 ? std::min(pages, m_maxPrintPages) : pages;
}

void GridView::OnPrintPage(IPainter *painter, IPrinter *printer, int page) {
    const std::lock_guard<std::recursive_mutex> lock(m_drawing);
    const double perMM = PixelsPerMM(painter);
    const int margin = static_cast<int>(kPageMarginMM * perMM);
    const int paperWidth = static_cast<int>(printer->GetCanvasMetrics(ICanvas::WidthMillimetres) * perMM);
    if (!m_data) return;
    painter->SetFont(m_font);
    const Metrics m = PrintMetrics(painter, paperWidth - 2 * margin);
    DrawHeader(painter, m, margin, margin);
    const int perPage = GetRowsPerPage(printer);
    const int first = page * perPage;
    const int last = std::min(RecordCount(), first + perPage);
    int y = margin + m.rowHeight;
    for (int record = first; record < last; ++record, y += m.rowHeight)
        DrawRow(painter, m, margin, y, record, false);
    const int pages = GetTotalPages(printer);
    const wstring number = Utf8ToWide("Page " + std::to_string(page + 1) + " of " + std::to_string(pages));
    const int footer = margin + (perPage + 1) * m.rowHeight;
    painter->SetTextColor(kText);
    painter->DrawString(rectangle<double>(margin, footer, paperWidth - margin, footer + m.rowHeight), number,
                        IPainter::TextCentre | IPainter::TextMiddle | IPainter::TextSingleLine, -1);
}

}  // namespace report
