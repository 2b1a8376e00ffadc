#include <gtest/gtest.h>

#include "golden.h"
#include "quelt/cairo/picture.h"

using namespace quelt;
using namespace quelt::cairo;

TEST(CairoPainterTest, Smoke) {
    CairoRasterPicture picture({40, 30});
    IPainter *p = picture.TakeDefPainter();
    p->BeginPaint(IPainter::SettingsPrint);
    p->SetPen(pen(color_red, 1, pen::Solid));
    p->MoveTo(10, 10);
    p->LineTo(20, 10);
    p->EndPaint();
    EXPECT_EQ(picture.GetPixel(10, 10), _color(255, 0, 0, 255));
}
