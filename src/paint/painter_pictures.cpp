// XPM images and platform pictures on the painter.

#include "paint/painter_p.h"
#include "quelt/paint/picture.h"
#include "quelt/paint/xpm.h"

namespace quelt {

void IPainter::DrawXPM(const XPMImage &image, double x, double y, int a, int b, int c, int d) {
    if (image.GetWidth() <= 0 || image.GetHeight() <= 0 || !MapForDevice(x, y)) return;
    if (!m_colorMode) {
        internalDrawXPM(image, ToInt(x), ToInt(y), a, b, c, d, 1);
        return;
    }
    const XPMImage gray(image.GetGrayed());
    internalDrawXPM(gray, ToInt(x), ToInt(y), a, b, c, d, 1);
}

bool IPainter::PrepareDestination(double &x1, double &y1, double &x2, double &y2) {
    prepareRect(x1, y1, x2, y2);
    return Finite(x1, y1) && Finite(x2, y2);
}

void IPainter::DrawVectorPicture(const IVectorPicture *picture, double x1, double y1, double x2, double y2) {
    if (picture && PrepareDestination(x1, y1, x2, y2))
        internalDrawVectorPicture(picture, ToInt(x1), ToInt(y1), ToInt(x2), ToInt(y2));
}

void IPainter::DrawRasterPicture(IRasterPicture *picture, double x1, double y1, double x2, double y2) {
    if (picture && PrepareDestination(x1, y1, x2, y2))
        internalDrawRasterPicture(picture, ToInt(x1), ToInt(y1), ToInt(x2), ToInt(y2));
}

void IPainter::ExtractRasterPicture(IRasterPicture *picture, double x1, double y1, double x2, double y2) {
    if (picture && PrepareDestination(x1, y1, x2, y2))
        internalExtractRasterPicture(picture, ToInt(x1), ToInt(y1), ToInt(x2), ToInt(y2));
}

void IPainter::DrawRasterPictureEx(IRasterPicture *picture, double sx1, double sy1, double sx2, double sy2,
                                   double x1, double y1, double x2, double y2) {
    if (picture && PrepareDestination(x1, y1, x2, y2))
        internalDrawRasterPictureEx(picture, ToInt(sx1), ToInt(sy1), ToInt(sx2), ToInt(sy2), ToInt(x1),
                                    ToInt(y1), ToInt(x2), ToInt(y2));
}

void IPainter::ExtractRasterPictureEx(IRasterPicture *picture, double sx1, double sy1, double sx2, double sy2,
                                      double x1, double y1, double x2, double y2) {
    if (picture && PrepareDestination(x1, y1, x2, y2))
        internalExtractRasterPictureEx(picture, ToInt(sx1), ToInt(sy1), ToInt(sx2), ToInt(sy2), ToInt(x1),
                                       ToInt(y1), ToInt(x2), ToInt(y2));
}

}  // namespace quelt
