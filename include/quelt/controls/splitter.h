#pragma once

// A container with two sections and a movable separator between them.

#include "quelt/controls/notify.h"
#include "quelt/core/config.h"
#include "quelt/core/events.h"
#include "quelt/paint/geometry.h"
#include "quelt/sys/container.h"

namespace quelt {

class CSysWindow;
class ISysWindow;

class QUELT_API ISplitter : public IEventSender {
  public:
    // Side by side (a vertical separator) or one above the other.
    enum OrientationType : int { Horizontal = 0, Vertical = 1 };
    // What a resize of the splitter keeps: the ratio of the sections, the
    // first section's size or the second section's size.
    enum ResizeMode : int { Proportional = 0, KeepFirst = 1, KeepSecond = 2 };

    virtual ~ISplitter();
    virtual void SetSections(ISysWindow *first, ISysWindow *second) = 0;
    // The size of the first section, in pixels along the orientation.
    virtual void SetPosition(int position) = 0;
    virtual int GetPosition() = 0;
    virtual void SetResizeMode(ResizeMode mode) = 0;
    virtual void SetMinimalSize(int size) = 0;
    // Places the sections again in the splitter's area.
    virtual void Relayout() = 0;

    virtual ISysWindow *GetFirstSection() = 0;
    virtual ISysWindow *GetSecondSection() = 0;
    virtual OrientationType GetOrientation() = 0;
    virtual ResizeMode GetResizeMode() = 0;
    virtual int GetMinimalSize() = 0;
    virtual int GetSeparatorSize() = 0;
};

// The section bookkeeping, the position rules and the focus order (first,
// then second). The splitter keeps the position asked for with the extent it
// was asked at, and derives the position at every other extent from that, so
// shrinking and growing back restores it and rounding never drifts.
class QUELT_API CSplitter : public CImplEventSender<ISplitter>, public CBaseContainer {
  public:
    explicit CSplitter(OrientationType orientation);

    ISysWindow *GetFirstSection() override { return m_pFirst; }
    ISysWindow *GetSecondSection() override { return m_pSecond; }
    OrientationType GetOrientation() override { return m_orientation; }
    ResizeMode GetResizeMode() override { return m_resizeMode; }
    int GetMinimalSize() override { return m_minimalSize; }
    int GetSeparatorSize() override { return m_separatorSize; }

    void GetFocusChange(CSysWindow *from, bool forward) override;
    void SetFocusChange(bool forward) override;
    void ProcessTab(bool forward) override;

  protected:
    // The position pos clamped for an extent total: within [m, T - s - m]
    // when the sections fit (T - s >= 2m), else max(0, (T - s) / 2).
    // Negative values count as 0.
    int ClampPosition(int pos, int total) const;
    // pos at extent oldTotal moved to extent newTotal by mode, then clamped.
    int ScalePosition(int pos, int oldTotal, int newTotal, ResizeMode mode) const;

    // The platform's setters store here. Sections are watched and linked.
    void AssignSections(ISysWindow *first, ISysWindow *second);
    void AssignResizeMode(ResizeMode mode) { m_resizeMode = mode; }
    // Negative sizes are stored as 0; the position is clamped again.
    void AssignMinimalSize(int size);
    void AssignSeparatorSize(int size);
    // The user or the host asks for pos while the extent is total; the
    // position is clamped for that extent and kept.
    void MovePosition(int pos, int total);
    // The splitter's extent along its orientation is now total.
    void ResizeTotal(int total);
    // The position in effect at the current extent.
    int CurrentPosition() const { return m_position; }
    int CurrentTotal() const { return m_total; }
    // The two sections' rectangles in area (inclusive) at the current
    // position; the separator lies between them. Empty sections get width
    // or height 0 (right = left - 1).
    void GetSectionRects(const screen_rectangle<int> &area, screen_rectangle<int> &first,
                         screen_rectangle<int> &second) const;

    void NotifySplitterOnChangeSize(CSplitterEvent *event);
    void OnWindowGone(ISysWindow *window) override;

  private:
    // Recomputes the position from the request; raises when it changed.
    void Update();

    ISysWindow *m_pFirst = nullptr;
    ISysWindow *m_pSecond = nullptr;
    ResizeMode m_resizeMode = Proportional;
    OrientationType m_orientation;
    int m_separatorSize = 3;
    int m_minimalSize = 60;
    // -1: none asked for yet (the sections share the extent).
    int m_requested = -1;
    int m_requestedTotal = 0;
    int m_total = 0;
    int m_position = 0;
};

}  // namespace quelt
