// The painter's state, its lifecycle, attributes and the coordinate pipeline.

#include <algorithm>
#include <cmath>
#include <utility>

#include "paint/painter_p.h"

namespace quelt {

namespace {

const wchar kShellDialog[] = {'M', 'S', ' ', 'S', 'h', 'e', 'l', 'l', ' ', 'D', 'i', 'a', 'l', 'o', 'g', 0};

bool Usable(double scale) { return std::isfinite(scale) && scale != 0; }

void Normalise(rectangle<double> &r) {
    if (r.right < r.left) std::swap(r.left, r.right);
    if (r.bottom < r.top) std::swap(r.top, r.bottom);
}

}  // namespace

// The pen, brush and font keep their own defaults until the first BeginPaint.
IPainter::IPainter()
    : m_plotRoutines{&IPainter::DrawPoints,    &IPainter::DrawLines,         &IPainter::DrawLineStrip,
                     &IPainter::DrawLineLoop,  &IPainter::DrawSpline,        &IPainter::DrawBezier,
                     &IPainter::DrawTriangles, &IPainter::DrawTriangleStrip, &IPainter::DrawTriangleFan,
                     &IPainter::DrawQuads,     &IPainter::DrawQuadStrip} {}

IPainter::IPainter(const IPainter &other) = default;
IPainter &IPainter::operator=(const IPainter &other) = default;
IPainter::~IPainter() = default;

bool IPainter::IsDoubleBuffered() { return false; }
void IPainter::SetPointStyle(PointStyle style) { m_pointStyle = style; }
void IPainter::internalDrawRasterPicture(IRasterPicture *, int, int, int, int) {}
void IPainter::internalExtractRasterPicture(IRasterPicture *, int, int, int, int) {}
void IPainter::internalDrawRasterPictureEx(IRasterPicture *, int, int, int, int, int, int, int, int) {}
void IPainter::internalExtractRasterPictureEx(IRasterPicture *, int, int, int, int, int, int, int, int) {}
void IPainter::internalSemiFillRect(int, int, int, int, _color) {}
void IPainter::internalAlphaBlend(int, int, int, int, IRasterPicture *, unsigned char *) {}
void IPainter::internalAlphaBlend(int, int, int, int, IRasterPicture *, int) {}

void IPainter::BeginPaint(StdSettings settings) {
    if (IsPainting()) EndPaint();
    initPainter();
    ApplyStdSettings(settings);
    StartPaint();
}

void IPainter::ReadPaintRect() {
    m_paintRect = GetPaintRect();
    m_paintBounds = {static_cast<double>(m_paintRect.left), static_cast<double>(m_paintRect.top),
                     static_cast<double>(m_paintRect.right), static_cast<double>(m_paintRect.bottom)};
    m_devWidth = Narrow(static_cast<long long>(m_paintRect.right) - m_paintRect.left);
    m_devHeight = Narrow(static_cast<long long>(m_paintRect.bottom) - m_paintRect.top);
}

void IPainter::initPainter() {
    m_mapMode = MapPixel;
    m_logOriginX = m_logOriginY = 0;
    m_devOriginX = m_devOriginY = 0;
    m_scaleX = m_scaleY = 1;
    ReadPaintRect();
    m_visible = PaintRect();
    Normalise(m_visible);
    m_swapAxes = false;
    m_pointStyle = PointStyle{};
    m_checkOutside = true;
    m_transform = true;
    m_userScaleX = m_userScaleY = 1;
    m_userTransX = m_userTransY = 0;
    m_clipping = false;
    if (MetricsCache *cache = m_metrics.get()) cache->valid = false;
    m_textAlign = 0;
    m_textAngle = 0;
    m_pen = pen(_color(0, 0, 0, 255), 1, pen::Solid);
    m_brush = brush(_color(0, 0, 0, 255), brush::NoFill);
    m_font = font(wstring(kShellDialog), font::DefaultFamily, 8, 0, 0);
    m_coordActive = false;
    m_userActive = false;
}

_color IPainter::GetColor(int role) { return (m_palette ? m_palette : GetDefaultPalette())->GetColor(role); }

void IPainter::SetClearColor(_color color) {
    if (m_colorMode) graycolor(color);
    m_clearColor = color;
}

void IPainter::graycolor(_color &color) {
    const int g = (30 * color.GetRed() + 59 * color.GetGreen() + 11 * color.GetBlue()) / 100;
    const auto byte = static_cast<unsigned char>(g);
    color = _color(byte, byte, byte, 255);
}

void IPainter::FontSelected(const font &f) {
    m_font = f;
    m_textAngle = f.GetAngle();
    if (MetricsCache *cache = m_metrics.get()) cache->valid = false;
}

void IPainter::Gray(_color &color) const {
    // The undefined colour keeps meaning "the default" in gray mode.
    if (m_colorMode && !color.IsColorUndefined()) graycolor(color);
}

void IPainter::SetPen(const pen &p) {
    pen next = p;
    _color color = next.GetColor();
    Gray(color);
    next.SetColor(color);
    if (next == m_pen) return;
    m_pen = next;
    internalSetPen(m_pen);
}

void IPainter::SetBrush(const brush &b) {
    brush next = b;
    _color color = next.GetColor();
    Gray(color);
    next.SetColor(color);
    if (next == m_brush &&
        (next.GetStyle() != brush::Pattern ||
         std::equal(next.GetPattern(), next.GetPattern() + brush::PatternRows, m_brush.GetPattern())))
        return;
    m_brush = next;
    internalSetBrush(m_brush);
}

void IPainter::SetTextColor(const _color &color) {
    _color c = color;
    Gray(c);
    internalSetTextColor(c);
}

void IPainter::SetBkColor(const _color &color) {
    _color c = color;
    Gray(c);
    internalSetBkColor(c);
}

// ---- coordinate pipeline ----

void IPainter::UpdateVisible() {
    rectangle<double> r = PaintRect();
    if (Transforms()) {
        UnmapPoint(r.left, r.top, true);
        UnmapPoint(r.right, r.bottom, true);
    }
    Normalise(r);
    m_visible = r;
}

void IPainter::UpdateUserActive() {
    m_userActive = m_userScaleX != 1 || m_userScaleY != 1 || m_userTransX != 0 || m_userTransY != 0;
}

void IPainter::ConvertCoord(point<double> *points, point<int> *result, int count, bool noUserTransform) {
    if (!points || !result) return;
    for (int i = 0; i < count; ++i) {
        MapPoint(points[i].x, points[i].y, !noUserTransform);
        result[i] = ToInt(points[i]);
    }
}

void IPainter::ConvertCoord(queltVertex_d *segments, queltVertex_d *result, int count, bool noUserTransform) {
    if (!segments || !result) return;
    for (int i = 0; i < count; ++i) {
        queltVertex_d s = segments[i];
        MapPoint(s.x1, s.y1, !noUserTransform);
        MapPoint(s.x2, s.y2, !noUserTransform);
        result[i] = s;
    }
}

void IPainter::ConvertCoord1(point<double> *p, bool noUser) {
    if (p) MapPoint(p[0].x, p[0].y, !noUser);
}
void IPainter::ConvertCoord2(point<double> *p, bool noUser) {
    if (!p) return;
    for (int i = 0; i < 2; ++i) MapPoint(p[i].x, p[i].y, !noUser);
}
void IPainter::ConvertCoord3(point<double> *p, bool noUser) {
    if (!p) return;
    for (int i = 0; i < 3; ++i) MapPoint(p[i].x, p[i].y, !noUser);
}
void IPainter::ConvertCoord4(point<double> *p, bool noUser) {
    if (!p) return;
    for (int i = 0; i < 4; ++i) MapPoint(p[i].x, p[i].y, !noUser);
}

void IPainter::DeconvertCoord(point<double> *points, int count, bool noUserTransform) {
    if (!points) return;
    for (int i = 0; i < count; ++i) UnmapPoint(points[i].x, points[i].y, !noUserTransform);
}
void IPainter::DeconvertCoord1(point<double> *p, bool noUser) { DeconvertCoord(p, 1, noUser); }
void IPainter::DeconvertCoord2(point<double> *p, bool noUser) { DeconvertCoord(p, 2, noUser); }
void IPainter::DeconvertCoord3(point<double> *p, bool noUser) { DeconvertCoord(p, 3, noUser); }
void IPainter::DeconvertCoord4(point<double> *p, bool noUser) { DeconvertCoord(p, 4, noUser); }

void IPainter::TransformCoord(point<double> *points, point<int> *result, int count) {
    if (Transforms()) ConvertCoord(points, result, count, false);
}
void IPainter::TransformCoord1(point<double> *p) {
    if (Transforms()) ConvertCoord1(p, false);
}
void IPainter::TransformCoord2(point<double> *p) {
    if (Transforms()) ConvertCoord2(p, false);
}
void IPainter::TransformCoord3(point<double> *p) {
    if (Transforms()) ConvertCoord3(p, false);
}
void IPainter::TransformCoord4(point<double> *p) {
    if (Transforms()) ConvertCoord4(p, false);
}
void IPainter::DetransformCoord(point<double> *points, int count) {
    if (Transforms()) DeconvertCoord(points, count, false);
}
void IPainter::DetransformCoord1(point<double> *p) { DetransformCoord(p, 1); }
void IPainter::DetransformCoord2(point<double> *p) { DetransformCoord(p, 2); }
void IPainter::DetransformCoord3(point<double> *p) { DetransformCoord(p, 3); }
void IPainter::DetransformCoord4(point<double> *p) { DetransformCoord(p, 4); }

// ---- coordinate systems and the user transform ----

void IPainter::SetCoordSystem(MapMode mode, CoordInfo *info) {
    if (mode < MapPixel || mode > MapCustom || (mode == MapCustom && !info)) mode = MapPixel;
    const int pxX = GetMetrics(ICanvas::WidthPixels);
    const int pxY = GetMetrics(ICanvas::HeightPixels);
    m_scaleX = m_scaleY = 1;
    m_logOriginX = m_logOriginY = 0;
    m_devOriginX = m_devOriginY = 0;
    m_swapAxes = false;
    ReadPaintRect();
    m_mapMode = mode;
    m_coordActive = mode != MapPixel;
    if (m_coordActive) {
        const int mmX = GetMetrics(ICanvas::WidthMillimetres);
        const int mmY = GetMetrics(ICanvas::HeightMillimetres);
        double fx = 1, fy = 1;
        if (info) {
            m_devOriginX = info->devOriginX;
            m_devOriginY = info->devOriginY;
            m_logOriginX = info->originX;
            m_logOriginY = info->originY;
            m_swapAxes = info->swapXY;
            fx = info->flipX ? -1 : 1;
            fy = info->flipY ? -1 : 1;
        }
        double sx = 1, sy = 1;
        if (mode == MapCustom) {
            if (Usable(info->width) && Usable(info->height)) {
                if (info->devWidth != 0 && info->devHeight != 0) {
                    m_devWidth = info->devWidth;
                    m_devHeight = info->devHeight;
                }
                sx = fx * m_devWidth / std::fabs(info->width);
                sy = fy * m_devHeight / std::fabs(info->height);
            }
        } else if (pxX > 0 && pxY > 0 && mmX > 0 && mmY > 0) {
            const double inch = mode == MapEnglish ? 25.4 : 1;
            if (info) {
                sx = fx * pxX * info->unit * inch / mmX;
                sy = fy * pxY * info->unit * inch / mmY;
            } else {
                const double per = mode == MapEnglish ? 100 : 10;
                sx = pxX / (mmX * per) * inch;
                sy = pxY / (mmY * per) * inch;
            }
        }
        // A zero or non-finite scale would make the mapping undefined: keep the identity.
        if (Usable(sx) && Usable(sy)) {
            m_scaleX = sx;
            m_scaleY = sy;
        }
    }
    UpdateVisible();
}

void IPainter::GetCoordSystem(MapMode &mode, CoordInfo *info) {
    mode = m_mapMode;
    if (!info) return;
    if (m_mapMode == MapPixel) {
        info->devWidth = m_devWidth;
        info->devHeight = m_devHeight;
        info->width = m_devWidth;
        info->height = m_devHeight;
        return;
    }
    info->flipX = m_scaleX < 0;
    info->flipY = m_scaleY < 0;
    info->originX = m_logOriginX;
    info->originY = m_logOriginY;
    info->devOriginX = m_devOriginX;
    info->devOriginY = m_devOriginY;
    info->swapXY = m_swapAxes;
    if (m_mapMode == MapCustom) {
        info->devWidth = m_devWidth;
        info->devHeight = m_devHeight;
        info->width = m_devWidth / std::fabs(m_scaleX);
        info->height = m_devHeight / std::fabs(m_scaleY);
        return;
    }
    const int pxX = GetMetrics(ICanvas::WidthPixels);
    const int mmX = GetMetrics(ICanvas::WidthMillimetres);
    if (pxX <= 0) {
        info->unit = 0;
    } else if (m_mapMode == MapMetric) {
        info->unit = std::fabs(m_scaleX * mmX / pxX);
    } else {
        info->unit = std::fabs(m_scaleX) * mmX / (pxX * 25.4);
    }
}

void IPainter::Scale(double sx, double sy, bool relative) {
    if (!relative) {
        // Per caller axis, so that an absolute scale is idempotent under swapped axes too.
        sx /= m_swapAxes ? m_userScaleY : m_userScaleX;
        sy /= m_swapAxes ? m_userScaleX : m_userScaleY;
    }
    if (!Usable(sx) || !Usable(sy)) return;
    double dx = sx, dy = sy;
    if (m_swapAxes) std::swap(dx, dy);
    const double nextX = m_userScaleX * dx;
    const double nextY = m_userScaleY * dy;
    if (!Usable(nextX) || !Usable(nextY)) return;
    m_visible.left /= sx;
    m_visible.right /= sx;
    m_visible.top /= sy;
    m_visible.bottom /= sy;
    Normalise(m_visible);
    m_userScaleX = nextX;
    m_userScaleY = nextY;
    UpdateUserActive();
    OnScale(dx, dy);
}

void IPainter::Translate(double dx, double dy, bool relative) {
    if (!Finite(dx, dy)) return;
    if (!relative) {
        dx -= m_swapAxes ? m_userTransY / m_userScaleY : m_userTransX / m_userScaleX;
        dy -= m_swapAxes ? m_userTransX / m_userScaleX : m_userTransY / m_userScaleY;
    }
    double ex = dx, ey = dy;
    if (m_swapAxes) std::swap(ex, ey);
    const double nextX = m_userTransX + ex * m_userScaleX;
    const double nextY = m_userTransY + ey * m_userScaleY;
    if (!Finite(nextX, nextY)) return;
    m_visible.left -= dx;
    m_visible.right -= dx;
    m_visible.top -= dy;
    m_visible.bottom -= dy;
    Normalise(m_visible);
    m_userTransX = nextX;
    m_userTransY = nextY;
    UpdateUserActive();
    OnTranslate(ex, ey);
}

}  // namespace quelt
