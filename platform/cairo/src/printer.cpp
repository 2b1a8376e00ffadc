#include "quelt/cairo/printer.h"

#include <cairo-pdf.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "quelt/cairo/painter.h"

namespace quelt::cairo {

namespace {

constexpr double kPointsPerMM = 72.0 / 25.4;
constexpr double kPointsPerPixel = 72.0 / CairoPdfPrinter::kDpi;

int MMToPixels(int mm) { return static_cast<int>(std::lround(mm * CairoPdfPrinter::kDpi / 25.4)); }

}  // namespace

// A painter on the printer's paper. Its pass is the job unless one is already
// open, as on any device printer.
class CairoPdfPrinter::Painter : public CairoPainter {
  public:
    explicit Painter(CairoPdfPrinter *printer)
        : CairoPainter(printer, nullptr, printer->PaperPixels().cx, printer->PaperPixels().cy),
          m_printer(printer) {
        printer->m_painters.push_back(this);
    }
    ~Painter() override {
        if (!m_printer) return;
        // A pass that never ended is no finished document.
        if (m_openedJob) {
            m_printer->AbortPrint();
            m_printer->EndDoc();
        }
        auto &painters = m_printer->m_painters;
        painters.erase(std::remove(painters.begin(), painters.end(), this), painters.end());
    }

    void EndPaint() override {
        if (!IsPainting()) return;
        if (m_openedJob && m_printer) {
            m_openedJob = false;
            m_printer->EndDoc();
        }
        CairoPainter::EndPaint();
    }

    // The printer is going: nothing more reaches it.
    void Orphan() {
        m_printer = nullptr;
        m_openedJob = false;
        SetTarget(nullptr, 0, 0);
    }

  protected:
    void StartPaint() override {
        // The device must be in place before the pass puts its state into it.
        if (m_printer && m_printer->CPrinter::GetPrinterMode() == PrinterIdle) {
            m_openedJob = true;
            m_printer->BeginDoc(this);
        } else if (m_printer) {
            m_printer->OpenFile();
            m_printer->Attach(this);
        }
        CairoPainter::StartPaint();
    }

  private:
    CairoPdfPrinter *m_printer;
    bool m_openedJob = false;
};

CairoPdfPrinter::CairoPdfPrinter() : m_printerName(Utf8ToWide("PDF")) {}

CairoPdfPrinter::~CairoPdfPrinter() {
    for (Painter *painter : m_painters) painter->Orphan();
    m_painters.clear();
    CloseFile(false);
}

void CairoPdfPrinter::SetMargins(size<int> leftTop, size<int> rightBottom) {
    m_marginsLeftTop = leftTop;
    m_marginsRightBottom = rightBottom;
}

size<int> CairoPdfPrinter::PaperMM() const {
    const size<int> paper = GetPaperSizeMM(m_paper);
    return m_orientation == Landscape ? size<int>{paper.cy, paper.cx} : paper;
}

size<int> CairoPdfPrinter::PaperPixels() const {
    const size<int> paper = PaperMM();
    return {MMToPixels(paper.cx), MMToPixels(paper.cy)};
}

// --- canvas ----------------------------------------------------------------------------

quelt_ptr<IPainter> CairoPdfPrinter::CreatePainter() {
    if (m_path.empty()) return nullptr;
    return quelt_ptr<IPainter>(new Painter(this));
}

int CairoPdfPrinter::GetCanvasMetrics(CanvasMetrics index) const {
    const size<int> pixels = PaperPixels();
    switch (static_cast<int>(index)) {
        case WidthMillimetres:
            return PaperMM().cx;
        case HeightMillimetres:
            return PaperMM().cy;
        case MetricBitsPerPixel:
            if (m_colorMode == MonochromePrint) return 1;
            break;
    }
    return DeviceMetric(index, pixels.cx, pixels.cy, kDpi);
}

// --- the file ------------------------------------------------------------------------------

void CairoPdfPrinter::OpenFile() {
    if (m_pdf || m_path.empty() || CPrinter::GetPrinterMode() != PrinterPrinting) return;
    const size<int> paper = PaperMM();
    m_partPath = m_path + ".part";
    m_pdf = cairo_pdf_surface_create(m_partPath.c_str(), paper.cx * kPointsPerMM, paper.cy * kPointsPerMM);
    // The painter works in device pixels; the file in points.
    cairo_surface_set_device_scale(m_pdf, kPointsPerPixel, kPointsPerPixel);
    cairo_surface_set_fallback_resolution(m_pdf, kDpi, kDpi);
    if (!m_docName.empty())
        cairo_pdf_surface_set_metadata(m_pdf, CAIRO_PDF_METADATA_TITLE, WideToUtf8(m_docName).c_str());
    m_void = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
}

void CairoPdfPrinter::CloseFile(bool keep) {
    if (!m_pdf) return;
    for (Painter *painter : m_painters) painter->SetTarget(nullptr, PaperPixels().cx, PaperPixels().cy);
    cairo_surface_finish(m_pdf);
    const bool written = cairo_surface_status(m_pdf) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(m_pdf);
    cairo_surface_destroy(m_void);
    m_pdf = nullptr;
    m_void = nullptr;
    if (!(keep && written && std::rename(m_partPath.c_str(), m_path.c_str()) == 0))
        std::remove(m_partPath.c_str());
    m_partPath.clear();
}

cairo_surface_t *CairoPdfPrinter::PageTarget() const { return IsPainterDrawing() ? m_pdf : m_void; }

void CairoPdfPrinter::Attach(Painter *painter) {
    const size<int> pixels = PaperPixels();
    painter->SetTarget(PageTarget(), pixels.cx, pixels.cy);
}

void CairoPdfPrinter::AttachAll() {
    for (Painter *painter : m_painters) Attach(painter);
}

// --- job ---------------------------------------------------------------------------------

void CairoPdfPrinter::BeginDoc(IPainter *painter) {
    CloseFile(false);
    CPrinter::BeginDoc(painter);
    // A job only for bookkeeping (a preview's) writes no file until one of
    // this printer's painters draws in it.
    const bool ours = std::any_of(m_painters.begin(), m_painters.end(),
                                  [painter](Painter *p) { return p == painter || p->IsPainting(); });
    if (!ours) return;
    OpenFile();
    AttachAll();
}

bool CairoPdfPrinter::NewPage() {
    const bool printing = CPrinter::GetPrinterMode() == PrinterPrinting;
    if (printing && m_pdf && IsPainterDrawing()) cairo_surface_show_page(m_pdf);
    if (!CPrinter::NewPage()) return false;
    if (m_pdf) {
        const size<int> paper = PaperMM();
        cairo_pdf_surface_set_size(m_pdf, paper.cx * kPointsPerMM, paper.cy * kPointsPerMM);
    }
    AttachAll();
    return true;
}

void CairoPdfPrinter::EndDoc() {
    const PrinterMode mode = CPrinter::GetPrinterMode();
    if (mode == PrinterPrinting && m_pdf && IsPainterDrawing()) cairo_surface_show_page(m_pdf);
    // A job that never reached its range would leave a file without pages.
    CloseFile(mode == PrinterPrinting && (WasDrawing() || IsPainterDrawing()));
    CPrinter::EndDoc();
}

}  // namespace quelt::cairo
