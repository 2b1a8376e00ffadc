#pragma once

// The receivers of the dispatch benchmark. Their classes are defined in
// another translation unit, so the baseline's calls through base pointers
// are real virtual calls the compiler cannot see through.

#include <memory>

#include "quelt/core/events.h"

namespace quelt::bench {

class ITickNotify : public INotify {
  public:
    virtual void OnTick(CEvent *event) = 0;
};

class TickReceiver : public CSubscriber<ITickNotify> {
  public:
    virtual long Count() const = 0;
};

std::unique_ptr<TickReceiver> MakeTickReceiver();

}  // namespace quelt::bench
