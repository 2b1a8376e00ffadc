#include "quelt/cairo/controls.h"

#include <algorithm>
#include <typeinfo>

#include "draw_p.h"
#include "quelt/paint/border.h"

namespace quelt::cairo {

using namespace look;

wstring &CairoClipboard() {
    static wstring text;
    return text;
}

// ---- pane ----

CairoPane::CairoPane(CairoWindow *parent, Painter paint) : m_paint(std::move(paint)), m_owned(true) {
    Attach(parent ? parent->CreateChildWindow() : nullptr);
    // Nothing shows until it is placed.
    if (m_window) m_window->SetVisible(false);
}

CairoPane::CairoPane(ISysWindow *adopted, Painter paint) : m_paint(std::move(paint)), m_owned(false) {
    Attach(adopted);
}

void CairoPane::Attach(ISysWindow *window) {
    m_window = dynamic_cast<CairoWindow *>(window);
    if (!m_window) return;
    m_window->Subscribe(CDrawingNotify::AsNotify(), typeid(IDrawingNotify), true);
    m_window->Subscribe(CWindowNotify::AsNotify(), typeid(IWindowNotify), true);
}

CairoPane::~CairoPane() {
    CairoWindow *window = m_window;
    if (!window) return;
    if (m_owned) {
        window->Release();
    } else {
        window->SetVisible(false);
    }
}

void CairoPane::OnDestroy(CWindowEvent *event) {
    if (m_window && event->GetSource() == static_cast<IEventSender *>(m_window)) m_window = nullptr;
}

void CairoPane::OnDraw(IPainter *painter) {
    if (!m_window || !painter) return;
    const rectangle<int> r = m_window->GetBoundsRect();
    m_paint(*painter, r.right + 1, r.bottom + 1);
}

void CairoPane::Place(const screen_rectangle<int> &area, bool visible) {
    if (!m_window) return;
    const bool show = visible && area.right >= area.left && area.bottom >= area.top;
    if (show) m_window->SetBounds(area, true);
    m_window->SetVisible(show);
    Redraw();
}

void CairoPane::Redraw() {
    if (!m_window) return;
    const rectangle<int> r = m_window->GetBoundsRect();
    m_window->Damage({0, 0, r.right, r.bottom});
}

// ---- text fields ----

namespace {

struct TextView {
    const wstring &text;
    int start;
    int end;
    bool caret;
    bool multiLine;
    bool enabled;
    const font &f;
};

// One line of the text, units from..to-1, with its part of the selection.
void PaintLine(IPainter &painter, int x, int y, int lineHeight, const TextView &view, int from, int to) {
    const wstring line =
        view.text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
    const int length = to - from;
    Text(painter, x, y, line, view.f, view.enabled ? WindowText : DisabledText);
    const int s = std::clamp(view.start - from, 0, length);
    const int e = std::clamp(view.end - from, 0, length);
    const auto at = [&](int units) {
        return x + TextWidth(painter, line.substr(0, std::size_t(units)), view.f);
    };
    if (s < e) {
        const int x1 = at(s);
        Fill(painter, x1, y, at(e) - 1, y + lineHeight - 1, Selection);
        Text(painter, x1, y, line.substr(std::size_t(s), std::size_t(e - s)), view.f, SelectedText);
    } else if (view.caret && view.start == view.end && view.start >= from && view.start <= to) {
        const int cx = at(s);
        Line(painter, cx, y, cx, y + lineHeight - 1, WindowText);
    }
}

// The text of an edit in the field left..right, top..bottom.
void PaintText(IPainter &painter, int left, int top, int bottom, const TextView &view) {
    const int lineHeight = LineHeight(painter, view.f);
    int y = view.multiLine ? top + 3 : top + (bottom - top + 1 - lineHeight) / 2;
    const int size = static_cast<int>(view.text.size());
    int from = 0;
    for (;;) {
        const std::size_t feed = view.multiLine ? view.text.find(u'\n', std::size_t(from)) : wstring::npos;
        const int to = feed == wstring::npos ? size : static_cast<int>(feed);
        PaintLine(painter, left + 4, y, lineHeight, view, from, to);
        if (to == size) return;
        from = to + 1;
        y += lineHeight;
    }
}

// A list's rows from y, the current one highlighted.
void PaintItems(IPainter &painter, int left, int right, int y, int itemHeight,
                const std::vector<wstring> &items, int current, bool enabled, const font &f) {
    const int lineHeight = LineHeight(painter, f);
    for (int i = 0; i < static_cast<int>(items.size()); ++i, y += itemHeight) {
        const bool selected = i == current;
        if (selected) Fill(painter, left, y, right, y + itemHeight - 1, Selection);
        const int role = !enabled ? DisabledText : selected ? SelectedText : WindowText;
        Text(painter, left + 3, y + (itemHeight - lineHeight) / 2, items[std::size_t(i)], f, role);
    }
}

template <class List>
std::vector<wstring> ItemsOf(const List &list) {
    std::vector<wstring> items;
    for (int i = 0; i < list.GetItemCount(); ++i) items.push_back(list.GetItemText(i));
    return items;
}

// The caption of a check or radio box right of its mark, focused in a dotted frame.
void PaintCaption(IPainter &painter, int height, const wstring &text, const font &f, bool enabled,
                  bool focused) {
    const int lineHeight = LineHeight(painter, f);
    const int y = (height - lineHeight) / 2;
    Text(painter, 18, y, text, f, enabled ? WindowText : DisabledText);
    if (focused) painter.FocusRect(16, y - 1, 18 + TextWidth(painter, text, f) + 1, y + lineHeight);
}

}  // namespace

void CairoEdit::Paint(IPainter &painter, int width, int height) {
    Fill(painter, 0, 0, width - 1, height - 1, Window);
    PaintText(
        painter, 0, 0, height - 1,
        {ShownText(), SelectionStart(), SelectionEnd(), HasFocusMark(), m_multiLine, IsEnabled(), GetFont()});
    DrawBorder(&painter, 0, 0, width - 1, height - 1, BorderFrame, BorderSunken, true);
}

// ---- combo box ----

CairoComboBox::CairoComboBox(CairoWindow *parent)
    : CairoControl(parent), m_list(parent, [this](IPainter &painter, int width, int height) {
          PaintList(painter, width, height);
      }) {}

void CairoComboBox::Changed() {
    CairoControl::Changed();
    const screen_rectangle<int> &b = Bounds();
    const int rows = GetItemCount();
    m_list.Place({b.left, b.bottom, b.right - 1, b.bottom + rows * ItemHeight + 1},
                 IsVisible() && IsDroppedDown() && rows > 0);
}

void CairoComboBox::Paint(IPainter &painter, int width, int height) {
    Fill(painter, 0, 0, width - 1, height - 1, Window);
    PaintText(painter, 0, 0, height - 1,
              {ShownText(), SelectionStart(), SelectionEnd(), HasFocusMark(), false, IsEnabled(), GetFont()});
    const int button = std::max(height - 4, 0);
    Bevel(painter, width - 2 - button, 2, width - 3, height - 3, IsDroppedDown());
    DownArrow(painter, width - 2 - button / 2 - 1, height / 2 - 1, IsEnabled() ? WindowText : DisabledText);
    DrawBorder(&painter, 0, 0, width - 1, height - 1, BorderFrame, BorderSunken, true);
}

void CairoComboBox::PaintList(IPainter &painter, int width, int height) {
    Fill(painter, 0, 0, width - 1, height - 1, Window);
    PaintItems(painter, 1, width - 2, 1, ItemHeight, ItemsOf(*this), GetCurSel(), IsEnabled(), GetFont());
    Outline(painter, 0, 0, width - 1, height - 1, DarkShadow);
}

// ---- list box ----

void CairoListBox::Paint(IPainter &painter, int width, int height) {
    Fill(painter, 0, 0, width - 1, height - 1, Window);
    PaintItems(painter, 2, width - 3, 2, ItemHeight, ItemsOf(*this), GetCurSel(), IsEnabled(), GetFont());
    const int current = GetCurSel();
    if (HasFocusMark() && current >= 0)
        painter.FocusRect(2, 2 + current * ItemHeight, width - 3, 1 + (current + 1) * ItemHeight);
    DrawBorder(&painter, 0, 0, width - 1, height - 1, BorderFrame, BorderSunken, true);
}

// ---- captioned ----

void CairoLabel::Paint(IPainter &painter, int width, int height) {
    Fill(painter, 0, 0, width - 1, height - 1, Face);
    const int y = (height - LineHeight(painter, GetFont())) / 2;
    Text(painter, 0, y, GetText(), GetFont(), IsEnabled() ? WindowText : DisabledText);
}

void CairoGroupBox::Paint(IPainter &painter, int width, int height) {
    Fill(painter, 0, 0, width - 1, height - 1, Face);
    const int lineHeight = LineHeight(painter, GetFont());
    DrawBorder(&painter, 0, lineHeight / 2, width - 1, height - 1, BorderEtched, BorderSunken, true);
    const wstring text = GetText();
    if (text.empty()) return;
    Fill(painter, 6, 0, 10 + TextWidth(painter, text, GetFont()), lineHeight, Face);
    Text(painter, 8, 0, text, GetFont(), IsEnabled() ? WindowText : DisabledText);
}

void CairoButton::Paint(IPainter &painter, int width, int height) {
    const int ring = IsDefault() ? 1 : 0;
    if (ring) Outline(painter, 0, 0, width - 1, height - 1, DarkShadow);
    Bevel(painter, ring, ring, width - 1 - ring, height - 1 - ring, false);
    Centred(painter, 0, 0, width - 1, height - 1, GetText(), GetFont(),
            IsEnabled() ? WindowText : DisabledText);
    if (HasFocusMark()) painter.FocusRect(4, 4, width - 5, height - 5);
}

void CairoCheckBox::Paint(IPainter &painter, int width, int height) {
    Fill(painter, 0, 0, width - 1, height - 1, Face);
    const int top = (height - 13) / 2;
    Field(painter, 0, top, 12, top + 12);
    if (IsChecked()) CheckMark(painter, 0, top, IsEnabled() ? WindowText : DisabledText);
    PaintCaption(painter, height, GetText(), GetFont(), IsEnabled(), HasFocusMark());
}

void CairoRadioButton::Paint(IPainter &painter, int width, int height) {
    Fill(painter, 0, 0, width - 1, height - 1, Face);
    const int top = (height - 12) / 2;
    painter.SetPen(pen(painter.GetColor(DarkShadow), 1, pen::Solid));
    painter.SetBrush(brush(painter.GetColor(Window), brush::Solid));
    painter.Ellipse(0, top, 11, top + 11);
    if (IsChecked()) Dot(painter, 4, top + 4, IsEnabled() ? WindowText : DisabledText);
    PaintCaption(painter, height, GetText(), GetFont(), IsEnabled(), HasFocusMark());
}

}  // namespace quelt::cairo
