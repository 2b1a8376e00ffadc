#include "quelt/testing/printer.h"

#include <cmath>

#include "quelt/testing/system.h"

namespace quelt::testing {

using logtext::Call;

namespace {

std::shared_ptr<CallLog> CurrentLog() {
    auto *system = dynamic_cast<ScriptedSystem *>(GetCurrentSystem());
    return system ? system->SharedLog() : std::make_shared<CallLog>();
}

}  // namespace

// The printer's painter: its pass is the job, as on a device printer. It must
// not outlive its printer.
class ScriptedPrinter::Painter : public RecordingPainter {
  public:
    explicit Painter(ScriptedPrinter *printer) : RecordingPainter(printer), m_pPrinter(printer) {}
    ~Painter() override {
        if (m_pPrinter->m_pPass == this) m_pPrinter->m_pPass = nullptr;
        if (m_pPrinter->m_pPage == this) m_pPrinter->m_pPage = nullptr;
    }

    void EndPaint() override {
        if (!IsPainting()) return;
        if (m_openedJob) {
            m_openedJob = false;
            m_pPrinter->EndDoc();
        }
        if (m_pPrinter->m_pPass == this) m_pPrinter->m_pPass = nullptr;
        RecordingPainter::EndPaint();
    }

  protected:
    void StartPaint() override {
        RecordingPainter::StartPaint();
        m_pPrinter->m_pPass = this;
        if (!m_pPrinter->m_painterOpensJob || m_pPrinter->CPrinter::GetPrinterMode() != PrinterIdle) return;
        m_openedJob = true;
        m_pPrinter->BeginDoc(this);
    }

  private:
    ScriptedPrinter *m_pPrinter;
    bool m_openedJob = false;
};

ScriptedPrinter::ScriptedPrinter(std::string name) : ScriptedPrinter(CurrentLog(), std::move(name)) {}

ScriptedPrinter::ScriptedPrinter(std::shared_ptr<CallLog> log, std::string name)
    : m_pLog(std::move(log)), m_name(std::move(name)) {}

ScriptedPrinter::ScriptedPrinter(const ScriptedPrinter &other)
    : CPrinter(other),
      m_pLog(other.m_pLog),
      m_name(other.m_name),
      m_metrics(other.m_metrics),
      m_dpi(other.m_dpi),
      m_marginsLeftTop(other.m_marginsLeftTop),
      m_marginsRightBottom(other.m_marginsRightBottom),
      m_pageCount(other.m_pageCount),
      m_docName(other.m_docName),
      m_printerName(other.m_printerName),
      m_orientation(other.m_orientation),
      m_paper(other.m_paper),
      m_colorMode(other.m_colorMode),
      m_copies(other.m_copies),
      m_collate(other.m_collate),
      m_dialog(other.m_dialog),
      m_painterOpensJob(other.m_painterOpensJob),
      m_jobs(other.m_jobs) {}

ScriptedPrinter::~ScriptedPrinter() = default;

// --- canvas ------------------------------------------------------------------------

quelt_ptr<IPainter> ScriptedPrinter::CreatePainter() {
    Add(Call(m_name, "CreatePainter"));
    auto *painter = new Painter(this);
    const int width = GetCanvasMetrics(WidthPixels);
    const int height = GetCanvasMetrics(HeightPixels);
    painter->SetPaintRect({0, 0, width - 1, height - 1});
    for (CanvasMetrics index : {WidthPixels, HeightPixels, WidthMillimetres, HeightMillimetres}) {
        painter->SetMetric(index, GetCanvasMetrics(index));
    }
    painter->Clear();
    return quelt_ptr<IPainter>(painter);
}

int ScriptedPrinter::GetCanvasMetrics(CanvasMetrics index) const {
    Add(Call(m_name, "GetCanvasMetrics", static_cast<int>(index)));
    if (auto it = m_metrics.find(index); it != m_metrics.end()) return it->second;
    size<int> paper = GetPaperSizeMM(m_paper);
    if (m_orientation == Landscape) paper = {paper.cy, paper.cx};
    const auto pixels = [this](int mm) { return static_cast<int>(std::lround(mm * m_dpi / 25.4)); };
    switch (index) {
        case WidthPixels:
            return pixels(paper.cx);
        case HeightPixels:
            return pixels(paper.cy);
        case WidthMillimetres:
            return paper.cx;
        case HeightMillimetres:
            return paper.cy;
    }
    return 0;
}

// --- job ----------------------------------------------------------------------------

void ScriptedPrinter::TakePage() {
    if (m_jobs.empty() || m_jobs.back().finished) return;
    std::vector<std::string> drawing;
    if (m_pPage) {
        drawing = m_pPage->Log();
        m_pPage->Clear();
    }
    if (IsPainterDrawing()) m_jobs.back().pages.push_back({GetCurrentPage(), std::move(drawing)});
}

void ScriptedPrinter::BeginDoc(IPainter *painter) {
    Add(Call(m_name, "BeginDoc", painter != nullptr));
    auto *recording = dynamic_cast<RecordingPainter *>(painter);
    m_pPage = recording ? recording : m_pPass;
    if (m_pPage) m_pPage->Clear();
    m_jobs.emplace_back();
    CPrinter::BeginDoc(painter);
}

void ScriptedPrinter::EndDoc() {
    Add(Call(m_name, "EndDoc"));
    const bool aborted = CPrinter::GetPrinterMode() == PrinterAborted;
    if (!aborted) TakePage();
    m_pPage = nullptr;
    if (!m_jobs.empty() && !m_jobs.back().finished) {
        Job &job = m_jobs.back();
        job.aborted = aborted;
        job.pagesBegun = GetCurrentPage();
        job.finished = true;
    }
    CPrinter::EndDoc();
}

bool ScriptedPrinter::NewPage() {
    Add(Call(m_name, "NewPage"));
    if (CPrinter::GetPrinterMode() == PrinterPrinting) TakePage();
    return CPrinter::NewPage();
}

void ScriptedPrinter::AbortPrint() {
    Add(Call(m_name, "AbortPrint"));
    CPrinter::AbortPrint();
}

void ScriptedPrinter::SetFromTo(int from, int to) {
    Add(Call(m_name, "SetFromTo", from, to));
    CPrinter::SetFromTo(from, to);
}

void ScriptedPrinter::GetFromTo(int &from, int &to) {
    Add(Call(m_name, "GetFromTo"));
    CPrinter::GetFromTo(from, to);
}

IPrinter::PrinterMode ScriptedPrinter::GetPrinterMode() {
    Add(Call(m_name, "GetPrinterMode"));
    return CPrinter::GetPrinterMode();
}

// --- settings --------------------------------------------------------------------------

void ScriptedPrinter::SetPageCount(int count) {
    Add(Call(m_name, "SetPageCount", count));
    m_pageCount = count;
}

int ScriptedPrinter::GetPageCount() const {
    Add(Call(m_name, "GetPageCount"));
    return m_pageCount;
}

void ScriptedPrinter::SetDocName(const wstring &name) {
    Add(Call(m_name, "SetDocName", name));
    m_docName = name;
}

wstring ScriptedPrinter::GetDocName() {
    Add(Call(m_name, "GetDocName"));
    return m_docName;
}

void ScriptedPrinter::SetPrinterName(const wstring &name) {
    Add(Call(m_name, "SetPrinterName", name));
    m_printerName = name;
}

wstring ScriptedPrinter::GetPrinterName() {
    Add(Call(m_name, "GetPrinterName"));
    return m_printerName;
}

void ScriptedPrinter::SetMargins(size<int> leftTop, size<int> rightBottom) {
    m_marginsLeftTop = leftTop;
    m_marginsRightBottom = rightBottom;
}

size<int> ScriptedPrinter::GetMargins(bool rightBottom) {
    Add(Call(m_name, "GetMargins", rightBottom));
    return rightBottom ? m_marginsRightBottom : m_marginsLeftTop;
}

void ScriptedPrinter::SetPaperOrientation(PaperOrientation orientation) {
    Add(Call(m_name, "SetPaperOrientation", static_cast<int>(orientation)));
    m_orientation = orientation;
}

IPrinter::PaperOrientation ScriptedPrinter::GetPaperOrientation() {
    Add(Call(m_name, "GetPaperOrientation"));
    return m_orientation;
}

void ScriptedPrinter::SetPaperSize(PaperSize paper) {
    Add(Call(m_name, "SetPaperSize", static_cast<int>(paper)));
    m_paper = paper;
}

IPrinter::PaperSize ScriptedPrinter::GetPaperSize() {
    Add(Call(m_name, "GetPaperSize"));
    return m_paper;
}

void ScriptedPrinter::SetColorMode(ColorMode mode) {
    Add(Call(m_name, "SetColorMode", static_cast<int>(mode)));
    m_colorMode = mode;
}

IPrinter::ColorMode ScriptedPrinter::GetColorMode() {
    Add(Call(m_name, "GetColorMode"));
    return m_colorMode;
}

void ScriptedPrinter::SetNumCopies(int copies) {
    Add(Call(m_name, "SetNumCopies", copies));
    m_copies = copies;
}

int ScriptedPrinter::GetNumCopies() const {
    Add(Call(m_name, "GetNumCopies"));
    return m_copies;
}

void ScriptedPrinter::SetDialogAnswer(bool confirm) {
    m_dialog = [confirm](ScriptedPrinter &) { return confirm; };
}

bool ScriptedPrinter::ShowPrintDlg(const ISysWindow *parent) {
    Add(Call(m_name, "ShowPrintDlg", parent != nullptr));
    return m_dialog ? m_dialog(*this) : true;
}

void ScriptedPrinter::Refresh() { Add(Call(m_name, "Refresh")); }

void ScriptedPrinter::SetCollate(bool collate) {
    Add(Call(m_name, "SetCollate", collate));
    m_collate = collate;
}

bool ScriptedPrinter::GetCollate() const {
    Add(Call(m_name, "GetCollate"));
    return m_collate;
}

}  // namespace quelt::testing
