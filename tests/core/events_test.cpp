#include "quelt/core/events.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/alloc_probe.h"
#include "core/notify_fixture.h"

namespace quelt {
namespace {

using namespace test;

// --- subscription -----------------------------------------------------------------

TEST(EventSenderTest, SenderWithoutTypesRefusesEverything) {
    Journal journal;
    Silent sender;
    Pinger a(journal, "a");
    EXPECT_FALSE(sender.Subscribe(a.Notify(), Ping, true));
    EXPECT_FALSE(sender.SubscribeFirst(a.Notify(), Ping, true));
    EXPECT_FALSE(sender.Unsubscribe(a.Notify(), Ping, true));
    EXPECT_FALSE(sender.UnsubscribeAll(a.Notify(), true));
    EXPECT_FALSE(sender.CausesEvent(Ping));
    EXPECT_FALSE(sender.HasReceivers(Ping));
    EXPECT_EQ(sender.GetReceiverCount(Ping), 0);
    CPingEvent event(&sender);
    sender.FireEvent(Ping, CallHandler<&IPingNotify::OnPing>, &event, true);
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(a.subscribes, 0);
    EXPECT_FALSE(a.Knows(&sender));
}

TEST(EventSenderTest, SubscribeListsTheReceiverAndTellsIt) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a");
    EXPECT_TRUE(sender.CausesEvent(Ping));
    EXPECT_FALSE(sender.HasReceivers(Ping));
    EXPECT_TRUE(sender.Subscribe(a.Notify(), Ping, true));
    EXPECT_TRUE(sender.HasReceivers(Ping));
    EXPECT_FALSE(sender.HasReceivers(Pong));
    EXPECT_EQ(sender.GetReceiverCount(Ping), 1);
    EXPECT_EQ(a.subscribes, 1);
    EXPECT_TRUE(a.Knows(&sender));
}

TEST(EventSenderTest, SubscribeWithoutNotifyDoesNotTell) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a");
    EXPECT_TRUE(sender.Subscribe(a.Notify(), Ping, false));
    EXPECT_EQ(a.subscribes, 0);
    EXPECT_FALSE(a.Knows(&sender));
    sender.Ping();
    EXPECT_EQ(journal, Journal{"a"});
    EXPECT_TRUE(sender.Unsubscribe(a.Notify(), Ping, false));
}

TEST(EventSenderTest, NullReceiverIsRefused) {
    Sender sender;
    EXPECT_FALSE(sender.Subscribe(nullptr, Ping, true));
    EXPECT_FALSE(sender.SubscribeFirst(nullptr, Ping, true));
    EXPECT_FALSE(sender.Unsubscribe(nullptr, Ping, true));
    EXPECT_FALSE(sender.UnsubscribeAll(nullptr, true));
    EXPECT_EQ(sender.GetReceiverCount(Ping), 0);
}

TEST(EventSenderTest, AddingATypeAgainKeepsItsReceivers) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a");
    sender.Subscribe(a.Notify(), Ping, true);
    sender.AddEventType(Ping);
    EXPECT_EQ(sender.GetReceiverCount(Ping), 1);
}

TEST(EventSenderTest, UnsubscribeRemovesOneListingAndTells) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a");
    Pinger b(journal, "b");
    sender.Subscribe(a.Notify(), Ping, true);
    sender.Subscribe(b.Notify(), Ping, true);
    EXPECT_TRUE(sender.Unsubscribe(a.Notify(), Ping, true));
    EXPECT_EQ(journal, Journal{"a unhooked"});
    EXPECT_FALSE(a.Knows(&sender));
    EXPECT_TRUE(b.Knows(&sender));
    EXPECT_EQ(sender.GetReceiverCount(Ping), 1);
    journal.clear();
    sender.Ping();
    EXPECT_EQ(journal, Journal{"b"});
}

TEST(EventSenderTest, UnsubscribingAnAbsentReceiverStillTells) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a");
    Pinger b(journal, "b");
    sender.Subscribe(b.Notify(), Ping, true);
    EXPECT_TRUE(sender.Unsubscribe(a.Notify(), Ping, true));
    EXPECT_EQ(journal, Journal{"a unhooked"});
    EXPECT_EQ(sender.GetReceiverCount(Ping), 1);
    EXPECT_FALSE(sender.Unsubscribe(a.Notify(), typeid(Canvas), true));
    EXPECT_EQ(journal.size(), 1u);
}

TEST(EventSenderTest, UnsubscribeAllTellsOncePerRegisteredType) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a");
    sender.Subscribe(a.Notify(), Ping, true);
    sender.Subscribe(a.Notify(), Ping, true);
    EXPECT_TRUE(sender.UnsubscribeAll(a.Notify(), true));
    // Two registered types, one listing removed.
    EXPECT_EQ(journal, (Journal{"a unhooked", "a unhooked"}));
    EXPECT_EQ(sender.GetReceiverCount(Ping), 1);
    // Still listed once, so still known.
    EXPECT_TRUE(a.Knows(&sender));
    EXPECT_TRUE(sender.UnsubscribeAll(a.Notify(), true));
    EXPECT_FALSE(a.Knows(&sender));
    EXPECT_TRUE(sender.UnsubscribeAll(a.Notify(), false));
    EXPECT_EQ(sender.GetReceiverCount(Ping), 0);
    EXPECT_EQ(journal.size(), 4u);
}

TEST(EventSenderTest, DuplicateListingIsCalledTwiceAndKnownOnce) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a");
    sender.Subscribe(a.Notify(), Ping, true);
    sender.Subscribe(a.Notify(), Ping, true);
    EXPECT_EQ(sender.GetReceiverCount(Ping), 2);
    EXPECT_EQ(a.subscribes, 2);
    sender.Ping();
    EXPECT_EQ(journal, (Journal{"a", "a"}));
    // The sender set holds it once, until its last listing is removed.
    EXPECT_TRUE(a.Knows(&sender));
    sender.Unsubscribe(a.Notify(), Ping, true);
    EXPECT_TRUE(a.Knows(&sender));
    EXPECT_EQ(sender.GetReceiverCount(Ping), 1);
    sender.Unsubscribe(a.Notify(), Ping, true);
    EXPECT_FALSE(a.Knows(&sender));
    EXPECT_EQ(sender.GetReceiverCount(Ping), 0);
}

TEST(EventSenderTest, ReportsItsEventSenderSubobject) {
    Journal journal;
    Tool tool;
    Pinger a(journal, "a");
    IEventSender *self = &tool;
    ASSERT_NE(static_cast<void *>(self), static_cast<void *>(static_cast<CBase *>(&tool)));
    tool.Subscribe(a.Notify(), Ping, true);
    EXPECT_TRUE(a.Knows(self));
    EXPECT_EQ(tool.Size(), 3);
}

// --- dispatch ---------------------------------------------------------------------

TEST(FireEventTest, CallsReceiversInListOrder) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a"), b(journal, "b"), c(journal, "c"), d(journal, "d");
    sender.Subscribe(a.Notify(), Ping, true);
    sender.Subscribe(b.Notify(), Ping, true);
    sender.SubscribeFirst(c.Notify(), Ping, true);
    sender.SubscribeFirst(d.Notify(), Ping, true);
    sender.Ping();
    EXPECT_EQ(journal, (Journal{"d", "c", "a", "b"}));
}

TEST(FireEventTest, CallsOnlyTheReceiversOfTheType) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a");
    Ponger p(journal, "p");
    sender.Subscribe(a.Notify(), Ping, true);
    sender.Subscribe(p.AsNotify(), Pong, true);
    CPongEvent pong(&sender);
    sender.Fire<&IPongNotify::OnPong>(&pong, true);
    EXPECT_EQ(journal, Journal{"p pong"});
    sender.FireEvent(typeid(Canvas), CallHandler<&IPingNotify::OnPing>, nullptr, true);
    EXPECT_EQ(journal, Journal{"p pong"});
}

TEST(FireEventTest, HandsEveryReceiverTheSameRecord) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a"), b(journal, "b");
    sender.Subscribe(a.Notify(), Ping, true);
    sender.Subscribe(b.Notify(), Ping, true);
    std::vector<CPingEvent *> seen;
    a.action = b.action = [&](CPingEvent *event) {
        seen.push_back(event);
        event->value += 10;
    };
    CPingEvent event(&sender);
    event.value = 1;
    sender.Fire<&IPingNotify::OnPing>(&event, true);
    EXPECT_EQ(seen, (std::vector<CPingEvent *>{&event, &event}));
    EXPECT_EQ(event.value, 21);
    EXPECT_EQ(event.GetSource(), &sender);
}

TEST(FireEventTest, RecordWithCEventNotFirstArrivesIntact) {
    Journal journal;
    Sender sender;
    Ponger first(journal, "1"), second(journal, "2");
    first.stop = true;
    sender.Subscribe(first.AsNotify(), Pong, true);
    sender.Subscribe(second.AsNotify(), Pong, true);
    CPongEvent event(&sender);
    ASSERT_NE(static_cast<void *>(static_cast<CEvent *>(&event)), static_cast<void *>(&event));
    sender.Fire<&IPongNotify::OnPong>(&event, true);
    EXPECT_EQ(first.lastEvent, &event);
    EXPECT_EQ(journal, Journal{"1 pong"});
}

TEST(FireEventTest, PassesAnArgumentThatIsNotARecord) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a"), b(journal, "b");
    sender.Subscribe(a.Notify(), Ping, true);
    sender.Subscribe(b.Notify(), Ping, true);
    Canvas canvas;
    sender.Fire<&IPingNotify::OnDraw>(&canvas, false);
    EXPECT_EQ(canvas.strokes, 2);
    EXPECT_EQ(journal, (Journal{"a draws", "b draws"}));
    // Not a record: never read as one, even when asked to be stoppable.
    Canvas blank;
    sender.Fire<&IPingNotify::OnDraw>(&blank, true);
    EXPECT_EQ(blank.strokes, 2);
}

TEST(FireEventTest, StopEndsAStoppableDispatch) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a"), b(journal, "b"), c(journal, "c");
    for (Pinger *p : {&a, &b, &c}) sender.Subscribe(p->Notify(), Ping, true);
    b.action = [](CPingEvent *event) { event->StopProcessing(); };
    CPingEvent event = sender.Ping(0, true);
    EXPECT_EQ(journal, (Journal{"a", "b"}));
    EXPECT_FALSE(event.IsContinueProcessing());
}

TEST(FireEventTest, StopIsIgnoredWhenNotStoppable) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a"), b(journal, "b"), c(journal, "c");
    for (Pinger *p : {&a, &b, &c}) sender.Subscribe(p->Notify(), Ping, true);
    a.action = [](CPingEvent *event) { event->StopProcessing(); };
    sender.Ping(0, false);
    EXPECT_EQ(journal, (Journal{"a", "b", "c"}));
}

TEST(FireEventTest, FirstReceiverIsCalledEvenForAStoppedRecord) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a"), b(journal, "b");
    sender.Subscribe(a.Notify(), Ping, true);
    sender.Subscribe(b.Notify(), Ping, true);
    CPingEvent event(&sender);
    event.StopProcessing();
    sender.Fire<&IPingNotify::OnPing>(&event, true);
    EXPECT_EQ(journal, Journal{"a"});
}

TEST(FireEventTest, NullRecordIsNeverStopTested) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a"), b(journal, "b");
    sender.Subscribe(a.Notify(), Ping, true);
    sender.Subscribe(b.Notify(), Ping, true);
    sender.Fire<&IPingNotify::OnPing>(nullptr, true);
    EXPECT_EQ(journal, (Journal{"a", "b"}));
}

TEST(FireEventTest, FlavorsCarryTheReceiversAnswer) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a");
    sender.Subscribe(a.Notify(), Ping, true);
    EXPECT_TRUE(sender.Ping().IsAllowed());
    a.action = [](CPingEvent *event) { event->Forbid(); };
    EXPECT_FALSE(sender.Ping().IsAllowed());

    Ponger p(journal, "p");
    sender.Subscribe(p.AsNotify(), Pong, true);
    CPongEvent pong(&sender);
    EXPECT_TRUE(pong.IsAccepted());
    sender.Fire<&IPongNotify::OnPong>(&pong, true);
    EXPECT_TRUE(pong.IsAccepted());
}

TEST(FireEventTest, HandlerExceptionEndsTheDispatch) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a"), b(journal, "b");
    sender.Subscribe(a.Notify(), Ping, true);
    sender.Subscribe(b.Notify(), Ping, true);
    a.action = [](CPingEvent *) { throw std::runtime_error("handler"); };
    EXPECT_THROW(sender.Ping(), std::runtime_error);
    EXPECT_EQ(journal, Journal{"a"});
}

TEST(FireEventTest, ReceiverListedUnderAForeignTypeIsSkipped) {
    Journal journal;
    Sender sender;
    Ponger p(journal, "p");
    Pinger a(journal, "a");
    sender.Subscribe(p.AsNotify(), Ping, false);
    sender.Subscribe(a.Notify(), Ping, true);
    sender.Ping();
    EXPECT_EQ(journal, Journal{"a"});
    sender.Unsubscribe(p.AsNotify(), Ping, false);
}

TEST(FireEventTest, ReceiverOfSeveralInterfacesGetsEachHandler) {
    Journal journal;
    Sender sender;
    Both both(journal);
    sender.Subscribe(both.PingSide(), Ping, true);
    sender.Subscribe(both.PongSide(), Pong, true);
    sender.Ping();
    CPongEvent pong(&sender);
    sender.Fire<&IPongNotify::OnPong>(&pong, true);
    EXPECT_EQ(journal, (Journal{"both ping", "both pong"}));
}

// One object with two ping receivers: which one a pointer reaches depends on
// the base it names.
struct LeftPinger : Pinger {
    using Pinger::Pinger;
};
struct RightPinger : Pinger {
    using Pinger::Pinger;
};
struct Twin : LeftPinger, RightPinger {
    explicit Twin(Journal &journal) : LeftPinger(journal, "left"), RightPinger(journal, "right") {}
};

// The handler remembers where the last receiver class keeps the interface; a
// mix of classes, of the bases of one object, of classes without the
// interface and of null must each get dynamic_cast's answer.
TEST(FireEventTest, EveryMixOfReceiverClassesReachesTheRightHandler) {
    Journal journal;
    Pinger a(journal, "a");
    Pinger b(journal, "b");
    Ponger p(journal, "p");
    Both both(journal);
    Twin twin(journal);
    INotify *const left = twin.LeftPinger::Notify();
    INotify *const right = twin.RightPinger::Notify();
    INotify *const order[] = {a.Notify(),      b.Notify(),   p.AsNotify(),    both.PingSide(),
                              both.PongSide(), p.AsNotify(), a.Notify(),      left,
                              right,           left,         both.PongSide(), both.PongSide(),
                              nullptr,         b.Notify(),   both.PingSide()};
    CPingEvent ping(nullptr);
    CPongEvent pong(nullptr);
    for (int round = 0; round < 2; ++round) {
        for (INotify *receiver : order)
            CallHandler<&IPingNotify::OnPing>(receiver, detail::ToEventPointer(&ping));
        for (INotify *receiver : order)
            CallHandler<&IPongNotify::OnPong>(receiver, detail::ToEventPointer(&pong));
    }
    const Journal pings{"a",     "b",    "both ping", "both ping", "a", "left",
                        "right", "left", "both ping", "both ping", "b", "both ping"};
    const Journal pongs{"p pong", "both pong", "both pong", "p pong", "both pong", "both pong", "both pong"};
    Journal expected;
    for (int round = 0; round < 2; ++round) {
        expected.insert(expected.end(), pings.begin(), pings.end());
        expected.insert(expected.end(), pongs.begin(), pongs.end());
    }
    EXPECT_EQ(journal, expected);
    EXPECT_EQ(p.lastEvent, &pong);
}

// --- receivers changing the list during a dispatch --------------------------------

// Records every receiver pointer the dispatch hands out.
std::vector<INotify *> g_handed;
void Record(INotify *receiver, void *event) {
    g_handed.push_back(receiver);
    CallHandler<&IPingNotify::OnPing>(receiver, event);
}

TEST(DispatchChangeTest, ReceiverAddedAtTheEndWaitsForTheNextEvent) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a"), b(journal, "b"), late(journal, "late");
    sender.Subscribe(a.Notify(), Ping, true);
    sender.Subscribe(b.Notify(), Ping, true);
    bool added = false;
    a.action = [&](CPingEvent *) {
        if (!std::exchange(added, true)) sender.Subscribe(late.Notify(), Ping, true);
    };
    sender.Ping();
    EXPECT_EQ(journal, (Journal{"a", "b"}));
    journal.clear();
    sender.Ping();
    EXPECT_EQ(journal, (Journal{"a", "b", "late"}));
}

TEST(DispatchChangeTest, ReceiverAddedAtTheFrontShiftsTheWalk) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a"), b(journal, "b"), early(journal, "early");
    sender.Subscribe(a.Notify(), Ping, true);
    sender.Subscribe(b.Notify(), Ping, true);
    bool added = false;
    a.action = [&](CPingEvent *) {
        if (!std::exchange(added, true)) sender.SubscribeFirst(early.Notify(), Ping, true);
    };
    sender.Ping();
    // Two receivers were counted; a moved to index 1 and is reached again.
    EXPECT_EQ(journal, (Journal{"a", "a"}));
}

TEST(DispatchChangeTest, RemovingALaterReceiverSkipsItAndStopsAtTheEnd) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a"), b(journal, "b"), c(journal, "c");
    for (Pinger *p : {&a, &b, &c}) sender.Subscribe(p->Notify(), Ping, true);
    a.action = [&](CPingEvent *) { sender.Unsubscribe(b.Notify(), Ping, false); };
    g_handed.clear();
    CPingEvent event(&sender);
    sender.FireEvent(Ping, Record, &event, true);
    EXPECT_EQ(journal, (Journal{"a", "c"}));
    EXPECT_EQ(g_handed, (std::vector<INotify *>{a.Notify(), c.Notify()}));
}

TEST(DispatchChangeTest, RemovingItselfSkipsTheNextReceiver) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a"), b(journal, "b"), c(journal, "c");
    for (Pinger *p : {&a, &b, &c}) sender.Subscribe(p->Notify(), Ping, true);
    a.action = [&](CPingEvent *) { sender.Unsubscribe(a.Notify(), Ping, false); };
    sender.Ping();
    EXPECT_EQ(journal, (Journal{"a", "c"}));
}

TEST(DispatchChangeTest, EmptyingTheListNeverReachesBeyondItsEnd) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a"), b(journal, "b"), c(journal, "c"), d(journal, "d");
    for (Pinger *p : {&a, &b, &c, &d}) sender.Subscribe(p->Notify(), Ping, true);
    b.action = [&](CPingEvent *) {
        for (Pinger *p : {&a, &b, &c, &d}) sender.Unsubscribe(p->Notify(), Ping, false);
    };
    g_handed.clear();
    CPingEvent event(&sender);
    sender.FireEvent(Ping, Record, &event, true);
    EXPECT_EQ(journal, (Journal{"a", "b"}));
    EXPECT_EQ(g_handed, (std::vector<INotify *>{a.Notify(), b.Notify()}));
}

TEST(DispatchChangeTest, ReceiverDestroyedByAHandlerIsNotCalled) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a");
    auto doomed = std::make_unique<Pinger>(journal, "doomed");
    sender.Subscribe(a.Notify(), Ping, true);
    sender.Subscribe(doomed->Notify(), Ping, true);
    a.action = [&](CPingEvent *) { doomed.reset(); };
    sender.Ping();
    EXPECT_EQ(journal, Journal{"a"});
    EXPECT_EQ(sender.GetReceiverCount(Ping), 1);
}

TEST(DispatchChangeTest, SenderDestroyedByItsOwnHandlerEndsTheWalk) {
    // AddressSanitizer reports any read of the freed sender or list.
    struct Case {
        const char *name;
        bool nested;    // the sender dies in a dispatch started by a handler of the outer one
        bool throwing;  // the killing handler throws after the sender is gone
    };
    for (const Case &c :
         {Case{"plain", false, false}, Case{"nested", true, false}, Case{"throwing", false, true}}) {
        SCOPED_TRACE(c.name);
        Journal journal;
        auto sender = std::make_unique<Sender>();
        Pinger a(journal, "a"), killer(journal, "killer"), later(journal, "later");
        for (Pinger *p : {&a, &killer, &later}) sender->Subscribe(p->Notify(), Ping, true);
        a.action = [&](CPingEvent *event) {
            if (c.nested && event->value == 0) sender->Ping(1);
        };
        killer.action = [&](CPingEvent *) {
            sender.reset();
            if (c.throwing) throw std::runtime_error("after");
        };
        if (c.throwing) {
            EXPECT_THROW(sender->Ping(), std::runtime_error);
        } else {
            sender->Ping();
        }
        EXPECT_EQ(sender, nullptr);
        const Journal told{"a unhooked", "killer unhooked", "later unhooked"};
        Journal expected{"a"};
        if (c.nested) expected.push_back("a");
        expected.push_back("killer");
        expected.insert(expected.end(), told.begin(), told.end());
        EXPECT_EQ(journal, expected);
        for (Pinger *p : {&a, &killer, &later}) EXPECT_EQ(p->subscribes, 1);
    }
}

TEST(DispatchChangeTest, DispatchAllocatesNothing) {
    Journal journal;
    journal.reserve(16);
    Sender sender;
    Pinger a(journal, "a"), b(journal, "b"), c(journal, "c");
    for (Pinger *p : {&a, &b, &c}) sender.Subscribe(p->Notify(), Ping, true);
    CPingEvent event(&sender);
    Canvas canvas;
    const std::size_t before = test::AllocationCount();
    sender.Fire<&IPingNotify::OnPing>(&event, true);
    sender.Fire<&IPingNotify::OnDraw>(&canvas, false);
    EXPECT_EQ(test::AllocationCount(), before);
    EXPECT_EQ(journal.size(), 6u);
}

// A registry that hands out the list of one type for another.
class RedirectingEvents : public CausedEvents {
  public:
    IReceiverList *GetReceivers(const std::type_info &type) override {
        ++lookups;
        return CausedEvents::GetReceivers(type == test::Ping ? test::Pong : type);
    }
    int lookups = 0;
};

class RedirectedSender : public Sender {
  public:
    RedirectedSender() {
        delete m_pEvents;
        m_pEvents = m_pRedirecting = new RedirectingEvents;
        AddEventType(test::Ping);
        AddEventType(test::Pong);
    }
    RedirectingEvents *m_pRedirecting;
};

TEST(DispatchChangeTest, ARegistryOfAnotherClassIsAskedForTheList) {
    Journal journal;
    RedirectedSender sender;
    Pinger a(journal, "a"), b(journal, "b");
    sender.Subscribe(a.Notify(), Pong, true);
    sender.Subscribe(b.Notify(), Pong, true);
    b.action = [](CPingEvent *event) { event->StopProcessing(); };
    sender.Subscribe(a.Notify(), Pong, true);
    sender.Ping();
    EXPECT_EQ(journal, (Journal{"a", "b"}));
    EXPECT_GT(sender.m_pRedirecting->lookups, 0);
}

// --- lifecycle ----------------------------------------------------------------

TEST(LifecycleTest, DestroyedReceiverLeavesEverySender) {
    Journal journal;
    Sender one, two;
    Pinger a(journal, "a");
    {
        Pinger gone(journal, "gone");
        one.Subscribe(gone.Notify(), Ping, true);
        two.SubscribeFirst(gone.Notify(), Ping, true);
        one.Subscribe(a.Notify(), Ping, true);
        two.Subscribe(a.Notify(), Ping, true);
    }
    EXPECT_EQ(one.GetReceiverCount(Ping), 1);
    EXPECT_EQ(two.GetReceiverCount(Ping), 1);
    one.Ping();
    two.Ping();
    EXPECT_EQ(journal, (Journal{"a", "a"}));
}

TEST(LifecycleTest, DestroyedReceiverRemovesEveryListing) {
    Journal journal;
    Sender sender;
    Pinger a(journal, "a");
    {
        Pinger twice(journal, "twice");
        sender.Subscribe(twice.Notify(), Ping, true);
        sender.Subscribe(a.Notify(), Ping, true);
        sender.SubscribeFirst(twice.Notify(), Ping, true);
        sender.Subscribe(twice.Notify(), Ping, true);
        EXPECT_EQ(sender.GetReceiverCount(Ping), 4);
    }
    EXPECT_EQ(sender.GetReceiverCount(Ping), 1);
    sender.Ping();
    EXPECT_EQ(journal, Journal{"a"});
}

TEST(LifecycleTest, ReceiverStillListedAfterOneRemovalLeavesOnDestruction) {
    Journal journal;
    Sender sender;
    {
        Pinger twice(journal, "twice");
        sender.Subscribe(twice.Notify(), Ping, true);
        sender.Subscribe(twice.Notify(), Ping, true);
        sender.Unsubscribe(twice.Notify(), Ping, true);
        EXPECT_TRUE(twice.Knows(&sender));
    }
    EXPECT_EQ(sender.GetReceiverCount(Ping), 0);
}

TEST(LifecycleTest, ReceiverStillListedAfterUnsubscribeAllLeavesOnDestruction) {
    Journal journal;
    Sender sender;
    {
        Pinger twice(journal, "twice");
        sender.Subscribe(twice.Notify(), Ping, true);
        sender.Subscribe(twice.Notify(), Ping, true);
        sender.UnsubscribeAll(twice.Notify(), true);
        EXPECT_TRUE(twice.Knows(&sender));
    }
    EXPECT_EQ(sender.GetReceiverCount(Ping), 0);
}

TEST(LifecycleTest, DestroyedReceiverOfSeveralInterfacesLeavesEachList) {
    Journal journal;
    Sender sender;
    {
        Both both(journal);
        sender.Subscribe(both.PingSide(), Ping, true);
        sender.Subscribe(both.PongSide(), Pong, true);
    }
    EXPECT_EQ(sender.GetReceiverCount(Ping), 0);
    EXPECT_EQ(sender.GetReceiverCount(Pong), 0);
}

TEST(LifecycleTest, DestroyedSenderTellsEachListingOnceInKeyOrder) {
    Journal journal;
    Pinger a(journal, "a");
    Ponger p(journal, "p");
    auto sender = std::make_unique<Sender>();
    Sender *dead = sender.get();
    sender->Subscribe(a.Notify(), Ping, true);
    sender->Subscribe(a.Notify(), Ping, true);
    sender->Subscribe(p.AsNotify(), Pong, true);
    sender.reset();
    const bool pingFirst = std::strcmp(Ping.name(), Pong.name()) < 0;
    const Journal expected = pingFirst ? Journal{"a unhooked", "a unhooked", "p unhooked"}
                                       : Journal{"p unhooked", "a unhooked", "a unhooked"};
    EXPECT_EQ(journal, expected);
    EXPECT_FALSE(a.Knows(dead));
    EXPECT_FALSE(p.Knows(dead));
}

// Told that its sender goes away, drops itself from every type of it.
class Leaver : public CPingNotify {
  public:
    explicit Leaver(Journal &journal) : m_journal(journal) {}
    void OnUnsubscribe(IEventSender *sender) override {
        m_journal.push_back("leaver unhooked");
        sender->UnsubscribeAll(AsNotify(), false);
        CPingNotify::OnUnsubscribe(sender);
    }
    bool Knows(IEventSender *sender) { return m_pSenders->Contains(sender); }

  private:
    Journal &m_journal;
};

// Told that its sender goes away, destroys another receiver.
class Destroyer : public CPingNotify {
  public:
    explicit Destroyer(std::unique_ptr<Pinger> &target) : m_target(target) {}
    void OnUnsubscribe(IEventSender *sender) override {
        m_target.reset();
        CPingNotify::OnUnsubscribe(sender);
    }

  private:
    std::unique_ptr<Pinger> &m_target;
};

TEST(LifecycleTest, ReceiversChangingTheListsWhileTheSenderDiesAreEachToldOnce) {
    Journal journal;
    Leaver leaver(journal);
    Pinger a(journal, "a");
    auto doomed = std::make_unique<Pinger>(journal, "doomed");
    Ponger p(journal, "p");
    auto sender = std::make_unique<Sender>();
    Sender *dead = sender.get();
    sender->Subscribe(leaver.AsNotify(), Ping, true);
    sender->Subscribe(a.Notify(), Ping, true);
    sender->Subscribe(doomed->Notify(), Ping, true);
    sender->Subscribe(leaver.AsNotify(), Pong, false);
    sender->Subscribe(p.AsNotify(), Pong, true);
    Destroyer destroyer(doomed);
    sender->SubscribeFirst(destroyer.AsNotify(), Ping, true);
    sender.reset();
    EXPECT_EQ(doomed, nullptr);
    const Journal told{"leaver unhooked", "a unhooked"};
    Journal pingPart, pongPart;
    for (const std::string &line : journal) (line == "p unhooked" ? pongPart : pingPart).push_back(line);
    EXPECT_EQ(pingPart, told);
    EXPECT_EQ(pongPart, Journal{"p unhooked"});
    EXPECT_FALSE(leaver.Knows(dead));
    EXPECT_FALSE(a.Knows(dead));
}

TEST(LifecycleTest, ReceiverOutlivingItsSenderDoesNotCallIt) {
    Journal journal;
    // The sender dies first; the receiver's destruction must not touch it
    // (AddressSanitizer reports any use).
    auto a = std::make_unique<Pinger>(journal, "a");
    {
        Sender sender;
        sender.Subscribe(a->Notify(), Ping, true);
    }
    a.reset();
    EXPECT_EQ(journal, Journal{"a unhooked"});
}

TEST(LifecycleTest, UnsubscribeAllWithNotifyForgetsTheSender) {
    Journal journal;
    Pinger a(journal, "a");
    auto sender = std::make_unique<Sender>();
    sender->Subscribe(a.Notify(), Ping, true);
    sender->UnsubscribeAll(a.Notify(), true);
    EXPECT_FALSE(a.Knows(sender.get()));
    sender.reset();
    EXPECT_EQ(journal, (Journal{"a unhooked", "a unhooked"}));
}

TEST(LifecycleTest, SendersAndReceiversAreNotCopyable) {
    static_assert(!std::is_copy_constructible_v<Sender>);
    static_assert(!std::is_copy_assignable_v<Sender>);
    static_assert(!std::is_copy_constructible_v<CPingNotify>);
    static_assert(!std::is_copy_assignable_v<CPingNotify>);
    static_assert(!std::is_copy_constructible_v<CausedEvents>);
    SUCCEED();
}

// --- records ------------------------------------------------------------------

TEST(EventRecordTest, ContinueFlagAndSource) {
    Sender sender;
    CEvent event(&sender);
    EXPECT_EQ(event.GetSource(), &sender);
    EXPECT_TRUE(event.IsContinueProcessing());
    event.StopProcessing();
    EXPECT_FALSE(event.IsContinueProcessing());
    CEvent other(nullptr);
    other = event;
    EXPECT_EQ(other.GetSource(), &sender);
    EXPECT_FALSE(other.IsContinueProcessing());
}

TEST(EventRecordTest, Flavors) {
    CBeforeFlavor before;
    EXPECT_TRUE(before.IsAccepted());
    before.Ignore();
    EXPECT_FALSE(before.IsAccepted());
    EXPECT_FALSE(CBeforeFlavor(false).IsAccepted());
    CRequestFlavor request;
    EXPECT_TRUE(request.IsAllowed());
    request.Forbid();
    EXPECT_FALSE(request.IsAllowed());
    EXPECT_FALSE(CRequestFlavor(false).IsAllowed());
}

}  // namespace
}  // namespace quelt
