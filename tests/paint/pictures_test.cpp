#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "quelt/paint/painter.h"
#include "quelt/testing/pictures.h"

namespace quelt {
namespace {

using quelt::testing::RasterPicture;
using quelt::testing::RecordingVectorPicture;

std::string Slurp(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ScratchPath(const char *name) { return ::testing::TempDir() + name; }

TEST(PicturesTest, VectorPictureRecordsCopiesAndClears) {
    RecordingVectorPicture picture({200, 100});
    EXPECT_FALSE(picture.HasMultiPainterSupport());
    EXPECT_EQ(picture.CreatePainter().get(), nullptr);
    EXPECT_EQ(picture.GetCanvasMetrics(ICanvas::WidthPixels), 200);
    EXPECT_EQ(picture.GetCanvasMetrics(ICanvas::HeightMillimetres), 26);
    IPainter *painter = picture.TakeDefPainter();
    ASSERT_NE(painter, nullptr);
    EXPECT_EQ(painter, picture.TakeDefPainter());
    EXPECT_EQ(painter->GetCanvas(), &picture);

    painter->BeginPaint(IPainter::SettingsPreview);
    painter->MoveTo(10, 20);
    painter->LineTo(190, 20);
    const std::vector<std::string> drawn = picture.Log();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back(), "internalLineTo 190 20");
    EXPECT_EQ(painter->GetPaintRect(), screen_rectangle<int>(0, 0, 200, 100));

    quelt_ptr<IVectorPicture> copy = picture.Copy();
    auto *recorded = dynamic_cast<RecordingVectorPicture *>(copy.get());
    ASSERT_NE(recorded, nullptr);
    EXPECT_EQ(recorded->Log(), drawn);
    EXPECT_EQ(copy->GetSize(), size<int>(200, 100));
    painter->LineTo(190, 90);
    EXPECT_EQ(recorded->Log(), drawn);
    copy->TakeDefPainter()->BeginPaint(IPainter::SettingsPreview);
    EXPECT_GT(recorded->Log().size(), drawn.size());
    EXPECT_EQ(picture.Log().size(), drawn.size() + 1);

    const std::string path = ScratchPath("quelt_vector_picture.txt");
    ASSERT_TRUE(picture.Save(path.c_str()));
    EXPECT_EQ(Slurp(path), [&] {
        std::string all;
        for (const std::string &line : picture.Log()) all += line + "\n";
        return all;
    }());
    std::remove(path.c_str());
    EXPECT_FALSE(picture.Save("/nonexistent-dir/picture.txt"));

    picture.Clear();
    EXPECT_TRUE(picture.Log().empty());
    EXPECT_EQ(picture.TakeDefPainter(), painter);
    EXPECT_EQ(picture.GetSize(), size<int>(200, 100));
    EXPECT_FALSE(recorded->Log().empty());
}

TEST(PicturesTest, RasterPictureKeepsItsPixelsInAnArray) {
    RasterPicture picture({3, 2});
    EXPECT_EQ(picture.Pixels().size(), 6u);
    EXPECT_TRUE(picture.GetPixel(0, 0).IsColorUndefined());
    picture.SetPixel(2, 1, color_red);
    picture.SetPixel(3, 0, color_blue);  // outside: ignored
    picture.SetPixel(-1, 0, color_blue);
    EXPECT_EQ(picture.Pixels()[5], color_red);
    EXPECT_TRUE(picture.GetPixel(3, 0).IsColorUndefined());

    IPainter *painter = picture.TakeDefPainter();
    ASSERT_NE(painter, nullptr);
    painter->BeginPaint(IPainter::SettingsPreview);
    painter->SetPixel(1, 0, color_green);
    EXPECT_EQ(picture.GetPixel(1, 0), color_green);
    EXPECT_EQ(painter->GetPixel(2, 1), color_red);
    EXPECT_EQ(picture.Painter().Count("internalSetPixel"), 1);
    EXPECT_EQ(picture.Painter().Count("internalGetPixel"), 1);

    picture.SetSize({2, 3});  // the pixels that still fit stay
    EXPECT_EQ(picture.GetPixel(1, 0), color_green);
    EXPECT_TRUE(picture.GetPixel(1, 2).IsColorUndefined());
    EXPECT_EQ(picture.GetCanvasMetrics(ICanvas::HeightPixels), 3);
    EXPECT_EQ(painter->GetPaintRect(), screen_rectangle<int>(0, 0, 2, 3));

    const std::string path = ScratchPath("quelt_raster_picture.ppm");
    ASSERT_TRUE(picture.Save(path.c_str()));
    const std::string ppm = Slurp(path);
    std::remove(path.c_str());
    EXPECT_EQ(ppm.substr(0, 11), "P6\n2 3\n255\n");
    ASSERT_EQ(ppm.size(), 11u + 2 * 3 * 3);
    EXPECT_EQ(ppm.substr(14, 3), std::string("\x00\xff\x00", 3));

    picture.Clear();
    EXPECT_TRUE(picture.GetPixel(1, 0).IsColorUndefined());
    EXPECT_EQ(picture.GetSize(), size<int>(2, 3));
}

}  // namespace
}  // namespace quelt
