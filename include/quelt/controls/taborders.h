#pragma once

// The windows of a container in the order the tab key visits them.

#include <vector>

#include "quelt/core/config.h"

namespace quelt {

class ISysWindow;

class QUELT_API ITabOrders {
  public:
    virtual ~ITabOrders();
    // Exactly n entries: new ones are null, surplus ones go from the end.
    virtual void SetSize(unsigned n) = 0;
    virtual void Set(int index, ISysWindow *window) = 0;
    virtual ISysWindow *Get(int index) = 0;
    // The first entry that has the focus; without one -1 when last is true,
    // otherwise the number of entries.
    virtual int GetFocused(bool last) = 0;
};

// The windows are not owned. Indexes outside the list read null and store nothing.
class QUELT_API CTabOrders : public ITabOrders {
  public:
    void SetSize(unsigned n) override;
    void Set(int index, ISysWindow *window) override;
    ISysWindow *Get(int index) override;
    int GetFocused(bool last) override;
    int GetSize() const { return static_cast<int>(m_windows.size()); }

  private:
    std::vector<ISysWindow *> m_windows;
};

}  // namespace quelt
