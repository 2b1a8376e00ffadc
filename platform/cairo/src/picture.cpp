#include "quelt/cairo/picture.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "cairo_p.h"

namespace quelt::cairo {

namespace {

// Lower-case extension of the path, without the dot.
std::string Extension(const char *path) {
    const std::string name(path);
    const std::size_t dot = name.find_last_of('.');
    const std::size_t slash = name.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = name.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

size<int> NonNegative(size<int> extent) { return {std::max(extent.cx, 0), std::max(extent.cy, 0)}; }

// Image surfaces count 96 pixels to the inch; PDF and SVG pages are measured in points.
constexpr double kPointsPerPixel = 72.0 / kDefaultDpi;

bool Finish(cairo_surface_t *surface) {
    cairo_surface_finish(surface);
    const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

}  // namespace

// ---- raster ----

CairoRasterPicture::CairoRasterPicture(size<int> extent) {
    m_size = NonNegative(extent);
    m_surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, m_size.cx, m_size.cy);
    m_painter.reset(new CairoPainter(this, m_surface, m_size.cx, m_size.cy));
}

CairoRasterPicture::~CairoRasterPicture() {
    m_painter.reset();
    cairo_surface_destroy(m_surface);
}

quelt_ptr<IPainter> CairoRasterPicture::CreatePainter() {
    return quelt_ptr<IPainter>(new CairoPainter(this, m_surface, m_size.cx, m_size.cy));
}

int CairoRasterPicture::GetCanvasMetrics(CanvasMetrics index) const {
    return DeviceMetric(index, m_size.cx, m_size.cy, kDefaultDpi);
}

void CairoRasterPicture::Clear() {
    cairo_t *cr = cairo_create(m_surface);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    const _color clear = m_painter->GetClearColor();
    if (clear.IsColorUndefined()) {
        cairo_set_source_rgba(cr, 0, 0, 0, 0);
    } else {
        SetRgb(cr, clear);
    }
    cairo_paint(cr);
    cairo_destroy(cr);
}

bool CairoRasterPicture::Save(const char *path) {
    if (!path) return false;
    cairo_surface_flush(m_surface);
    return cairo_surface_write_to_png(m_surface, path) == CAIRO_STATUS_SUCCESS;
}

void CairoRasterPicture::SetSize(size<int> extent) {
    m_size = NonNegative(extent);
    cairo_surface_t *old = m_surface;
    m_surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, m_size.cx, m_size.cy);
    m_painter->SetTarget(m_surface, m_size.cx, m_size.cy);
    cairo_surface_destroy(old);
}

_color CairoRasterPicture::GetPixel(int x, int y) const { return ReadPixel(m_surface, x, y); }

// ---- vector ----

CairoVectorPicture::CairoVectorPicture(size<int> extent) {
    m_size = NonNegative(extent);
    m_painter.reset(new CairoPainter(this, nullptr, m_size.cx, m_size.cy));
    Rebuild(false);
}

CairoVectorPicture::~CairoVectorPicture() {
    m_painter.reset();
    cairo_surface_destroy(m_surface);
}

void CairoVectorPicture::Rebuild(bool keepDrawing) {
    const cairo_rectangle_t bounds{0, 0, static_cast<double>(m_size.cx), static_cast<double>(m_size.cy)};
    cairo_surface_t *fresh = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &bounds);
    if (keepDrawing && m_surface) {
        cairo_t *cr = cairo_create(fresh);
        Replay(cr, 1, 1);
        cairo_destroy(cr);
    }
    m_painter->SetTarget(fresh, m_size.cx, m_size.cy);
    if (m_surface) cairo_surface_destroy(m_surface);
    m_surface = fresh;
}

void CairoVectorPicture::Replay(cairo_t *cr, double sx, double sy) const {
    if (m_size.cx <= 0 || m_size.cy <= 0 || !(sx > 0) || !(sy > 0)) return;
    cairo_surface_flush(m_surface);
    cairo_save(cr);
    cairo_scale(cr, sx, sy);
    cairo_set_source_surface(cr, m_surface, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
}

quelt_ptr<IVectorPicture> CairoVectorPicture::Copy() const {
    auto *copy = new CairoVectorPicture(m_size);
    cairo_t *cr = cairo_create(copy->m_surface);
    Replay(cr, 1, 1);
    cairo_destroy(cr);
    return quelt_ptr<IVectorPicture>(copy);
}

quelt_ptr<IPainter> CairoVectorPicture::CreatePainter() {
    return quelt_ptr<IPainter>(new CairoPainter(this, m_surface, m_size.cx, m_size.cy));
}

int CairoVectorPicture::GetCanvasMetrics(CanvasMetrics index) const {
    return DeviceMetric(index, m_size.cx, m_size.cy, kDefaultDpi);
}

void CairoVectorPicture::Clear() { Rebuild(false); }

void CairoVectorPicture::SetSize(size<int> extent) {
    m_size = NonNegative(extent);
    Rebuild(true);
}

bool CairoVectorPicture::Save(const char *path) {
    if (!path) return false;
    const std::string ext = Extension(path);
    const double w = m_size.cx * kPointsPerPixel;
    const double h = m_size.cy * kPointsPerPixel;
    cairo_surface_t *target = nullptr;
    double scale = kPointsPerPixel;
    if (ext == "pdf") {
        target = cairo_pdf_surface_create(path, w, h);
    } else if (ext == "svg") {
        target = cairo_svg_surface_create(path, w, h);
    } else if (ext == "png") {
        target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, m_size.cx, m_size.cy);
        scale = 1;
    } else {
        return false;
    }
    cairo_t *cr = cairo_create(target);
    Replay(cr, scale, scale);
    cairo_show_page(cr);
    cairo_destroy(cr);
    if (ext == "png" && cairo_surface_write_to_png(target, path) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(target);
        return false;
    }
    return Finish(target);
}

}  // namespace quelt::cairo
