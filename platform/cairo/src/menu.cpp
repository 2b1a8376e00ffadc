#include "quelt/cairo/menu.h"

#include <algorithm>

#include "draw_p.h"

namespace quelt::cairo {

using namespace look;

namespace {

constexpr int kMarkColumn = 22;

}  // namespace

CairoMenu::CairoMenu(CairoWindow *owner)
    : CHeadlessMenu(owner),
      m_owner(owner),
      m_popup(owner, [this](IPainter &painter, int width, int height) { Paint(painter, width, height); }) {}

void CairoMenu::Changed() {
    if (!IsShown() || !m_owner) {
        m_popup.Place({0, 0, -1, -1}, false);
        return;
    }
    IPainter &measure = *m_owner->TakeDefPainter();
    const font f;
    int width = 0;
    int height = 4;
    for (const Item &item : Items()) {
        if (!item.separator) width = std::max(width, TextWidth(measure, item.text, f));
        height += item.separator ? SeparatorHeight : ItemHeight;
    }
    width += kMarkColumn + 20;
    point<int> at = GetShownAt();
    m_owner->ScreenToClient(at);
    const rectangle<int> client = m_owner->GetBoundsRect();
    at.x = std::max(std::min(at.x, client.right + 1 - width), 0);
    at.y = std::max(std::min(at.y, client.bottom + 1 - height), 0);
    m_popup.Place({at.x, at.y, at.x + width - 1, at.y + height - 1}, true);
}

void CairoMenu::Paint(IPainter &painter, int width, int height) {
    Bevel(painter, 0, 0, width - 1, height - 1, false);
    const font f;
    const int lineHeight = LineHeight(painter, f);
    int y = 2;
    for (int pos = 0; pos < static_cast<int>(Items().size()); ++pos) {
        const Item &item = Items()[std::size_t(pos)];
        if (item.separator) {
            Line(painter, 4, y + 3, width - 5, y + 3, Shadow);
            Line(painter, 4, y + 4, width - 5, y + 4, Window);
            y += SeparatorHeight;
            continue;
        }
        const int role = item.enabled ? WindowText : DisabledText;
        if (item.checked && GetItemStyle(pos, ByPosition) == StyleRadio) {
            Dot(painter, 8, y + ItemHeight / 2 - 2, role);
        } else if (item.checked) {
            CheckMark(painter, 4, y + (ItemHeight - 13) / 2, role);
        }
        Text(painter, kMarkColumn, y + (ItemHeight - lineHeight) / 2, item.text, f, role);
        y += ItemHeight;
    }
}

}  // namespace quelt::cairo
