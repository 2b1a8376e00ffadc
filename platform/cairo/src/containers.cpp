#include "quelt/cairo/containers.h"

#include <algorithm>

#include "draw_p.h"

namespace quelt::cairo {

using namespace look;

namespace {

screen_rectangle<int> ClientOf(CSysWindow *window) {
    if (!window) return {0, 0, -1, -1};
    const rectangle<int> r = window->GetBoundsRect();
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

// ---- tab notebook ----

CairoTabNotebook::CairoTabNotebook(CairoWindow *parent, WorkMode mode)
    : CHeadlessTabNotebook(parent, mode),
      m_strip(GetTabStrip(),
              [this](IPainter &painter, int width, int height) { Paint(painter, width, height); }) {
    ShowPages();
}

screen_rectangle<int> CairoTabNotebook::PageArea() {
    screen_rectangle<int> area = ClientOf(GetParent());
    area.top = std::min(area.top + TabHeight, area.bottom);
    return area;
}

void CairoTabNotebook::ShowPages() {
    CHeadlessTabNotebook::ShowPages();
    const screen_rectangle<int> client = ClientOf(GetParent());
    m_strip.Place({client.left, client.top, client.right, client.top + TabHeight - 1}, true);
}

void CairoTabNotebook::Paint(IPainter &painter, int width, int height) {
    Fill(painter, 0, 0, width - 1, height - 1, Face);
    Line(painter, 0, height - 1, width - 1, height - 1, Shadow);
    const font f;
    int x = 2;
    const int current = GetCurrentPage();
    for (int i = 0; i < static_cast<int>(Captions().size()); ++i) {
        const wstring &caption = Captions()[std::size_t(i)];
        const int right = x + TextWidth(painter, caption, f) + 15;
        const bool on = i == current;
        const int top = on ? 0 : 3;
        Fill(painter, x, top, right, height - (on ? 1 : 2), on ? Window : Face);
        Line(painter, x, height - 1, x, top, Shadow);
        Line(painter, x, top, right, top, Shadow);
        Line(painter, right, top, right, height - 1, Shadow);
        Centred(painter, x, top, right, height - 1, caption, f, WindowText);
        x = right + 1;
    }
}

// ---- splitter ----

CairoSplitter::CairoSplitter(CairoWindow *parent, OrientationType orientation)
    : CHeadlessSplitter(parent, orientation), m_bar(parent, [](IPainter &painter, int width, int height) {
          Bevel(painter, 0, 0, width - 1, height - 1, false);
      }) {
    Place();
}

void CairoSplitter::Place() {
    CHeadlessSplitter::Place();
    const screen_rectangle<int> area = Area();
    screen_rectangle<int> first, second;
    GetSectionRects(area, first, second);
    if (GetOrientation() == Vertical) {
        m_bar.Place({area.left, first.bottom + 1, area.right, second.top - 1}, GetParent() != nullptr);
    } else {
        m_bar.Place({first.right + 1, area.top, second.left - 1, area.bottom}, GetParent() != nullptr);
    }
}

// ---- toolbar ----

CairoToolbar::CairoToolbar(CairoWindow *parent)
    : m_band(parent, [this](IPainter &painter, int width, int height) { Paint(painter, width, height); }) {}

void CairoToolbar::Paint(IPainter &painter, int width, int height) {
    Fill(painter, 0, 0, width - 1, height - 1, Face);
    Line(painter, 0, height - 1, width - 1, height - 1, Shadow);
    const font f;
    int x = 0;
    for (const Button &button : Buttons()) {
        if (button.separator) {
            Line(painter, x + SeparatorWidth / 2 - 1, 3, x + SeparatorWidth / 2 - 1, ButtonSize - 4, Shadow);
            Line(painter, x + SeparatorWidth / 2, 3, x + SeparatorWidth / 2, ButtonSize - 4, Window);
            x += SeparatorWidth;
            continue;
        }
        const int right = x + ButtonSize - 1;
        Bevel(painter, x + 1, 1, right - 1, ButtonSize - 2, button.checked || button.id == HeldButton());
        Centred(painter, x, 0, right, ButtonSize - 1, button.text, f,
                button.enabled ? WindowText : DisabledText);
        x += ButtonSize;
    }
}

// ---- decoration ----

void CairoDecoration::Place() {
    CHeadlessDecoration::Place();
    const screen_rectangle<int> client = ClientOf(GetParent());
    int top = client.top;
    for (IDecorationElement *element : Elements()) {
        if (auto *toolbar = dynamic_cast<CairoToolbar *>(element))
            toolbar->Place(
                {client.left, top, client.right, std::min(top + ElementHeight - 1, client.bottom)});
        top += ElementHeight;
    }
}

}  // namespace quelt::cairo
