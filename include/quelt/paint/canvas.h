#pragma once

#include "quelt/core/base.h"
#include "quelt/core/config.h"

namespace quelt {

class IPainter;

// Something to draw on: a system window, a printer, a picture.
class QUELT_API ICanvas {
  public:
    // Device metrics the library reads; other indices are the platform's.
    enum CanvasMetrics : int {
        WidthPixels = 4,
        HeightPixels = 5,
        WidthMillimetres = 6,
        HeightMillimetres = 7,
    };

    virtual ~ICanvas();
    // Windows and printers accept several painters at once, pictures one.
    virtual bool HasMultiPainterSupport() = 0;
    // May be null (a printer that only records).
    virtual quelt_ptr<IPainter> CreatePainter() = 0;
    // The canvas's own painter, which stays the canvas's; null when it has none.
    virtual IPainter *TakeDefPainter() = 0;
    virtual int GetCanvasMetrics(CanvasMetrics index) const = 0;
};

}  // namespace quelt
