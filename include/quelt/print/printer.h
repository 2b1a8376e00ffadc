#pragma once

// Printers, what a printable object offers them, and the one print loop.
// This side of printing sits below the visual control: nothing here knows a
// control or the preview.

#include "quelt/core/config.h"
#include "quelt/core/events.h"
#include "quelt/core/wstring.h"
#include "quelt/paint/canvas.h"
#include "quelt/paint/geometry.h"

namespace quelt {

class IPainter;
class ISysWindow;
class IDrawingNotify;

// --- records and notifications ----------------------------------------------

class QUELT_API CPrinterEvent : public CEvent {
  public:
    // aborted: the job ends cancelled (only a stop event says so).
    explicit CPrinterEvent(IEventSender *source, int page = 0, bool aborted = false)
        : CEvent(source), m_page(page), m_aborted(aborted) {}
    int GetPageNumber() const { return m_page; }
    // The job this event closes was cancelled: what was begun is not printed.
    bool IsAborted() const { return m_aborted; }

  private:
    int m_page;
    bool m_aborted;
};

class QUELT_API CPagePrintEvent : public CEvent {
  public:
    explicit CPagePrintEvent(IEventSender *source, int page = 0) : CEvent(source), m_page(page) {}
    int GetPageNumber() const { return m_page; }
    // Cancels the job: the printer's NewPage answers false.
    void Abort() { m_aborted = true; }
    bool IsAborted() const { return m_aborted; }

  private:
    int m_page;
    bool m_aborted = false;
};

class QUELT_API IPrinterNotify : public INotify {
  public:
    virtual void OnStartPrint(CPrinterEvent *event) = 0;
    virtual void OnStopPrint(CPrinterEvent *event) = 0;
    virtual void OnPagePrint(CPagePrintEvent *event) = 0;
};

class QUELT_API CPrinterNotify : public CSubscriber<IPrinterNotify> {
  public:
    void OnStartPrint(CPrinterEvent *) override {}
    void OnStopPrint(CPrinterEvent *) override {}
    void OnPagePrint(CPagePrintEvent *) override {}
};

// --- printers ------------------------------------------------------------------

class QUELT_API IPrinter : public ICanvas, public IEventSender {
  public:
    enum PrinterMode : int { PrinterIdle = 0, PrinterPrinting = 1, PrinterAborted = 2 };
    // Paper formats; GetPaperSizeMM gives their portrait size.
    enum PaperSize : int {
        PaperA4 = 0,
        PaperB5 = 1,
        PaperLetter = 2,
        PaperLegal = 3,
        PaperExecutive = 4,
        PaperA3 = 5,
        PaperA5 = 6,
        PaperB4 = 7,
        PaperB6 = 8,
        PaperEnvelopeC5 = 9,
        PaperEnvelope10 = 10,
        PaperEnvelopeDL = 11,
        PaperFolio = 12,
        PaperLedger = 13,
        PaperTabloid = 14,
    };
    // The library only copies these between printers; platforms agree on the two named.
    enum PaperOrientation : int { Portrait = 0, Landscape = 1 };
    enum ColorMode : int { ColorPrint = 0, MonochromePrint = 1 };

    // Opens a job drawn with painter (may be null: the caller draws itself).
    virtual void BeginDoc(IPainter *painter) = 0;
    virtual void EndDoc() = 0;
    // Starts the next page; false once the job is cancelled.
    virtual bool NewPage() = 0;
    virtual void AbortPrint() = 0;
    // 1-based pages to output; 0 leaves that end open.
    virtual void SetFromTo(int from, int to) = 0;
    virtual void GetFromTo(int &from, int &to) = 0;
    virtual void SetPageCount(int count) = 0;
    virtual int GetPageCount() const = 0;
    virtual void SetDocName(const wstring &name) = 0;
    virtual wstring GetDocName() = 0;
    virtual void SetPrinterName(const wstring &name) = 0;
    virtual wstring GetPrinterName() = 0;
    virtual PrinterMode GetPrinterMode() = 0;
    // In millimetres: false (left, top), true (right, bottom).
    virtual size<int> GetMargins(bool rightBottom) = 0;
    virtual void SetPaperOrientation(PaperOrientation orientation) = 0;
    virtual PaperOrientation GetPaperOrientation() = 0;
    virtual void SetPaperSize(PaperSize paper) = 0;
    virtual PaperSize GetPaperSize() = 0;
    virtual void SetColorMode(ColorMode mode) = 0;
    virtual ColorMode GetColorMode() = 0;
    virtual void SetNumCopies(int copies) = 0;
    virtual int GetNumCopies() const = 0;
    // True when the user confirmed.
    virtual bool ShowPrintDlg(const ISysWindow *parent) = 0;
    // Reads the settings again.
    virtual void Refresh() = 0;
    virtual void SetCollate(bool collate) = 0;
    virtual bool GetCollate() const = 0;
};

// Width x height in millimetres, portrait; an unknown format is A4.
QUELT_API size<int> GetPaperSizeMM(IPrinter::PaperSize paper);

// The job bookkeeping every printer shares: the page range, the job state and
// the printing notifications. A platform printer derives from it, implements
// the device and settings operations, and asks IsPainterDrawing() whether the
// current page reaches the paper; an override of BeginDoc, NewPage or EndDoc
// calls the one here.
class QUELT_API CPrinter : public CImplEventSender<IPrinter> {
  public:
    CPrinter();
    // A copy has a registry, and so subscribers, of its own.
    CPrinter(const CPrinter &other);
    CPrinter &operator=(const CPrinter &other);
    ~CPrinter() override;

    bool HasMultiPainterSupport() override { return true; }
    IPainter *TakeDefPainter() override { return nullptr; }

    void BeginDoc(IPainter *painter) override;
    // Raises OnStopPrint with the pages begun, marked aborted for a cancelled job.
    void EndDoc() override;
    bool NewPage() override;
    void AbortPrint() override;
    // Negative values count as 0.
    void SetFromTo(int from, int to) override;
    void GetFromTo(int &from, int &to) override;
    PrinterMode GetPrinterMode() override { return m_mode; }

  protected:
    void NotifyOnStartPrint(CPrinterEvent *event);
    void NotifyOnStopPrint(CPrinterEvent *event);
    void NotifyOnPagePrint(CPagePrintEvent *event);
    // Some page of the range has been reached.
    bool WasDrawing() const { return m_wasDrawing; }
    // The current page is in the range.
    bool IsPainterDrawing() const { return InRange(m_page); }
    // 1-based; 0 before the first job.
    int GetCurrentPage() const { return m_page; }
    // The painter the job was opened with; null outside a job.
    IPainter *GetDocPainter() const { return m_pPainter; }

  private:
    bool InRange(int page) const;

    IPainter *m_pPainter = nullptr;
    PrinterMode m_mode = PrinterIdle;
    int m_from = 0;
    int m_to = 0;
    int m_page = 0;
    bool m_wasDrawing = false;
};

// --- what a printable object offers ------------------------------------------------

class QUELT_API IPrintSupport {
  public:
    virtual ~IPrintSupport();
    // byPage: whether it prints page by page (GetPageCount, OnPrintPage);
    // otherwise whether it prints itself in one call (OnPrint).
    virtual bool IsPrintSupport(bool byPage) = 0;
    // -1: not known.
    virtual int GetPageCount(IPrinter *printer) const = 0;
    // page counts from 0.
    virtual void OnPrintPage(IPainter *painter, IPrinter *printer, int page) = 0;
    virtual void OnPrint(IPainter *painter, IPrinter *printer) = 0;
};

// Declines both ways.
class QUELT_API CPrintSupport : public IPrintSupport {
  public:
    bool IsPrintSupport(bool) override { return false; }
    int GetPageCount(IPrinter *) const override { return -1; }
    void OnPrintPage(IPainter *, IPrinter *, int) override {}
    void OnPrint(IPainter *, IPrinter *) override {}
};

// The print loop. Inside one painter pass (BeginPaint(0) ... EndPaint()) it
// prints support page by page when it knows its page count and accepts, else
// in one call when it accepts that, else draws fallback (may be null) with
// the painter. openJob also wraps the pass in BeginDoc(nullptr) ... EndDoc();
// without it the printer and its painter open and close the job themselves.
// Pages stop when NewPage answers false. An exception ends the pass (and the
// job it opened) and propagates. No printer or no painter: nothing happens.
QUELT_API void PrintPages(IPrintSupport *support, IDrawingNotify *fallback, IPainter *painter,
                          IPrinter *printer, bool openJob);

}  // namespace quelt
