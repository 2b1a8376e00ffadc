#pragma once

// The focus-navigation base of every container of windows.

#include <memory>
#include <vector>

#include "quelt/core/config.h"

namespace quelt {

class CSysWindow;
class IEventSender;
class ISysWindow;

// A container lives in its parent window and holds windows of its own; focus
// that leaves it goes back to the parent. It watches the parent and every
// window it holds: one that is destroyed, or whose sender drops the watch,
// is forgotten everywhere, so the container never reaches a dead window.
class QUELT_API CBaseContainer {
  public:
    CBaseContainer();
    // Clears the links of the parent and the held windows that still name it.
    virtual ~CBaseContainer();
    CBaseContainer(const CBaseContainer &) = delete;
    CBaseContainer &operator=(const CBaseContainer &) = delete;

    // Focus is leaving from; find the next window in that direction. By
    // default the parent window takes it.
    virtual void GetFocusChange(CSysWindow *from, bool forward);
    // Focus enters the container from outside; by default nothing happens.
    virtual void SetFocusChange(bool forward);
    // A tab key press inside the container; by default nothing happens.
    virtual void ProcessTab(bool forward);

    void SetParent(CSysWindow *parent);
    CSysWindow *GetParent() const { return m_pParent; }

  protected:
    // Starts (stops) watching a window the container holds.
    void Watch(ISysWindow *window);
    void Unwatch(ISysWindow *window);
    // Watches a window and makes this its parent container (when it is a
    // system window); Disown undoes both for a live window.
    void Adopt(ISysWindow *window);
    void Disown(ISysWindow *window);
    // A held window is gone; the container drops it from its own lists.
    virtual void OnWindowGone(ISysWindow *window);

    // Hands the focus to the parent window, if there is one.
    void HandToParent(bool forward);
    // Gives the focus to window: a system window enters with its containers,
    // any other takes it plainly. Null or hidden windows are skipped (false).
    static bool Enter(ISysWindow *window, bool forward);

    // Focus hand-overs come back round through windows and containers; a
    // container that is already moving the focus ignores the re-entry.
    class QUELT_API Reentry {
      public:
        explicit Reentry(CBaseContainer &container);
        ~Reentry();
        Reentry(const Reentry &) = delete;
        Reentry &operator=(const Reentry &) = delete;
        explicit operator bool() const { return m_entered; }

      private:
        CBaseContainer &m_container;
        bool m_entered;
    };

  private:
    class Watcher;
    friend class Watcher;
    void Gone(IEventSender *sender);
    bool IsWatched(const ISysWindow *window) const;

    CSysWindow *m_pParent = nullptr;
    std::vector<ISysWindow *> m_held;
    std::unique_ptr<Watcher> m_pWatcher;
    bool m_busy = false;
    bool m_handing = false;
};

}  // namespace quelt
