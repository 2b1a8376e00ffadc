#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <typeinfo>
#include <vector>

#include "core/notify_fixture.h"
#include "quelt/core/events.h"

namespace quelt {
namespace {

using namespace test;

constexpr int kRounds = 2000;

// Counts what reaches it from any thread; may stop pings.
class PingCounter : public CPingNotify {
  public:
    void OnPing(CPingEvent *event) override {
        ++pings;
        // A nested fire of the same type walks the list again on this thread.
        if (nest && event->value == 0) static_cast<Sender *>(event->GetSource())->Ping(1, true);
        if (stop) event->StopProcessing();
    }
    std::atomic<long> pings{0};
    bool stop = false;
    bool nest = false;
};

class PongCounter : public CPongNotify {
  public:
    void OnPong(CPongEvent *) override { ++pongs; }
    std::atomic<long> pongs{0};
};

void FirePings(Sender &sender) {
    for (int i = 0; i < kRounds; ++i) sender.Ping(0, true);
}

void FirePongs(Sender &sender) {
    for (int i = 0; i < kRounds; ++i) {
        CPongEvent event(&sender);
        sender.Fire<&IPongNotify::OnPong>(&event, true);
    }
}

// Runs both at once: each waits until the other has started.
template <class A, class B>
void RunTogether(A a, B b) {
    std::atomic<int> ready{0};
    const auto start = [&ready] {
        ++ready;
        while (ready.load() < 2) std::this_thread::yield();
    };
    std::thread first([&] {
        start();
        a();
    });
    std::thread second([&] {
        start();
        b();
    });
    first.join();
    second.join();
}

TEST(EventThreadsTest, TwoThreadsFiringOneSenderReachEveryReceiver) {
    struct Case {
        const char *name;
        bool samePingType;  // both threads ping, or one pings and one pongs
        bool nest;          // the first ping receiver fires again from its handler
    };
    for (const Case &c :
         {Case{"same type", true, false}, Case{"different types", false, false},
          Case{"same type, nested", true, true}, Case{"different types, nested", false, true}}) {
        SCOPED_TRACE(c.name);
        Sender sender;
        PingCounter first, second;
        PongCounter pong;
        first.nest = c.nest;
        sender.Subscribe(first.AsNotify(), Ping, true);
        sender.Subscribe(second.AsNotify(), Ping, true);
        sender.Subscribe(pong.AsNotify(), Pong, true);
        RunTogether([&] { FirePings(sender); },
                    [&] {
                        if (c.samePingType) {
                            FirePings(sender);
                        } else {
                            FirePongs(sender);
                        }
                    });
        const long pingThreads = c.samePingType ? 2 : 1;
        const long perPing = c.nest ? 2 : 1;
        EXPECT_EQ(first.pings.load(), pingThreads * kRounds * perPing);
        EXPECT_EQ(second.pings.load(), pingThreads * kRounds * perPing);
        EXPECT_EQ(pong.pongs.load(), c.samePingType ? 0 : kRounds);
        EXPECT_EQ(sender.GetReceiverCount(Ping), 2);
    }
}

TEST(EventThreadsTest, AStopOnOneThreadEndsOnlyThatThreadsDispatch) {
    Sender sender;
    PingCounter before, stopper, after;
    stopper.stop = true;
    for (PingCounter *r : {&before, &stopper, &after}) sender.Subscribe(r->AsNotify(), Ping, true);
    RunTogether([&] { FirePings(sender); }, [&] { FirePings(sender); });
    EXPECT_EQ(before.pings.load(), 2 * kRounds);
    EXPECT_EQ(stopper.pings.load(), 2 * kRounds);
    EXPECT_EQ(after.pings.load(), 0);
}

TEST(EventThreadsTest, SenderDestroyedByItsHandlerAfterAnotherThreadFired) {
    // The other thread's walks have ended; the destroying thread's own walk
    // still frees the list it unwinds through.
    auto sender = std::make_unique<Sender>();
    PingCounter counter;
    sender->Subscribe(counter.AsNotify(), Ping, true);
    std::thread other([&] { FirePings(*sender); });
    other.join();
    Journal journal;
    Pinger killer(journal, "killer");
    sender->Subscribe(killer.Notify(), Ping, true);
    killer.action = [&](CPingEvent *) { sender.reset(); };
    sender->Ping();
    EXPECT_EQ(sender, nullptr);
    EXPECT_EQ(counter.pings.load(), kRounds + 1);
    EXPECT_EQ(journal, (Journal{"killer", "killer unhooked"}));
}

}  // namespace
}  // namespace quelt
