#include "common/tick_receivers.h"

namespace quelt::bench {
namespace {

// Each receiver does the same small work, so that the calls cannot be dropped.
class Counter : public TickReceiver {
  public:
    void OnTick(CEvent *event) override { m_count += event != nullptr; }
    long Count() const override { return m_count; }

  private:
    long m_count = 0;
};

}  // namespace

std::unique_ptr<TickReceiver> MakeTickReceiver() { return std::make_unique<Counter>(); }

}  // namespace quelt::bench
