// A bar chart drawn through IPainter on the Cairo platform, saved as PNG, PDF and SVG.
// Usage: cairo_hello [path without extension]
#include <string>

#include "quelt/cairo/painter.h"
#include "quelt/cairo/system.h"
#include "quelt/quelt.h"

int main(int argc, char **argv) {
    using namespace quelt;
    SetCurrentSystem(new cairo::CairoSystem(96));  // also installs the system palette
    const std::string base = argc > 1 ? argv[1] : "cairo_hello";
    quelt_ptr<IVectorPicture> picture = GetCurrentSystem()->CreateVectorPicture(320, 200);
    IPainter &p = *picture->TakeDefPainter();
    dynamic_cast<cairo::CairoPainter &>(p).SetAntialias(true);
    p.BeginPaint(IPainter::SettingsPrint);
    DrawBorder(&p, 0, 0, 319, 199, static_cast<BorderShape>(1), static_cast<BorderStyle>(1),
               false);  // face-filled
    const int values[] = {40, 95, 70, 130, 110};
    for (int i = 0; i < 5; ++i) {
        p.SetBrush(brush(_color(30, 144, 255, 255), brush::Solid));
        p.SetPen(pen(color_midnightblue, 1, pen::Solid));
        p.Rectangle(30 + i * 55, 170 - values[i], 70 + i * 55, 170);
    }
    p.SetFont(font(u"Sans"_w, font::DefaultFamily, 14, 1, 0));
    p.SetTextAlign(IPainter::TextCentre | IPainter::TextTop);
    p.DrawString(160, 10, u"Hello from quelt"_w, -1);
    p.EndPaint();
    bool saved = true;
    for (const char *ext : {".png", ".pdf", ".svg"}) saved = picture->Save((base + ext).c_str()) && saved;
    picture = nullptr;
    SetCurrentSystem(nullptr);
    return saved ? 0 : 1;
}
