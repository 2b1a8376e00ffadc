#include <algorithm>

#include "draw_p.h"
#include "quelt/paint/border.h"

namespace quelt::cairo::look {

void Fill(IPainter &painter, int left, int top, int right, int bottom, int role) {
    painter.SetBrush(brush(painter.GetColor(role), brush::Solid));
    painter.FillRect(left, top, right, bottom);
}

void Outline(IPainter &painter, int left, int top, int right, int bottom, int role) {
    painter.SetPen(pen(painter.GetColor(role), 1, pen::Solid));
    painter.SetBrush(brush(painter.GetColor(role), brush::NoFill));
    painter.Rectangle(left, top, right, bottom);
}

void Field(IPainter &painter, int left, int top, int right, int bottom) {
    Fill(painter, left, top, right, bottom, Window);
    DrawBorder(&painter, left, top, right, bottom, BorderFrame, BorderSunken, true);
}

void Bevel(IPainter &painter, int left, int top, int right, int bottom, bool pressed) {
    DrawBorder(&painter, left, top, right, bottom, BorderBox, pressed ? BorderSunken : BorderRaised, true);
}

void Line(IPainter &painter, int x1, int y1, int x2, int y2, int role, int width) {
    painter.SetPen(pen(painter.GetColor(role), width, pen::Solid));
    painter.MoveTo(x1, y1);
    painter.LineTo(x2, y2);
}

void CheckMark(IPainter &painter, int left, int top, int role) {
    for (int dy = 0; dy < 2; ++dy) {
        Line(painter, left + 3, top + 5 + dy, left + 5, top + 7 + dy, role);
        Line(painter, left + 5, top + 7 + dy, left + 9, top + 3 + dy, role);
    }
}

void Dot(IPainter &painter, int left, int top, int role) {
    const _color c = painter.GetColor(role);
    painter.SetPen(pen(c, 1, pen::Solid));
    painter.SetBrush(brush(c, brush::Solid));
    painter.Ellipse(left, top, left + 3, top + 3);
}

void DownArrow(IPainter &painter, int cx, int cy, int role) {
    for (int i = 0; i < 4; ++i) Line(painter, cx - 3 + i, cy - 1 + i, cx + 3 - i, cy - 1 + i, role);
}

void Text(IPainter &painter, int x, int y, const wstring &text, const font &f, int role) {
    if (text.empty()) return;
    painter.SetFont(f);
    painter.SetTextColor(painter.GetColor(role));
    painter.SetTextAlign(0);
    painter.DrawString(x, y, text, -1);
}

int TextWidth(IPainter &painter, const wstring &text, const font &f) {
    return text.empty() ? 0 : static_cast<int>(painter.GetTextSize(text, &f, -1, true, true).cx + 0.5);
}

int LineHeight(IPainter &painter, const font &f) {
    return static_cast<int>(painter.GetTextSize(Utf8ToWide("Ag"), &f, -1, true, true).cy + 0.5);
}

void Centred(IPainter &painter, int left, int top, int right, int bottom, const wstring &text, const font &f,
             int role) {
    const int x = left + (right - left + 1 - TextWidth(painter, text, f)) / 2;
    const int y = top + (bottom - top + 1 - LineHeight(painter, f)) / 2;
    Text(painter, x, y, text, f, role);
}

}  // namespace quelt::cairo::look
