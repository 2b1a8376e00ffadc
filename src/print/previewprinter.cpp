#include "quelt/print/previewprinter.h"

#include <cmath>
#include <limits>
#include <utility>

#include "quelt/paint/painter.h"
#include "quelt/sys/window.h"

namespace quelt {

namespace {

constexpr double kDefaultPixelsPerMM = 96 / 25.4;

IPrinter *SystemPrinter() {
    ISystem *system = GetCurrentSystem();
    return system ? system->GetPrinter() : nullptr;
}

double PixelsPerMM(const ISysWindow *window, ICanvas::CanvasMetrics pixels, ICanvas::CanvasMetrics mm) {
    if (!window) return kDefaultPixelsPerMM;
    const int px = window->GetCanvasMetrics(pixels);
    const int millimetres = window->GetCanvasMetrics(mm);
    if (px <= 0 || millimetres <= 0) return kDefaultPixelsPerMM;
    return static_cast<double>(px) / millimetres;
}

// Truncated, at least 1 and within int.
int PictureExtent(int millimetres, double scale) {
    const double v = std::trunc(millimetres * scale);
    if (!(v >= 1)) return 1;
    return v >= std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : static_cast<int>(v);
}

void Destroy(IVectorPicture *picture) { quelt_ptr<IVectorPicture> owner(picture); }

}  // namespace

// Holds the pictures mutex for a scope; no mutex means no lock.
class CPreviewPrinter::Lock {
  public:
    explicit Lock(IMutex *mutex) : m_pMutex(mutex) {
        if (m_pMutex) m_pMutex->Lock();
    }
    ~Lock() {
        if (m_pMutex) m_pMutex->Unlock();
    }
    Lock(const Lock &) = delete;
    Lock &operator=(const Lock &) = delete;

  private:
    IMutex *m_pMutex;
};

CPreviewPrinter::CPreviewPrinter(ISysWindow *window) : m_pWindow(window) {
    AddEventType(typeid(IPrinterNotify));
    if (ISystem *system = GetCurrentSystem()) m_pMutex = system->CreateMutex();
    m_scale = size<double>(PixelsPerMM(window, WidthPixels, WidthMillimetres),
                           PixelsPerMM(window, HeightPixels, HeightMillimetres));
    Refresh();
}

CPreviewPrinter::~CPreviewPrinter() { ReleasePicturies(); }

int CPreviewPrinter::GetCanvasMetrics(CanvasMetrics index) const {
    IPrinter *printer = SystemPrinter();
    return printer ? printer->GetCanvasMetrics(index) : 0;
}

void CPreviewPrinter::Refresh() {
    IPrinter *printer = SystemPrinter();
    if (!printer || printer == this) return;
    m_docName = printer->GetDocName();
    m_printerName = printer->GetPrinterName();
    m_orientation = printer->GetPaperOrientation();
    m_paper = printer->GetPaperSize();
    m_marginsLT = printer->GetMargins(false);
    m_marginsRB = printer->GetMargins(true);
    m_colorMode = printer->GetColorMode();
}

int CPreviewPrinter::GetPageCount() const {
    Lock lock(m_pMutex.get());
    return static_cast<int>(m_pages.size());
}

void CPreviewPrinter::SetScale(size<double> scale) {
    if (!std::isfinite(scale.cx) || !std::isfinite(scale.cy)) return;
    if (scale.cx <= 0 || scale.cy <= 0) return;
    m_scale = scale;
}

size<int> CPreviewPrinter::GetOrientedPaperMM() {
    size<int> paper = GetPaperSizeMM(m_paper);
    if (m_orientation == Landscape) std::swap(paper.cx, paper.cy);
    return paper;
}

IVectorPicture *CPreviewPrinter::GetDrawedPicture() {
    if (m_pPicture) return m_pPicture.get();
    ISystem *system = GetCurrentSystem();
    if (!system) return nullptr;
    const size<int> paper = GetOrientedPaperMM();
    m_pPicture =
        system->CreateVectorPicture(PictureExtent(paper.cx, m_scale.cx), PictureExtent(paper.cy, m_scale.cy));
    return m_pPicture.get();
}

bool CPreviewPrinter::NewPage() {
    // A cancelled job records nothing more: the page begun is not the
    // document's.
    if (GetPrinterMode() == PrinterAborted) return false;
    if (m_pPicture) {
        quelt_ptr<IVectorPicture> copy = m_pPicture->Copy();
        if (copy) {
            Lock lock(m_pMutex.get());
            m_pages.push_back(copy.release());
        }
        m_pPicture->Clear();
    }
    m_refused = !CPrinter::NewPage();
    return !m_refused;
}

void CPreviewPrinter::EndDoc() {
    const bool cancelled = m_refused || GetPrinterMode() == PrinterAborted;
    m_refused = false;
    quelt_ptr<IVectorPicture> last(std::move(m_pPicture));
    if (last && !cancelled) {
        Lock lock(m_pMutex.get());
        m_pages.push_back(last.release());
    }
    CPrinter::EndDoc();
}

IVectorPicture *CPreviewPrinter::GetPage(int index) const {
    Lock lock(m_pMutex.get());
    if (index < 0 || static_cast<size_t>(index) >= m_pages.size()) return nullptr;
    return m_pages[static_cast<size_t>(index)];
}

std::vector<IVectorPicture *> CPreviewPrinter::GetPages() const {
    Lock lock(m_pMutex.get());
    return m_pages;
}

void CPreviewPrinter::ReleasePicturies() {
    std::vector<IVectorPicture *> pages;
    {
        Lock lock(m_pMutex.get());
        pages.swap(m_pages);
    }
    for (IVectorPicture *page : pages) Destroy(page);
    m_pPicture.reset();
}

}  // namespace quelt
