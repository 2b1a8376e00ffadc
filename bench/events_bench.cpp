// One event reaching 1, 8 and 64 receivers: FireEvent against a loop of
// virtual calls through a vector of base pointers (to classes of another
// translation unit) and Boost.Signals2 with the same receivers.

#include <memory>
#include <string>
#include <vector>

#include "common/bench_common.h"
#include "common/tick_receivers.h"
#include "quelt/core/events.h"

#ifdef QUELT_HAVE_SIGNALS2
#include <boost/signals2/signal.hpp>
#endif

namespace quelt::bench {
namespace {

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
    std::vector<std::unique_ptr<TickReceiver>> listening;
    for (int i = 0; i < receivers; ++i) {
        listening.push_back(MakeTickReceiver());
        sender.Subscribe(listening.back()->AsNotify(), typeid(ITickNotify), true);
    }
    for (auto _ : state) sender.Tick();
    benchmark::DoNotOptimize(listening.front()->Count());
}

void VirtualBaseline(benchmark::State &state, int receivers) {
    std::vector<std::unique_ptr<TickReceiver>> owned;
    std::vector<ITickNotify *> listening;
    for (int i = 0; i < receivers; ++i) {
        owned.push_back(MakeTickReceiver());
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
    std::vector<std::unique_ptr<TickReceiver>> listening;
    for (int i = 0; i < receivers; ++i) {
        listening.push_back(MakeTickReceiver());
        TickReceiver *r = listening.back().get();
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
