// The registry, the receiver lists and the sender sets on their own.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "core/notify_fixture.h"
#include "quelt/core/events.h"

namespace quelt {
namespace {

using namespace test;

struct Zeta {};
struct Alpha {};
struct Mid {};

TEST(TypeKeyTest, OrdersByTheBytesOfTheNames) {
    const std::type_info *types[] = {&typeid(Zeta), &typeid(Alpha), &typeid(Mid), &Ping, &Pong, &typeid(int)};
    for (const std::type_info *a : types) {
        for (const std::type_info *b : types) {
            const int byName = std::strcmp(a->name(), b->name());
            EXPECT_EQ(CTypeInfo(*a) < CTypeInfo(*b), byName < 0) << a->name() << " " << b->name();
        }
    }
}

TEST(CausedEventsTest, IteratesInKeyOrderAndReportsCounts) {
    std::unique_ptr<ICausedEvents> events(CreateDefCausedEvents());
    ASSERT_NE(events, nullptr);
    EXPECT_EQ(events->GetFirst(), nullptr);
    const std::type_info *types[] = {&typeid(Zeta), &typeid(Alpha), &typeid(Mid)};
    for (const std::type_info *type : types) events->AddEventType(*type);
    std::vector<const std::type_info *> sorted(std::begin(types), std::end(types));
    std::sort(sorted.begin(), sorted.end(), [](const std::type_info *a, const std::type_info *b) {
        return std::strcmp(a->name(), b->name()) < 0;
    });
    std::vector<IReceiverList *> expected;
    for (const std::type_info *type : sorted) expected.push_back(events->GetReceivers(*type));
    std::vector<IReceiverList *> visited;
    for (IReceiverList *list = events->GetFirst(); list; events->GetNext(&list)) visited.push_back(list);
    EXPECT_EQ(visited, expected);
    IReceiverList *after = expected[0];
    events->GetNext(&after);
    EXPECT_EQ(after, nullptr);

    EXPECT_EQ(events->GetReceivers(typeid(int)), nullptr);
    EXPECT_TRUE(events->IsEmpty(typeid(int)));
    EXPECT_EQ(events->GetCount(typeid(int)), 0);
    Journal journal;
    Pinger a(journal, "a");
    events->GetReceivers(typeid(Mid))->AddLast(a.Notify());
    EXPECT_FALSE(events->IsEmpty(typeid(Mid)));
    EXPECT_TRUE(events->IsEmpty(typeid(Zeta)));
    EXPECT_EQ(events->GetCount(typeid(Mid)), 1);
    events->GetReceivers(typeid(Mid))->Clear();
}

TEST(CausedEventsTest, AddingATypeTwiceKeepsTheList) {
    CausedEvents events;
    events.AddEventType(typeid(Alpha));
    IReceiverList *list = events.GetReceivers(typeid(Alpha));
    events.AddEventType(typeid(Alpha));
    EXPECT_EQ(events.GetReceivers(typeid(Alpha)), list);
}

TEST(CausedEventsTest, ClearForgetsTheEntriesButNotTheLists) {
    CausedEvents events;
    events.AddEventType(typeid(Alpha));
    std::unique_ptr<IReceiverList> list(events.GetReceivers(typeid(Alpha)));
    events.Clear();
    EXPECT_EQ(events.GetReceivers(typeid(Alpha)), nullptr);
    EXPECT_EQ(events.GetFirst(), nullptr);
    list->AddLast(nullptr);
    EXPECT_EQ(list->GetCount(), 1);
}

TEST(CausedEventsTest, TypeAddedAgainAfterClearGetsItsNewList) {
    CausedEvents events;
    events.AddEventType(typeid(Alpha));
    std::unique_ptr<IReceiverList> old(events.GetReceivers(typeid(Alpha)));
    events.Clear();
    events.AddEventType(typeid(Alpha));
    IReceiverList *fresh = events.GetReceivers(typeid(Alpha));
    ASSERT_NE(fresh, nullptr);
    EXPECT_NE(fresh, old.get());
    fresh->AddLast(nullptr);
    EXPECT_EQ(events.GetCount(typeid(Alpha)), 1);
}

TEST(CausedEventsTest, LookupsAlternatingBetweenTypesFindEachList) {
    CausedEvents events;
    events.AddEventType(typeid(Alpha));
    events.AddEventType(typeid(Zeta));
    IReceiverList *alpha = events.GetReceivers(typeid(Alpha));
    IReceiverList *zeta = events.GetReceivers(typeid(Zeta));
    ASSERT_NE(alpha, zeta);
    EXPECT_EQ(events.GetReceivers(typeid(Alpha)), alpha);
    EXPECT_EQ(events.GetReceivers(typeid(Mid)), nullptr);
    EXPECT_EQ(events.GetReceivers(typeid(Alpha)), alpha);
    EXPECT_EQ(events.GetReceivers(typeid(Zeta)), zeta);
}

TEST(ReceiverListTest, AddRemoveAndIndex) {
    Journal journal;
    Pinger a(journal, "a"), b(journal, "b"), c(journal, "c");
    ReceiverList list;
    EXPECT_TRUE(list.IsEmpty());
    list.AddLast(a.Notify());
    list.AddLast(b.Notify());
    list.AddFirst(c.Notify());
    list.AddLast(a.Notify());
    EXPECT_EQ(list.GetCount(), 4);
    EXPECT_EQ(list.GetAt(0), c.Notify());
    EXPECT_EQ(list.GetAt(1), a.Notify());
    EXPECT_EQ(list.GetAt(-1), nullptr);
    EXPECT_EQ(list.GetAt(4), nullptr);
    list.Remove(a.Notify());
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetAt(1), b.Notify());
    EXPECT_EQ(list.GetAt(2), a.Notify());
    list.Remove(nullptr);
    EXPECT_EQ(list.GetCount(), 3);
    list.Clear();
    EXPECT_TRUE(list.IsEmpty());
}

TEST(SenderListTest, KeepsSendersInAddressOrder) {
    std::unique_ptr<ISenderList> set(CreateDefSenderList());
    ASSERT_NE(set, nullptr);
    Sender senders[3];
    std::vector<IEventSender *> order{&senders[2], &senders[0], &senders[1]};
    EXPECT_EQ(set->GetFirst(), nullptr);
    for (IEventSender *s : order) set->Add(s);
    std::sort(order.begin(), order.end(), std::less<IEventSender *>());
    EXPECT_EQ(set->GetFirst(), order[0]);
    EXPECT_EQ(set->Remove(order[0]), order[1]);
    EXPECT_EQ(set->Remove(order[2]), nullptr);
    EXPECT_EQ(set->Remove(order[2]), nullptr);
    EXPECT_TRUE(set->Contains(order[1]));
    EXPECT_FALSE(set->Contains(order[0]));
}

TEST(SenderListTest, HoldsDuplicates) {
    SenderList set;
    Sender s;
    set.Add(&s);
    set.Add(&s);
    EXPECT_EQ(set.Remove(&s), &s);
    EXPECT_TRUE(set.Contains(&s));
    EXPECT_EQ(set.Remove(&s), nullptr);
    EXPECT_FALSE(set.Contains(&s));
}

}  // namespace
}  // namespace quelt
