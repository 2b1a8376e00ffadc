#include "quelt/print/printer.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "quelt/paint/painter.h"
#include "quelt/sys/notify.h"
#include "quelt/testing/calllog.h"
#include "quelt/testing/painter.h"
#include "quelt/testing/printer.h"

namespace quelt {
namespace {

using quelt::testing::CallLog;
using quelt::testing::RecordingPainter;
using quelt::testing::ScriptedPrinter;
using Lines = std::vector<std::string>;

// Hears a printer and writes what it hears into the log; may abort a page.
class PrintListener : public CPrinterNotify {
  public:
    explicit PrintListener(CallLog &log) : m_log(log) {}
    void OnStartPrint(CPrinterEvent *e) override {
        m_log.Add("heard.OnStartPrint " + Page(e->GetPageNumber()));
    }
    void OnStopPrint(CPrinterEvent *e) override {
        m_log.Add("heard.OnStopPrint " + Page(e->GetPageNumber()) + (e->IsAborted() ? " aborted" : ""));
    }
    void OnPagePrint(CPagePrintEvent *e) override {
        m_log.Add("heard.OnPagePrint " + Page(e->GetPageNumber()));
        if (e->GetPageNumber() == abortAt) e->Abort();
    }
    int abortAt = -1;

  private:
    static std::string Page(int n) { return std::to_string(n); }
    CallLog &m_log;
};

// A print support whose answers the test sets; every call is a log line, and
// each page draws one line naming it.
class Support : public IPrintSupport {
  public:
    explicit Support(CallLog &log) : m_log(log) {}
    bool IsPrintSupport(bool byPage) override {
        m_log.Add(std::string("support.IsPrintSupport ") + (byPage ? "1" : "0"));
        return byPage ? byPages : oneCall;
    }
    int GetPageCount(IPrinter *) const override {
        m_log.Add("support.GetPageCount");
        return pages;
    }
    void OnPrintPage(IPainter *painter, IPrinter *, int page) override {
        m_log.Add("support.OnPrintPage " + std::to_string(page));
        painter->FillRect(page, page, page + 10, page + 10);
        if (page == throwAt) throw std::runtime_error("page");
        if (page == abortAt) printer->AbortPrint();
    }
    void OnPrint(IPainter *, IPrinter *) override { m_log.Add("support.OnPrint"); }

    int pages = -1;
    bool byPages = false;
    bool oneCall = false;
    int throwAt = -1;
    int abortAt = -1;
    IPrinter *printer = nullptr;

  private:
    CallLog &m_log;
};

class Fallback : public CDrawingNotify {
  public:
    explicit Fallback(CallLog &log) : m_log(log) {}
    void OnDraw(IPainter *) override { m_log.Add("fallback.OnDraw"); }

  private:
    CallLog &m_log;
};

class PrinterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        printer.Subscribe(heard.AsNotify(), typeid(IPrinterNotify), true);
        support.printer = &printer;
    }
    // The log without the printer's own queries.
    Lines Heard() const {
        return log->Matching(
            {"heard.", "support.", "fallback.", "printer.BeginDoc", "printer.EndDoc", "printer.NewPage"});
    }

    std::shared_ptr<CallLog> log = std::make_shared<CallLog>();
    ScriptedPrinter printer{log, "printer"};
    PrintListener heard{*log};
    Support support{*log};
    Fallback fallback{*log};
};

TEST(PaperSizeTest, EachFormatHasItsPortraitSizeAndUnknownOnesAreA4) {
    const std::vector<std::pair<int, size<int>>> cases = {
        {0, {210, 297}},  {1, {182, 257}},  {2, {216, 279}},  {3, {216, 356}},  {4, {191, 254}},
        {5, {297, 420}},  {6, {148, 210}},  {7, {257, 364}},  {8, {128, 182}},  {9, {163, 229}},
        {10, {105, 241}}, {11, {110, 220}}, {12, {210, 330}}, {13, {432, 279}}, {14, {279, 432}},
        {15, {210, 297}}, {99, {210, 297}}, {-1, {210, 297}},
    };
    for (const auto &[paper, mm] : cases) {
        EXPECT_EQ(GetPaperSizeMM(static_cast<IPrinter::PaperSize>(paper)), mm) << paper;
    }
}

TEST(PrintSupportTest, TheDefaultDeclinesBothWaysAndKnowsNoPageCount) {
    CPrintSupport support;
    EXPECT_FALSE(support.IsPrintSupport(true));
    EXPECT_FALSE(support.IsPrintSupport(false));
    EXPECT_EQ(support.GetPageCount(nullptr), -1);
    CPagePrintEvent event(nullptr, 3);
    EXPECT_FALSE(event.IsAborted());
    event.Abort();
    EXPECT_TRUE(event.IsAborted());
}

TEST_F(PrinterTest, ThePageRangeDecidesWhichPagesReachThePaper) {
    struct Case {
        int from, to;
        // Pages 1..5 in the range, and WasDrawing after BeginDoc and each NewPage.
        std::string drawing;
        std::string wasDrawing;
    };
    const Case cases[] = {
        {0, 0, "11111", "11111"},   {2, 3, "01100", "00111"}, {3, 0, "00111", "00011"},
        {-1, -1, "11111", "11111"}, {4, 2, "00000", "00000"}, {0, 1, "10000", "11111"},
        {5, 5, "00001", "00000"},
    };
    for (const Case &c : cases) {
        printer.SetFromTo(c.from, c.to);
        int from = -7, to = -7;
        printer.GetFromTo(from, to);
        EXPECT_EQ(from, std::max(c.from, 0));
        EXPECT_EQ(to, std::max(c.to, 0));
        printer.BeginDoc(nullptr);
        std::string drawing, wasDrawing;
        for (int page = 1; page <= 5; ++page) {
            drawing += printer.IsPainterDrawing() ? '1' : '0';
            wasDrawing += printer.WasDrawing() ? '1' : '0';
            if (page < 5) printer.NewPage();
        }
        printer.EndDoc();
        EXPECT_EQ(drawing, c.drawing) << c.from << ".." << c.to;
        EXPECT_EQ(wasDrawing, c.wasDrawing) << c.from << ".." << c.to;
        // Every job starts with the full range again.
        printer.GetFromTo(from, to);
        EXPECT_EQ(from, 0);
        EXPECT_EQ(to, 0);
    }
}

TEST_F(PrinterTest, AJobRaisesStartPagesAndStopAndWalksItsStates) {
    EXPECT_EQ(printer.GetPrinterMode(), IPrinter::PrinterIdle);
    printer.BeginDoc(nullptr);
    EXPECT_EQ(printer.GetPrinterMode(), IPrinter::PrinterPrinting);
    EXPECT_TRUE(printer.NewPage());
    EXPECT_TRUE(printer.NewPage());
    printer.EndDoc();
    EXPECT_EQ(printer.GetPrinterMode(), IPrinter::PrinterIdle);
    EXPECT_EQ(Heard(),
              (Lines{"printer.BeginDoc 0", "heard.OnStartPrint 0", "printer.NewPage", "heard.OnPagePrint 2",
                     "printer.NewPage", "heard.OnPagePrint 3", "printer.EndDoc", "heard.OnStopPrint 3"}));
}

TEST_F(PrinterTest, ACancelledJobPrintsNothingMoreAndEndsReportedAsAborted) {
    // A subscriber cancels on the page event.
    heard.abortAt = 2;
    printer.BeginDoc(nullptr);
    EXPECT_FALSE(printer.NewPage());
    EXPECT_EQ(printer.GetPrinterMode(), IPrinter::PrinterAborted);
    log->Clear();
    // Once cancelled, no bookkeeping and no event.
    EXPECT_FALSE(printer.NewPage());
    EXPECT_EQ(printer.GetCurrentPage(), 2);
    printer.EndDoc();
    EXPECT_EQ(Heard(), (Lines{"printer.NewPage", "printer.EndDoc", "heard.OnStopPrint 2 aborted"}));
    EXPECT_EQ(printer.GetPrinterMode(), IPrinter::PrinterIdle);

    // The user cancels through the printer.
    heard.abortAt = -1;
    printer.BeginDoc(nullptr);
    printer.AbortPrint();
    EXPECT_EQ(printer.GetPrinterMode(), IPrinter::PrinterAborted);
    log->Clear();
    EXPECT_FALSE(printer.NewPage());
    printer.EndDoc();
    EXPECT_EQ(Heard(), (Lines{"printer.NewPage", "printer.EndDoc", "heard.OnStopPrint 1 aborted"}));
    ASSERT_EQ(printer.Jobs().size(), 2u);
    EXPECT_TRUE(printer.Jobs()[0].aborted);
    EXPECT_TRUE(printer.Jobs()[1].aborted);
    EXPECT_TRUE(printer.Jobs()[1].pages.empty());

    // The next job is a fresh one.
    printer.BeginDoc(nullptr);
    EXPECT_TRUE(printer.NewPage());
    printer.EndDoc();
    EXPECT_FALSE(printer.Jobs()[2].aborted);
    EXPECT_EQ(printer.Jobs()[2].pagesBegun, 2);
}

TEST_F(PrinterTest, ACopyKeepsTheBookkeepingButHasItsOwnSubscribers) {
    printer.SetFromTo(2, 4);
    printer.BeginDoc(nullptr);
    printer.NewPage();
    ScriptedPrinter copy(printer);
    EXPECT_EQ(copy.GetCurrentPage(), 2);
    EXPECT_EQ(copy.GetPrinterMode(), IPrinter::PrinterPrinting);
    EXPECT_TRUE(copy.CausesEvent(typeid(IPrinterNotify)));
    EXPECT_EQ(copy.GetReceiverCount(typeid(IPrinterNotify)), 0);
    EXPECT_EQ(printer.GetReceiverCount(typeid(IPrinterNotify)), 1);
    copy.NewPage();
    EXPECT_EQ(printer.GetCurrentPage(), 2);
    EXPECT_TRUE(log->Matching({"heard.OnPagePrint 3"}).empty());
}

TEST_F(PrinterTest, ThePrintLoopChoosesItsPathInOnePainterPass) {
    struct Case {
        const char *name;
        int pages;
        bool byPages, oneCall;
        Lines heard;
    };
    const Case cases[] = {
        {"page by page",
         3,
         true,
         true,
         {"support.GetPageCount", "support.IsPrintSupport 1", "support.OnPrintPage 0", "heard.OnPagePrint 2",
          "support.OnPrintPage 1", "heard.OnPagePrint 3", "support.OnPrintPage 2"}},
        {"no page", 0, true, false, {"support.GetPageCount", "support.IsPrintSupport 1"}},
        {"unknown count, one call",
         -1,
         true,
         true,
         {"support.GetPageCount", "support.IsPrintSupport 0", "support.OnPrint"}},
        {"a count below -1 is unknown",
         -5,
         true,
         false,
         {"support.GetPageCount", "support.IsPrintSupport 0", "fallback.OnDraw"}},
        {"declines pages, one call",
         4,
         false,
         true,
         {"support.GetPageCount", "support.IsPrintSupport 1", "support.IsPrintSupport 0", "support.OnPrint"}},
        {"declines both",
         4,
         false,
         false,
         {"support.GetPageCount", "support.IsPrintSupport 1", "support.IsPrintSupport 0", "fallback.OnDraw"}},
    };
    for (const Case &c : cases) {
        support.pages = c.pages;
        support.byPages = c.byPages;
        support.oneCall = c.oneCall;
        for (bool openJob : {false, true}) {
            RecordingPainter painter;
            log->Clear();
            // Without openJob the job is the caller's.
            if (!openJob) printer.BeginDoc(nullptr);
            PrintPages(&support, &fallback, &painter, &printer, openJob);
            if (!openJob) printer.EndDoc();
            EXPECT_EQ(log->Matching({"support.", "fallback.", "heard.OnPagePrint"}), c.heard) << c.name;
            EXPECT_EQ(log->Count("printer.BeginDoc 0"), 1u) << c.name;
            EXPECT_EQ(log->Count("printer.EndDoc"), 1u) << c.name;
            // Begun once, ended once, whatever the path.
            EXPECT_EQ(painter.Count("StartPaint"), 1) << c.name;
            EXPECT_EQ(painter.Log().front(), "ApplyStdSettings 0") << c.name;
            EXPECT_EQ(painter.Log().back(), "EndPaint") << c.name;
            if (openJob) {
                // The job opens inside the pass and closes after it.
                const Lines order =
                    log->Matching({"printer.BeginDoc", "support.GetPageCount", "printer.EndDoc"});
                EXPECT_EQ(order, (Lines{"printer.BeginDoc 0", "support.GetPageCount", "printer.EndDoc"}))
                    << c.name;
            }
        }
    }
}

TEST_F(PrinterTest, ThePrintLoopStopsWhenTheJobIsCancelled) {
    printer.SetPainterOpensJob(false);
    support.pages = 5;
    support.byPages = true;
    for (bool bySubscriber : {true, false}) {
        heard.abortAt = bySubscriber ? 3 : -1;
        support.abortAt = bySubscriber ? -1 : 1;
        RecordingPainter painter;
        log->Clear();
        PrintPages(&support, nullptr, &painter, &printer, true);
        EXPECT_EQ(log->Matching({"support.OnPrintPage"}),
                  (Lines{"support.OnPrintPage 0", "support.OnPrintPage 1"}));
        EXPECT_EQ(log->Matching({"heard.OnStopPrint"}),
                  Lines{"heard.OnStopPrint " + std::string(bySubscriber ? "3" : "2") + " aborted"});
        EXPECT_TRUE(printer.Jobs().back().aborted);
        EXPECT_EQ(painter.Log().back(), "EndPaint");
    }
}

TEST_F(PrinterTest, AnExceptionFromPageCodeEndsThePassAndTheJobThenPropagates) {
    support.pages = 3;
    support.byPages = true;
    support.throwAt = 1;
    for (bool openJob : {true, false}) {
        RecordingPainter painter;
        log->Clear();
        EXPECT_THROW(PrintPages(&support, nullptr, &painter, &printer, openJob), std::runtime_error);
        EXPECT_EQ(painter.Log().back(), "EndPaint");
        EXPECT_EQ(printer.GetPrinterMode(), IPrinter::PrinterIdle);
        EXPECT_EQ(log->Count("printer.EndDoc"), openJob ? 1u : 0u);
        EXPECT_EQ(log->Count("support.OnPrintPage 2"), 0u);
    }
}

TEST_F(PrinterTest, WithoutPrinterOrPainterNothingIsCalled) {
    RecordingPainter painter;
    support.pages = 2;
    support.byPages = true;
    PrintPages(&support, &fallback, &painter, nullptr, true);
    PrintPages(&support, &fallback, nullptr, &printer, true);
    EXPECT_TRUE(log->Lines().empty());
    EXPECT_TRUE(painter.Log().empty());
}

TEST_F(PrinterTest, ThePrintersPainterOpensTheJobAndOnlyPagesInTheRangeAreKept) {
    printer.SetFromTo(2, 3);
    support.pages = 5;
    support.byPages = true;
    quelt_ptr<IPainter> painter = printer.CreatePainter();
    PrintPages(&support, nullptr, painter.get(), &printer, false);
    EXPECT_EQ(log->Count("printer.BeginDoc 1"), 1u);
    EXPECT_EQ(log->Count("printer.EndDoc"), 1u);
    ASSERT_EQ(printer.Jobs().size(), 1u);
    const ScriptedPrinter::Job &job = printer.Jobs()[0];
    EXPECT_FALSE(job.aborted);
    EXPECT_EQ(job.pagesBegun, 5);
    ASSERT_EQ(job.pages.size(), 2u);
    EXPECT_EQ(job.pages[0].number, 2);
    EXPECT_EQ(job.pages[1].number, 3);
    // Each page holds its own drawing only.
    EXPECT_EQ(job.pages[0].drawing, (Lines{"internalFillRect 1 1 11 11"}));
    EXPECT_EQ(job.pages[1].drawing, (Lines{"internalFillRect 2 2 12 12"}));
}

TEST_F(PrinterTest, TheScriptedPrinterHasSettablePaperMetricsMarginsAndDialog) {
    EXPECT_EQ(printer.GetCanvasMetrics(ICanvas::WidthPixels), 2480);
    EXPECT_EQ(printer.GetCanvasMetrics(ICanvas::HeightPixels), 3508);
    printer.SetPaperSize(IPrinter::PaperA5);
    printer.SetPaperOrientation(IPrinter::Landscape);
    EXPECT_EQ(printer.GetCanvasMetrics(ICanvas::WidthMillimetres), 210);
    EXPECT_EQ(printer.GetCanvasMetrics(ICanvas::HeightMillimetres), 148);
    printer.SetResolution(254);
    EXPECT_EQ(printer.GetCanvasMetrics(ICanvas::WidthPixels), 2100);
    printer.SetMetric(ICanvas::WidthPixels, 640);
    EXPECT_EQ(printer.GetCanvasMetrics(ICanvas::WidthPixels), 640);
    printer.SetMargins({10, 20}, {30, 40});
    EXPECT_EQ(printer.GetMargins(false), size<int>(10, 20));
    EXPECT_EQ(printer.GetMargins(true), size<int>(30, 40));
    EXPECT_TRUE(printer.ShowPrintDlg(nullptr));
    printer.SetDialog([](ScriptedPrinter &p) {
        p.SetFromTo(2, 2);
        return false;
    });
    EXPECT_FALSE(printer.ShowPrintDlg(nullptr));
    int from = 0, to = 0;
    printer.GetFromTo(from, to);
    EXPECT_EQ(to, 2);
    EXPECT_EQ(log->Matching({"printer.Set"}),
              (Lines{"printer.SetPaperSize 6", "printer.SetPaperOrientation 1", "printer.SetFromTo 2 2"}));
}

}  // namespace
}  // namespace quelt
