#include <limits>

#include "paint/painter_fixture.h"
#include "quelt/paint/picture.h"
#include "quelt/paint/xpm.h"

using namespace quelt;
using namespace quelt::paint_test;

namespace {

template <class Base>
class Picture : public Base {
  public:
    explicit Picture(size<int> extent) { this->SetSize(extent); }
    quelt_ptr<IPainter> CreatePainter() override { return nullptr; }
    IPainter *TakeDefPainter() override { return nullptr; }
    int GetCanvasMetrics(ICanvas::CanvasMetrics) const override { return 0; }
    void Clear() override {}
    bool Save(const char *) override { return false; }
};

class Vector : public Picture<IVectorPicture> {
  public:
    using Picture::Picture;
    quelt_ptr<IVectorPicture> Copy() const override { return new Vector(GetSize()); }
};

using Raster = Picture<IRasterPicture>;
using PictureTest = PainterTest;

const char *kRedDot[] = {"2 1 2 1", ". c None", "a c #ff0000", ".a", nullptr};

TEST_F(PictureTest, XpmImagesGoToTheMappedPosition) {
    const XPMImage image(kRedDot, false);
    p.DrawXPM(image, 10.6, 20, 1, 2, 3, 4);
    p.Scale(2, 2, true);
    p.DrawXPM(image, 10.6, 20, 5, 6, 7, 8);
    p.DrawXPM(image, std::numeric_limits<double>::quiet_NaN(), 20, 5, 6, 7, 8);
    p.DrawXPM(XPMImage(), 1, 1, 0, 0, 0, 0);
    EXPECT_EQ(Take(), (Lines{"internalDrawXPM 2,1 10 20 1 2 3 4 1", "OnScale 2 2",
                             "internalDrawXPM 2,1 21 40 5 6 7 8 1"}));
    EXPECT_EQ(p.LastXPM(), image);
}

TEST_F(PictureTest, GrayModeDrawsTheGrayedImage) {
    const XPMImage image(kRedDot, false);
    p.SetColorMode(true);
    p.DrawXPM(image, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(Take(), Lines{"internalDrawXPM 2,1 0 0 0 0 0 0 1"});
    EXPECT_NE(p.LastXPM(), image);
    EXPECT_EQ(p.LastXPM(), XPMImage(image.GetGrayed()));
    unsigned long color = 0, mask = 1;
    ASSERT_TRUE(p.LastXPM().GetPixel(0, 1, color, &mask, 0));
    EXPECT_EQ(color, 91u + 91u * 256 + 91u * 65536);
    EXPECT_EQ(mask, 0u);
}

TEST_F(PictureTest, PicturesTakeThePreparedDestination) {
    Vector vector({30, 20});
    Raster raster({2, 2});
    unsigned char alpha[] = {1, 2, 3, 4};
    p.Scale(2, 2, true);
    p.SetExcludesLastPixel(true, 1, 0);
    p.Clear();
    p.DrawVectorPicture(&vector, 25, 20, 5, 5);
    p.DrawRasterPicture(&raster, rectangle<double>(5, 5, 25, 20));
    p.ExtractRasterPicture(&raster, 5, 5, 25, 20);
    p.DrawRasterPictureEx(&raster, 0.9, 1.5, 30.7, 20, 5, 5, 25, 20);
    p.ExtractRasterPictureEx(&raster, rectangle<double>(-1.5, 0, 2, 2), rectangle<double>(5, 5, 25, 20));
    p.AlphaBlend(5, 5, 25, 20, &raster, alpha);
    p.AlphaBlend(rectangle<double>(5, 5, 25, 20), &raster, 128);
    p.DrawVectorPicture(nullptr, 5, 5, 25, 20);
    p.DrawRasterPicture(nullptr, 5, 5, 25, 20);
    p.DrawRasterPictureEx(&raster, 0, 0, 1, 1, std::numeric_limits<double>::infinity(), 5, 25, 20);
    EXPECT_EQ(Take(), (Lines{
                          "internalDrawVectorPicture 30,20 10 10 51 40",
                          "internalDrawRasterPicture 2,2 10 10 51 40",
                          "internalExtractRasterPicture 2,2 10 10 51 40",
                          "internalDrawRasterPictureEx 2,2 0 1 30 20 10 10 51 40",
                          "internalExtractRasterPictureEx 2,2 -1 0 2 2 10 10 51 40",
                          "internalAlphaBlend 10 10 51 40 2,2 4 1 2 3 4",
                          "internalAlphaBlend 10 10 51 40 2,2 128",
                      }));
    quelt_ptr<IVectorPicture> copy = vector.Copy();
    p.DrawVectorPicture(copy.get(), rectangle<double>(0, 0, 1, 1));
    EXPECT_EQ(Take(), Lines{"internalDrawVectorPicture 30,20 0 0 3 2"});
}

}  // namespace
