#pragma once

// A container that docks child windows to the edges of its parent window.

#include <memory>
#include <utility>
#include <vector>

#include "quelt/controls/taborders.h"
#include "quelt/core/config.h"
#include "quelt/sys/container.h"
#include "quelt/sys/notify.h"
#include "quelt/sys/window.h"

namespace quelt {

class QUELT_API IBorder {
  public:
    enum Alignment : int { AlignLeft = 0, AlignRight = 1, AlignTop = 2, AlignBottom = 3, AlignClient = 4 };

    virtual ~IBorder();
    // A new child window of the parent, docked as given; null when the parent
    // could not make one.
    virtual ISysWindow *AddChild(Alignment alignment) = 0;
};

// Lays its children out on every resize of the parent: edges in creation
// order, each keeping its width (height) and taking the rest of the other
// axis, then the client child gets what is left. The tab key visits the
// children by their top-left corners.
class QUELT_API CBorder : public IBorder, public CBaseContainer, public CWindowNotify {
  public:
    explicit CBorder(CSysWindow *parent);
    ~CBorder() override;

    ISysWindow *AddChild(Alignment alignment) override;
    void Layout();
    const CTabOrders &GetTabOrders() const { return *m_pTabOrders; }

    void GetFocusChange(CSysWindow *from, bool forward) override;
    void SetFocusChange(bool forward) override;
    void ProcessTab(bool forward) override;

    void OnResize(CWindowEvent *event) override;

  protected:
    void OnWindowGone(ISysWindow *window) override;

  private:
    int GetNextTabIndex(int index);
    int GetPrevTabIndex(int index);
    int GetNextTabIndexEx(int index);
    int GetPrevTabIndexEx(int index);
    void RebuildTabOrder();
    // The wrapping search from the focused child, for entering and tabbing.
    void EnterWrapping(bool forward);

    std::vector<std::pair<Alignment, ISysWindow *>> m_children;
    std::unique_ptr<CTabOrders> m_pTabOrders;
};

}  // namespace quelt
