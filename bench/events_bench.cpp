// One event reaching 1, 8 and 64 receivers: FireEvent against a loop of
// virtual calls over a vector and Boost.Signals2 with the same receivers.

#include <memory>
#include <string>
#include <vector>

#include "common/bench_common.h"
#include "quelt/core/events.h"

#ifdef QUELT_HAVE_SIGNALS2
#include <boost/signals2/signal.hpp>
#endif

namespace quelt::bench {
namespace {

class ITickNotify : public INotify {
  public:
    virtual void OnTick(CEvent *event) = 0;
};

// Each receiver does the same small work, so that the calls cannot be dropped.
class Receiver : public CSubscriber<ITickNotify> {
  public:
    void OnTick(CEvent *event) override { m_count += event != nullptr; }
    long Count() const { return m_count; }

  private:
    long m_count = 0;
};

class Sender : public CImplEventSender<> {
  public:
    Sender() { AddEventType(typeid(ITickNotify)); }
    void Tick() {
        CEvent event(this);
        Fire<&ITickNotify::OnTick>(&event, false);
    }
};

void FireOurs(benchmark::State &state, int receivers) {
    Sender sender;
    std::vector<std::unique_ptr<Receiver>> listening;
    for (int i = 0; i < receivers; ++i) {
        listening.push_back(std::make_unique<Receiver>());
        sender.Subscribe(listening.back()->AsNotify(), typeid(ITickNotify), true);
    }
    for (auto _ : state) sender.Tick();
    benchmark::DoNotOptimize(listening.front()->Count());
}

void VirtualBaseline(benchmark::State &state, int receivers) {
    std::vector<std::unique_ptr<Receiver>> owned;
    std::vector<ITickNotify *> listening;
    for (int i = 0; i < receivers; ++i) {
        owned.push_back(std::make_unique<Receiver>());
        listening.push_back(owned.back().get());
    }
    for (auto _ : state) {
        CEvent event(nullptr);
        for (ITickNotify *r : listening) r->OnTick(&event);
        benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(owned.front()->Count());
}

#ifdef QUELT_HAVE_SIGNALS2
void SignalPeer(benchmark::State &state, int receivers) {
    boost::signals2::signal<void(CEvent *)> tick;
    std::vector<std::unique_ptr<Receiver>> listening;
    for (int i = 0; i < receivers; ++i) {
        listening.push_back(std::make_unique<Receiver>());
        Receiver *r = listening.back().get();
        tick.connect([r](CEvent *event) { r->OnTick(event); });
    }
    for (auto _ : state) {
        CEvent event(nullptr);
        tick(&event);
    }
    benchmark::DoNotOptimize(listening.front()->Count());
}
#endif

void Register() {
    for (int receivers : {1, 8, 64}) {
        const std::string name = "dispatch_" + std::to_string(receivers);
        benchmark::RegisterBenchmark((name + "/ours").c_str(), FireOurs, receivers);
        benchmark::RegisterBenchmark((name + "/baseline").c_str(), VirtualBaseline, receivers);
#ifdef QUELT_HAVE_SIGNALS2
        benchmark::RegisterBenchmark((name + "/peer_signals2").c_str(), SignalPeer, receivers);
#endif
    }
}

const int registered = (Register(), 0);

}  // namespace
}  // namespace quelt::bench
