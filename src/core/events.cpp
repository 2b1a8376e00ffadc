#include "quelt/core/events.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace quelt {

INotify::~INotify() = default;
IEventSender::~IEventSender() = default;
IReceiverList::~IReceiverList() = default;
ICausedEvents::~ICausedEvents() = default;
ISenderList::~ISenderList() = default;

// --- ReceiverList ---------------------------------------------------------

// Most senders have one or two receivers of a type.
ReceiverList::ReceiverList() { m_receivers.reserve(2); }

void ReceiverList::AddFirst(INotify *receiver) { m_receivers.insert(m_receivers.begin(), receiver); }

void ReceiverList::AddLast(INotify *receiver) { m_receivers.push_back(receiver); }

void ReceiverList::Remove(INotify *receiver) {
    auto it = std::find(m_receivers.begin(), m_receivers.end(), receiver);
    if (it != m_receivers.end()) m_receivers.erase(it);
}

bool ReceiverList::IsEmpty() { return m_receivers.empty(); }

int ReceiverList::GetCount() { return static_cast<int>(m_receivers.size()); }

INotify *ReceiverList::GetAt(int index) {
    if (index < 0 || index >= GetCount()) return nullptr;
    return m_receivers[static_cast<std::size_t>(index)];
}

void ReceiverList::Clear() { m_receivers.clear(); }

namespace {

// A dispatch walking a list on this thread. Only this thread's walks can be
// under way when a sender is destroyed (see IEventSender), so a lock-free
// per-thread chain replaces a shared count that every dispatch would change.
struct WalkFrame {
    const ReceiverList *list;
    WalkFrame *outer;
    // The sender is gone: this, the outermost walk of the list, frees it.
    bool freeList;
};

[[gnu::tls_model("initial-exec")]] thread_local WalkFrame *t_walks = nullptr;

// The outermost walk of list on this thread, null when none.
WalkFrame *OutermostWalk(const ReceiverList *list) {
    WalkFrame *found = nullptr;
    for (WalkFrame *frame = t_walks; frame; frame = frame->outer) {
        if (frame->list == list) found = frame;
    }
    return found;
}

}  // namespace

void ReceiverList::Dispose(IReceiverList *list) {
    auto *own = dynamic_cast<ReceiverList *>(list);
    WalkFrame *walk = own ? OutermostWalk(own) : nullptr;
    if (!walk) {
        delete list;
        return;
    }
    // Walks still running end at the empty list.
    own->m_receivers.clear();
    walk->freeList = true;
}

// Inlined into the one dispatch that calls it: an event is one call less.
[[gnu::always_inline]] inline void ReceiverList::Walk(EventHandler handler, void *event, bool stoppable) {
    // The walk keeps the list alive until it unwinds, also through a handler's exception.
    struct Unwind {
        ReceiverList *list;
        WalkFrame frame;
        ~Unwind() {
            t_walks = frame.outer;
            if (frame.freeList) delete list;
        }
    } unwind{this, {this, t_walks, false}};
    t_walks = &unwind.frame;
    // Receivers appended by a handler wait for the next event; removals
    // shorten the walk, and a sender destroyed by a handler empties the list,
    // which ends it.
    const std::size_t count = m_receivers.size();
    for (std::size_t i = 0; i < count && i < m_receivers.size(); ++i) {
        handler(m_receivers[i], event);
        if (event && stoppable && !static_cast<CEvent *>(event)->IsContinueProcessing()) return;
    }
}

// --- CausedEvents ---------------------------------------------------------

bool CTypeInfo::operator<(const CTypeInfo &other) const {
    // Names compare as the C library does: bytes as unsigned characters.
    const int byName = std::strcmp(m_pType->name(), other.m_pType->name());
    if (byName != 0) return byName < 0;
    // Distinct types may share a printable name (local classes); they stay
    // distinct keys in a fixed order.
    return *m_pType != *other.m_pType && m_pType->before(*other.m_pType);
}

CausedEvents::~CausedEvents() {
    for (auto &entry : m_lists) ReceiverList::Dispose(entry.second);
}

void CausedEvents::AddEventType(const std::type_info &type) {
    const CTypeInfo key(type);
    if (m_lists.count(key) != 0) return;
    auto list = std::make_unique<ReceiverList>();
    m_lists.emplace(key, list.get());
    list.release();
}

// Inlined into dispatch: a repeated type costs a load and a compare.
[[gnu::always_inline]] inline ReceiverList *CausedEvents::Find(const std::type_info &type) {
    const Map::value_type *last = m_pLast.load(std::memory_order_acquire);
    if (last && &last->first.Get() == &type) return last->second;
    return Lookup(type);
}

ReceiverList *CausedEvents::Lookup(const std::type_info &type) {
    auto it = m_lists.find(CTypeInfo(type));
    if (it == m_lists.end()) return nullptr;
    m_pLast.store(&*it, std::memory_order_release);
    return it->second;
}

IReceiverList *CausedEvents::GetReceivers(const std::type_info &type) { return Find(type); }

IReceiverList *CausedEvents::GetFirst() {
    m_cursor = m_lists.begin();
    return m_cursor == m_lists.end() ? nullptr : m_cursor->second;
}

void CausedEvents::GetNext(IReceiverList **out) {
    if (m_cursor != m_lists.end()) ++m_cursor;
    if (out) *out = m_cursor == m_lists.end() ? nullptr : m_cursor->second;
}

void CausedEvents::Clear() {
    m_lists.clear();
    m_cursor = m_lists.end();
    m_pLast.store(nullptr, std::memory_order_relaxed);
}

bool CausedEvents::IsEmpty(const std::type_info &type) {
    IReceiverList *list = GetReceivers(type);
    return !list || list->IsEmpty();
}

int CausedEvents::GetCount(const std::type_info &type) {
    IReceiverList *list = GetReceivers(type);
    return list ? list->GetCount() : 0;
}

ICausedEvents *CreateDefCausedEvents() { return new (std::nothrow) CausedEvents; }

// --- SenderList -----------------------------------------------------------

IEventSender *SenderList::GetFirst() { return m_senders.empty() ? nullptr : *m_senders.begin(); }

void SenderList::Add(IEventSender *sender) { m_senders.insert(sender); }

IEventSender *SenderList::Remove(IEventSender *sender) {
    auto it = m_senders.find(sender);
    if (it == m_senders.end()) return nullptr;
    it = m_senders.erase(it);
    return it == m_senders.end() ? nullptr : *it;
}

bool SenderList::Contains(IEventSender *sender) { return m_senders.count(sender) != 0; }

ISenderList *CreateDefSenderList() { return new (std::nothrow) SenderList; }

// --- Sender and receiver halves -------------------------------------------

namespace detail {
namespace {

// The registry's own cursor serves one iteration at a time, and receivers
// called back may start another; take the lists first.
std::vector<IReceiverList *> AllLists(ICausedEvents *events) {
    std::vector<IReceiverList *> lists;
    for (IReceiverList *list = events->GetFirst(); list; events->GetNext(&list)) lists.push_back(list);
    return lists;
}

}  // namespace

ICausedEvents *CreateRegistry() {
    ICausedEvents *events = CreateDefCausedEvents();
    if (!events) throw std::bad_alloc();
    return events;
}

void DestroyRegistry(ICausedEvents *events, IEventSender *sender) {
    const std::vector<IReceiverList *> lists = AllLists(events);
    // Each listing leaves its list before it is told, so a receiver that
    // unhooks itself or others, or destroys another receiver, while being
    // told never makes the walk skip or revisit one. The lists stay
    // reachable until everyone has been told.
    for (IReceiverList *list : lists) {
        while (INotify *receiver = list->GetAt(0)) {
            list->Remove(receiver);
            receiver->OnUnsubscribe(sender);
        }
    }
    for (IReceiverList *list : lists) ReceiverList::Dispose(list);
    events->Clear();
    delete events;
}

bool Subscribe(ICausedEvents *events, IEventSender *sender, INotify *receiver, const std::type_info &type,
               bool notify, bool first) {
    IReceiverList *list = events->GetReceivers(type);
    if (!list || !receiver) return false;
    if (first) {
        list->AddFirst(receiver);
    } else {
        list->AddLast(receiver);
    }
    if (notify) receiver->OnSubscribe(sender);
    return true;
}

bool Unsubscribe(ICausedEvents *events, IEventSender *sender, INotify *receiver, const std::type_info &type,
                 bool notify) {
    IReceiverList *list = events->GetReceivers(type);
    if (!list || !receiver) return false;
    list->Remove(receiver);
    if (notify) receiver->OnUnsubscribe(sender);
    return true;
}

bool UnsubscribeAll(ICausedEvents *events, IEventSender *sender, INotify *receiver, bool notify) {
    const std::vector<IReceiverList *> lists = AllLists(events);
    if (lists.empty() || !receiver) return false;
    for (IReceiverList *list : lists) {
        list->Remove(receiver);
        if (notify) receiver->OnUnsubscribe(sender);
    }
    return true;
}

void Dispatch(ICausedEvents *events, const std::type_info &type, EventHandler handler, void *event,
              bool stoppable) {
    if (!handler) return;
    // The library's own registry (every sender's, unless a derived sender
    // replaced it) holds only its own lists, which can be walked directly.
    ReceiverList *own;
    IReceiverList *list = nullptr;
    if (typeid(*events) == typeid(CausedEvents)) {
        own = static_cast<CausedEvents *>(events)->Find(type);
    } else {
        list = events->GetReceivers(type);
        own = dynamic_cast<ReceiverList *>(list);
    }
    if (own) {
        // Most events find no receiver; a walk over nothing need not hold the list.
        if (!own->m_receivers.empty()) own->Walk(handler, event, stoppable);
        return;
    }
    if (!list) return;
    // Receivers appended by a handler wait for the next event; removals
    // shorten the walk.
    const int count = list->GetCount();
    for (int i = 0; i < count && i < list->GetCount(); ++i) {
        handler(list->GetAt(i), event);
        if (event && stoppable && !static_cast<CEvent *>(event)->IsContinueProcessing()) return;
    }
}

ISenderList *CreateSenderSet() {
    ISenderList *senders = CreateDefSenderList();
    if (!senders) throw std::bad_alloc();
    return senders;
}

bool IsListed(IEventSender *sender, INotify *receiver, const std::type_info &type) {
    struct Search {
        INotify *receiver;
        bool found;
    } search{receiver, false};
    if (!sender) return false;
    // A dispatch whose handler only compares: the sender's own walk of the list.
    const EventHandler compare = [](INotify *listed, void *event) {
        auto *s = static_cast<Search *>(event);
        if (listed == s->receiver) s->found = true;
    };
    sender->FireEvent(type, compare, &search, false);
    return search.found;
}

void DetachReceiver(ISenderList *senders, INotify *receiver, const std::type_info &type) {
    for (IEventSender *sender = senders->GetFirst(); sender; sender = senders->GetFirst()) {
        // Every listing goes: a sender must never call a destroyed receiver.
        for (int count = sender->GetReceiverCount(type); count > 0;) {
            sender->Unsubscribe(receiver, type, false);
            const int left = sender->GetReceiverCount(type);
            if (left == count) break;
            count = left;
        }
        senders->Remove(sender);
    }
    delete senders;
}

}  // namespace detail
}  // namespace quelt
