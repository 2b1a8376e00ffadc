#pragma once

// The device-independent painter. IPainter keeps the drawing state, maps
// logical coordinates (map modes, flips, axis swap, user scale and offset) to
// device integers, rejects and clips what lies outside the canvas, and hands
// the result to the virtual device operations a platform painter implements.

#include <memory>

#include "quelt/core/base.h"
#include "quelt/core/config.h"
#include "quelt/core/wstring.h"
#include "quelt/paint/attributes.h"
#include "quelt/paint/canvas.h"
#include "quelt/paint/color.h"
#include "quelt/paint/geometry.h"
#include "quelt/paint/palette.h"

namespace quelt {

class XPMImage;
class IVectorPicture;
class IRasterPicture;
class IPainter;

// Declared with the painter, whose pipeline it uses; see paint/border.h.
enum BorderShape : int;
enum BorderStyle : int;
QUELT_API void DrawBorder(IPainter *painter, double x1, double y1, double x2, double y2, BorderShape shape,
                          BorderStyle style, bool devicePixels);

class QUELT_API IPainter : public CBase {
  public:
    enum MapMode : int {
        MapPixel = 0,    // one logical unit is a device pixel
        MapMetric = 1,   // 0.1 mm, or CoordInfo::unit millimetres
        MapEnglish = 2,  // 0.01 inch, or CoordInfo::unit inches
        MapCustom = 3,   // a logical width and height fill the device area
    };
    // Device set-ups; the codes' meaning is the platform's.
    enum StdSettings : int { SettingsPrint = 0, SettingsPreview = 2 };
    enum PlotType : int {
        PlotPoints = 0,
        PlotLines = 1,
        PlotLineStrip = 2,
        PlotLineLoop = 3,
        PlotSpline = 4,
        PlotBezier = 5,
        PlotTriangles = 6,
        PlotTriangleStrip = 7,
        PlotTriangleFan = 8,
        PlotQuads = 9,
        PlotQuadStrip = 10,
    };
    static constexpr int PlotTypeCount = 11;
    // Direction 1 goes to internalGradientFillA, every other to internalGradientFillB.
    enum GradientDirection : int { GradientTopToBottom = 1, GradientLeftToRight = 0 };
    // Passed through to the platform unchanged.
    enum ControlElement : int {};
    // Marker kinds: 0 none (plain pixel), 1 circle, 2 triangle up, 3 square,
    // 4 triangle down, 5 diamond, 6 diagonal cross; size in device pixels.
    struct PointStyle {
        int kind = 0;
        int size = 0;
    };

    struct CoordInfo {
        bool flipX = false;  // logical x grows to the left
        bool flipY = false;  // logical y grows upward
        double originX = 0;  // logical point placed at the device origin
        double originY = 0;
        double width = 0;  // mode 3: logical extent of the device area
        double height = 0;
        int devOriginX = 0;  // device point of the logical origin
        int devOriginY = 0;
        int devWidth = 0;  // mode 3: device extent instead of the paint rectangle's; 0 = that one
        int devHeight = 0;
        double unit = 0;  // modes 1 and 2: one logical unit in millimetres or inches
        bool swapXY = false;
    };

    // One segment, for the segment clipper.
    struct queltVertex_d {
        double x1 = 0;
        double y1 = 0;
        double x2 = 0;
        double y2 = 0;
    };

    // Vertices a plot converts and draws at a time.
    static constexpr int PlotBatch = 1008;
    // Polylines up to this many points use the painter's own arrays.
    static constexpr int FixedPoints = 30;

    IPainter();
    // A copy shares neither the plot buffer nor the metrics cache with its source.
    IPainter(const IPainter &other);
    IPainter &operator=(const IPainter &other);
    ~IPainter() override;

    // Device operations the library uses outside a drawing call.
    virtual screen_rectangle<int> GetPaintRect() = 0;
    virtual void EndPaint() = 0;
    virtual bool IsPainting() = 0;
    virtual bool IsDoubleBuffered();
    virtual int GetMetrics(int index) = 0;
    virtual void SetFont(const font &f) = 0;
    virtual void GetPen(pen &p) = 0;
    virtual void GetBrush(brush &b) = 0;
    virtual void GetFont(font &f) = 0;
    virtual void SetPointStyle(PointStyle style);
    virtual bool ExcludesLastPixel() = 0;

  protected:
    virtual void ApplyStdSettings(StdSettings settings) = 0;
    // Puts the device into exactly the state initPainter leaves cached and removes the device clip.
    virtual void StartPaint() = 0;

    virtual _color internalSetPixel(int x, int y, _color color) = 0;
    virtual _color internalGetPixel(int x, int y) = 0;
    // Returns the previous position.
    virtual point<int> internalMoveTo(int x, int y) = 0;
    virtual point<int> internalGetCurrentPos() = 0;
    virtual void internalLineTo(int x, int y) = 0;
    virtual void internalFillRect(int x1, int y1, int x2, int y2) = 0;
    virtual void internalGradientFillA(int x1, int y1, int x2, int y2, _color from, _color to,
                                       unsigned steps) = 0;
    virtual void internalGradientFillB(int x1, int y1, int x2, int y2, _color from, _color to,
                                       unsigned steps) = 0;
    virtual void internalRectangle(int x1, int y1, int x2, int y2) = 0;
    virtual void internalFocusRect(int x1, int y1, int x2, int y2) = 0;
    virtual void internalEllipse(int x1, int y1, int x2, int y2) = 0;
    virtual void internalRoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) = 0;
    // Angles in tenths of a degree.
    virtual void internalArc(int x1, int y1, int x2, int y2, int start, int sweep) = 0;
    virtual void internalChord(int x1, int y1, int x2, int y2, int start, int sweep) = 0;
    virtual void internalPie(int x1, int y1, int x2, int y2, int start, int sweep) = 0;
    virtual void internalPolyLine(const point<int> *points, int count, int a, int b) = 0;
    virtual void internalPolyBezier(const point<int> *points, int count, int a, int b) = 0;
    virtual void internalPolygon(const point<int> *points, int count) = 0;
    // Only inform: coordinates arrive mapped, the device never scales or translates again.
    virtual void OnScale(double sx, double sy) = 0;
    virtual void OnTranslate(double dx, double dy) = 0;

  public:
    virtual _color GetPointColor() = 0;

  protected:
    virtual void internalTextOut(int x, int y, const wchar *text, int count) = 0;
    virtual void internalDrawXPM(const XPMImage &image, int x, int y, int a, int b, int c, int d, int e) = 0;
    virtual void internalSetClipRect(int x1, int y1, int x2, int y2) = 0;
    // All zero when no clip is set.
    virtual screen_rectangle<int> internalGetClipRect() = 0;
    virtual void internalDrawVectorPicture(const IVectorPicture *picture, int x1, int y1, int x2, int y2) = 0;
    virtual void internalDrawRasterPicture(IRasterPicture *picture, int x1, int y1, int x2, int y2);
    virtual void internalExtractRasterPicture(IRasterPicture *picture, int x1, int y1, int x2, int y2);
    virtual void internalDrawRasterPictureEx(IRasterPicture *picture, int sx1, int sy1, int sx2, int sy2,
                                             int x1, int y1, int x2, int y2);
    virtual void internalExtractRasterPictureEx(IRasterPicture *picture, int sx1, int sy1, int sx2, int sy2,
                                                int x1, int y1, int x2, int y2);
    virtual void internalSetPen(const pen &p) = 0;
    virtual void internalSetBrush(const brush &b) = 0;
    virtual void internalSetTextColor(const _color &color) = 0;
    virtual void internalSetBkColor(const _color &color) = 0;
    // A null font is the current font.
    virtual size<int> internalGetTextExtent(const wchar *text, const font *f, int count, bool flag) = 0;
    virtual void internalGetFontMetrics(fontmetrics *metrics) = 0;
    virtual void internalDrawControlElement(ControlElement element, int x1, int y1, int x2, int y2,
                                            bool flag) = 0;
    virtual void internalSemiFillRect(int x1, int y1, int x2, int y2, _color color);
    virtual void internalAlphaBlend(int x1, int y1, int x2, int y2, IRasterPicture *picture,
                                    unsigned char *alpha);
    virtual void internalAlphaBlend(int x1, int y1, int x2, int y2, IRasterPicture *picture, int alpha);

  public:
    // Lifecycle: ends an open pass, resets the drawing state, sets the device up and opens a pass.
    void BeginPaint(StdSettings settings);
    void SetUpdateRect(const screen_rectangle<int> &rect) { m_updateRect = rect; }
    const screen_rectangle<int> &GetUpdateRect() const { return m_updateRect; }
    const ICanvas *GetCanvas() const { return m_canvas; }
    void SetPalette(ICustomPalette *palette) { m_palette = palette; }
    // The palette's colour for a role, the default palette's when none is set.
    _color GetColor(int role);
    // On: every colour given to the setters turns gray.
    void SetColorMode(bool gray) { m_colorMode = gray; }
    bool GetColorMode() const { return m_colorMode; }
    void SetClearColor(_color color);
    _color GetClearColor() const { return m_clearColor; }
    void SetTransform(bool enabled) { m_transform = enabled; }
    bool GetTransform() const { return m_transform; }
    void CheckOutside(bool check) { m_checkOutside = check; }
    bool IsCheckOutside() const { return m_checkOutside; }
    bool GetClipping() const { return m_clipping; }

    // Coordinate system.
    void SetCoordSystem(MapMode mode, CoordInfo *info);
    void GetCoordSystem(MapMode &mode, CoordInfo *info);
    void Scale(double sx, double sy, bool relative);
    void Translate(double dx, double dy, bool relative);
    // Logical to device: writes back the biased doubles and their truncations.
    void ConvertCoord(point<double> *points, point<int> *result, int count, bool noUserTransform);
    void ConvertCoord(queltVertex_d *segments, queltVertex_d *result, int count, bool noUserTransform);
    void ConvertCoord1(point<double> *p, bool noUserTransform);
    void ConvertCoord2(point<double> *p, bool noUserTransform);
    void ConvertCoord3(point<double> *p, bool noUserTransform);
    void ConvertCoord4(point<double> *p, bool noUserTransform);
    // Device to logical, in place; no bias is removed.
    void DeconvertCoord(point<double> *points, int count, bool noUserTransform);
    void DeconvertCoord1(point<double> *p, bool noUserTransform);
    void DeconvertCoord2(point<double> *p, bool noUserTransform);
    void DeconvertCoord3(point<double> *p, bool noUserTransform);
    void DeconvertCoord4(point<double> *p, bool noUserTransform);

    // Clipping.
    void SetClipRect(double x1, double y1, double x2, double y2);
    void SetClipRect(const rectangle<double> &r) { SetClipRect(r.left, r.top, r.right, r.bottom); }
    rectangle<double> GetClipRect();
    // Points on an edge count as outside: 1 left, 4 right, 2 top, 8 bottom.
    static int outcode(double x, double y, const rectangle<double> &r);
    // Every point lies beyond one and the same edge.
    static bool out(const point<double> *points, int count, const rectangle<double> &r);
    // -1, 0 or +1: the side of the line through (x1, y1), (x2, y2) the point lies on.
    static int pointfromline(double px, double py, double x1, double y1, double x2, double y2);
    // The line misses the rectangle.
    static bool lineout(double x1, double y1, double x2, double y2, const rectangle<double> &r);
    // Moves both end points onto the rectangle's edges, truncated to whole numbers.
    static void cut(point<double> &p1, point<double> &p2, const rectangle<double> &r);
    // The rectangle lies entirely beyond one edge of the visible area (only while checking outside).
    bool clip(double x1, double y1, double x2, double y2);
    void prepareRect(double &x1, double &y1, double &x2, double &y2);
    void prepareParam(double &x1, double &y1, double &x2, double &y2, int &start, int &sweep);

    // Attributes.
    void SetPen(const pen &p);
    void SetBrush(const brush &b);
    void SetTextColor(const _color &color);
    void SetBkColor(const _color &color);

    // Pixels and lines.
    _color SetPixel(double x, double y, _color color);
    _color SetPixel(point<double> p, _color color) { return SetPixel(p.x, p.y, color); }
    _color GetPixel(double x, double y);
    _color GetPixel(point<double> p) { return GetPixel(p.x, p.y); }
    point<double> MoveTo(double x, double y);
    point<double> MoveTo(point<double> p) { return MoveTo(p.x, p.y); }
    point<double> GetCurrentPos();
    void LineTo(double x, double y);
    void LineTo(point<double> p) { LineTo(p.x, p.y); }

    // Shapes.
    void FillRect(double x1, double y1, double x2, double y2);
    void FillRect(const rectangle<double> &r) { FillRect(r.left, r.top, r.right, r.bottom); }
    void Rectangle(double x1, double y1, double x2, double y2);
    void Rectangle(const rectangle<double> &r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    void FocusRect(double x1, double y1, double x2, double y2);
    void FocusRect(const rectangle<double> &r) { FocusRect(r.left, r.top, r.right, r.bottom); }
    void Ellipse(double x1, double y1, double x2, double y2);
    void Ellipse(const rectangle<double> &r) { Ellipse(r.left, r.top, r.right, r.bottom); }
    // Corner sizes of exactly (-1, -1) draw a plain rectangle.
    void RoundRect(double x1, double y1, double x2, double y2, double cornerWidth, double cornerHeight);
    void RoundRect(const rectangle<double> &r, double cornerWidth, double cornerHeight) {
        RoundRect(r.left, r.top, r.right, r.bottom, cornerWidth, cornerHeight);
    }
    void Arc(double x1, double y1, double x2, double y2, int start, int sweep);
    void Arc(const rectangle<double> &r, int start, int sweep) {
        Arc(r.left, r.top, r.right, r.bottom, start, sweep);
    }
    void Chord(double x1, double y1, double x2, double y2, int start, int sweep);
    void Chord(const rectangle<double> &r, int start, int sweep) {
        Chord(r.left, r.top, r.right, r.bottom, start, sweep);
    }
    void Pie(double x1, double y1, double x2, double y2, int start, int sweep);
    void Pie(const rectangle<double> &r, int start, int sweep) {
        Pie(r.left, r.top, r.right, r.bottom, start, sweep);
    }
    // The colours reach the device unchanged, also in gray mode.
    void GradientFill(double x1, double y1, double x2, double y2, _color from, _color to, unsigned int steps,
                      GradientDirection direction);
    void GradientFill(const rectangle<double> &r, _color from, _color to, unsigned int steps,
                      GradientDirection direction) {
        GradientFill(r.left, r.top, r.right, r.bottom, from, to, steps, direction);
    }
    void SemiFillRect(double x1, double y1, double x2, double y2, _color color);
    void SemiFillRect(const rectangle<double> &r, _color color) {
        SemiFillRect(r.left, r.top, r.right, r.bottom, color);
    }
    void AlphaBlend(double x1, double y1, double x2, double y2, IRasterPicture *picture, int alpha);
    void AlphaBlend(const rectangle<double> &r, IRasterPicture *picture, int alpha) {
        AlphaBlend(r.left, r.top, r.right, r.bottom, picture, alpha);
    }
    void AlphaBlend(double x1, double y1, double x2, double y2, IRasterPicture *picture,
                    unsigned char *alpha);
    void AlphaBlend(const rectangle<double> &r, IRasterPicture *picture, unsigned char *alpha) {
        AlphaBlend(r.left, r.top, r.right, r.bottom, picture, alpha);
    }
    void DrawControlElement(ControlElement element, double x1, double y1, double x2, double y2, bool flag);
    void DrawControlElement(ControlElement element, const rectangle<double> &r, bool flag) {
        DrawControlElement(element, r.left, r.top, r.right, r.bottom, flag);
    }

    // Text flags. At a point (SetTextAlign) the alignment bits place the text relative to the reference
    // point, turned with the font; in a rectangle (DrawString) the alignment and layout bits place the
    // lines within it (there TextTop is the default and not a bit of its own).
    enum TextFlags : int {
        TextLeft = 1,
        TextRight = 2,
        TextCentre = 4,
        TextTop = 8,
        TextBottom = 0x10,
        TextMiddle = 0x20,
        TextSingleLine = 0x40,
        TextEllipsis = 0x100,
        TextWordWrap = 0x800,
        // Never switch to a single line on its own.
        TextKeepLines = 0x1000,
    };
    void SetTextAlign(int align) { m_textAlign = align; }
    int GetTextAlign() const { return m_textAlign; }
    // A count below 0 or beyond the text is the whole text.
    void DrawString(double x, double y, const wstring &text, int count);
    void DrawString(double x, double y, const wchar *text, int count);
    // Text laid out in a rectangle under TextFlags; returns the size of the drawn block in logical units.
    size<double> DrawString(const rectangle<double> &r, const wstring &text, int flags, int count);
    size<double> DrawString(const rectangle<double> &r, const wchar *text, int flags, int count);
    // The extent in logical units: one line, or (singleLine false) the lines split at line feeds.
    size<double> GetTextSize(const wstring &text, const font *f = nullptr, int count = -1, bool flag = false,
                             bool singleLine = true);
    // The current font's metrics, asked from the device once per font and pass.
    void GetFontMetrics(fontmetrics *metrics);
    // The path shortened around "..." at its separators (\, /, space, _) to fit the width.
    wstring &PrepareFilePath(double width, const wstring &path, wstring &out);
    // The text as last drawn into a rectangle, after cuts and ellipsis.
    wstring GetLastDrawnRealText() const { return m_lastText; }

    // Images and pictures. In gray mode the image is drawn grayed; pictures go to the prepared
    // destination rectangle, and the Ex forms take a source rectangle in picture pixels first.
    void DrawXPM(const XPMImage &image, double x, double y, int a, int b, int c, int d);
    void DrawVectorPicture(const IVectorPicture *picture, double x1, double y1, double x2, double y2);
    void DrawVectorPicture(const IVectorPicture *picture, const rectangle<double> &r) {
        DrawVectorPicture(picture, r.left, r.top, r.right, r.bottom);
    }
    void DrawRasterPicture(IRasterPicture *picture, double x1, double y1, double x2, double y2);
    void DrawRasterPicture(IRasterPicture *picture, const rectangle<double> &r) {
        DrawRasterPicture(picture, r.left, r.top, r.right, r.bottom);
    }
    void ExtractRasterPicture(IRasterPicture *picture, double x1, double y1, double x2, double y2);
    void ExtractRasterPicture(IRasterPicture *picture, const rectangle<double> &r) {
        ExtractRasterPicture(picture, r.left, r.top, r.right, r.bottom);
    }
    void DrawRasterPictureEx(IRasterPicture *picture, double sx1, double sy1, double sx2, double sy2,
                             double x1, double y1, double x2, double y2);
    void DrawRasterPictureEx(IRasterPicture *picture, const rectangle<double> &source,
                             const rectangle<double> &r) {
        DrawRasterPictureEx(picture, source.left, source.top, source.right, source.bottom, r.left, r.top,
                            r.right, r.bottom);
    }
    void ExtractRasterPictureEx(IRasterPicture *picture, double sx1, double sy1, double sx2, double sy2,
                                double x1, double y1, double x2, double y2);
    void ExtractRasterPictureEx(IRasterPicture *picture, const rectangle<double> &source,
                                const rectangle<double> &r) {
        ExtractRasterPictureEx(picture, source.left, source.top, source.right, source.bottom, r.left, r.top,
                               r.right, r.bottom);
    }

    // Polylines. endPixel names the point whose pixel a device that leaves out end pixels gets:
    // 0..count-1 that point, negative the last, count or more none.
    void PolyLine(const point<double> *points, int count, int endPixel, int b);
    void PolyBezier(const point<double> *points, int count, int a, int b);
    void Polygon(const point<double> *points, int count);

    // Plotting: vertices between BeginPlot and EndPlot, drawn in batches of PlotBatch.
    void BeginPlot(PlotType type);
    void Vertex(double x, double y);
    void Vertex(point<double> p) { Vertex(p.x, p.y); }
    void EndPlot();
    // A marker of the current point style (or a pixel) at a logical point.
    void Point(double x, double y);
    void Point(point<double> p) { Point(p.x, p.y); }
    void DrawPoints();
    void DrawLines();
    void DrawLineStrip();
    void DrawLineLoop();
    void DrawSpline();
    void DrawBezier();
    void DrawTriangles();
    void DrawTriangleStrip();
    void DrawTriangleFan();
    void DrawQuads();
    void DrawQuadStrip();

  protected:
    struct PlotBuffer;
    struct MetricsCache;

    // Owned per painter; a copy of the painter starts without one.
    template <class T>
    class Owned {
      public:
        Owned() = default;
        Owned(const Owned &) {}
        Owned &operator=(const Owned &) {
            m_p.reset();
            return *this;
        }
        T *get() const { return m_p.get(); }
        void reset(T *p) { m_p.reset(p); }

      private:
        std::unique_ptr<T> m_p;
    };

    // The layout engine of DrawString in a rectangle, in device pixels.
    size<int> internalDrawString(const rectangle<int> &r, const wchar *text, int flags, int count);

    // Resets the drawing state; the palette, colour mode, clear colour and update rectangle stay.
    void initPainter();
    // Takes the device's paint rectangle and the sizes derived from it.
    void ReadPaintRect();
    // The pipeline applies: transform enabled and a coordinate system or a user transform is active.
    bool Transforms() const { return m_transform && (m_coordActive || m_userActive); }
    // As ConvertCoord and DeconvertCoord with the user transform, but only while the pipeline applies.
    void TransformCoord(point<double> *points, point<int> *result, int count);
    void TransformCoord1(point<double> *p);
    void TransformCoord2(point<double> *p);
    void TransformCoord3(point<double> *p);
    void TransformCoord4(point<double> *p);
    void DetransformCoord(point<double> *points, int count);
    void DetransformCoord1(point<double> *p);
    void DetransformCoord2(point<double> *p);
    void DetransformCoord3(point<double> *p);
    void DetransformCoord4(point<double> *p);
    static void outcode(const double *xy, int *codes, int count, const rectangle<double> &r);
    // As cut on points, without truncation.
    static void cut(queltVertex_d *segment, const rectangle<double> &r);
    static void FixNegRect(double *x1, double *y1, double *x2, double *y2);
    // Gray of the colour in place: g = (30 R + 59 G + 11 B) / 100, alpha 255.
    static void graycolor(_color &color);
    // The platform painter calls these: the right/bottom extension for devices that leave out end pixels,
    // and the font it selected (which invalidates the metrics cache).
    void SetExtension(double x, double y) {
        m_extX = x;
        m_extY = y;
    }
    void FontSelected(const font &f);

    ICustomPalette *m_palette = nullptr;
    MapMode m_mapMode = MapPixel;
    double m_logOriginX = 0;
    double m_logOriginY = 0;
    int m_devOriginX = 0;
    int m_devOriginY = 0;
    double m_scaleX = 1;
    int m_devWidth = 0;
    double m_scaleY = 1;
    int m_devHeight = 0;
    rectangle<double> m_visible;
    screen_rectangle<int> m_paintRect;
    // m_paintRect in doubles: every drawing call tests device points against it.
    rectangle<double> m_paintBounds;
    bool m_swapAxes = false;
    PointStyle m_pointStyle;
    Owned<PlotBuffer> m_plot;
    bool m_checkOutside = true;
    bool m_transform = true;
    double m_userScaleX = 1;
    double m_userScaleY = 1;
    double m_userTransX = 0;
    double m_userTransY = 0;
    void (IPainter::*m_plotRoutines[PlotTypeCount])();
    double m_extX = 0;
    double m_extY = 0;
    _color m_clearColor;
    bool m_colorMode = false;
    bool m_clipping = false;
    Owned<MetricsCache> m_metrics;
    int m_textAlign = 0;
    int m_textAngle = 0;
    pen m_pen;
    brush m_brush;
    font m_font;
    point<int> m_intPoints[FixedPoints];
    point<double> m_dblPoints[FixedPoints];
    bool m_coordActive = false;
    bool m_userActive = false;
    screen_rectangle<int> m_updateRect;
    wstring m_lastText;
    ICanvas *m_canvas = nullptr;

  private:
    friend void DrawBorder(IPainter *, double, double, double, double, BorderShape, BorderStyle, bool);

    void MapPoint(double &x, double &y, bool user) const;
    void UnmapPoint(double &x, double &y, bool user) const;
    void UpdateVisible();
    void UpdateUserActive();
    void Gray(_color &color) const;
    rectangle<double> PaintRect() const;
    // The visible rectangle while the pipeline applies, the paint rectangle otherwise.
    rectangle<double> Reference() const;
    // Maps a logical point for a drawing call; false when it comes out non-finite.
    bool MapForDevice(double &x, double &y) const;
    // Clips, prepares and (with pullIn) brings far edges in; false when nothing is to be drawn.
    bool PrepareShape(double &x1, double &y1, double &x2, double &y2, bool pullIn, long long wx,
                      long long wy);
    // The logical current position and (x, y) lie beyond one and the same edge of the reference.
    [[gnu::noinline]] bool SharesEdge(point<int> current, double x, double y) const;
    // Draws a device segment clipped to the paint rectangle. With startIsCurrent the device stands on a
    // already; returns whether it ends on b.
    bool DrawDeviceSegment(point<double> a, point<double> b, bool startIsCurrent);
    template <class Send>
    void PolyPoints(const point<double> *points, int count, Send send);
    void DrawMarker(int x, int y);
    void FlushPlot();
    void PlotSegment(const point<double> &a, const point<double> &b, bool &atA);
    void PlotPolygon(const point<double> *points, int count);
    void StripVertex(const point<double> &v);
    void StripVertices(PlotBuffer &plot);
    void SplineCurve(const point<double> &a, const point<double> &b, double slopeA, double slopeB);
    void EndSplineRun();
    void SendBezier(int count);
    // A device size in logical units (absolute) while the pipeline applies.
    size<double> ToLogical(int w, int h) const;
    int TextWidth(const wchar *text, int count, bool flag);
    // Prepares a picture's destination; false when it comes out non-finite.
    bool PrepareDestination(double &x1, double &y1, double &x2, double &y2);
};

}  // namespace quelt
