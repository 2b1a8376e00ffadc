#pragma once

#include "quelt/core/base.h"
#include "quelt/core/config.h"
#include "quelt/paint/canvas.h"
#include "quelt/paint/geometry.h"

namespace quelt {

// A canvas with a size: the drawing surface of a picture. One painter at a
// time, the one TakeDefPainter hands out, which belongs to the picture.
class QUELT_API IPictureCanvas : public ICanvas {
  public:
    ~IPictureCanvas() override;
    bool HasMultiPainterSupport() override;

    // Empties the drawing; size and painter stay.
    virtual void Clear() = 0;
    // Writes the picture to path in the platform's format; true on success.
    virtual bool Save(const char *path) = 0;
    virtual void SetSize(size<int> extent);
    virtual size<int> GetSize() const;

  protected:
    size<int> m_size;
};

// A bitmap.
class QUELT_API IRasterPicture : public CBase, public IPictureCanvas {};

// A recorded drawing.
class QUELT_API IVectorPicture : public CBase, public IPictureCanvas {
  public:
    // An independent picture holding the drawing so far.
    virtual quelt_ptr<IVectorPicture> Copy() const = 0;
};

// A device buffer whose content can move.
class QUELT_API IPaintBuffer {
  public:
    virtual ~IPaintBuffer();
    // Moves the content inside the rectangle by (dx, dy).
    virtual void internalScrollContent(int dx, int dy, int left, int top, int right, int bottom) = 0;

    void ScrollContent(int dx, int dy, const screen_rectangle<int> &area) {
        internalScrollContent(dx, dy, area.left, area.top, area.right, area.bottom);
    }
};

// Platform-only interfaces the library passes along without calling.
class QUELT_API IGLFont {
  public:
    virtual ~IGLFont();
};

class QUELT_API I3DPainter {
  public:
    virtual ~I3DPainter();
};

}  // namespace quelt
