#pragma once

// The headless popup menu drawn plainly over its owner's client while it is
// shown: items in rows with their check marks, greyed when disabled, and
// etched separators. It opens at the point it was shown at, moved to fit the
// owner.

#include "quelt/cairo/controls.h"
#include "quelt/controls/headlesscontainers.h"

namespace quelt::cairo {

class CairoMenu : public CHeadlessMenu {
  public:
    static constexpr int ItemHeight = 20;
    static constexpr int SeparatorHeight = 7;

    explicit CairoMenu(CairoWindow *owner);
    CairoWindow *GetPopupWindow() const { return m_popup.Window(); }

  protected:
    void Changed() override;

  private:
    void Paint(IPainter &painter, int width, int height);

    CairoWindow *m_owner;
    CairoPane m_popup;
};

}  // namespace quelt::cairo
