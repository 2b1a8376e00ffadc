#pragma once

// Pictures on Cairo surfaces: a raster picture is an ARGB32 image surface, a
// vector picture a recording surface. Both count 96 pixels to the inch, and
// their default painter belongs to them.

#include <cairo.h>

#include <memory>

#include "quelt/cairo/painter.h"
#include "quelt/paint/picture.h"

namespace quelt::cairo {

class CairoRasterPicture : public IRasterPicture {
  public:
    explicit CairoRasterPicture(size<int> extent = {});
    ~CairoRasterPicture() override;
    CairoRasterPicture(const CairoRasterPicture &) = delete;
    CairoRasterPicture &operator=(const CairoRasterPicture &) = delete;

    quelt_ptr<IPainter> CreatePainter() override;
    IPainter *TakeDefPainter() override { return m_painter.get(); }
    int GetCanvasMetrics(CanvasMetrics index) const override;
    // Fills the picture with the default painter's clear colour (undefined: transparent).
    void Clear() override;
    // Writes a PNG.
    bool Save(const char *path) override;
    // A new, transparent surface of that size (negative sizes count as 0).
    void SetSize(size<int> extent) override;

    cairo_surface_t *GetSurface() const { return m_surface; }
    // The pixel as drawn (alpha unpremultiplied); the undefined colour outside.
    _color GetPixel(int x, int y) const;

  private:
    cairo_surface_t *m_surface = nullptr;
    std::unique_ptr<CairoPainter> m_painter;
};

class CairoVectorPicture : public IVectorPicture {
  public:
    explicit CairoVectorPicture(size<int> extent = {});
    ~CairoVectorPicture() override;
    CairoVectorPicture(const CairoVectorPicture &) = delete;
    CairoVectorPicture &operator=(const CairoVectorPicture &) = delete;

    quelt_ptr<IVectorPicture> Copy() const override;
    quelt_ptr<IPainter> CreatePainter() override;
    IPainter *TakeDefPainter() override { return m_painter.get(); }
    int GetCanvasMetrics(CanvasMetrics index) const override;
    // A fresh recording; the default painter keeps its state.
    void Clear() override;
    // PDF, SVG or PNG by the file's extension (case ignored); false for any other.
    bool Save(const char *path) override;
    // Keeps the drawing, now bounded by the new size.
    void SetSize(size<int> extent) override;

    cairo_surface_t *GetSurface() const { return m_surface; }
    // Replays the drawing into cr with its top-left corner at the origin, scaled by (sx, sy).
    void Replay(cairo_t *cr, double sx, double sy) const;

  private:
    void Rebuild(bool keepDrawing);

    cairo_surface_t *m_surface = nullptr;
    std::unique_ptr<CairoPainter> m_painter;
};

}  // namespace quelt::cairo
