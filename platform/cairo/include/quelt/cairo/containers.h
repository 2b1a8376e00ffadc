#pragma once

// The headless containers drawn plainly into their parent CairoWindow: the
// tab notebook's tabs over its pages, the splitter's bar between its
// sections, the toolbar's buttons in the decoration's bands. The plain
// notebook draws nothing of its own: CHeadlessNotebook serves as it is.

#include "quelt/cairo/controls.h"
#include "quelt/controls/headlesscontainers.h"

namespace quelt::cairo {

// The tabs in a strip TabHeight pixels high at the top of the parent's
// client; the pages fill the rest. The current tab is raised onto the page.
class CairoTabNotebook : public CHeadlessTabNotebook {
  public:
    static constexpr int TabHeight = 22;

    CairoTabNotebook(CairoWindow *parent, WorkMode mode);

  protected:
    screen_rectangle<int> PageArea() override;
    void ShowPages() override;
    void Changed() override { m_strip.Redraw(); }

  private:
    void Paint(IPainter &painter, int width, int height);

    CairoPane m_strip;
};

// The separator is a raised bar of its own between the sections.
class CairoSplitter : public CHeadlessSplitter {
  public:
    CairoSplitter(CairoWindow *parent, OrientationType orientation);

  protected:
    void Place() override;

  private:
    CairoPane m_bar;
};

// Buttons in a row on a face-coloured band; checked and held buttons are
// sunken, disabled ones greyed, separators etched.
class CairoToolbar : public CHeadlessToolbar {
  public:
    explicit CairoToolbar(CairoWindow *parent);

    // Places the band (inclusive parent client coordinates).
    void Place(const screen_rectangle<int> &area) { m_band.Place(area, true); }
    CairoWindow *GetBandWindow() const { return m_band.Window(); }

  protected:
    void Changed() override { m_band.Redraw(); }

  private:
    void Paint(IPainter &painter, int width, int height);

    CairoPane m_band;
};

// Places its toolbars in the bands above the content pane.
class CairoDecoration : public CHeadlessDecoration {
  public:
    using CHeadlessDecoration::CHeadlessDecoration;

  protected:
    void Place() override;
};

}  // namespace quelt::cairo
