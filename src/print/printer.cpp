#include "quelt/print/printer.h"

#include <climits>

#include "quelt/paint/painter.h"
#include "quelt/sys/notify.h"

namespace quelt {

IPrintSupport::~IPrintSupport() = default;

size<int> GetPaperSizeMM(IPrinter::PaperSize paper) {
    static constexpr size<int> sizes[] = {
        {210, 297}, {182, 257}, {216, 279}, {216, 356}, {191, 254}, {297, 420}, {148, 210}, {257, 364},
        {128, 182}, {163, 229}, {105, 241}, {110, 220}, {210, 330}, {432, 279}, {279, 432},
    };
    constexpr int count = static_cast<int>(sizeof sizes / sizeof sizes[0]);
    const int index = static_cast<int>(paper);
    return index >= 0 && index < count ? sizes[index] : sizes[0];
}

// --- CPrinter ------------------------------------------------------------------

CPrinter::CPrinter() { AddEventType(typeid(IPrinterNotify)); }

CPrinter::CPrinter(const CPrinter &other)
    : CImplEventSender<IPrinter>(),
      m_pPainter(other.m_pPainter),
      m_mode(other.m_mode),
      m_from(other.m_from),
      m_to(other.m_to),
      m_page(other.m_page),
      m_wasDrawing(other.m_wasDrawing) {
    AddEventType(typeid(IPrinterNotify));
}

CPrinter &CPrinter::operator=(const CPrinter &other) {
    m_pPainter = other.m_pPainter;
    m_mode = other.m_mode;
    m_from = other.m_from;
    m_to = other.m_to;
    m_page = other.m_page;
    m_wasDrawing = other.m_wasDrawing;
    return *this;
}

CPrinter::~CPrinter() = default;

bool CPrinter::InRange(int page) const { return m_to > 0 ? m_from <= page && page <= m_to : page >= m_from; }

void CPrinter::BeginDoc(IPainter *painter) {
    m_pPainter = painter;
    m_mode = PrinterPrinting;
    m_page = 1;
    m_wasDrawing = InRange(m_page);
    CPrinterEvent event(Self(), 0);
    NotifyOnStartPrint(&event);
}

void CPrinter::EndDoc() {
    const bool aborted = m_mode == PrinterAborted;
    m_pPainter = nullptr;
    m_mode = PrinterIdle;
    m_from = 0;
    m_to = 0;
    CPrinterEvent event(Self(), m_page, aborted);
    NotifyOnStopPrint(&event);
}

bool CPrinter::NewPage() {
    // A cancelled job prints nothing more, whoever cancelled it.
    if (m_mode == PrinterAborted) return false;
    if (InRange(m_page)) m_wasDrawing = true;
    if (m_page < INT_MAX) ++m_page;
    CPagePrintEvent event(Self(), m_page);
    NotifyOnPagePrint(&event);
    if (!event.IsAborted()) return true;
    m_mode = PrinterAborted;
    return false;
}

void CPrinter::AbortPrint() { m_mode = PrinterAborted; }

void CPrinter::SetFromTo(int from, int to) {
    m_from = from < 0 ? 0 : from;
    m_to = to < 0 ? 0 : to;
}

void CPrinter::GetFromTo(int &from, int &to) {
    from = m_from;
    to = m_to;
}

void CPrinter::NotifyOnStartPrint(CPrinterEvent *event) { Fire<&IPrinterNotify::OnStartPrint>(event, true); }

void CPrinter::NotifyOnStopPrint(CPrinterEvent *event) { Fire<&IPrinterNotify::OnStopPrint>(event, true); }

void CPrinter::NotifyOnPagePrint(CPagePrintEvent *event) { Fire<&IPrinterNotify::OnPagePrint>(event, true); }

// --- the print loop -------------------------------------------------------------

namespace {

void PrintInPass(IPrintSupport *support, IDrawingNotify *fallback, IPainter *painter, IPrinter *printer) {
    int count = support ? support->GetPageCount(printer) : -1;
    if (count < -1) count = -1;
    if (count != -1 && support->IsPrintSupport(true)) {
        for (int page = 0; page < count; ++page) {
            support->OnPrintPage(painter, printer, page);
            if (page + 1 < count && !printer->NewPage()) return;
        }
        return;
    }
    if (support && support->IsPrintSupport(false)) {
        support->OnPrint(painter, printer);
        return;
    }
    if (fallback) fallback->OnDraw(painter);
}

}  // namespace

void PrintPages(IPrintSupport *support, IDrawingNotify *fallback, IPainter *painter, IPrinter *printer,
                bool openJob) {
    if (!printer || !painter) return;
    painter->BeginPaint(IPainter::SettingsPrint);
    try {
        if (openJob) printer->BeginDoc(nullptr);
        PrintInPass(support, fallback, painter, printer);
    } catch (...) {
        // The pass, and the job opened here, end with the failed page.
        painter->EndPaint();
        if (openJob) printer->EndDoc();
        throw;
    }
    painter->EndPaint();
    if (openJob) printer->EndDoc();
}

}  // namespace quelt
