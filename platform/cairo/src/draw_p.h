#pragma once

// The plain look the Cairo controls, containers and menus share: palette
// roles, fields, faces and text in a painter's device pixels.

#include "quelt/paint/attributes.h"
#include "quelt/paint/painter.h"

namespace quelt::cairo::look {

enum Role : int {
    Window = 1,
    WindowText = 2,
    Face = 3,
    Shadow = 6,
    DarkShadow = 7,
    Selection = 8,
    SelectedText = 9,
    DisabledText = 10,
};

// The inclusive rectangle filled in a role's colour.
void Fill(IPainter &painter, int left, int top, int right, int bottom, int role);
// A one-pixel outline in a role's colour.
void Outline(IPainter &painter, int left, int top, int right, int bottom, int role);
// A white field in a sunken frame.
void Field(IPainter &painter, int left, int top, int right, int bottom);
// A raised face (sunken when pressed).
void Bevel(IPainter &painter, int left, int top, int right, int bottom, bool pressed);
void Line(IPainter &painter, int x1, int y1, int x2, int y2, int role, int width = 1);
// A check mark for a 13-pixel box at (left, top).
void CheckMark(IPainter &painter, int left, int top, int role);
// A round dot 4 pixels wide with its top-left corner at (left, top).
void Dot(IPainter &painter, int left, int top, int role);
// A small triangle pointing down, centred at (cx, cy).
void DownArrow(IPainter &painter, int cx, int cy, int role);
// Text with its top-left corner at (x, y).
void Text(IPainter &painter, int x, int y, const wstring &text, const font &f, int role);
int TextWidth(IPainter &painter, const wstring &text, const font &f);
int LineHeight(IPainter &painter, const font &f);
// The caption centred in the rectangle.
void Centred(IPainter &painter, int left, int top, int right, int bottom, const wstring &text, const font &f,
             int role);

}  // namespace quelt::cairo::look
