#pragma once

// The device operations of IPainter on a cairo_t, with text through Pango.
//
// Pixel model: device coordinates are inclusive. A fill, an outline, an
// ellipse or a clip given (l, t, r, b) covers [l, r + 1) x [t, b + 1); lines
// run through pixel centres with square caps, so a 1-pixel line from (10, 10)
// to (20, 10) sets exactly those eleven pixels. Colours are drawn opaque,
// except in SemiFillRect and AlphaBlend where opacity is the point.
// Antialiasing is off unless SetAntialias turns it on, so drawings on image
// surfaces are exact to the pixel.

#include <cairo.h>

#include <memory>

#include "quelt/paint/canvas.h"
#include "quelt/paint/painter.h"

namespace quelt::cairo {

// Pen styles this painter knows; any other code draws solid.
enum CairoPenStyle : int {
    PenNull = 0,  // no line (shapes are filled only)
    PenSolid = 1,
    PenDash = 2,
    PenDot = 3,
    PenDashDot = 4,
    PenDashDotDot = 5,
};

// Control elements drawn plainly in the palette's colours; the flag is
// pressed, checked or selected. Any other code draws a face rectangle.
enum CairoControlElement : int {
    ElementButton = 0,
    ElementCheckBox = 1,
    ElementRadioButton = 2,
    ElementDropDownArrow = 3,
};

// Canvas metrics beyond the four the library reads.
enum CairoMetric : int {
    MetricDotsPerInch = 8,
    MetricBitsPerPixel = 9,  // 32 on colour devices, 1 on monochrome ones
};

// Pixels of a device of width x height at dpi: 4, 5 the pixels, 6, 7 the
// rounded millimetres, 8 the dots per inch, 9 the bits per pixel; others 0.
int DeviceMetric(int index, int width, int height, double dpi);

class CairoPainter : public IPainter {
  public:
    // Draws on surface (referenced; null draws nothing until SetTarget) of
    // width x height device pixels. Metrics come from the canvas when there is
    // one, else from the size at 96 dots per inch.
    CairoPainter(ICanvas *canvas, cairo_surface_t *surface, int width, int height);
    ~CairoPainter() override;
    CairoPainter(const CairoPainter &) = delete;
    CairoPainter &operator=(const CairoPainter &) = delete;

    // Draws on another surface from now on; pen, brush, font, colours, clip
    // and position carry over.
    void SetTarget(cairo_surface_t *surface, int width, int height);
    cairo_t *GetContext() const { return m_cr; }
    void SetAntialias(bool on);
    bool GetAntialias() const { return m_antialias; }
    // A clip under every clip the library sets (a window's damaged area);
    // an empty rectangle (right < left) removes it.
    void SetBaseClip(const screen_rectangle<int> &area);
    _color GetTextColor() const { return m_textColor; }
    _color GetBkColor() const { return m_bkColor; }
    // The setting ApplyStdSettings received last; it changes nothing here.
    StdSettings GetStdSettings() const { return m_settings; }

    screen_rectangle<int> GetPaintRect() override;
    void EndPaint() override;
    bool IsPainting() override { return m_painting; }
    int GetMetrics(int index) override;
    void SetFont(const font &f) override;
    void GetPen(pen &p) override { p = m_devPen; }
    void GetBrush(brush &b) override { b = m_devBrush; }
    void GetFont(font &f) override { f = m_devFont; }
    bool ExcludesLastPixel() override { return false; }
    _color GetPointColor() override;

  protected:
    void ApplyStdSettings(StdSettings settings) override { m_settings = settings; }
    void StartPaint() override;
    _color internalSetPixel(int x, int y, _color color) override;
    _color internalGetPixel(int x, int y) override;
    point<int> internalMoveTo(int x, int y) override;
    point<int> internalGetCurrentPos() override { return m_pos; }
    void internalLineTo(int x, int y) override;
    void internalFillRect(int x1, int y1, int x2, int y2) override;
    void internalGradientFillA(int x1, int y1, int x2, int y2, _color from, _color to,
                               unsigned steps) override;
    void internalGradientFillB(int x1, int y1, int x2, int y2, _color from, _color to,
                               unsigned steps) override;
    void internalRectangle(int x1, int y1, int x2, int y2) override;
    void internalFocusRect(int x1, int y1, int x2, int y2) override;
    void internalEllipse(int x1, int y1, int x2, int y2) override;
    void internalRoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) override;
    void internalArc(int x1, int y1, int x2, int y2, int start, int sweep) override;
    void internalChord(int x1, int y1, int x2, int y2, int start, int sweep) override;
    void internalPie(int x1, int y1, int x2, int y2, int start, int sweep) override;
    void internalPolyLine(const point<int> *points, int count, int a, int b) override;
    void internalPolyBezier(const point<int> *points, int count, int a, int b) override;
    void internalPolygon(const point<int> *points, int count) override;
    void OnScale(double, double) override {}
    void OnTranslate(double, double) override {}
    void internalTextOut(int x, int y, const wchar *text, int count) override;
    // a x b pixels from column c, row d of the image (a or b <= 0: to the image's edge).
    void internalDrawXPM(const XPMImage &image, int x, int y, int a, int b, int c, int d, int e) override;
    void internalSetClipRect(int x1, int y1, int x2, int y2) override;
    screen_rectangle<int> internalGetClipRect() override { return m_clip; }
    void internalDrawVectorPicture(const IVectorPicture *picture, int x1, int y1, int x2, int y2) override;
    void internalDrawRasterPicture(IRasterPicture *picture, int x1, int y1, int x2, int y2) override;
    // The device area becomes the picture (resized to it).
    void internalExtractRasterPicture(IRasterPicture *picture, int x1, int y1, int x2, int y2) override;
    void internalDrawRasterPictureEx(IRasterPicture *picture, int sx1, int sy1, int sx2, int sy2, int x1,
                                     int y1, int x2, int y2) override;
    // The device area is copied, scaled, into the picture's source rectangle.
    void internalExtractRasterPictureEx(IRasterPicture *picture, int sx1, int sy1, int sx2, int sy2, int x1,
                                        int y1, int x2, int y2) override;
    void internalSetPen(const pen &p) override;
    void internalSetBrush(const brush &b) override;
    void internalSetTextColor(const _color &color) override;
    void internalSetBkColor(const _color &color) override { m_bkColor = color; }
    size<int> internalGetTextExtent(const wchar *text, const font *f, int count, bool flag) override;
    void internalGetFontMetrics(fontmetrics *metrics) override;
    void internalDrawControlElement(ControlElement element, int x1, int y1, int x2, int y2,
                                    bool flag) override;
    void internalSemiFillRect(int x1, int y1, int x2, int y2, _color color) override;
    void internalAlphaBlend(int x1, int y1, int x2, int y2, IRasterPicture *picture,
                            unsigned char *alpha) override;
    void internalAlphaBlend(int x1, int y1, int x2, int y2, IRasterPicture *picture, int alpha) override;

  private:
    class Text;
    enum class Source { None, Pen, Brush, Text };
    enum class ArcKind { Arc, Chord, Pie };

    void ApplyClip();
    void ApplyPen();
    void SelectFont();
    // Dots per inch of the text: metric 4 x 25.4 / metric 6.
    double Dpi();
    void UsePen();
    void UseBrush();
    void UseText();
    bool HasPen() const;
    bool HasFill() const;
    // Cairo keeps coordinates in 24.8 fixed point: everything drawn stays inside the device grown by 2^16.
    rectangle<double> GuardRect() const;
    double GuardX(double v) const;
    double GuardY(double v) const;
    // The stroke path's offset: pixel centres for odd widths, pixel edges for even ones.
    double PenOffset() const;
    // Lengthens a dashed line by half the pen's width at both ends.
    void LineEnds(double &x1, double &y1, double &x2, double &y2) const;
    // Adds the inclusive box [x1, x2 + 1) x [y1, y2 + 1) to the path.
    void BoxPath(int x1, int y1, int x2, int y2);
    // Fills path(box) with the brush when fill is set, then strokes path(pen's centre line) with the pen.
    template <class Path>
    void Shape(int x1, int y1, int x2, int y2, bool fill, Path path);
    void EllipsePath(double l, double t, double r, double b);
    void ArcPath(double l, double t, double r, double b, int start, int sweep, ArcKind kind);
    void Gradient(int x1, int y1, int x2, int y2, _color from, _color to, unsigned steps, bool vertical);
    void PaintImage(cairo_surface_t *source, double sx, double sy, double sw, double sh, int x1, int y1,
                    int x2, int y2, cairo_surface_t *mask, double opacity);
    _color RoleColor(int role);
    void FillBox(int x1, int y1, int x2, int y2, _color color);
    void Bevel(int x1, int y1, int x2, int y2, bool sunken);

    cairo_t *m_cr = nullptr;
    int m_width = 0;
    int m_height = 0;
    bool m_antialias = false;
    bool m_painting = false;
    StdSettings m_settings = SettingsPrint;
    Source m_source = Source::None;
    pen m_devPen;
    brush m_devBrush;
    font m_devFont;
    _color m_textColor;
    _color m_bkColor;
    point<int> m_pos;
    screen_rectangle<int> m_clip;
    bool m_hasClip = false;
    bool m_dashed = false;
    screen_rectangle<int> m_baseClip{0, 0, -1, -1};
    cairo_pattern_t *m_pattern = nullptr;
    std::unique_ptr<Text> m_text;
};

}  // namespace quelt::cairo
