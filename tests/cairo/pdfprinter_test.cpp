#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "golden.h"
#include "quelt/cairo/painter.h"
#include "quelt/cairo/printer.h"
#include "quelt/cairo/system.h"
#include "quelt/visual/control.h"

using namespace quelt;
using namespace quelt::cairo;
using namespace quelt::cairo::test;

namespace fs = std::filesystem;

namespace {

constexpr double kPointsPerMM = 72.0 / 25.4;

// --- reading the file back: the page tree's pages and their paper ----------------------

struct PageBox {
    double width = 0;
    double height = 0;
};

class PdfPages {
  public:
    explicit PdfPages(const fs::path &path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        m_text = text.str();
        IndexObjects();
        const std::string catalog = Find("/Type /Catalog");
        const std::string root = m_objects[Ref(catalog, "/Pages")];
        Collect(root, {}, 0);
    }
    const std::vector<PageBox> &Pages() const { return m_pages; }
    // The /Count of the root of the page tree.
    int Count() const { return m_count; }

  private:
    void IndexObjects() {
        for (std::size_t at = m_text.find(" 0 obj"); at != std::string::npos;
             at = m_text.find(" 0 obj", at + 1)) {
            std::size_t start = at;
            while (start > 0 && std::isdigit(static_cast<unsigned char>(m_text[start - 1]))) --start;
            if (start == at) continue;
            const std::size_t end = m_text.find("endobj", at);
            m_objects[std::stoi(m_text.substr(start, at - start))] = m_text.substr(at, end - at);
        }
    }
    std::string Find(const std::string &marker) const {
        for (const auto &[number, body] : m_objects)
            if (body.find(marker) != std::string::npos) return body;
        return {};
    }
    // The object number of "key N 0 R" in body; -1 when absent.
    static int Ref(const std::string &body, const std::string &key) {
        const std::size_t at = body.find(key + " ");
        return at == std::string::npos ? -1 : std::atoi(body.c_str() + at + key.size() + 1);
    }
    static bool Box(const std::string &body, PageBox &box) {
        const std::size_t at = body.find("/MediaBox");
        if (at == std::string::npos) return false;
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        std::istringstream values(body.substr(body.find('[', at) + 1));
        values >> x0 >> y0 >> x1 >> y1;
        box = {x1 - x0, y1 - y0};
        return true;
    }
    // Pages inherit their paper from the nodes above them.
    void Collect(const std::string &node, PageBox inherited, int depth) {
        Box(node, inherited);
        if (node.find("/Type /Pages") == std::string::npos) {
            m_pages.push_back(inherited);
            return;
        }
        if (depth == 0) m_count = Ref(node, "/Count");
        const std::size_t kids = node.find("/Kids");
        if (kids == std::string::npos || depth > 8) return;
        std::istringstream refs(
            node.substr(node.find('[', kids) + 1, node.find(']', kids) - node.find('[', kids) - 1));
        int number = 0, generation = 0;
        std::string r;
        while (refs >> number >> generation >> r) Collect(m_objects[number], inherited, depth + 1);
    }

    std::string m_text;
    std::map<int, std::string> m_objects;
    std::vector<PageBox> m_pages;
    int m_count = -1;
};

// --- a control of three pages ---------------------------------------------------------------

// Each page: a frame along the margins, its number in squares down the left,
// a filled disc whose place moves with the page and a heading.
class ThreePages : public CQueltControl {
  public:
    ThreePages() : CQueltControl(nullptr, false) {}
    bool IsPrintSupport(bool byPage) override { return byPage; }
    int GetPageCount(IPrinter *) const override { return 3; }
    void OnPrintPage(IPainter *painter, IPrinter *printer, int page) override {
        printed.push_back(page);
        const double perMM = printer->GetCanvasMetrics(ICanvas::WidthPixels) /
                             static_cast<double>(printer->GetCanvasMetrics(ICanvas::WidthMillimetres));
        const size<int> leftTop = printer->GetMargins(false);
        const size<int> rightBottom = printer->GetMargins(true);
        const double right = printer->GetCanvasMetrics(ICanvas::WidthPixels) - 1 - rightBottom.cx * perMM;
        const double bottom = printer->GetCanvasMetrics(ICanvas::HeightPixels) - 1 - rightBottom.cy * perMM;
        const double left = leftTop.cx * perMM;
        const double top = leftTop.cy * perMM;
        painter->SetPen(pen(_color(0, 0, 0, 255), 12, pen::Solid));
        painter->SetBrush(brush(_color(0, 0, 0, 255), brush::NoFill));
        painter->Rectangle(left, top, right, bottom);
        painter->SetBrush(brush(_color(0, 0, 255, 255), brush::Solid));
        for (int i = 0; i <= page; ++i)
            painter->FillRect(left + 100, top + 300 + i * 400, left + 400, top + 600 + i * 400);
        painter->SetBrush(brush(_color(255, 0, 0, 255), brush::Solid));
        const double x = left + 700 + page * 500;
        painter->Ellipse(x, top + 1500, x + 600, top + 2100);
        painter->SetFont(font(Utf8ToWide("Sans"), font::DefaultFamily, 48, 1, 0));
        painter->DrawString(left + 100, top + 60, Utf8ToWide("Page " + std::to_string(page + 1)), -1);
    }
    std::vector<int> printed;
};

class AbortAt : public CPrinterNotify {
  public:
    explicit AbortAt(int page) : m_page(page) {}
    void OnPagePrint(CPagePrintEvent *event) override {
        if (event->GetPageNumber() == m_page) event->Abort();
    }

  private:
    int m_page;
};

bool HasTool(const char *name) {
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Installs a CairoSystem with a PDF printer writing into a directory of the test's own.
class PdfPrinterTest : public ::testing::Test {
  protected:
    PdfPrinterTest()
        : system(new CairoSystem(96)),
          dir(fs::temp_directory_path() / ("quelt-pdf-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name())),
          file(dir / "control.pdf") {
        SetCurrentSystem(system);
        system->SetPrinter(&printer);
        fs::create_directories(dir);
        printer.SetOutputPath(file.string());
    }
    ~PdfPrinterTest() override {
        SetCurrentSystem(nullptr);
        fs::remove_all(dir);
    }

    CairoSystem *system;
    CairoPdfPrinter printer;
    ThreePages control;
    fs::path dir;
    fs::path file;
};

}  // namespace

TEST_F(PdfPrinterTest, IsA300DpiDeviceOnItsPaper) {
    EXPECT_EQ(system->GetPrinter(), &printer);
    EXPECT_TRUE(printer.ShowPrintDlg(nullptr));
    struct Case {
        IPrinter::PaperSize paper;
        IPrinter::PaperOrientation orientation;
        IPrinter::ColorMode colour;
        int px, py, mx, my, bits;
    };
    const Case cases[] = {
        {IPrinter::PaperA4, IPrinter::Portrait, IPrinter::MonochromePrint, 2480, 3508, 210, 297, 1},
        {IPrinter::PaperA4, IPrinter::Landscape, IPrinter::ColorPrint, 3508, 2480, 297, 210, 32},
        {IPrinter::PaperLetter, IPrinter::Portrait, IPrinter::ColorPrint, 2551, 3295, 216, 279, 32},
        {static_cast<IPrinter::PaperSize>(99), IPrinter::Portrait, IPrinter::ColorPrint, 2480, 3508, 210, 297,
         32},
    };
    for (const Case &c : cases) {
        printer.SetPaperSize(c.paper);
        printer.SetPaperOrientation(c.orientation);
        printer.SetColorMode(c.colour);
        SCOPED_TRACE(testing::Message() << c.paper << "/" << c.orientation);
        EXPECT_EQ(printer.GetCanvasMetrics(ICanvas::WidthPixels), c.px);
        EXPECT_EQ(printer.GetCanvasMetrics(ICanvas::HeightPixels), c.py);
        EXPECT_EQ(printer.GetCanvasMetrics(ICanvas::WidthMillimetres), c.mx);
        EXPECT_EQ(printer.GetCanvasMetrics(ICanvas::HeightMillimetres), c.my);
        EXPECT_EQ(printer.GetCanvasMetrics(static_cast<ICanvas::CanvasMetrics>(MetricDotsPerInch)), 300);
        EXPECT_EQ(printer.GetCanvasMetrics(static_cast<ICanvas::CanvasMetrics>(MetricBitsPerPixel)), c.bits);
        quelt_ptr<IPainter> painter = printer.CreatePainter();
        ASSERT_NE(painter, nullptr);
        EXPECT_EQ(painter->GetPaintRect(), screen_rectangle<int>(0, 0, c.px, c.py));
    }
}

TEST_F(PdfPrinterTest, AControlPrintsItsPagesToAPdfFile) {
    struct Case {
        IPrinter::PaperSize paper;
        IPrinter::PaperOrientation orientation;
        int from, to;
        std::vector<int> pages;
    };
    const Case cases[] = {
        {IPrinter::PaperA4, IPrinter::Portrait, 0, 0, {1, 2, 3}},
        {IPrinter::PaperLetter, IPrinter::Landscape, 0, 0, {1, 2, 3}},
        {IPrinter::PaperA5, IPrinter::Portrait, 2, 0, {2, 3}},
        {IPrinter::PaperA4, IPrinter::Portrait, 2, 2, {2}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.paper << "/" << c.orientation << " pages " << c.from << "-" << c.to);
        fs::remove(file);
        printer.SetPaperSize(c.paper);
        printer.SetPaperOrientation(c.orientation);
        printer.SetFromTo(c.from, c.to);
        control.printed.clear();
        control.Print();
        EXPECT_EQ(control.printed, (std::vector<int>{0, 1, 2}));
        EXPECT_EQ(printer.GetPrinterMode(), IPrinter::PrinterIdle);
        ASSERT_TRUE(fs::exists(file));
        EXPECT_FALSE(fs::exists(file.string() + ".part"));
        PdfPages pdf(file);
        EXPECT_EQ(pdf.Count(), static_cast<int>(c.pages.size()));
        ASSERT_EQ(pdf.Pages().size(), c.pages.size());
        size<int> mm = GetPaperSizeMM(c.paper);
        if (c.orientation == IPrinter::Landscape) mm = {mm.cy, mm.cx};
        for (const PageBox &box : pdf.Pages()) {
            EXPECT_NEAR(box.width, mm.cx * kPointsPerMM, 0.01);
            EXPECT_NEAR(box.height, mm.cy * kPointsPerMM, 0.01);
        }
    }
}

TEST_F(PdfPrinterTest, NoFileWithoutAPathOrForACancelledOrEmptyJob) {
    AbortAt cancel(2);
    printer.Subscribe(cancel.AsNotify(), typeid(IPrinterNotify), true);
    control.Print();
    EXPECT_EQ(control.printed, (std::vector<int>{0}));
    EXPECT_FALSE(fs::exists(file));
    printer.Unsubscribe(cancel.AsNotify(), typeid(IPrinterNotify), true);

    // A range beyond the last page reaches no paper.
    printer.SetFromTo(5, 0);
    control.Print();
    EXPECT_FALSE(fs::exists(file));

    // A painter dropped in the middle of its pass leaves no half document.
    printer.SetFromTo(0, 0);
    quelt_ptr<IPainter> dropped = printer.CreatePainter();
    dropped->BeginPaint(IPainter::SettingsPrint);
    dropped->FillRect(0, 0, 100, 100);
    dropped.reset();
    EXPECT_EQ(printer.GetPrinterMode(), IPrinter::PrinterIdle);
    EXPECT_FALSE(fs::exists(file));

    printer.SetOutputPath("");
    EXPECT_EQ(printer.CreatePainter(), nullptr);
    control.printed.clear();
    control.Print();
    EXPECT_TRUE(control.printed.empty());
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(PdfPrinterTest, PageTwoLooksAsDrawn) {
    printer.SetMargins({10, 15}, {10, 15});
    control.Print();
    ASSERT_TRUE(fs::exists(file));
    if (!HasTool("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
    const fs::path png = dir / "page";
    const std::string command =
        "pdftoppm -f 2 -l 2 -r 24 -singlefile -png '" + file.string() + "' '" + png.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    cairo_surface_t *rendered = cairo_image_surface_create_from_png((png.string() + ".png").c_str());
    ASSERT_EQ(cairo_surface_status(rendered), CAIRO_STATUS_SUCCESS);
    // The reference is ARGB: the rendering's unused byte would count as a difference.
    const int w = cairo_image_surface_get_width(rendered);
    const int h = cairo_image_surface_get_height(rendered);
    cairo_surface_t *page = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t *cr = cairo_create(page);
    cairo_set_source_surface(cr, rendered, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(rendered);
    // Rasterisers differ in the edges of text and curves.
    EXPECT_TRUE(MatchesGolden(page, "pdf_page2", {64, 0.005}));
    cairo_surface_destroy(page);
}
