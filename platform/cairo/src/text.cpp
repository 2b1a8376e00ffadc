#include <cmath>

#include "cairo_p.h"
#include "text_p.h"

namespace quelt::cairo {

namespace {

const char kDefaultFace[] = "Sans";
const wchar kShellDialog[] = {'M', 'S', ' ', 'S', 'h', 'e', 'l', 'l', ' ', 'D', 'i', 'a', 'l', 'o', 'g', 0};
// Measures a line's height and baseline whatever the text.
const wchar kProbe[] = {'X', 'g', 0};
const wchar kWidest[] = {'W', 0};

int Units(const wchar *text, int count) {
    if (!text) return 0;
    int n = 0;
    while (text[n] && (count < 0 || n < count)) ++n;
    return n;
}

}  // namespace

CairoPainter::Text::Text() {
    m_context = pango_font_map_create_context(pango_cairo_font_map_get_default());
    pango_context_set_round_glyph_positions(m_context, FALSE);
    SetAntialias(false);
    m_layout = pango_layout_new(m_context);
}

CairoPainter::Text::~Text() {
    g_object_unref(m_layout);
    g_object_unref(m_context);
    if (m_description) pango_font_description_free(m_description);
    if (m_attributes) pango_attr_list_unref(m_attributes);
}

void CairoPainter::Text::SetAntialias(bool on) {
    cairo_font_options_t *options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, on ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    pango_cairo_context_set_font_options(m_context, options);
    cairo_font_options_destroy(options);
    if (m_layout) pango_layout_context_changed(m_layout);
}

PangoFontDescription *CairoPainter::Text::Describe(const font &f) {
    PangoFontDescription *description = pango_font_description_new();
    const bool standard = f.GetName().empty() || f.GetName() == wstring(kShellDialog);
    pango_font_description_set_family(description, standard ? kDefaultFace : WideToUtf8(f.GetName()).c_str());
    pango_font_description_set_weight(description,
                                      f.GetFontStyle() & 1 ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(description,
                                     f.GetFontStyle() & 2 ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    const int points = f.GetPointSize();
    if (points < 0) {
        pango_font_description_set_absolute_size(description, -static_cast<double>(points) * PANGO_SCALE);
    } else {
        pango_font_description_set_size(description, (points > 0 ? points : 8) * PANGO_SCALE);
    }
    return description;
}

PangoAttrList *CairoPainter::Text::Decorations(const font &f) {
    PangoAttrList *attributes = pango_attr_list_new();
    if (f.GetFontStyle() & 4)
        pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (f.GetFontStyle() & 8) pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
    return attributes;
}

void CairoPainter::Text::Apply(PangoFontDescription *description, PangoAttrList *attributes, double dpi) {
    if (dpi != m_dpi) {
        pango_cairo_context_set_resolution(m_context, dpi);
        pango_layout_context_changed(m_layout);
        m_dpi = dpi;
    }
    pango_layout_set_font_description(m_layout, description);
    pango_layout_set_attributes(m_layout, attributes);
}

void CairoPainter::Text::Select(const font &f, double dpi) {
    if (m_description) pango_font_description_free(m_description);
    if (m_attributes) pango_attr_list_unref(m_attributes);
    m_description = Describe(f);
    m_attributes = Decorations(f);
    Apply(m_description, m_attributes, dpi);
}

void CairoPainter::Text::SetText(const wchar *text, int count) {
    // Lone surrogates become U+FFFD on the way.
    m_utf8 = WideToUtf8(wstring(text, Units(text, count)));
    pango_layout_set_text(m_layout, m_utf8.data(), static_cast<int>(m_utf8.size()));
}

size<int> CairoPainter::Text::Extent(const wchar *text, int count, const font *other, double dpi) {
    if (Units(text, count) == 0) return {};
    PangoFontDescription *description = other ? Describe(*other) : nullptr;
    PangoAttrList *attributes = other ? Decorations(*other) : nullptr;
    if (other) Apply(description, attributes, dpi);
    SetText(text, count);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(m_layout, nullptr, &logical);
    if (other) {
        Apply(m_description, m_attributes, m_dpi);
        pango_font_description_free(description);
        pango_attr_list_unref(attributes);
    }
    return {logical.width, logical.height};
}

void CairoPainter::Text::Show(cairo_t *cr, int x, int y, int angle, const wchar *text, int count) {
    SetText(text, count);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    if (angle % 3600 != 0) cairo_rotate(cr, -angle * kPi / 1800);
    cairo_move_to(cr, 0, 0);
    pango_cairo_show_layout(cr, m_layout);
    cairo_restore(cr);
}

fontmetrics CairoPainter::Text::Metrics() {
    fontmetrics m;
    SetText(kProbe, -1);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(m_layout, nullptr, &logical);
    m.height = logical.height;
    m.ascent = PANGO_PIXELS(pango_layout_get_baseline(m_layout));
    m.descent = m.height - m.ascent;
    PangoFontMetrics *metrics = pango_context_get_metrics(m_context, m_description, nullptr);
    m.avgCharWidth = PANGO_PIXELS(pango_font_metrics_get_approximate_char_width(metrics));
    pango_font_metrics_unref(metrics);
    SetText(kWidest, -1);
    pango_layout_get_pixel_extents(m_layout, nullptr, &logical);
    m.maxCharWidth = logical.width;
    return m;
}

// ---- the painter's text operations ----

void CairoPainter::SelectFont() { m_text->Select(m_devFont, Dpi()); }

void CairoPainter::SetFont(const font &f) {
    m_devFont = f;
    FontSelected(f);
    SelectFont();
}

void CairoPainter::internalTextOut(int x, int y, const wchar *text, int count) {
    if (!m_cr || Units(text, count) == 0) return;
    UseText();
    m_text->Show(m_cr, static_cast<int>(GuardX(x)), static_cast<int>(GuardY(y)), m_devFont.GetAngle(), text,
                 count);
}

size<int> CairoPainter::internalGetTextExtent(const wchar *text, const font *f, int count, bool) {
    return m_text->Extent(text, count, f, Dpi());
}

void CairoPainter::internalGetFontMetrics(fontmetrics *metrics) {
    if (metrics) *metrics = m_text->Metrics();
}

}  // namespace quelt::cairo
