#include "quelt/paint/picture.h"

namespace quelt {

IPictureCanvas::~IPictureCanvas() = default;

bool IPictureCanvas::HasMultiPainterSupport() { return false; }

void IPictureCanvas::SetSize(size<int> extent) { m_size = extent; }

size<int> IPictureCanvas::GetSize() const { return m_size; }

IPaintBuffer::~IPaintBuffer() = default;
IGLFont::~IGLFont() = default;
I3DPainter::~I3DPainter() = default;

}  // namespace quelt
