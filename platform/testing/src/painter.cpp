#include "quelt/testing/painter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "quelt/core/wstring.h"
#include "quelt/paint/picture.h"

namespace quelt::testing {

namespace {

const wchar kShellDialog[] = {'M', 'S', ' ', 'S', 'h', 'e', 'l', 'l', ' ', 'D', 'i', 'a', 'l', 'o', 'g', 0};

// Units up to the terminator, at most count when count >= 0.
int Resolve(const wchar *text, int count) {
    if (!text) return 0;
    int n = 0;
    while (text[n] && (count < 0 || n < count)) ++n;
    return n;
}

// Sizes beyond int answer the int bounds.
int Clamp(long long v) {
    return static_cast<int>(std::max<long long>(std::numeric_limits<int>::min(),
                                                std::min<long long>(std::numeric_limits<int>::max(), v)));
}

int MillimetresAt96Dpi(long long pixels) { return Clamp(std::llround(pixels * 25.4 / 96)); }

}  // namespace

// One log line in the fixed format.
class RecordingPainter::Line {
  public:
    explicit Line(const char *op) : m_text(op) {}
    const std::string &Text() const { return m_text; }

    Line &Int(long long v) {
        m_text += ' ';
        m_text += std::to_string(v);
        return *this;
    }
    Line &Dbl(double v) {
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
        m_text += ' ';
        m_text.append(buffer, result.ptr);
        return *this;
    }
    Line &Bool(bool v) { return Int(v ? 1 : 0); }
    Line &Color(_color c) {
        m_text += ' ';
        AppendColor(c);
        return *this;
    }
    Line &Pt(const point<int> &p) {
        m_text += ' ' + std::to_string(p.x) + ',' + std::to_string(p.y);
        return *this;
    }
    Line &Points(const point<int> *points, int count) {
        Int(count);
        for (int i = 0; points && i < count; ++i) Pt(points[i]);
        return *this;
    }
    Line &Pen(const pen &p) { return Color(p.GetColor()).Int(p.GetWidth()).Int(p.GetStyle()); }
    Line &Brush(const brush &b) {
        Color(b.GetColor()).Int(b.GetStyle());
        if (b.GetStyle() != brush::Pattern) return *this;
        for (int i = 0; i < brush::PatternRows; ++i) {
            char word[8];
            std::snprintf(word, sizeof word, " %x", static_cast<unsigned>(b.GetPattern()[i]));
            m_text += word;
        }
        return *this;
    }
    Line &Font(const font *f) {
        if (!f) {
            m_text += " -";
            return *this;
        }
        Int(f->GetFamily()).Int(f->GetPointSize()).Int(f->GetFontStyle()).Int(f->GetAngle());
        m_text += ' ' + WideToUtf8(f->GetName());
        return *this;
    }
    Line &Picture(const IPictureCanvas *picture) {
        if (!picture) {
            m_text += " -";
            return *this;
        }
        const size<int> extent = picture->GetSize();
        m_text += ' ' + std::to_string(extent.cx) + ',' + std::to_string(extent.cy);
        return *this;
    }
    // The per-pixel alpha array holds one byte per picture pixel.
    Line &Alpha(const unsigned char *alpha, const IPictureCanvas *picture) {
        if (!alpha || !picture) {
            m_text += " -";
            return *this;
        }
        const size<int> extent = picture->GetSize();
        const long long count =
            extent.cx > 0 && extent.cy > 0 ? static_cast<long long>(extent.cx) * extent.cy : 0;
        Int(count);
        for (long long i = 0; i < count; ++i) Int(alpha[i]);
        return *this;
    }
    Line &Image(const XPMImage &image) {
        m_text += ' ' + std::to_string(image.GetWidth()) + ',' + std::to_string(image.GetHeight());
        return *this;
    }
    Line &Rect(int x1, int y1, int x2, int y2) { return Int(x1).Int(y1).Int(x2).Int(y2); }
    Line &Text(const wchar *text, int count) {
        m_text += ' ';
        for (char c : WideToUtf8(wstring(text, text + Resolve(text, count)))) {
            if (c == '\n') {
                m_text += "\\n";
            } else {
                m_text += c;
            }
        }
        return *this;
    }

  private:
    void AppendColor(_color c) {
        m_text += std::to_string(c.GetRed()) + ',' + std::to_string(c.GetGreen()) + ',' +
                  std::to_string(c.GetBlue()) + ',' + std::to_string(c.GetAlpha());
    }

    std::string m_text;
};

RecordingPainter::RecordingPainter(ICanvas *canvas)
    : m_devFont(wstring(kShellDialog), font::DefaultFamily, 8, 0, 0) {
    m_canvas = canvas;
}

int RecordingPainter::Count(const std::string &op) const {
    int n = 0;
    for (const auto *channel : {&m_log, &m_queries}) {
        for (const std::string &line : *channel) {
            if (line.compare(0, op.size(), op) == 0 && (line.size() == op.size() || line[op.size()] == ' '))
                ++n;
        }
    }
    return n;
}

void RecordingPainter::Clear() {
    m_log.clear();
    m_queries.clear();
}

// Callers test m_logging first, so that a painter with logging off builds no text.
void RecordingPainter::Record(std::vector<std::string> &channel, const Line &line) {
    channel.push_back(line.Text());
}

// The operations every line and plot calls keep their text out of line.
void RecordingPainter::RecordInts(std::vector<std::string> &channel, const char *op,
                                  std::initializer_list<int> args) {
    Line line(op);
    for (int arg : args) line.Int(arg);
    Record(channel, line);
}

void RecordingPainter::SetExcludesLastPixel(bool excludes, double extensionX, double extensionY) {
    m_excludes = excludes;
    SetExtension(extensionX, extensionY);
}

_color RecordingPainter::GetDevicePixel(int x, int y) const {
    const auto it = m_pixels.find({x, y});
    return it == m_pixels.end() ? _color() : it->second;
}

void RecordingPainter::SetTextHeight(int height) {
    m_textHeight = height;
    m_fontMetrics.height = height;
}

void RecordingPainter::SetFontMetrics(const fontmetrics &metrics) {
    m_fontMetrics = metrics;
    m_textHeight = metrics.height;
}

size<int> RecordingPainter::TextExtent(const wchar *text, int count) const {
    const int n = Resolve(text, count);
    long long width = 0;
    for (int i = 0; i < n; ++i) {
        const auto it = m_unitWidths.find(text[i]);
        width += it == m_unitWidths.end() ? m_unitWidth : it->second;
    }
    return {static_cast<int>(width), n > 0 ? m_textHeight : 0};
}

int RecordingPainter::Metric(int index) const {
    const auto it = m_metrics.find(index);
    if (it != m_metrics.end()) return it->second;
    const long long width = static_cast<long long>(m_paintRectDevice.right) - m_paintRectDevice.left;
    const long long height = static_cast<long long>(m_paintRectDevice.bottom) - m_paintRectDevice.top;
    switch (index) {
        case ICanvas::WidthPixels:
            return Clamp(width);
        case ICanvas::HeightPixels:
            return Clamp(height);
        case ICanvas::WidthMillimetres:
            return MillimetresAt96Dpi(width);
        case ICanvas::HeightMillimetres:
            return MillimetresAt96Dpi(height);
        default:
            return 0;
    }
}

// ---- queries ----

screen_rectangle<int> RecordingPainter::GetPaintRect() {
    if (m_logging) Record(m_queries, Line("GetPaintRect"));
    return m_paintRectDevice;
}

bool RecordingPainter::IsPainting() {
    if (m_logging) Record(m_queries, Line("IsPainting"));
    return m_painting;
}

bool RecordingPainter::IsDoubleBuffered() {
    if (m_logging) Record(m_queries, Line("IsDoubleBuffered"));
    return false;
}

int RecordingPainter::GetMetrics(int index) {
    if (m_logging) Record(m_queries, Line("GetMetrics").Int(index));
    return Metric(index);
}

void RecordingPainter::GetPen(pen &p) {
    if (m_logging) Record(m_queries, Line("GetPen"));
    p = m_devPen;
}

void RecordingPainter::GetBrush(brush &b) {
    if (m_logging) Record(m_queries, Line("GetBrush"));
    b = m_devBrush;
}

void RecordingPainter::GetFont(font &f) {
    if (m_logging) Record(m_queries, Line("GetFont"));
    f = m_devFont;
}

bool RecordingPainter::ExcludesLastPixel() {
    if (m_logging) RecordInts(m_queries, "ExcludesLastPixel", {});
    return m_excludes;
}

_color RecordingPainter::GetPointColor() {
    if (m_logging) Record(m_queries, Line("GetPointColor"));
    return m_pointColor;
}

_color RecordingPainter::internalGetPixel(int x, int y) {
    if (m_logging) Record(m_queries, Line("internalGetPixel").Int(x).Int(y));
    return GetDevicePixel(x, y);
}

point<int> RecordingPainter::internalGetCurrentPos() {
    if (m_logging) RecordInts(m_queries, "internalGetCurrentPos", {});
    return m_pos;
}

screen_rectangle<int> RecordingPainter::internalGetClipRect() {
    if (m_logging) Record(m_queries, Line("internalGetClipRect"));
    return m_clip;
}

size<int> RecordingPainter::internalGetTextExtent(const wchar *text, const font *f, int count, bool flag) {
    if (m_logging)
        Record(m_queries, Line("internalGetTextExtent").Font(f).Int(count).Bool(flag).Text(text, count));
    return TextExtent(text, count);
}

void RecordingPainter::internalGetFontMetrics(fontmetrics *metrics) {
    if (m_logging) Record(m_queries, Line("internalGetFontMetrics"));
    if (metrics) *metrics = m_fontMetrics;
}

// ---- device state ----

void RecordingPainter::EndPaint() {
    if (m_logging) Record(m_log, Line("EndPaint"));
    m_painting = false;
}

void RecordingPainter::SetFont(const font &f) {
    if (m_logging) Record(m_log, Line("SetFont").Font(&f));
    m_devFont = f;
    FontSelected(f);
}

void RecordingPainter::SetPointStyle(PointStyle style) {
    if (m_logging) Record(m_log, Line("SetPointStyle").Int(style.kind).Int(style.size));
    IPainter::SetPointStyle(style);
}

void RecordingPainter::ApplyStdSettings(StdSettings settings) {
    if (m_logging) Record(m_log, Line("ApplyStdSettings").Int(settings));
}

void RecordingPainter::StartPaint() {
    if (m_logging) Record(m_log, Line("StartPaint"));
    m_painting = true;
    m_pos = point<int>();
    m_devPen = pen(_color(0, 0, 0, 255), 1, pen::Solid);
    m_devBrush = brush(_color(0, 0, 0, 255), brush::NoFill);
    m_devFont = font(wstring(kShellDialog), font::DefaultFamily, 8, 0, 0);
    m_clip = screen_rectangle<int>();
}

void RecordingPainter::OnScale(double sx, double sy) {
    if (m_logging) Record(m_log, Line("OnScale").Dbl(sx).Dbl(sy));
}

void RecordingPainter::OnTranslate(double dx, double dy) {
    if (m_logging) Record(m_log, Line("OnTranslate").Dbl(dx).Dbl(dy));
}

void RecordingPainter::internalSetClipRect(int x1, int y1, int x2, int y2) {
    if (m_logging) Record(m_log, Line("internalSetClipRect").Rect(x1, y1, x2, y2));
    m_clip = screen_rectangle<int>(x1, y1, x2, y2);
}

void RecordingPainter::internalSetPen(const pen &p) {
    if (m_logging) Record(m_log, Line("internalSetPen").Pen(p));
    m_devPen = p;
}

void RecordingPainter::internalSetBrush(const brush &b) {
    if (m_logging) Record(m_log, Line("internalSetBrush").Brush(b));
    m_devBrush = b;
}

void RecordingPainter::internalSetTextColor(const _color &color) {
    if (m_logging) Record(m_log, Line("internalSetTextColor").Color(color));
}

void RecordingPainter::internalSetBkColor(const _color &color) {
    if (m_logging) Record(m_log, Line("internalSetBkColor").Color(color));
}

// ---- drawing ----

_color RecordingPainter::internalSetPixel(int x, int y, _color color) {
    if (m_logging) Record(m_log, Line("internalSetPixel").Int(x).Int(y).Color(color));
    const _color drawn = color.IsColorUndefined() ? m_devPen.GetColor() : color;
    m_pixels[{x, y}] = drawn;
    return drawn;
}

point<int> RecordingPainter::internalMoveTo(int x, int y) {
    if (m_logging) RecordInts(m_log, "internalMoveTo", {x, y});
    const point<int> previous = m_pos;
    m_pos = point<int>(x, y);
    return previous;
}

// The position first: with the log off the call is two stores and a return.
void RecordingPainter::internalLineTo(int x, int y) {
    m_pos = point<int>(x, y);
    if (m_logging) RecordInts(m_log, "internalLineTo", {x, y});
}

void RecordingPainter::internalFillRect(int x1, int y1, int x2, int y2) {
    if (m_logging) Record(m_log, Line("internalFillRect").Rect(x1, y1, x2, y2));
}

void RecordingPainter::internalGradientFillA(int x1, int y1, int x2, int y2, _color from, _color to,
                                             unsigned steps) {
    if (m_logging)
        Record(m_log, Line("internalGradientFillA").Rect(x1, y1, x2, y2).Color(from).Color(to).Int(steps));
}

void RecordingPainter::internalGradientFillB(int x1, int y1, int x2, int y2, _color from, _color to,
                                             unsigned steps) {
    if (m_logging)
        Record(m_log, Line("internalGradientFillB").Rect(x1, y1, x2, y2).Color(from).Color(to).Int(steps));
}

void RecordingPainter::internalRectangle(int x1, int y1, int x2, int y2) {
    if (m_logging) Record(m_log, Line("internalRectangle").Rect(x1, y1, x2, y2));
}

void RecordingPainter::internalFocusRect(int x1, int y1, int x2, int y2) {
    if (m_logging) Record(m_log, Line("internalFocusRect").Rect(x1, y1, x2, y2));
}

void RecordingPainter::internalEllipse(int x1, int y1, int x2, int y2) {
    if (m_logging) Record(m_log, Line("internalEllipse").Rect(x1, y1, x2, y2));
}

void RecordingPainter::internalRoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) {
    if (m_logging)
        Record(m_log, Line("internalRoundRect").Rect(x1, y1, x2, y2).Int(cornerWidth).Int(cornerHeight));
}

void RecordingPainter::internalArc(int x1, int y1, int x2, int y2, int start, int sweep) {
    if (m_logging) Record(m_log, Line("internalArc").Rect(x1, y1, x2, y2).Int(start).Int(sweep));
}

void RecordingPainter::internalChord(int x1, int y1, int x2, int y2, int start, int sweep) {
    if (m_logging) Record(m_log, Line("internalChord").Rect(x1, y1, x2, y2).Int(start).Int(sweep));
}

void RecordingPainter::internalPie(int x1, int y1, int x2, int y2, int start, int sweep) {
    if (m_logging) Record(m_log, Line("internalPie").Rect(x1, y1, x2, y2).Int(start).Int(sweep));
}

void RecordingPainter::internalPolyLine(const point<int> *points, int count, int a, int b) {
    if (m_logging) Record(m_log, Line("internalPolyLine").Points(points, count).Int(a).Int(b));
    if (points && count > 0) m_pos = points[count - 1];
}

void RecordingPainter::internalPolyBezier(const point<int> *points, int count, int a, int b) {
    if (m_logging) Record(m_log, Line("internalPolyBezier").Points(points, count).Int(a).Int(b));
}

void RecordingPainter::internalPolygon(const point<int> *points, int count) {
    if (m_logging) Record(m_log, Line("internalPolygon").Points(points, count));
}

void RecordingPainter::internalTextOut(int x, int y, const wchar *text, int count) {
    if (m_logging) Record(m_log, Line("internalTextOut").Int(x).Int(y).Int(count).Text(text, count));
}

void RecordingPainter::internalDrawXPM(const XPMImage &image, int x, int y, int a, int b, int c, int d,
                                       int e) {
    if (m_logging)
        Record(m_log, Line("internalDrawXPM").Image(image).Int(x).Int(y).Int(a).Int(b).Int(c).Int(d).Int(e));
    m_lastXPM = image;
}

void RecordingPainter::internalDrawVectorPicture(const IVectorPicture *picture, int x1, int y1, int x2,
                                                 int y2) {
    if (m_logging) Record(m_log, Line("internalDrawVectorPicture").Picture(picture).Rect(x1, y1, x2, y2));
}

void RecordingPainter::internalDrawRasterPicture(IRasterPicture *picture, int x1, int y1, int x2, int y2) {
    if (m_logging) Record(m_log, Line("internalDrawRasterPicture").Picture(picture).Rect(x1, y1, x2, y2));
}

void RecordingPainter::internalExtractRasterPicture(IRasterPicture *picture, int x1, int y1, int x2, int y2) {
    if (m_logging) Record(m_log, Line("internalExtractRasterPicture").Picture(picture).Rect(x1, y1, x2, y2));
}

void RecordingPainter::internalDrawRasterPictureEx(IRasterPicture *picture, int sx1, int sy1, int sx2,
                                                   int sy2, int x1, int y1, int x2, int y2) {
    Record(
        m_log,
        Line("internalDrawRasterPictureEx").Picture(picture).Rect(sx1, sy1, sx2, sy2).Rect(x1, y1, x2, y2));
}

void RecordingPainter::internalExtractRasterPictureEx(IRasterPicture *picture, int sx1, int sy1, int sx2,
                                                      int sy2, int x1, int y1, int x2, int y2) {
    if (m_logging)
        Record(m_log, Line("internalExtractRasterPictureEx")
                          .Picture(picture)
                          .Rect(sx1, sy1, sx2, sy2)
                          .Rect(x1, y1, x2, y2));
}

void RecordingPainter::internalDrawControlElement(ControlElement element, int x1, int y1, int x2, int y2,
                                                  bool flag) {
    if (m_logging)
        Record(m_log, Line("internalDrawControlElement").Int(element).Rect(x1, y1, x2, y2).Bool(flag));
}

void RecordingPainter::internalSemiFillRect(int x1, int y1, int x2, int y2, _color color) {
    if (m_logging) Record(m_log, Line("internalSemiFillRect").Rect(x1, y1, x2, y2).Color(color));
}

void RecordingPainter::internalAlphaBlend(int x1, int y1, int x2, int y2, IRasterPicture *picture,
                                          unsigned char *alpha) {
    if (m_logging)
        Record(m_log, Line("internalAlphaBlend").Rect(x1, y1, x2, y2).Picture(picture).Alpha(alpha, picture));
}

void RecordingPainter::internalAlphaBlend(int x1, int y1, int x2, int y2, IRasterPicture *picture,
                                          int alpha) {
    if (m_logging) Record(m_log, Line("internalAlphaBlend").Rect(x1, y1, x2, y2).Picture(picture).Int(alpha));
}

// ---- canvas ----

RecordingCanvas::RecordingCanvas() : m_default(new RecordingPainter(this)) {}

void RecordingCanvas::Configure(RecordingPainter &painter) const {
    painter.SetPaintRect(m_paintRect);
    painter.m_metrics = m_metrics;
}

quelt_ptr<IPainter> RecordingCanvas::CreatePainter() {
    auto *painter = new RecordingPainter(this);
    Configure(*painter);
    return quelt_ptr<IPainter>(painter);
}

int RecordingCanvas::GetCanvasMetrics(CanvasMetrics index) const { return m_default->Metric(index); }

void RecordingCanvas::SetPaintRect(const screen_rectangle<int> &rect) {
    m_paintRect = rect;
    Configure(*m_default);
}

void RecordingCanvas::SetMetric(int index, int value) {
    m_metrics[index] = value;
    Configure(*m_default);
}

}  // namespace quelt::testing
