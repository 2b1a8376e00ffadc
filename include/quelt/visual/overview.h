#pragma once

// The pairing of an overview (a small view of a whole content with the part
// shown elsewhere marked) and the view it overviews. Either side may be
// destroyed first; each forgets the other.

#include "quelt/core/config.h"
#include "quelt/core/events.h"
#include "quelt/paint/geometry.h"

namespace quelt {

class IPainter;
class IOverviewSupport;

class QUELT_API COverviewEvent : public CEvent {
  public:
    COverviewEvent(IEventSender *source, const rectangle<double> &rect) : CEvent(source), m_rect(rect) {}
    const rectangle<double> &GetRect() const { return m_rect; }

  private:
    rectangle<double> m_rect;
};

class QUELT_API IOverviewNotify : public INotify {
  public:
    virtual void OnChangeFullRect(COverviewEvent *event) = 0;
    virtual void OnChangeViewport(COverviewEvent *event) = 0;
    virtual void OnRubberBand(COverviewEvent *event) = 0;
};

class QUELT_API COverviewNotify : public CSubscriber<IOverviewNotify> {
  public:
    void OnChangeFullRect(COverviewEvent *) override {}
    void OnChangeViewport(COverviewEvent *) override {}
    void OnRubberBand(COverviewEvent *) override {}
};

// The overview side. The concrete overview supplies the viewport and raises
// IOverviewNotify (it adds that type to its registry itself).
class QUELT_API IOverview : public IEventSender {
  public:
    virtual void SetViewport(const rectangle<double> &viewport) = 0;
    virtual rectangle<double> GetViewport() = 0;
    // Links the overviewed side (null unlinks).
    virtual void SetOverview(IOverviewSupport *support) = 0;

    point<double> GetViewportPos();
    // Moves the viewport to p keeping its size.
    void SetViewportPos(const point<double> &p);
};

// The overviewed side.
class QUELT_API IOverviewSupport {
  public:
    virtual ~IOverviewSupport();
    virtual void SetOverview(IOverview *overview) = 0;
    // Draws the content for the overview; false when nothing was drawn.
    virtual bool DrawOverview(IPainter *painter) = 0;
};

// Pairing half of an overview: follows its support's notifications.
class QUELT_API COverview : public CImplEventSender<IOverview>, public COverviewNotify {
  public:
    COverview() = default;
    // Unlinks the support first.
    ~COverview() override;
    COverview(const COverview &) = delete;
    COverview &operator=(const COverview &) = delete;

    // Unlinks the old support and links s both ways; s leaves any other
    // COverview it was linked to.
    void SetOverview(IOverviewSupport *s) override;
    IOverviewSupport *GetSupport() const { return m_pSupport; }

    // A support that is an event sender and goes away is forgotten.
    void OnUnsubscribe(IEventSender *sender) override;

  private:
    friend class COverviewSupport;
    // Drops the support without calling it back; unsubscribe: also leave its sender.
    void ForgetSupport(bool unsubscribe);
    void Unlink();

    IOverviewSupport *m_pSupport = nullptr;
    // The support as an event sender (null when it is none), kept so that it
    // is never looked up on an object being destroyed.
    IEventSender *m_pSupportSender = nullptr;
};

// Pairing half of an overviewed view: follows its overview's notifications.
class QUELT_API COverviewSupport : public IOverviewSupport, public COverviewNotify {
  public:
    COverviewSupport() = default;
    // Clears the pointer of the overview still linked to it.
    ~COverviewSupport() override;
    COverviewSupport(const COverviewSupport &) = delete;
    COverviewSupport &operator=(const COverviewSupport &) = delete;

    void SetOverview(IOverview *overview) override;
    bool DrawOverview(IPainter *) override { return false; }
    IOverview *GetOverview() const { return m_pOverview; }
    // An overview that goes away without unlinking is forgotten.
    void OnUnsubscribe(IEventSender *sender) override;

  private:
    IOverview *m_pOverview = nullptr;
};

}  // namespace quelt
