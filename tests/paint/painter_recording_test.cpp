#include <string>

#include "paint/painter_fixture.h"

using namespace quelt;
using namespace quelt::paint_test;

namespace {

class OpenRecorder : public quelt::testing::RecordingPainter {
  public:
    using RecordingPainter::internalGetFontMetrics;
    using RecordingPainter::internalGetTextExtent;
    using RecordingPainter::internalTextOut;
    using RecordingPainter::OnScale;
    int TextAngle() const { return m_textAngle; }
};

const wchar kText[] = {'a', '\n', 0xe9, 'b', 0};

TEST(RecordingPainter, LinesFollowTheFixedFormat) {
    OpenRecorder r;
    r.OnScale(0.1, 2);
    r.OnScale(1e300, -0.5);
    r.SetFont(font(Utf8ToWide("Sans Serif"), font::FontFamily(2), 12, 1, 900));
    r.internalTextOut(1, 2, kText, 4);
    r.internalTextOut(1, 2, kText, 1);
    r.internalTextOut(1, 2, kText, -1);
    const IPainter::PointStyle style{2, 9};
    r.SetPointStyle(style);
    EXPECT_EQ(r.Log(), (Lines{"OnScale 0.1 2", "OnScale 1e+300 -0.5", "SetFont 2 12 1 900 Sans Serif",
                              "internalTextOut 1 2 4 a\\n\xc3\xa9"
                              "b",
                              "internalTextOut 1 2 1 a",
                              "internalTextOut 1 2 -1 a\\n\xc3\xa9"
                              "b",
                              "SetPointStyle 2 9"}));
    EXPECT_EQ(r.TextAngle(), 900);
    EXPECT_EQ(r.DeviceFont().GetPointSize(), 12);
    EXPECT_TRUE(r.Queries().empty());
}

TEST(RecordingPainter, QueriesAreASeparateChannel) {
    OpenRecorder r;
    EXPECT_EQ(r.GetMetrics(4), 400);
    EXPECT_EQ(r.GetMetrics(6), 106);
    EXPECT_EQ(r.GetMetrics(7), 79);
    EXPECT_EQ(r.GetMetrics(9), 0);
    r.SetMetric(9, 1);
    EXPECT_EQ(r.GetMetrics(9), 1);
    r.SetPaintRect({0, 0, 960, 480});
    EXPECT_EQ(r.GetMetrics(6), 254);
    EXPECT_FALSE(r.IsPainting());
    r.internalGetTextExtent(kText, nullptr, 2, true);
    EXPECT_TRUE(r.Log().empty());
    EXPECT_EQ(r.Queries().front(), "GetMetrics 4");
    EXPECT_EQ(r.Queries().back(), "internalGetTextExtent - 2 1 a\\n");
    EXPECT_EQ(r.Count("GetMetrics"), 6);
    EXPECT_EQ(r.Count("GetMetric"), 0);
    r.Clear();
    EXPECT_TRUE(r.Queries().empty());
    EXPECT_EQ(r.Count("GetMetrics"), 0);
}

TEST(RecordingPainter, LoggingOffKeepsTheDeviceState) {
    OpenRecorder r;
    r.BeginPaint(IPainter::SettingsPreview);
    r.SetLogging(false);
    r.MoveTo(5, 6);
    r.SetPen(pen(_color(1, 2, 3, 255), 2, pen::Solid));
    r.SetPixel(7, 8, _color());
    EXPECT_FALSE(r.IsLogging());
    EXPECT_EQ(r.Log().size(), 2u);  // BeginPaint's
    EXPECT_EQ(r.DevicePos(), point<int>(5, 6));
    EXPECT_EQ(r.DevicePen(), pen(_color(1, 2, 3, 255), 2, pen::Solid));
    EXPECT_EQ(r.GetDevicePixel(7, 8), _color(1, 2, 3, 255));
    EXPECT_TRUE(r.GetDevicePixel(0, 0).IsColorUndefined());
    r.SetLogging(true);
    r.EndPaint();
    EXPECT_EQ(r.Log().back(), "EndPaint");
    EXPECT_FALSE(r.IsPainting());
}

TEST(RecordingPainter, FixedWidthTextModel) {
    OpenRecorder r;
    const wchar hi[] = {'h', 'i', 'i', 0};
    EXPECT_EQ(r.TextExtent(hi, -1), size<int>(24, 16));
    r.SetUnitWidth('i', 3);
    r.SetUnitWidth(7);
    r.SetTextHeight(12);
    struct Case {
        const wchar *text;
        int count;
        size<int> extent;
    } cases[] = {
        {hi, -1, {13, 12}}, {hi, 1, {7, 12}}, {hi, 99, {13, 12}}, {hi, 0, {0, 0}}, {nullptr, 5, {0, 0}}};
    for (const Case &c : cases) {
        EXPECT_EQ(r.internalGetTextExtent(c.text, nullptr, c.count, false), c.extent) << c.count;
    }
    r.SetFontMetrics({20, 15, 5, 1, 9, 4, 11});
    EXPECT_EQ(r.TextExtent(hi, 2).cy, 20);
    r.SetTextHeight(18);
    fontmetrics got;
    r.internalGetFontMetrics(&got);
    EXPECT_EQ(got.height, 18);
    EXPECT_EQ(got.externalLeading, 4);
    EXPECT_EQ(r.Count("internalGetFontMetrics"), 1);
}

TEST(RecordingCanvas, PaintersShareTheCanvasSetUp) {
    quelt::testing::RecordingCanvas canvas;
    canvas.SetPaintRect({0, 0, 640, 480});
    canvas.SetMetric(6, 100);
    EXPECT_TRUE(canvas.HasMultiPainterSupport());
    EXPECT_EQ(canvas.GetCanvasMetrics(ICanvas::WidthPixels), 640);
    EXPECT_EQ(canvas.GetCanvasMetrics(ICanvas::WidthMillimetres), 100);
    IPainter *own = canvas.TakeDefPainter();
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own, canvas.TakeDefPainter());
    EXPECT_EQ(own->GetCanvas(), &canvas);
    quelt_ptr<IPainter> made = canvas.CreatePainter();
    ASSERT_TRUE(made);
    EXPECT_NE(made.get(), own);
    EXPECT_EQ(made->GetCanvas(), &canvas);
    EXPECT_EQ(made->GetPaintRect(), screen_rectangle<int>(0, 0, 640, 480));
    EXPECT_EQ(made->GetMetrics(6), 100);
    EXPECT_EQ(own->GetMetrics(6), 100);
}

}  // namespace
