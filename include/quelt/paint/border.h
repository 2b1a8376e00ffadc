#pragma once

// Bevelled control borders drawn from the palette roles: face 3, light 4,
// highlight 5, shadow 6, dark shadow 7.

#include "quelt/core/config.h"
#include "quelt/paint/geometry.h"
#include "quelt/paint/painter.h"

namespace quelt {

enum BorderShape : int {
    BorderBox = 0,        // a bevelled ring around a face-coloured fill
    BorderDoubleBox = 1,  // two rings around a face-coloured fill
    BorderEtched = 2,     // a groove (sunken) or ridge (raised)
    BorderLeft = 3,       // separators along one edge
    BorderRight = 4,
    BorderTop = 5,
    BorderBottom = 6,
    BorderFrame = 7,        // a bevelled ring only
    BorderDoubleFrame = 8,  // two rings only
};

enum BorderStyle : int { BorderFlat = 0, BorderRaised = 1, BorderSunken = 2 };

// With devicePixels the corners are mapped once and the border drawn in whole
// device pixels. The painter's pen, brush and transform setting are restored;
// a null painter, an unknown shape or style draw nothing.
QUELT_API void DrawBorder(IPainter *painter, double x1, double y1, double x2, double y2, BorderShape shape,
                          BorderStyle style, bool devicePixels);
QUELT_API void DrawBorder(IPainter *painter, const rectangle<double> &r, BorderShape shape, BorderStyle style,
                          bool devicePixels);

}  // namespace quelt
