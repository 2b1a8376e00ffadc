// Drawing into a 1920 x 1080 image surface through IPainter on the Cairo
// platform, against the same calls made directly on Cairo and Pango:
// 100,000 line segments, 10,000 filled rectangles, 10,000 strings.

#include <pango/pangocairo.h>

#include <random>
#include <string>
#include <vector>

#include "common/bench_common.h"
#include "quelt/cairo/picture.h"

namespace quelt::bench {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct Segment {
    int x1, y1, x2, y2;
};

// The same random shapes for both sides.
const std::vector<Segment> &Segments(unsigned count) {
    static std::vector<Segment> segments;
    if (segments.size() != count) {
        std::mt19937 random(kSeed);
        std::uniform_int_distribution<int> x(0, kWidth - 1);
        std::uniform_int_distribution<int> y(0, kHeight - 1);
        segments.clear();
        for (unsigned i = 0; i < count; ++i) segments.push_back({x(random), y(random), x(random), y(random)});
    }
    return segments;
}

std::vector<wstring> Labels(unsigned count) {
    std::vector<wstring> labels;
    for (unsigned i = 0; i < count; ++i) labels.push_back(Utf8ToWide("Row " + std::to_string(i)));
    return labels;
}

// A picture with its painter in a pass.
struct Ours {
    Ours() : picture({kWidth, kHeight}), painter(*picture.TakeDefPainter()) {
        painter.BeginPaint(IPainter::SettingsPrint);
        painter.SetPen(pen(_color(0, 0, 0, 255), 1, pen::Solid));
        painter.SetBrush(brush(_color(30, 144, 255, 255), brush::Solid));
    }
    cairo::CairoRasterPicture picture;
    IPainter &painter;
};

// The baseline: a context on an image surface set up as the painter sets it up.
struct Direct {
    Direct()
        : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight)),
          cr(cairo_create(surface)) {
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
        cairo_set_line_width(cr, 1);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    }
    ~Direct() {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
    cairo_surface_t *surface;
    cairo_t *cr;
};

void LinesOurs(benchmark::State &state) {
    Ours ours;
    const auto &segments = Segments(Scaled(100000));
    for (auto _ : state) {
        for (const Segment &s : segments) {
            ours.painter.MoveTo(s.x1, s.y1);
            ours.painter.LineTo(s.x2, s.y2);
        }
        cairo_surface_flush(ours.picture.GetSurface());
    }
}

void LinesBaseline(benchmark::State &state) {
    Direct direct;
    const auto &segments = Segments(Scaled(100000));
    cairo_set_source_rgb(direct.cr, 0, 0, 0);
    for (auto _ : state) {
        for (const Segment &s : segments) {
            cairo_move_to(direct.cr, s.x1 + 0.5, s.y1 + 0.5);
            cairo_line_to(direct.cr, s.x2 + 0.5, s.y2 + 0.5);
            cairo_stroke(direct.cr);
        }
        cairo_surface_flush(direct.surface);
    }
}

void RectsOurs(benchmark::State &state) {
    Ours ours;
    const auto &rects = Segments(Scaled(10000));
    for (auto _ : state) {
        for (const Segment &r : rects) ours.painter.FillRect(r.x1, r.y1, r.x2, r.y2);
        cairo_surface_flush(ours.picture.GetSurface());
    }
}

void RectsBaseline(benchmark::State &state) {
    Direct direct;
    const auto &rects = Segments(Scaled(10000));
    cairo_set_source_rgb(direct.cr, 30 / 255.0, 144 / 255.0, 1);
    for (auto _ : state) {
        for (const Segment &r : rects) {
            const int l = std::min(r.x1, r.x2);
            const int t = std::min(r.y1, r.y2);
            cairo_rectangle(direct.cr, l, t, std::abs(r.x2 - r.x1) + 1, std::abs(r.y2 - r.y1) + 1);
            cairo_fill(direct.cr);
        }
        cairo_surface_flush(direct.surface);
    }
}

void TextOurs(benchmark::State &state) {
    Ours ours;
    const auto &at = Segments(Scaled(10000));
    const std::vector<wstring> labels = Labels(static_cast<unsigned>(at.size()));
    for (auto _ : state) {
        for (std::size_t i = 0; i < at.size(); ++i)
            ours.painter.DrawString(at[i].x1, at[i].y1, labels[i], -1);
        cairo_surface_flush(ours.picture.GetSurface());
    }
}

void TextBaseline(benchmark::State &state) {
    Direct direct;
    const auto &at = Segments(Scaled(10000));
    std::vector<std::string> labels;
    for (std::size_t i = 0; i < at.size(); ++i) labels.push_back("Row " + std::to_string(i));
    PangoContext *context = pango_font_map_create_context(pango_cairo_font_map_get_default());
    cairo_font_options_t *options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
    pango_cairo_context_set_font_options(context, options);
    pango_cairo_context_set_resolution(context, 96);
    PangoLayout *layout = pango_layout_new(context);
    PangoFontDescription *description = pango_font_description_from_string("Sans 8");
    pango_layout_set_font_description(layout, description);
    cairo_set_source_rgb(direct.cr, 0, 0, 0);
    for (auto _ : state) {
        for (std::size_t i = 0; i < at.size(); ++i) {
            pango_layout_set_text(layout, labels[i].data(), static_cast<int>(labels[i].size()));
            cairo_move_to(direct.cr, at[i].x1, at[i].y1);
            pango_cairo_show_layout(direct.cr, layout);
        }
        cairo_surface_flush(direct.surface);
    }
    pango_font_description_free(description);
    g_object_unref(layout);
    cairo_font_options_destroy(options);
    g_object_unref(context);
}

void Register() {
    benchmark::RegisterBenchmark("cairo_lines_100k/ours", LinesOurs)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("cairo_lines_100k/baseline", LinesBaseline)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("cairo_fill_rects_10k/ours", RectsOurs)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("cairo_fill_rects_10k/baseline", RectsBaseline)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("cairo_draw_string_10k/ours", TextOurs)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("cairo_draw_string_10k/baseline", TextBaseline)
        ->Unit(benchmark::kMillisecond);
}

const int registered = (Register(), 0);

}  // namespace
}  // namespace quelt::bench
