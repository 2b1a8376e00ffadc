#include <algorithm>
#include <cstdint>

#include "cairo_p.h"
#include "quelt/cairo/painter.h"
#include "quelt/cairo/palette.h"
#include "quelt/cairo/picture.h"
#include "quelt/paint/xpm.h"

namespace quelt::cairo {

namespace {

void Order(int &a, int &b) {
    if (b < a) std::swap(a, b);
}

cairo_surface_t *RasterSurface(IRasterPicture *picture) {
    auto *raster = dynamic_cast<CairoRasterPicture *>(picture);
    return raster ? raster->GetSurface() : nullptr;
}

}  // namespace

// Images: the source rectangle (sx, sy, sw, sh) of the source goes, scaled,
// onto the inclusive device rectangle, through an optional mask in the
// source's pixels and at an opacity.
void CairoPainter::PaintImage(cairo_surface_t *source, double sx, double sy, double sw, double sh, int x1,
                              int y1, int x2, int y2, cairo_surface_t *mask, double opacity) {
    if (!m_cr || !source || !(sw > 0) || !(sh > 0)) return;
    Order(x1, x2);
    Order(y1, y2);
    const double l = GuardX(x1);
    const double t = GuardY(y1);
    const double w = GuardX(x2 + 1.0) - l;
    const double h = GuardY(y2 + 1.0) - t;
    cairo_save(m_cr);
    cairo_new_path(m_cr);
    cairo_rectangle(m_cr, l, t, w, h);
    cairo_clip(m_cr);
    cairo_translate(m_cr, x1, y1);
    cairo_scale(m_cr, (static_cast<double>(x2) - x1 + 1) / sw, (static_cast<double>(y2) - y1 + 1) / sh);
    cairo_set_source_surface(m_cr, source, -sx, -sy);
    // Edge pixels repeat instead of fading out; without antialiasing a scaled pixel stays one colour.
    cairo_pattern_set_extend(cairo_get_source(m_cr), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(cairo_get_source(m_cr), m_antialias ? CAIRO_FILTER_GOOD : CAIRO_FILTER_NEAREST);
    if (mask) {
        cairo_mask_surface(m_cr, mask, -sx, -sy);
    } else {
        cairo_paint_with_alpha(m_cr, opacity);
    }
    cairo_restore(m_cr);
}

void CairoPainter::internalDrawXPM(const XPMImage &image, int x, int y, int a, int b, int c, int d, int) {
    if (!m_cr) return;
    const int column = std::clamp(c, 0, image.GetWidth());
    const int row = std::clamp(d, 0, image.GetHeight());
    const int w = a > 0 ? std::min(a, image.GetWidth() - column) : image.GetWidth() - column;
    const int h = b > 0 ? std::min(b, image.GetHeight() - row) : image.GetHeight() - row;
    if (w <= 0 || h <= 0) return;
    cairo_surface_t *pixels = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_surface_flush(pixels);
    unsigned char *data = cairo_image_surface_get_data(pixels);
    const int stride = cairo_image_surface_get_stride(pixels);
    for (int j = 0; j < h; ++j) {
        auto *out = reinterpret_cast<std::uint32_t *>(data + static_cast<std::ptrdiff_t>(j) * stride);
        for (int i = 0; i < w; ++i) {
            unsigned long rgb = 0;
            unsigned long mask = 0xFFFFFF;
            // Unknown keys and transparent ones leave the device as it was.
            if (!image.GetPixel(row + j, column + i, rgb, &mask, 0) || mask) {
                out[i] = 0;
                continue;
            }
            out[i] = 0xFF000000u | static_cast<std::uint32_t>(rgb & 0xFF) << 16 |
                     static_cast<std::uint32_t>(rgb & 0xFF00) | static_cast<std::uint32_t>(rgb >> 16 & 0xFF);
        }
    }
    cairo_surface_mark_dirty(pixels);
    PaintImage(pixels, 0, 0, w, h, x, y, x + w - 1, y + h - 1, nullptr, 1.0);
    cairo_surface_destroy(pixels);
}

void CairoPainter::internalDrawVectorPicture(const IVectorPicture *picture, int x1, int y1, int x2, int y2) {
    const auto *vector = dynamic_cast<const CairoVectorPicture *>(picture);
    if (!m_cr || !vector) return;
    const size<int> extent = vector->GetSize();
    if (extent.cx <= 0 || extent.cy <= 0) return;
    Order(x1, x2);
    Order(y1, y2);
    cairo_save(m_cr);
    cairo_new_path(m_cr);
    BoxPath(x1, y1, x2, y2);
    cairo_clip(m_cr);
    cairo_translate(m_cr, x1, y1);
    vector->Replay(m_cr, (static_cast<double>(x2) - x1 + 1) / extent.cx,
                   (static_cast<double>(y2) - y1 + 1) / extent.cy);
    cairo_restore(m_cr);
}

void CairoPainter::internalDrawRasterPicture(IRasterPicture *picture, int x1, int y1, int x2, int y2) {
    if (!picture) return;
    const size<int> extent = picture->GetSize();
    PaintImage(RasterSurface(picture), 0, 0, extent.cx, extent.cy, x1, y1, x2, y2, nullptr, 1.0);
}

void CairoPainter::internalDrawRasterPictureEx(IRasterPicture *picture, int sx1, int sy1, int sx2, int sy2,
                                               int x1, int y1, int x2, int y2) {
    Order(sx1, sx2);
    Order(sy1, sy2);
    PaintImage(RasterSurface(picture), sx1, sy1, sx2 - sx1 + 1.0, sy2 - sy1 + 1.0, x1, y1, x2, y2, nullptr,
               1.0);
}

void CairoPainter::internalExtractRasterPicture(IRasterPicture *picture, int x1, int y1, int x2, int y2) {
    if (!m_cr || !picture) return;
    Order(x1, x2);
    Order(y1, y2);
    const long long w = static_cast<long long>(x2) - x1 + 1;
    const long long h = static_cast<long long>(y2) - y1 + 1;
    if (w > 32767 || h > 32767) return;
    picture->SetSize({static_cast<int>(w), static_cast<int>(h)});
    internalExtractRasterPictureEx(picture, 0, 0, static_cast<int>(w - 1), static_cast<int>(h - 1), x1, y1,
                                   x2, y2);
}

void CairoPainter::internalExtractRasterPictureEx(IRasterPicture *picture, int sx1, int sy1, int sx2, int sy2,
                                                  int x1, int y1, int x2, int y2) {
    cairo_surface_t *target = RasterSurface(picture);
    if (!m_cr || !target) return;
    Order(sx1, sx2);
    Order(sy1, sy2);
    Order(x1, x2);
    Order(y1, y2);
    cairo_surface_flush(cairo_get_target(m_cr));
    // The picture's painter draws on its surface in the same pixel model.
    CairoPainter copier(nullptr, target, picture->GetSize().cx, picture->GetSize().cy);
    cairo_set_operator(copier.m_cr, CAIRO_OPERATOR_SOURCE);
    copier.PaintImage(cairo_get_target(m_cr), x1, y1, x2 - x1 + 1.0, y2 - y1 + 1.0, sx1, sy1, sx2, sy2,
                      nullptr, 1.0);
    cairo_surface_flush(target);
}

void CairoPainter::internalAlphaBlend(int x1, int y1, int x2, int y2, IRasterPicture *picture, int alpha) {
    if (!picture) return;
    const size<int> extent = picture->GetSize();
    PaintImage(RasterSurface(picture), 0, 0, extent.cx, extent.cy, x1, y1, x2, y2, nullptr,
               std::clamp(alpha, 0, 255) / 255.0);
}

void CairoPainter::internalAlphaBlend(int x1, int y1, int x2, int y2, IRasterPicture *picture,
                                      unsigned char *alpha) {
    cairo_surface_t *source = RasterSurface(picture);
    if (!source || !alpha) return;
    const size<int> extent = picture->GetSize();
    if (extent.cx <= 0 || extent.cy <= 0) return;
    // One byte per picture pixel, row-major.
    cairo_surface_t *mask = cairo_image_surface_create(CAIRO_FORMAT_A8, extent.cx, extent.cy);
    cairo_surface_flush(mask);
    unsigned char *data = cairo_image_surface_get_data(mask);
    const int stride = cairo_image_surface_get_stride(mask);
    for (int y = 0; y < extent.cy; ++y)
        std::copy_n(alpha + static_cast<std::ptrdiff_t>(y) * extent.cx, extent.cx,
                    data + static_cast<std::ptrdiff_t>(y) * stride);
    cairo_surface_mark_dirty(mask);
    PaintImage(source, 0, 0, extent.cx, extent.cy, x1, y1, x2, y2, mask, 1.0);
    cairo_surface_destroy(mask);
}

// ---- control elements ----

_color CairoPainter::RoleColor(int role) {
    const _color c = GetColor(role);
    return c.IsColorUndefined() ? CairoSysPalette().GetColor(role) : c;
}

void CairoPainter::FillBox(int x1, int y1, int x2, int y2, _color color) {
    SetRgb(m_cr, color);
    BoxPath(x1, y1, x2, y2);
    cairo_fill(m_cr);
}

void CairoPainter::Bevel(int x1, int y1, int x2, int y2, bool sunken) {
    const _color outerTopLeft = RoleColor(sunken ? RoleShadow : RoleLight);
    const _color outerBottomRight = RoleColor(sunken ? RoleLight : RoleDarkShadow);
    FillBox(x1, y1, x2, y1, outerTopLeft);
    FillBox(x1, y1, x1, y2, outerTopLeft);
    FillBox(x1, y2, x2, y2, outerBottomRight);
    FillBox(x2, y1, x2, y2, outerBottomRight);
    if (x2 - x1 < 2 || y2 - y1 < 2) return;
    const _color inner = RoleColor(sunken ? RoleDarkShadow : RoleShadow);
    if (sunken) {
        FillBox(x1 + 1, y1 + 1, x2 - 1, y1 + 1, inner);
        FillBox(x1 + 1, y1 + 1, x1 + 1, y2 - 1, inner);
    } else {
        FillBox(x1 + 1, y2 - 1, x2 - 1, y2 - 1, inner);
        FillBox(x2 - 1, y1 + 1, x2 - 1, y2 - 1, inner);
    }
}

void CairoPainter::internalDrawControlElement(ControlElement element, int x1, int y1, int x2, int y2,
                                              bool flag) {
    if (!m_cr) return;
    Order(x1, x2);
    Order(y1, y2);
    cairo_save(m_cr);
    const int side = std::min(x2 - x1, y2 - y1);
    const int top = y1 + (y2 - y1 - side) / 2;
    switch (static_cast<int>(element)) {
        case ElementCheckBox:
            FillBox(x1, top, x1 + side, top + side, RoleColor(1));
            Bevel(x1, top, x1 + side, top + side, true);
            if (flag && side >= 6) {
                SetRgb(m_cr, RoleColor(2));
                cairo_set_line_width(m_cr, std::max(1, side / 8));
                cairo_move_to(m_cr, x1 + side * 0.25, top + side * 0.5);
                cairo_line_to(m_cr, x1 + side * 0.45, top + side * 0.72);
                cairo_line_to(m_cr, x1 + side * 0.78, top + side * 0.28);
                cairo_stroke(m_cr);
            }
            break;
        case ElementRadioButton:
            SetRgb(m_cr, RoleColor(1));
            cairo_new_path(m_cr);
            EllipsePath(x1, top, x1 + side + 1.0, top + side + 1.0);
            cairo_fill(m_cr);
            SetRgb(m_cr, RoleColor(RoleShadow));
            EllipsePath(x1 + 0.5, top + 0.5, x1 + side + 0.5, top + side + 0.5);
            cairo_set_line_width(m_cr, 1);
            cairo_stroke(m_cr);
            if (flag) {
                SetRgb(m_cr, RoleColor(2));
                const double inset = side * 0.3;
                EllipsePath(x1 + inset, top + inset, x1 + side + 1 - inset, top + side + 1 - inset);
                cairo_fill(m_cr);
            }
            break;
        case ElementButton:
        case ElementDropDownArrow:
            FillBox(x1, y1, x2, y2, RoleColor(RoleFace));
            Bevel(x1, y1, x2, y2, flag);
            if (static_cast<int>(element) == ElementDropDownArrow) {
                // A triangle pointing down, half the narrower side wide.
                const double cx = (x1 + x2 + 1) / 2.0 + (flag ? 1 : 0);
                const double cy = (y1 + y2 + 1) / 2.0 + (flag ? 1 : 0);
                const double r = std::max(2, side / 4);
                SetRgb(m_cr, RoleColor(2));
                cairo_new_path(m_cr);
                cairo_move_to(m_cr, cx - r, cy - r / 2);
                cairo_line_to(m_cr, cx + r, cy - r / 2);
                cairo_line_to(m_cr, cx, cy + r / 2);
                cairo_close_path(m_cr);
                cairo_fill(m_cr);
            }
            break;
        default:
            FillBox(x1, y1, x2, y2, RoleColor(RoleFace));
            break;
    }
    cairo_restore(m_cr);
}

}  // namespace quelt::cairo
