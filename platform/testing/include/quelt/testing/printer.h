#pragma once

// A printer without a device. Every call is a line of the call log
// ("printer.NewPage", "printer.SetPaperSize 5"); what is drawn reaches a
// recording painter, whose lines are kept page by page for the pages in the
// range, so a test reads what each printed page received.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "quelt/print/printer.h"
#include "quelt/testing/calllog.h"
#include "quelt/testing/painter.h"

namespace quelt::testing {

class ScriptedPrinter : public CPrinter {
  public:
    struct Page {
        // 1-based.
        int number = 0;
        // The painter's log lines drawn on it.
        std::vector<std::string> drawing;
    };
    struct Job {
        // Only pages in the range, in order.
        std::vector<Page> pages;
        // The page number EndDoc reported.
        int pagesBegun = 0;
        bool aborted = false;
        bool finished = false;
    };

    // Logs to the current scripted system's log (a log of its own without one).
    explicit ScriptedPrinter(std::string name = "printer");
    ScriptedPrinter(std::shared_ptr<CallLog> log, std::string name);
    // A copy has the settings and jobs so far, but no painter of its own yet.
    ScriptedPrinter(const ScriptedPrinter &other);
    ScriptedPrinter &operator=(const ScriptedPrinter &) = delete;
    ~ScriptedPrinter() override;

    // --- ICanvas
    // A recording painter on the paper; by default its pass opens and closes a
    // job (BeginDoc with itself, EndDoc), as a device printer's painter does.
    // It must not outlive the printer.
    quelt_ptr<IPainter> CreatePainter() override;
    // 4/5 the paper in pixels at the resolution, 6/7 in millimetres
    // (orientation applied), unless set.
    int GetCanvasMetrics(CanvasMetrics index) const override;

    // --- job (logged, then the shared bookkeeping)
    void BeginDoc(IPainter *painter) override;
    void EndDoc() override;
    bool NewPage() override;
    void AbortPrint() override;
    void SetFromTo(int from, int to) override;
    void GetFromTo(int &from, int &to) override;
    PrinterMode GetPrinterMode() override;

    // --- settings (logged)
    void SetPageCount(int count) override;
    int GetPageCount() const override;
    void SetDocName(const wstring &name) override;
    wstring GetDocName() override;
    void SetPrinterName(const wstring &name) override;
    wstring GetPrinterName() override;
    size<int> GetMargins(bool rightBottom) override;
    void SetPaperOrientation(PaperOrientation orientation) override;
    PaperOrientation GetPaperOrientation() override;
    void SetPaperSize(PaperSize paper) override;
    PaperSize GetPaperSize() override;
    void SetColorMode(ColorMode mode) override;
    ColorMode GetColorMode() override;
    void SetNumCopies(int copies) override;
    int GetNumCopies() const override;
    // Runs the scripted dialog (default: confirms).
    bool ShowPrintDlg(const ISysWindow *parent) override;
    void Refresh() override;
    void SetCollate(bool collate) override;
    bool GetCollate() const override;

    // --- script and inspection (not logged)
    CallLog &Log() { return *m_pLog; }
    // Pixels per inch of metrics 4 and 5 (300 until set).
    void SetResolution(int dpi) { m_dpi = dpi; }
    void SetMetric(CanvasMetrics index, int value) { m_metrics[index] = value; }
    // Millimetres.
    void SetMargins(size<int> leftTop, size<int> rightBottom);
    // The dialog: what the user changes (through the printer) and whether they confirm.
    void SetDialog(std::function<bool(ScriptedPrinter &)> dialog) { m_dialog = std::move(dialog); }
    void SetDialogAnswer(bool confirm);
    // Off: painters leave opening and closing the job to their caller.
    void SetPainterOpensJob(bool opens) { m_painterOpensJob = opens; }
    const std::vector<Job> &Jobs() const { return m_jobs; }

    using CPrinter::GetCurrentPage;
    using CPrinter::IsPainterDrawing;
    using CPrinter::WasDrawing;

  private:
    class Painter;
    friend class Painter;

    void Add(const std::string &line) const { m_pLog->Add(line); }
    // Keeps the current page's drawing when it is in the range, then starts a fresh one.
    void TakePage();

    std::shared_ptr<CallLog> m_pLog;
    std::string m_name;
    std::map<int, int> m_metrics;
    int m_dpi = 300;
    size<int> m_marginsLeftTop;
    size<int> m_marginsRightBottom;
    int m_pageCount = 0;
    wstring m_docName;
    wstring m_printerName;
    PaperOrientation m_orientation = Portrait;
    PaperSize m_paper = PaperA4;
    ColorMode m_colorMode = ColorPrint;
    int m_copies = 1;
    bool m_collate = false;
    std::function<bool(ScriptedPrinter &)> m_dialog;
    bool m_painterOpensJob = true;
    // The printer's own painter while in a pass.
    RecordingPainter *m_pPass = nullptr;
    // The recording painter whose lines make the current job's pages.
    RecordingPainter *m_pPage = nullptr;
    std::vector<Job> m_jobs;
};

}  // namespace quelt::testing
