#pragma once

// A recording painter and canvas: every device operation the library calls
// becomes one line of text, and the device state the library reads back is
// emulated, so a test can assert exactly what reached the device.
//
// Two ordered channels:
//   Log()      every call that draws or changes device state: the internal...
//              drawing operations and setters, SetFont, SetPointStyle, StartPaint,
//              EndPaint, ApplyStdSettings, OnScale, OnTranslate, internalSetClipRect;
//   Queries()  every getter: GetPaintRect, IsPainting, IsDoubleBuffered, GetMetrics,
//              GetPen, GetBrush, GetFont, ExcludesLastPixel, GetPointColor,
//              internalGetPixel, internalGetCurrentPos, internalGetClipRect,
//              internalGetTextExtent, internalGetFontMetrics.
//
// Line format (fixed; hosts' tests depend on it): the operation's name, then
// its arguments in declaration order, separated by one blank:
//   integer  decimal                      double  shortest round-trip ("0.5", "2")
//   bool     0 or 1                       colour  r,g,b,a
//   point    x,y                          pen     r,g,b,a width style
//   brush    r,g,b,a style, and for the pattern style (8) the eight pattern words in hex
//   array    the count, then the elements (the count argument is not repeated)
//   font     family size style angle name (a null font is "-")
//   picture  its size cx,cy ("-" for null)   XPM image  its size width,height
//   alpha array  its byte count (picture width x height), then the bytes ("-" for null)
//   text     last on the line, UTF-8, each line feed written as the two characters \n
// Examples:
//   internalSetPen 255,0,0,255 1 1
//   internalLineTo 10 20
//   internalPolygon 3 94,53 100,44 105,53
//   internalArc 10 60 50 90 0 -900
//   internalSetClipRect 40 40 81 81
//   internalTextOut 10 20 5 hello
//   SetFont 3 8 0 0 MS Shell Dialog
//   GetMetrics 4
//
// Defaults: paint rectangle (0, 0, 400, 300); metrics 4 and 5 follow the paint
// rectangle's width and height and 6 and 7 are those at 96 pixels an inch
// (rounded millimetres) until set; other metrics 0; ExcludesLastPixel false with
// extension (0, 0); point colour black (1,0,0,255); unknown pixels read as the
// undefined colour. Text model: every 16-bit unit is 8 pixels wide unless given
// its own width, a line is 16 high, and the metrics are
// {16, 13, 3, 0, 8, 0, 8} (height, ascent, descent, internal leading, average
// width, external leading = line spacing, maximum width).

#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "quelt/paint/canvas.h"
#include "quelt/paint/painter.h"
#include "quelt/paint/xpm.h"

namespace quelt::testing {

class RecordingCanvas;

class RecordingPainter : public IPainter {
  public:
    explicit RecordingPainter(ICanvas *canvas = nullptr);

    const std::vector<std::string> &Log() const { return m_log; }
    const std::vector<std::string> &Queries() const { return m_queries; }
    // Lines of both channels whose operation name is op.
    int Count(const std::string &op) const;
    // Empties both channels; the device state stays.
    void Clear();
    // Off: nothing is recorded (the device state is still kept), for benchmarks.
    void SetLogging(bool on) { m_logging = on; }
    bool IsLogging() const { return m_logging; }

    void SetPaintRect(const screen_rectangle<int> &rect) { m_paintRectDevice = rect; }
    void SetMetric(int index, int value) { m_metrics[index] = value; }
    // A device that leaves out end pixels, and the right/bottom extension the painter adds for it.
    void SetExcludesLastPixel(bool excludes, double extensionX = 0, double extensionY = 0);
    void SetPointColor(_color color) { m_pointColor = color; }
    // What internalGetPixel answers at (x, y); internalSetPixel writes here too.
    void SetDevicePixel(int x, int y, _color color) { m_pixels[{x, y}] = color; }
    _color GetDevicePixel(int x, int y) const;
    void SetUnitWidth(int width) { m_unitWidth = width; }
    void SetUnitWidth(wchar unit, int width) { m_unitWidths[unit] = width; }
    // Also the metrics' line height.
    void SetTextHeight(int height);
    // Also the text height (the record's first field).
    void SetFontMetrics(const fontmetrics &metrics);
    // The model's extent of count units of text (count < 0: up to the terminator).
    size<int> TextExtent(const wchar *text, int count) const;

    // The emulated device.
    point<int> DevicePos() const { return m_pos; }
    const pen &DevicePen() const { return m_devPen; }
    const brush &DeviceBrush() const { return m_devBrush; }
    const font &DeviceFont() const { return m_devFont; }
    const screen_rectangle<int> &DeviceClip() const { return m_clip; }
    // The image internalDrawXPM received last.
    const XPMImage &LastXPM() const { return m_lastXPM; }

    screen_rectangle<int> GetPaintRect() override;
    void EndPaint() override;
    bool IsPainting() override;
    bool IsDoubleBuffered() override;
    int GetMetrics(int index) override;
    void SetFont(const font &f) override;
    void GetPen(pen &p) override;
    void GetBrush(brush &b) override;
    void GetFont(font &f) override;
    void SetPointStyle(PointStyle style) override;
    bool ExcludesLastPixel() override;
    _color GetPointColor() override;

  protected:
    void ApplyStdSettings(StdSettings settings) override;
    void StartPaint() override;
    _color internalSetPixel(int x, int y, _color color) override;
    _color internalGetPixel(int x, int y) override;
    point<int> internalMoveTo(int x, int y) override;
    point<int> internalGetCurrentPos() override;
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
    void OnScale(double sx, double sy) override;
    void OnTranslate(double dx, double dy) override;
    void internalTextOut(int x, int y, const wchar *text, int count) override;
    void internalDrawXPM(const XPMImage &image, int x, int y, int a, int b, int c, int d, int e) override;
    void internalSetClipRect(int x1, int y1, int x2, int y2) override;
    screen_rectangle<int> internalGetClipRect() override;
    void internalDrawVectorPicture(const IVectorPicture *picture, int x1, int y1, int x2, int y2) override;
    void internalDrawRasterPicture(IRasterPicture *picture, int x1, int y1, int x2, int y2) override;
    void internalExtractRasterPicture(IRasterPicture *picture, int x1, int y1, int x2, int y2) override;
    void internalDrawRasterPictureEx(IRasterPicture *picture, int sx1, int sy1, int sx2, int sy2, int x1,
                                     int y1, int x2, int y2) override;
    void internalExtractRasterPictureEx(IRasterPicture *picture, int sx1, int sy1, int sx2, int sy2, int x1,
                                        int y1, int x2, int y2) override;
    void internalSetPen(const pen &p) override;
    void internalSetBrush(const brush &b) override;
    void internalSetTextColor(const _color &color) override;
    void internalSetBkColor(const _color &color) override;
    size<int> internalGetTextExtent(const wchar *text, const font *f, int count, bool flag) override;
    void internalGetFontMetrics(fontmetrics *metrics) override;
    void internalDrawControlElement(ControlElement element, int x1, int y1, int x2, int y2,
                                    bool flag) override;
    void internalSemiFillRect(int x1, int y1, int x2, int y2, _color color) override;
    void internalAlphaBlend(int x1, int y1, int x2, int y2, IRasterPicture *picture,
                            unsigned char *alpha) override;
    void internalAlphaBlend(int x1, int y1, int x2, int y2, IRasterPicture *picture, int alpha) override;

  private:
    friend class RecordingCanvas;
    class Line;
    void Record(std::vector<std::string> &channel, const Line &line);
    [[gnu::noinline]] void RecordInts(std::vector<std::string> &channel, const char *op,
                                      std::initializer_list<int> args);
    int Metric(int index) const;

    std::vector<std::string> m_log;
    std::vector<std::string> m_queries;
    bool m_logging = true;

    screen_rectangle<int> m_paintRectDevice{0, 0, 400, 300};
    std::map<int, int> m_metrics;
    bool m_excludes = false;
    _color m_pointColor{1, 0, 0, 255};
    std::map<std::pair<int, int>, _color> m_pixels;
    int m_unitWidth = 8;
    std::map<wchar, int> m_unitWidths;
    int m_textHeight = 16;
    fontmetrics m_fontMetrics{16, 13, 3, 0, 8, 0, 8};

    bool m_painting = false;
    point<int> m_pos;
    pen m_devPen;
    brush m_devBrush;
    font m_devFont;
    screen_rectangle<int> m_clip;
    XPMImage m_lastXPM;
};

// A canvas whose painters record. Painters it creates (and its own default
// painter) start with the canvas's paint rectangle and metrics.
class RecordingCanvas : public ICanvas {
  public:
    RecordingCanvas();

    bool HasMultiPainterSupport() override { return true; }
    quelt_ptr<IPainter> CreatePainter() override;
    IPainter *TakeDefPainter() override { return m_default.get(); }
    int GetCanvasMetrics(CanvasMetrics index) const override;

    void SetPaintRect(const screen_rectangle<int> &rect);
    void SetMetric(int index, int value);
    RecordingPainter &DefaultPainter() { return *m_default; }

  private:
    void Configure(RecordingPainter &painter) const;

    screen_rectangle<int> m_paintRect{0, 0, 400, 300};
    std::map<int, int> m_metrics;
    std::unique_ptr<RecordingPainter> m_default;
};

}  // namespace quelt::testing
