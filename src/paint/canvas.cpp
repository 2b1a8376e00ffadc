#include "quelt/paint/canvas.h"

namespace quelt {

ICanvas::~ICanvas() = default;

}  // namespace quelt
