#include "quelt/cairo/painter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "cairo_p.h"
#include "text_p.h"

namespace quelt::cairo {

namespace {

const wchar kShellDialog[] = {'M', 'S', ' ', 'S', 'h', 'e', 'l', 'l', ' ', 'D', 'i', 'a', 'l', 'o', 'g', 0};

// A length too short to reach another pixel centre (but above Cairo's 1/256 grid), given to what would have
// none.
constexpr double kDegenerate = 1.0 / 64;

void Order(int &a, int &b) {
    if (b < a) std::swap(a, b);
}

// Dash patterns in multiples of the pen width: on, off, on, off ...
struct DashPattern {
    int count;
    double lengths[6];
};

const DashPattern *Dashes(int style) {
    static constexpr DashPattern kDash{2, {6, 2}};
    static constexpr DashPattern kDot{2, {1, 1}};
    static constexpr DashPattern kDashDot{4, {6, 2, 1, 2}};
    static constexpr DashPattern kDashDotDot{6, {6, 2, 1, 2, 1, 2}};
    switch (style) {
        case PenDash:
            return &kDash;
        case PenDot:
            return &kDot;
        case PenDashDot:
            return &kDashDot;
        case PenDashDotDot:
            return &kDashDotDot;
        default:
            return nullptr;
    }
}

}  // namespace

int DeviceMetric(int index, int width, int height, double dpi) {
    if (!(dpi > 0)) dpi = kDefaultDpi;
    switch (index) {
        case ICanvas::WidthPixels:
            return width;
        case ICanvas::HeightPixels:
            return height;
        case ICanvas::WidthMillimetres:
            return static_cast<int>(std::lround(width * 25.4 / dpi));
        case ICanvas::HeightMillimetres:
            return static_cast<int>(std::lround(height * 25.4 / dpi));
        case MetricDotsPerInch:
            return static_cast<int>(std::lround(dpi));
        case MetricBitsPerPixel:
            return 32;
        default:
            return 0;
    }
}

CairoPainter::CairoPainter(ICanvas *canvas, cairo_surface_t *surface, int width, int height)
    : m_devPen(kBlack, 1, pen::Solid),
      m_devBrush(kBlack, brush::NoFill),
      m_devFont(wstring(kShellDialog), font::DefaultFamily, 8, 0, 0),
      m_text(new Text) {
    m_canvas = canvas;
    SetTarget(surface, width, height);
}

CairoPainter::~CairoPainter() {
    if (m_cr) cairo_destroy(m_cr);
    if (m_pattern) cairo_pattern_destroy(m_pattern);
}

void CairoPainter::SetTarget(cairo_surface_t *surface, int width, int height) {
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    if (m_cr) cairo_destroy(m_cr);
    m_cr = surface ? cairo_create(surface) : nullptr;
    m_source = Source::None;
    if (!m_cr) return;
    cairo_set_antialias(m_cr, m_antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
    // Polygons fill alternate areas.
    cairo_set_fill_rule(m_cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_set_line_join(m_cr, CAIRO_LINE_JOIN_MITER);
    ApplyPen();
    ApplyClip();
    SelectFont();
}

void CairoPainter::SetAntialias(bool on) {
    m_antialias = on;
    m_text->SetAntialias(on);
    if (m_cr) cairo_set_antialias(m_cr, on ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

void CairoPainter::SetBaseClip(const screen_rectangle<int> &area) {
    m_baseClip = area;
    ApplyClip();
}

// ---- state ----

screen_rectangle<int> CairoPainter::GetPaintRect() { return {0, 0, m_width, m_height}; }

int CairoPainter::GetMetrics(int index) {
    return m_canvas ? m_canvas->GetCanvasMetrics(static_cast<ICanvas::CanvasMetrics>(index))
                    : DeviceMetric(index, m_width, m_height, kDefaultDpi);
}

double CairoPainter::Dpi() {
    const int pixels = GetMetrics(ICanvas::WidthPixels);
    const int millimetres = GetMetrics(ICanvas::WidthMillimetres);
    return pixels > 0 && millimetres > 0 ? pixels * 25.4 / millimetres : kDefaultDpi;
}

void CairoPainter::StartPaint() {
    m_painting = true;
    m_pos = point<int>();
    m_devPen = pen(kBlack, 1, pen::Solid);
    m_devBrush = brush(kBlack, brush::NoFill);
    m_devFont = font(wstring(kShellDialog), font::DefaultFamily, 8, 0, 0);
    m_textColor = _color();
    m_bkColor = _color();
    m_hasClip = false;
    m_clip = screen_rectangle<int>();
    m_source = Source::None;
    ApplyPen();
    ApplyClip();
    FontSelected(m_devFont);
    SelectFont();
}

void CairoPainter::EndPaint() {
    if (!m_painting) return;
    m_painting = false;
    if (m_cr) cairo_surface_flush(cairo_get_target(m_cr));
}

_color CairoPainter::GetPointColor() { return OrDefault(m_devPen.GetColor(), kBlack); }

void CairoPainter::internalSetPen(const pen &p) {
    m_devPen = p;
    m_source = m_source == Source::Pen ? Source::None : m_source;
    ApplyPen();
}

void CairoPainter::ApplyPen() {
    if (!m_cr) return;
    const double width = std::max(m_devPen.GetWidth(), 1);
    cairo_set_line_width(m_cr, width);
    const DashPattern *pattern = Dashes(m_devPen.GetStyle());
    m_dashed = pattern != nullptr;
    // Dashes have butt caps and exact lengths; lines of them are lengthened by half a width at both ends
    // instead, so that they cover the same pixels as solid lines with square caps.
    cairo_set_line_cap(m_cr, m_dashed ? CAIRO_LINE_CAP_BUTT : CAIRO_LINE_CAP_SQUARE);
    if (!pattern) {
        cairo_set_dash(m_cr, nullptr, 0, 0);
        return;
    }
    double lengths[6];
    for (int i = 0; i < pattern->count; ++i) lengths[i] = pattern->lengths[i] * width;
    cairo_set_dash(m_cr, lengths, pattern->count, 0);
}

void CairoPainter::LineEnds(double &x1, double &y1, double &x2, double &y2) const {
    const double length = std::hypot(x2 - x1, y2 - y1);
    const double half = std::max(m_devPen.GetWidth(), 1) / 2.0;
    const double ux = length > 0 ? (x2 - x1) / length : 1;
    const double uy = length > 0 ? (y2 - y1) / length : 0;
    x1 -= ux * half;
    y1 -= uy * half;
    x2 += ux * half;
    y2 += uy * half;
}

void CairoPainter::internalSetBrush(const brush &b) {
    m_devBrush = b;
    if (m_source == Source::Brush) m_source = Source::None;
    if (m_pattern) cairo_pattern_destroy(m_pattern);
    m_pattern = nullptr;
    if (b.GetStyle() != brush::Pattern) return;
    // Bit 0x80 of word y is the leftmost pixel of row y; clear bits stay transparent.
    cairo_surface_t *tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8);
    cairo_surface_flush(tile);
    unsigned char *data = cairo_image_surface_get_data(tile);
    const int stride = cairo_image_surface_get_stride(tile);
    const _color c = OrDefault(b.GetColor(), kWhite);
    const std::uint32_t argb = 0xFF000000u | static_cast<std::uint32_t>(c.GetRed()) << 16 |
                               static_cast<std::uint32_t>(c.GetGreen()) << 8 | c.GetBlue();
    for (int y = 0; y < 8; ++y) {
        auto *row = reinterpret_cast<std::uint32_t *>(data + y * stride);
        for (int x = 0; x < 8; ++x) row[x] = b.GetPattern()[y] & (0x80 >> x) ? argb : 0;
    }
    cairo_surface_mark_dirty(tile);
    m_pattern = cairo_pattern_create_for_surface(tile);
    cairo_surface_destroy(tile);
    cairo_pattern_set_extend(m_pattern, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(m_pattern, CAIRO_FILTER_NEAREST);
}

void CairoPainter::internalSetTextColor(const _color &color) {
    m_textColor = color;
    if (m_source == Source::Text) m_source = Source::None;
}

bool CairoPainter::HasPen() const { return m_cr && static_cast<int>(m_devPen.GetStyle()) != PenNull; }

bool CairoPainter::HasFill() const { return m_cr && m_devBrush.GetStyle() != brush::NoFill; }

void CairoPainter::UsePen() {
    if (m_source == Source::Pen) return;
    SetRgb(m_cr, OrDefault(m_devPen.GetColor(), kBlack));
    m_source = Source::Pen;
}

void CairoPainter::UseBrush() {
    if (m_source == Source::Brush) return;
    if (m_pattern) {
        cairo_set_source(m_cr, m_pattern);
    } else {
        SetRgb(m_cr, OrDefault(m_devBrush.GetColor(), kWhite));
    }
    m_source = Source::Brush;
}

void CairoPainter::UseText() {
    if (m_source == Source::Text) return;
    SetRgb(m_cr, OrDefault(m_textColor, kBlack));
    m_source = Source::Text;
}

void CairoPainter::internalSetClipRect(int x1, int y1, int x2, int y2) {
    m_clip = screen_rectangle<int>(x1, y1, x2, y2);
    m_hasClip = true;
    ApplyClip();
}

void CairoPainter::ApplyClip() {
    if (!m_cr) return;
    cairo_reset_clip(m_cr);
    const auto clipTo = [this](screen_rectangle<int> r) {
        Order(r.left, r.right);
        Order(r.top, r.bottom);
        BoxPath(r.left, r.top, r.right, r.bottom);
        cairo_clip(m_cr);
    };
    if (m_baseClip.right >= m_baseClip.left && m_baseClip.bottom >= m_baseClip.top) clipTo(m_baseClip);
    if (m_hasClip) clipTo(m_clip);
}

// ---- geometry ----

rectangle<double> CairoPainter::GuardRect() const {
    return {-kGuard, -kGuard, m_width + kGuard, m_height + kGuard};
}

double CairoPainter::GuardX(double v) const { return std::clamp(v, -kGuard, m_width + kGuard); }

double CairoPainter::GuardY(double v) const { return std::clamp(v, -kGuard, m_height + kGuard); }

double CairoPainter::PenOffset() const { return std::max(m_devPen.GetWidth(), 1) % 2 ? 0.5 : 0.0; }

void CairoPainter::BoxPath(int x1, int y1, int x2, int y2) {
    const double l = GuardX(x1);
    const double t = GuardY(y1);
    cairo_rectangle(m_cr, l, t, GuardX(x2 + 1.0) - l, GuardY(y2 + 1.0) - t);
}

template <class Path>
void CairoPainter::Shape(int x1, int y1, int x2, int y2, bool fill, Path path) {
    if (!m_cr) return;
    Order(x1, x2);
    Order(y1, y2);
    if (fill && HasFill()) {
        path(GuardX(x1), GuardY(y1), GuardX(x2 + 1.0), GuardY(y2 + 1.0));
        UseBrush();
        cairo_fill(m_cr);
    }
    if (HasPen()) {
        const double o = PenOffset();
        path(GuardX(x1 + o), GuardY(y1 + o), GuardX(x2 + o), GuardY(y2 + o));
        UsePen();
        cairo_stroke(m_cr);
    }
}

void CairoPainter::EllipsePath(double l, double t, double r, double b) {
    const double rx = (r - l) / 2;
    const double ry = (b - t) / 2;
    cairo_new_sub_path(m_cr);
    // Never a scale by zero: a flat ellipse is a line.
    if (rx <= 0 || ry <= 0) {
        cairo_move_to(m_cr, l, t);
        cairo_line_to(m_cr, r, b);
        return;
    }
    cairo_save(m_cr);
    cairo_translate(m_cr, l + rx, t + ry);
    cairo_scale(m_cr, rx, ry);
    cairo_arc(m_cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(m_cr);
    cairo_close_path(m_cr);
}

void CairoPainter::ArcPath(double l, double t, double r, double b, int start, int sweep, ArcKind kind) {
    const double rx = (r - l) / 2;
    const double ry = (b - t) / 2;
    const double cx = l + rx;
    const double cy = t + ry;
    const double clamped = std::clamp(sweep, -3600, 3600);
    // Counter-clockwise on the device is clockwise in Cairo's y-down angles.
    const double a0 = -start * kPi / 1800;
    const double a1 = -(start + clamped) * kPi / 1800;
    cairo_new_path(m_cr);
    if (kind == ArcKind::Pie) cairo_move_to(m_cr, cx, cy);
    if (rx <= 0 || ry <= 0) {
        const int steps = 64;
        for (int i = 0; i <= steps; ++i) {
            const double a = a0 + (a1 - a0) * i / steps;
            cairo_line_to(m_cr, cx + rx * std::cos(a), cy + ry * std::sin(a));
        }
    } else {
        cairo_save(m_cr);
        cairo_translate(m_cr, cx, cy);
        cairo_scale(m_cr, rx, ry);
        if (clamped > 0) {
            cairo_arc_negative(m_cr, 0, 0, 1, a0, a1);
        } else {
            cairo_arc(m_cr, 0, 0, 1, a0, a1);
        }
        cairo_restore(m_cr);
    }
    if (kind != ArcKind::Arc) cairo_close_path(m_cr);
}

// ---- pixels and lines ----

_color CairoPainter::internalSetPixel(int x, int y, _color color) {
    const _color drawn = color.IsColorUndefined() ? OrDefault(m_devPen.GetColor(), kBlack) : color;
    if (!m_cr) return drawn;
    cairo_save(m_cr);
    SetRgb(m_cr, drawn);
    BoxPath(x, y, x, y);
    cairo_fill(m_cr);
    cairo_restore(m_cr);
    return drawn;
}

_color CairoPainter::internalGetPixel(int x, int y) {
    return m_cr ? ReadPixel(cairo_get_target(m_cr), x, y) : _color();
}

point<int> CairoPainter::internalMoveTo(int x, int y) {
    const point<int> previous = m_pos;
    m_pos = point<int>(x, y);
    return previous;
}

void CairoPainter::internalLineTo(int x, int y) {
    double x1 = m_pos.x;
    double y1 = m_pos.y;
    double x2 = x;
    double y2 = y;
    m_pos = point<int>(x, y);
    if (!HasPen() || !ClipSegment(x1, y1, x2, y2, GuardRect())) return;
    // Cairo draws no cap on a segment of no length: a point gets a direction.
    if (x1 == x2 && y1 == y2) x2 += kDegenerate;
    if (m_dashed) LineEnds(x1, y1, x2, y2);
    const double o = PenOffset();
    UsePen();
    cairo_move_to(m_cr, x1 + o, y1 + o);
    cairo_line_to(m_cr, x2 + o, y2 + o);
    cairo_stroke(m_cr);
}

void CairoPainter::internalPolyLine(const point<int> *points, int count, int, int) {
    if (!points || count <= 0) return;
    m_pos = points[count - 1];
    if (!HasPen()) return;
    const double o = PenOffset();
    const rectangle<double> guard = GuardRect();
    const bool inside = std::all_of(points, points + count, [&](const point<int> &p) {
        return p.x >= guard.left && p.x <= guard.right && p.y >= guard.top && p.y <= guard.bottom;
    });
    cairo_new_path(m_cr);
    if (inside) {
        std::vector<point<double>> line;
        line.reserve(count);
        for (int i = 0; i < count; ++i) line.emplace_back(points[i].x, points[i].y);
        // Dashed lines get their ends lengthened as single segments do.
        if (m_dashed && count > 1) {
            double x = line[1].x, y = line[1].y;
            LineEnds(x, y, line[0].x, line[0].y);
            x = line[count - 2].x, y = line[count - 2].y;
            LineEnds(x, y, line[count - 1].x, line[count - 1].y);
        }
        cairo_move_to(m_cr, line[0].x + o, line[0].y + o);
        for (int i = 1; i < count; ++i) cairo_line_to(m_cr, line[i].x + o, line[i].y + o);
        if (count == 1) cairo_line_to(m_cr, points[0].x + o + kDegenerate, points[0].y + o);
    } else {
        for (int i = 1; i < count; ++i) {
            double x1 = points[i - 1].x, y1 = points[i - 1].y, x2 = points[i].x, y2 = points[i].y;
            if (!ClipSegment(x1, y1, x2, y2, guard)) continue;
            cairo_move_to(m_cr, x1 + o, y1 + o);
            cairo_line_to(m_cr, x2 + o, y2 + o);
        }
    }
    UsePen();
    cairo_stroke(m_cr);
}

void CairoPainter::internalPolyBezier(const point<int> *points, int count, int, int) {
    if (!points || count < 4 || !HasPen()) return;
    const double o = PenOffset();
    const auto x = [&](int i) { return GuardX(points[i].x) + o; };
    const auto y = [&](int i) { return GuardY(points[i].y) + o; };
    cairo_new_path(m_cr);
    cairo_move_to(m_cr, x(0), y(0));
    for (int i = 1; i + 2 < count; i += 3)
        cairo_curve_to(m_cr, x(i), y(i), x(i + 1), y(i + 1), x(i + 2), y(i + 2));
    UsePen();
    cairo_stroke(m_cr);
}

void CairoPainter::internalPolygon(const point<int> *points, int count) {
    if (!points || count <= 0 || !m_cr) return;
    const double o = PenOffset();
    std::vector<point<double>> corners;
    corners.reserve(count);
    for (int i = 0; i < count; ++i) corners.emplace_back(points[i].x + o, points[i].y + o);
    corners = ClipPolygon(corners, GuardRect());
    if (corners.empty()) return;
    cairo_new_path(m_cr);
    cairo_move_to(m_cr, corners[0].x, corners[0].y);
    for (std::size_t i = 1; i < corners.size(); ++i) cairo_line_to(m_cr, corners[i].x, corners[i].y);
    cairo_close_path(m_cr);
    if (HasFill()) {
        UseBrush();
        cairo_fill_preserve(m_cr);
    }
    if (HasPen()) {
        UsePen();
        cairo_stroke(m_cr);
    }
    cairo_new_path(m_cr);
}

// ---- shapes ----

void CairoPainter::internalFillRect(int x1, int y1, int x2, int y2) {
    if (!HasFill()) return;
    Order(x1, x2);
    Order(y1, y2);
    BoxPath(x1, y1, x2, y2);
    UseBrush();
    cairo_fill(m_cr);
}

void CairoPainter::internalRectangle(int x1, int y1, int x2, int y2) {
    Shape(x1, y1, x2, y2, true, [this](double l, double t, double r, double b) {
        cairo_new_path(m_cr);
        cairo_rectangle(m_cr, l, t, r - l, b - t);
    });
}

void CairoPainter::internalEllipse(int x1, int y1, int x2, int y2) {
    Shape(x1, y1, x2, y2, true, [this](double l, double t, double r, double b) {
        cairo_new_path(m_cr);
        EllipsePath(l, t, r, b);
    });
}

void CairoPainter::internalRoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) {
    const double cw = std::abs(static_cast<double>(cornerWidth)) / 2;
    const double ch = std::abs(static_cast<double>(cornerHeight)) / 2;
    Shape(x1, y1, x2, y2, true, [this, cw, ch](double l, double t, double r, double b) {
        const double rx = std::min(cw, (r - l) / 2);
        const double ry = std::min(ch, (b - t) / 2);
        cairo_new_path(m_cr);
        if (rx <= 0 || ry <= 0) {
            cairo_rectangle(m_cr, l, t, r - l, b - t);
            return;
        }
        // Corners clockwise from the top right, each a quarter of an rx x ry ellipse.
        const double cx[4] = {r - rx, r - rx, l + rx, l + rx};
        const double cy[4] = {t + ry, b - ry, b - ry, t + ry};
        for (int i = 0; i < 4; ++i) {
            cairo_save(m_cr);
            cairo_translate(m_cr, cx[i], cy[i]);
            cairo_scale(m_cr, rx, ry);
            cairo_arc(m_cr, 0, 0, 1, (i - 1) * kPi / 2, i * kPi / 2);
            cairo_restore(m_cr);
        }
        cairo_close_path(m_cr);
    });
}

void CairoPainter::internalArc(int x1, int y1, int x2, int y2, int start, int sweep) {
    Shape(x1, y1, x2, y2, false,
          [=](double l, double t, double r, double b) { ArcPath(l, t, r, b, start, sweep, ArcKind::Arc); });
}

void CairoPainter::internalChord(int x1, int y1, int x2, int y2, int start, int sweep) {
    Shape(x1, y1, x2, y2, true,
          [=](double l, double t, double r, double b) { ArcPath(l, t, r, b, start, sweep, ArcKind::Chord); });
}

void CairoPainter::internalPie(int x1, int y1, int x2, int y2, int start, int sweep) {
    Shape(x1, y1, x2, y2, true,
          [=](double l, double t, double r, double b) { ArcPath(l, t, r, b, start, sweep, ArcKind::Pie); });
}

void CairoPainter::internalFocusRect(int x1, int y1, int x2, int y2) {
    if (!m_cr) return;
    Order(x1, x2);
    Order(y1, y2);
    // A dotted frame that inverts what it covers, so drawing it twice restores the pixels.
    static const unsigned char kChecker[] = {1, 0, 0, 1};
    cairo_surface_t *tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 2, 2);
    cairo_surface_flush(tile);
    unsigned char *data = cairo_image_surface_get_data(tile);
    const int stride = cairo_image_surface_get_stride(tile);
    for (int i = 0; i < 4; ++i)
        reinterpret_cast<std::uint32_t *>(data + (i / 2) * stride)[i % 2] = kChecker[i] ? 0xFFFFFFFFu : 0;
    cairo_surface_mark_dirty(tile);
    cairo_save(m_cr);
    cairo_set_operator(m_cr, CAIRO_OPERATOR_DIFFERENCE);
    cairo_set_source_surface(m_cr, tile, 0, 0);
    cairo_pattern_set_extend(cairo_get_source(m_cr), CAIRO_EXTEND_REPEAT);
    cairo_new_path(m_cr);
    BoxPath(x1, y1, x2, y2);
    if (x2 - x1 >= 2 && y2 - y1 >= 2) BoxPath(x1 + 1, y1 + 1, x2 - 1, y2 - 1);
    cairo_fill(m_cr);
    cairo_restore(m_cr);
    cairo_surface_destroy(tile);
}

void CairoPainter::internalGradientFillA(int x1, int y1, int x2, int y2, _color from, _color to,
                                         unsigned steps) {
    Gradient(x1, y1, x2, y2, from, to, steps, true);
}

void CairoPainter::internalGradientFillB(int x1, int y1, int x2, int y2, _color from, _color to,
                                         unsigned steps) {
    Gradient(x1, y1, x2, y2, from, to, steps, false);
}

void CairoPainter::Gradient(int x1, int y1, int x2, int y2, _color from, _color to, unsigned steps,
                            bool vertical) {
    if (!m_cr) return;
    Order(x1, x2);
    Order(y1, y2);
    from = OrDefault(from, kWhite);
    to = OrDefault(to, kWhite);
    // The whole extent in doubles: a gradient reaching far off the device keeps its slope.
    const double a = vertical ? y1 : x1;
    const double extent = (vertical ? static_cast<double>(y2) : x2) + 1 - a;
    const auto mix = [&](double f) {
        const auto c = [f](unsigned char p, unsigned char q) { return (p + (q - p) * f) / 255.0; };
        return std::array<double, 3>{c(from.GetRed(), to.GetRed()), c(from.GetGreen(), to.GetGreen()),
                                     c(from.GetBlue(), to.GetBlue())};
    };
    cairo_save(m_cr);
    if (steps == 0 || steps >= extent) {
        cairo_pattern_t *linear = vertical ? cairo_pattern_create_linear(0, a, 0, a + extent)
                                           : cairo_pattern_create_linear(a, 0, a + extent, 0);
        for (int end = 0; end < 2; ++end) {
            const auto rgb = mix(end);
            cairo_pattern_add_color_stop_rgb(linear, end, rgb[0], rgb[1], rgb[2]);
        }
        cairo_set_source(m_cr, linear);
        cairo_pattern_destroy(linear);
        BoxPath(x1, y1, x2, y2);
        cairo_fill(m_cr);
    } else {
        // Bands of one colour each; only those that reach the device are drawn.
        const double band = extent / steps;
        const double limit = vertical ? m_height : m_width;
        const long long first = std::max(0LL, static_cast<long long>(std::floor((-kGuard - a) / band)));
        const long long last =
            std::min<long long>(steps - 1LL, static_cast<long long>(std::ceil((limit + kGuard - a) / band)));
        for (long long i = first; i <= last; ++i) {
            const auto rgb = mix(steps > 1 ? static_cast<double>(i) / (steps - 1) : 0.0);
            cairo_set_source_rgb(m_cr, rgb[0], rgb[1], rgb[2]);
            const int lo = static_cast<int>(std::clamp(std::round(a + i * band), -kGuard, limit + kGuard));
            const int hi =
                static_cast<int>(std::clamp(std::round(a + (i + 1) * band), -kGuard, limit + kGuard));
            if (hi <= lo) continue;
            if (vertical) {
                BoxPath(x1, lo, x2, hi - 1);
            } else {
                BoxPath(lo, y1, hi - 1, y2);
            }
            cairo_fill(m_cr);
        }
    }
    cairo_restore(m_cr);
}

void CairoPainter::internalSemiFillRect(int x1, int y1, int x2, int y2, _color color) {
    if (!m_cr) return;
    Order(x1, x2);
    Order(y1, y2);
    const int a = color.GetAlpha();
    const double opacity = a > 0 && a < 255 ? a / 255.0 : 0.5;
    color = OrDefault(color, kWhite);
    cairo_save(m_cr);
    cairo_set_source_rgba(m_cr, color.GetRed() / 255.0, color.GetGreen() / 255.0, color.GetBlue() / 255.0,
                          opacity);
    BoxPath(x1, y1, x2, y2);
    cairo_fill(m_cr);
    cairo_restore(m_cr);
}

}  // namespace quelt::cairo
