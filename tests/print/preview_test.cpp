#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "quelt/paint/painter.h"
#include "quelt/print/previewprinter.h"
#include "quelt/testing/pictures.h"
#include "quelt/testing/printer.h"
#include "quelt/testing/system.h"
#include "quelt/testing/window.h"

namespace quelt {
namespace {

using quelt::testing::InstalledSystem;
using quelt::testing::RecordingVectorPicture;
using quelt::testing::ScriptedPrinter;
using quelt::testing::ScriptedWindow;
using Lines = std::vector<std::string>;

// The drawing lines of a recorded page (what its painter filled).
Lines Fills(IVectorPicture *picture) {
    Lines fills;
    if (!picture) return fills;
    for (const std::string &line : static_cast<RecordingVectorPicture *>(picture)->Log())
        if (line.find("FillRect") != std::string::npos) fills.push_back(line);
    return fills;
}

// A window of 4 px/mm and a system printer; the printer side of the preview.
struct PreviewPrinterTest : ::testing::Test {
    PreviewPrinterTest() {
        window.SetCanvasMetrics(ICanvas::WidthPixels, 400);
        window.SetCanvasMetrics(ICanvas::WidthMillimetres, 100);
        window.SetCanvasMetrics(ICanvas::HeightPixels, 400);
        window.SetCanvasMetrics(ICanvas::HeightMillimetres, 100);
        system->SetPrinter(&printer);
    }
    // Pages 0..n-1 each fill one rectangle at their own number.
    void Record(CPreviewPrinter &p, int n, int abortAt = -1) {
        IPainter *painter = p.GetDrawedPicture()->TakeDefPainter();
        painter->BeginPaint(IPainter::SettingsPrint);
        p.BeginDoc(painter);
        for (int i = 0; i < n; ++i) {
            p.GetDrawedPicture()->TakeDefPainter()->FillRect(i, i, i + 1, i + 1);
            if (i + 1 < n && (i == abortAt ? (p.AbortPrint(), !p.NewPage()) : !p.NewPage())) break;
        }
        painter->EndPaint();
        p.EndDoc();
    }
    InstalledSystem system;
    ScriptedPrinter printer;
    ScriptedWindow window{"preview", 400, 600};
};

TEST_F(PreviewPrinterTest, EachPageHoldsOnlyItsOwnDrawing) {
    CPreviewPrinter p(&window);
    Record(p, 3);
    ASSERT_EQ(p.GetPageCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const Lines fills = Fills(p.GetPage(i));
        ASSERT_EQ(fills.size(), 1u) << "page " << i;
        const std::string n = std::to_string(i);
        EXPECT_EQ(fills[0], "internalFillRect " + n + " " + n + " " + std::to_string(i + 1) + " " +
                                std::to_string(i + 1));
    }
    EXPECT_EQ(p.GetPage(-1), nullptr);
    EXPECT_EQ(p.GetPage(3), nullptr);
    EXPECT_EQ(p.GetPages().size(), 3u);
    p.ReleasePicturies();
    EXPECT_EQ(p.GetPageCount(), 0);
    EXPECT_TRUE(p.GetPages().empty());
}

TEST_F(PreviewPrinterTest, AnAbortedJobAddsNoBlankPage) {
    CPreviewPrinter p(&window);
    Record(p, 5, 1);
    EXPECT_EQ(p.GetPageCount(), 1);
    for (IVectorPicture *page : p.GetPages()) EXPECT_NE(page, nullptr);
    // Without a current picture the job records nothing.
    p.ReleasePicturies();
    p.BeginDoc(nullptr);
    p.EndDoc();
    EXPECT_EQ(p.GetPageCount(), 0);
}

TEST_F(PreviewPrinterTest, SettingsComeFromTheSystemPrinterAndSizeThePictures) {
    printer.SetPaperOrientation(IPrinter::Landscape);
    printer.SetMargins(size<int>(10, 15), size<int>(5, 7));
    printer.SetMetric(static_cast<ICanvas::CanvasMetrics>(9), 1);
    CPreviewPrinter p(&window);
    EXPECT_EQ(p.GetMargins(false), size<int>(10, 15));
    EXPECT_EQ(p.GetMargins(true), size<int>(5, 7));
    EXPECT_EQ(p.GetCanvasMetrics(static_cast<ICanvas::CanvasMetrics>(9)), 1);
    EXPECT_EQ(p.GetScale(), size<double>(4, 4));
    // Landscape A4: 297 x 210 mm.
    IVectorPicture *picture = p.GetDrawedPicture();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetCanvasMetrics(ICanvas::WidthPixels), 297 * 4);
    EXPECT_EQ(picture->GetCanvasMetrics(ICanvas::HeightPixels), 210 * 4);
    p.ReleasePicturies();
    for (double bad : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), HUGE_VAL}) {
        p.SetScale(size<double>(bad, 2));
        EXPECT_EQ(p.GetScale(), size<double>(4, 4)) << bad;
    }
    p.SetScale(size<double>(0.001, 0.001));
    picture = p.GetDrawedPicture();
    EXPECT_EQ(picture->GetCanvasMetrics(ICanvas::WidthPixels), 1);
    EXPECT_EQ(p.GetNumCopies(), 1);
    EXPECT_TRUE(p.GetCollate());
    EXPECT_EQ(p.CreatePainter().get(), nullptr);
}

}  // namespace
}  // namespace quelt
