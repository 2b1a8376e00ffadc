#pragma once

// GridView: a data set shown as rows and columns, a control built on
// CQueltControl with the library's public API only. Copy it as the start of
// your own grid.
//
// - A header row names the columns; a "#" column numbers the records.
// - Column widths come from the text extents of the header and of records
//   sampled evenly through the data set; cells that still do not fit end in "...".
// - Cells show the field's own text, so a field's display format applies.
// - Rows alternate between two palette shades; the current record is drawn
//   inverted, the current cell framed.
// - The window's vertical scroll bar scrolls by records; the arrow, page and
//   Home/End keys move the current record, left and right the current column,
//   and the clipboard's copy keys hand the current cell's text to the host.
// - The grid listens to its data set and redraws on every change.
// - Print() prints it page by page: each page repeats the header and ends in
//   "Page i of n"; how many rows fit follows from the printer's paper height.

#include <algorithm>
#include <functional>
#include <mutex>
#include <vector>

#include <quelt/quelt.h>

namespace report {

class GridView : public quelt::CQueltControl {
  public:
    // The data set must outlive the grid or tell it it is going (as a data
    // set does when it is destroyed).
    GridView(quelt::ISysWindow *window, quelt::IDataSet &data);
    ~GridView() override;

    // The text of a cell (fieldIndex counts the data set's fields); by default
    // the field's own, under its display format.
    using CellTextFunction = std::function<quelt::wstring(quelt::IField &field, int fieldIndex)>;
    void SetCellText(CellTextFunction text);
    // Receives the current cell's text on the copy keys (the platform layer
    // has no clipboard of its own).
    void SetCopyHandler(std::function<void(const quelt::wstring &text)> handler);
    void SetFont(const quelt::font &f);

    // The current record, kept inside the data set and scrolled into view.
    void SetCurrentRecord(int record);
    int GetCurrentRecord() const { return m_current; }
    void SetCurrentColumn(int column);
    int GetCurrentColumn() const { return m_column; }
    // The first record shown; the grid scrolls no further than its last page.
    void SetTopRecord(int record) { ScrollTo(record); }
    int GetTopRecord() const { return m_top; }
    // The columns' width in pixels as last drawn on screen; 0 before the first drawing.
    int GetContentWidth() const { return m_contentWidth; }
    // Records that fit below the header in the window.
    int GetVisibleRows() const;
    // What the grid draws in a cell; the empty text when there is no such cell.
    quelt::wstring CellText(int record, int column);
    // Rows per printed page on printer's paper.
    int GetRowsPerPage(quelt::IPrinter *printer) const;
    // Prints no more than the first pages pages (0, the default: every page);
    // the page numbers still count all of them.
    void SetMaxPrintPages(int pages) { m_maxPrintPages = std::max(0, pages); }
    // Every page the records fill on printer's paper.
    int GetTotalPages(quelt::IPrinter *printer) const;

    // --- control
    void OnDraw(quelt::IPainter *painter) override;
    void OnResize(quelt::CWindowEvent *event) override;
    void OnVertScroll(quelt::CScrollEvent *event) override;
    void OnWheel(quelt::CMouseWheelEvent *event) override;
    void OnKeyDown(quelt::CKeyboardEvent *event) override;
    void OnClick(quelt::CMouseEvent *event) override;

    // --- printing, page by page
    bool IsPrintSupport(bool byPage) override { return byPage; }
    int GetPageCount(quelt::IPrinter *printer) const override;
    void OnPrintPage(quelt::IPainter *painter, quelt::IPrinter *printer, int page) override;

  private:
    // Hears the data set; a member, so its subscription bookkeeping stays
    // apart from the control's own receivers.
    class DataListener : public quelt::CDataSetNotify {
      public:
        explicit DataListener(GridView &grid) : m_grid(grid) {}
        void OnInsertRow(quelt::CDataSetEvent *) override { m_grid.DataChanged(false); }
        void OnAddRow(quelt::CDataSetEvent *) override { m_grid.DataChanged(false); }
        void OnDelRow(quelt::CDataSetEvent *) override { m_grid.DataChanged(false); }
        void OnUpdateGeneral(quelt::CDataSetEvent *) override { m_grid.DataChanged(false); }
        void OnUpdateField(quelt::CDataSetEvent *) override { m_grid.DataChanged(false); }
        void OnInsertColumn(quelt::CDataSetEvent *) override { m_grid.DataChanged(true); }
        void OnAddColumn(quelt::CDataSetEvent *) override { m_grid.DataChanged(true); }
        void OnDelColumn(quelt::CDataSetEvent *) override { m_grid.DataChanged(true); }
        void OnSetFormat(quelt::CSetFormatEvent *) override { m_grid.DataChanged(true); }
        void OnUnsubscribe(quelt::IEventSender *sender) override;

      private:
        GridView &m_grid;
    };

    // One layout in a device's pixels.
    struct Metrics {
        double pixelsPerMM;
        int rowHeight;
        std::vector<int> widths;
    };

    int RecordCount() const;
    int ColumnCount() const;
    void DataChanged(bool columns);
    void DataGone();
    // Moves the grid's cursor onto record.
    quelt::IField &Field(int record, int column);
    quelt::wstring HeaderText(int column) const;
    bool IsNumeric(int column) const;
    // Column widths in millimetres, measured once with painter.
    void Measure(quelt::IPainter *painter);
    Metrics ScreenMetrics(quelt::IPainter *painter);
    Metrics PrintMetrics(quelt::IPainter *painter, int available);
    int RowPixels() const;
    void UpdateScrollBar();
    void ScrollTo(int top);
    // Keeps the current record inside the data set and on screen.
    void ShowCurrent();

    void DrawHeader(quelt::IPainter *painter, const Metrics &m, int x, int y);
    void DrawRow(quelt::IPainter *painter, const Metrics &m, int x, int y, int record, bool current);
    void DrawCell(quelt::IPainter *painter, const quelt::rectangle<double> &r, const quelt::wstring &text,
                  bool right);

    // A print preview may record pages on a worker thread while the screen
    // repaints: drawing, printing and every change to what both read (the
    // shared cursor, the measured widths) take turns under this lock.
    mutable std::recursive_mutex m_drawing;
    quelt::IDataSet *m_data;
    quelt::IDataSet::Cursor m_cursor;
    int m_cursorRecord = 0;
    DataListener m_listener{*this};
    CellTextFunction m_cellText;
    std::function<void(const quelt::wstring &)> m_onCopy;
    quelt::font m_font;
    // Per column ("#" first), in millimetres; empty until measured.
    std::vector<double> m_widthsMM;
    // The screen row height in pixels, 0 until the first drawing measures it.
    int m_rowHeight = 0;
    int m_contentWidth = 0;
    int m_maxPrintPages = 0;
    int m_current = 0;
    int m_column = 0;
    int m_top = 0;
};

}  // namespace report
