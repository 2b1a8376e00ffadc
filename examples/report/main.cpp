// quelt-report: a CSV file in a memory data set, shown as a grid beside a
// line chart in one window, saved as PNG, printed to PDF and previewed page
// by page, each step timed. Headless, on the Cairo platform.

#include <algorithm>
#include <clocale>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>

#include <quelt/cairo/printer.h>
#include <quelt/cairo/system.h>
#include <quelt/cairo/window.h>
#include <quelt/quelt.h>

#include "gridview.h"
#include "options.h"
#include "preview.h"
#include "steps.h"
#include "stopwatch.h"
#include "table.h"
#include "values.h"
#include "view.h"

namespace {

using namespace quelt;
using namespace report;
using table::Report;
using table::Stopwatch;

// The grid takes this share of the window's width, the chart the rest.
constexpr double kGridShare = 0.45;
// The preview window: portrait, so that one A4 page fills its width.
constexpr int kPreviewWidth = 520;
constexpr int kPreviewHeight = 720;

std::string Rows(const table::Table &table) { return std::to_string(table.RowCount()) + " rows"; }

// The installed system and its printer, for the program's lifetime.
class Platform {
  public:
    Platform() : m_system(new cairo::CairoSystem(96)) {
        SetCurrentSystem(m_system);
        m_system->SetPrinter(&m_printer);
    }
    ~Platform() {
        m_system->SetPrinter(nullptr);
        SetCurrentSystem(nullptr);
    }
    Platform(const Platform &) = delete;
    Platform &operator=(const Platform &) = delete;

    cairo::CairoSystem &System() { return *m_system; }
    cairo::CairoPdfPrinter &Printer() { return m_printer; }

  private:
    cairo::CairoSystem *m_system;
    cairo::CairoPdfPrinter m_printer;
};

bool IsNumber(IField::Types type) {
    return type == IField::Short || type == IField::Int || type == IField::Int64 || type == IField::Float ||
           type == IField::Double;
}

// The chart needs numbers up the side and numbers or dates along the bottom.
void CheckChartColumns(const Options &options, table::Table &table) {
    const IField::Types x = table.TypeOf(table.Column(options.x));
    if (!IsNumber(x) && x != IField::DateTime) {
        throw std::runtime_error("--x: column '" + options.x + "' is " + table::TypeName(x) +
                                 ", not a number or a date");
    }
    for (const std::string &y : options.y) {
        const IField::Types type = table.TypeOf(table.Column(y));
        if (!IsNumber(type))
            throw std::runtime_error("--y: column '" + y + "' is " + table::TypeName(type) +
                                     ", not a number");
    }
}

void Read(const Options &options, table::Table &table) {
    const Stopwatch watch;
    const std::size_t padded = table::LoadCsv(options.input, false, table);
    Report("read", watch, options.input + ": " + Rows(table));
    if (padded > 0) {
        std::cout.flush();
        std::cerr << "quelt-report: warning: " << padded << (padded == 1 ? " row" : " rows")
                  << " had fewer fields than the header and got empty cells\n";
    }
}

std::string Describe(const std::vector<table::SortKey> &keys) {
    std::string text;
    for (const table::SortKey &key : keys)
        text += (text.empty() ? "" : ", ") + key.column + (key.descending ? " desc" : "");
    return text;
}

// Sorts by the keys of the run and returns the found row (0 without --find).
unsigned SortAndFind(const Options &options, table::Table &table) {
    const std::vector<table::SortKey> keys = table::SortKeysFor(options.sort, options.find);
    table::PrepareSort(table, keys);
    std::optional<table::Search> search;
    if (options.find) search.emplace(table, *options.find, keys.front());
    if (!keys.empty()) {
        const Stopwatch watch;
        table.Data().Sort();
        Report("sort", watch, Describe(keys));
    }
    if (!search) return 0;
    const Stopwatch watch;
    const table::Found found = search->Run();
    const std::string where = found.exact ? "row " : "no match, nearest row ";
    Report("find", watch,
           options.find->column + "=" + options.find->value + ": " + where + std::to_string(found.row));
    return found.row;
}

// Empty cells show empty, dates under their --format pattern.
GridView::CellTextFunction CellTexts(const table::DatePatterns &patterns) {
    return [patterns](IField &field, int index) -> wstring {
        switch (field.GetType()) {
            case IField::Int:
                if (table::IsEmpty(static_cast<int>(field))) return wstring();
                break;
            case IField::Double:
                if (table::IsEmpty(static_cast<double>(field))) return wstring();
                break;
            case IField::DateTime: {
                const tdatetime date = field;
                if (table::IsEmpty(date)) return wstring();
                if (!patterns[index].empty()) return Utf8ToWide(table::DateText(date, patterns[index]));
                break;
            }
            default:
                break;
        }
        return static_cast<wstring>(field);
    };
}

// What --dump-rows asks for: the header and count rows from the current record.
void DumpRows(GridView &grid, table::Table &table, int count) {
    std::cout << "#";
    for (const std::string &name : table.Names()) std::cout << '\t' << name;
    std::cout << '\n';
    const int columns = static_cast<int>(table.Names().size()) + 1;
    const int last = std::min(static_cast<int>(table.RowCount()), grid.GetCurrentRecord() + count);
    for (int record = grid.GetCurrentRecord(); record < last; ++record) {
        for (int column = 0; column < columns; ++column)
            std::cout << (column == 0 ? "" : "\t") << WideToUtf8(grid.CellText(record, column));
        std::cout << '\n';
    }
}

std::vector<wstring> Wide(const std::vector<std::string> &names) {
    std::vector<wstring> wide;
    for (const std::string &name : names) wide.push_back(Utf8ToWide(name));
    return wide;
}

// The x value of a record as the chart places it: a number, or a day number.
double XValue(table::Table &table, int column, unsigned record) {
    switch (table.TypeOf(column)) {
        case IField::DateTime:
            return ColumnView<tdatetime>(table.Data(), column)[record].GetDateTime();
        case IField::Int:
            return ColumnView<int>(table.Data(), column)[record];
        default:
            return ColumnView<double>(table.Data(), column)[record];
    }
}

// The chart shows the x range of span records from first (fewer at the end).
void ShowSpan(LineChart &chart, table::Table &table, const std::string &x, unsigned first, int span) {
    const int column = table.Column(x);
    const unsigned last = std::min(table.RowCount(), first + static_cast<unsigned>(span));
    if (first >= last) return;
    double low = XValue(table, column, first), high = low;
    for (unsigned record = first + 1; record < last; ++record) {
        const double value = XValue(table, column, record);
        low = std::min(low, value);
        high = std::max(high, value);
    }
    chart.SetVisibleRange(low, high);
}

std::string Path(const Options &options, const std::string &name) {
    return (std::filesystem::path(options.out) / name).string();
}

void Save(cairo::CairoWindow &window, const std::string &path) {
    if (!window.SavePng(path.c_str())) throw std::runtime_error("cannot write '" + path + "'");
}

void SaveView(const Options &options, ReportView &view) {
    const Stopwatch watch;
    view.Paint();
    view.FitGrid();
    view.Paint();
    Save(view.Window(), Path(options, "view.png"));
    Save(view.ChartWindow(), Path(options, "chart.png"));
    Report("view", watch,
           Path(options, "view.png") + ", " + std::to_string(options.width) + " x " +
               std::to_string(options.height) + "; " + Path(options, "chart.png"));
}

void PrintGrid(const Options &options, Platform &platform, GridView &grid) {
    const Stopwatch watch;
    const std::string path = Path(options, "report.pdf");
    platform.Printer().SetOutputPath(path);
    platform.Printer().SetDocName(Utf8ToWide(std::filesystem::path(options.input).filename().string()));
    grid.Print();
    platform.Printer().SetOutputPath(std::string());
    if (!std::filesystem::exists(path)) throw std::runtime_error("cannot write '" + path + "'");
    const int pages = grid.GetPageCount(&platform.Printer());
    const int total = grid.GetTotalPages(&platform.Printer());
    Report("print", watch,
           path + ", " + std::to_string(pages) + (pages == 1 ? " page" : " pages") +
               (pages < total ? " of " + std::to_string(total) : ""));
}

// Drags the preview's scroll bar so that page is at the top, as a user
// would; in a window narrower than two pages the preview lays the pages out
// one a row, gap + pages x (page height + gap) high.
void ShowPreviewPage(cairo::CairoWindow &window, CQueltPreview &preview, int page) {
    ScrollInfo info;
    window.GetScrollInfo(ISysWindow::VertScroll, info);
    const double row = (info.max - info.min - preview.GetGap()) / preview.GetPageCount();
    window.VertBar().Drag(static_cast<int>(page * row), true);
}

void SavePreview(const Options &options, Platform &platform, GridView &grid) {
    const Stopwatch watch;
    cairo::CairoWindow window(kPreviewWidth, kPreviewHeight);
    CQueltPreview preview(&window);
    preview.SetBackgroundColor(GetDefaultPalette()->GetColor(RoleShadow));
    const int pages = PreparePreview(platform.System(), preview, grid);
    preview.SetPageView(IPrintPreview::WholePage);
    for (int page = 0; page < pages; ++page) {
        ShowPreviewPage(window, preview, page);
        preview.SetPage(page);
        Save(window, Path(options, "preview-" + std::to_string(page + 1) + ".png"));
    }
    Report(
        "preview", watch,
        Path(options, "preview-1.png") + (pages > 1 ? " ... preview-" + std::to_string(pages) + ".png" : ""));
}

void Run(const Options &options) {
    Platform platform;
    table::Table table;
    Read(options, table);
    CheckChartColumns(options, table);
    const table::DatePatterns patterns = table::ApplyFormats(table, options.formats);
    const unsigned found = SortAndFind(options, table);
    std::filesystem::create_directories(options.out);
    ReportView view(table.Data(), options.width, options.height, kGridShare, Utf8ToWide(options.x),
                    Wide(options.y));
    view.Grid().SetCellText(CellTexts(patterns));
    view.Grid().SetMaxPrintPages(options.pages);
    view.Grid().SetCurrentRecord(static_cast<int>(found));
    // A few records of context above the found one.
    view.Grid().SetTopRecord(static_cast<int>(found) - 3);
    if (options.span > 0) ShowSpan(view.Chart(), table, options.x, found, options.span);
    if (options.dumpRows > 0) DumpRows(view.Grid(), table, options.dumpRows);
    SaveView(options, view);
    PrintGrid(options, platform, view.Grid());
    SavePreview(options, platform, view.Grid());
}

}  // namespace

int main(int argc, char **argv) {
    // Number and date text in the data set follow the C locale.
    std::setlocale(LC_ALL, "C");
    try {
        const report::Options options = report::ParseOptions(argc, argv);
        if (options.help) {
            std::cout << report::kUsage;
            return 0;
        }
        Run(options);
        return 0;
    } catch (const std::exception &error) {
        std::cout.flush();
        std::cerr << "quelt-report: " << error.what() << '\n';
        return 1;
    }
}
