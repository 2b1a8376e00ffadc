#include <quelt/cairo/picture.h>
#include <quelt/quelt.h>

// Paints through the installed Cairo platform and reads the pixel back.
int main() {
    const quelt::_color red(255, 0, 0, 255);
    quelt::cairo::CairoRasterPicture picture({4, 4});
    quelt::IPainter &painter = *picture.TakeDefPainter();
    painter.BeginPaint(quelt::IPainter::SettingsPrint);
    painter.SetBrush(quelt::brush(red, quelt::brush::Solid));
    painter.FillRect(1, 1, 2, 2);
    painter.EndPaint();
    return picture.GetPixel(1, 2) == red && picture.GetPixel(3, 3) != red ? 0 : 1;
}
