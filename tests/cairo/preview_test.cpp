#include <gtest/gtest.h>

#include <memory>

#include "quelt/cairo/printer.h"
#include "quelt/cairo/system.h"
#include "quelt/cairo/window.h"
#include "quelt/print/preview.h"

using namespace quelt;
using namespace quelt::cairo;

namespace {

constexpr _color kGray(128, 128, 128, 255);

// n pages, each a black frame.
class Frames : public IPrintSupport {
  public:
    explicit Frames(int pages) : m_pages(pages) {}
    bool IsPrintSupport(bool byPage) override { return byPage; }
    int GetPageCount(IPrinter *) const override { return m_pages; }
    void OnPrintPage(IPainter *painter, IPrinter *, int) override { painter->Rectangle(10, 10, 100, 100); }
    void OnPrint(IPainter *, IPrinter *) override {}

  private:
    int m_pages;
};

struct Release {
    void operator()(CairoWindow *window) const { window->Release(); }
};

}  // namespace

// Scrolling moves the window's pixels and leaves the strip it exposes empty;
// the same pass then paints the background there too.
TEST(CairoPreviewTest, ScrolledPagesKeepTheirBackground) {
    auto *system = new CairoSystem(96);
    SetCurrentSystem(system);
    CairoPdfPrinter pdf;
    system->SetPrinter(&pdf);
    {
        const std::unique_ptr<CairoWindow, Release> window(new CairoWindow(400, 600));
        CQueltPreview preview(window.get());
        preview.SetBackgroundColor(kGray);
        Frames three(3);
        preview.SetPrint(&three, nullptr);
        window->PaintDamage();
        ASSERT_EQ(window->GetPixel(2, 590), kGray);
        window->VertBar().Drag(400, true);
        ASSERT_EQ(preview.GetScrollOffset(), -400);
        window->PaintDamage();
        for (int y : {10, 300, 590}) EXPECT_EQ(window->GetPixel(2, y), kGray) << "y " << y;
    }
    system->SetPrinter(nullptr);
    SetCurrentSystem(nullptr);
}
