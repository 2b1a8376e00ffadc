#pragma once

#include <atomic>
#include <cstddef>
#include <map>
#include <new>
#include <set>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "quelt/core/config.h"

namespace quelt {

class IEventSender;

// Root of every notification interface. A notification interface derives
// from INotify and adds handlers taking one pointer (an event record derived
// from CEvent, or for drawing a painter).
class QUELT_API INotify {
  public:
    virtual ~INotify();
    // The sender now lists this receiver.
    virtual void OnSubscribe(IEventSender *sender) = 0;
    // The sender has dropped this receiver, or is going away.
    virtual void OnUnsubscribe(IEventSender *sender) = 0;
};

// Calls one handler of a notification interface on a listed receiver.
using EventHandler = void (*)(INotify *receiver, void *event);

// Threads: any number of threads may fire events on one sender at once, of
// one notification type or of several, and handlers then run concurrently.
// Subscribing, unsubscribing, adding event types and destroying the sender
// change the sender's lists and must not overlap a fire on another thread;
// on the firing thread itself (from a handler) they are allowed as ever.
class QUELT_API IEventSender {
  public:
    virtual ~IEventSender();
    virtual bool SubscribeFirst(INotify *receiver, const std::type_info &type, bool notify) = 0;
    virtual bool Subscribe(INotify *receiver, const std::type_info &type, bool notify) = 0;
    virtual bool UnsubscribeAll(INotify *receiver, bool notify) = 0;
    virtual bool Unsubscribe(INotify *receiver, const std::type_info &type, bool notify) = 0;
    virtual void AddEventType(const std::type_info &type) = 0;
    virtual bool CausesEvent(const std::type_info &type) = 0;
    // Calls handler on each receiver of type in list order. An event record is
    // passed as its CEvent subobject; with stoppable set, dispatch ends after
    // the receiver that cleared the record's continue flag. Any other argument
    // must be fired with stoppable false.
    virtual void FireEvent(const std::type_info &type, EventHandler handler, void *event, bool stoppable) = 0;
    virtual bool HasReceivers(const std::type_info &type) = 0;
    virtual int GetReceiverCount(const std::type_info &type) = 0;
};

// Root of the event records handed to receivers.
class QUELT_API CEvent {
  public:
    explicit CEvent(IEventSender *source) : m_pSource(source) {}
    IEventSender *GetSource() const { return m_pSource; }
    void StopProcessing() { m_bContinue = false; }
    bool IsContinueProcessing() const { return m_bContinue; }

  private:
    IEventSender *m_pSource;
    bool m_bContinue = true;
};

// Mixin of records whose receivers may decline what the sender is about to do.
class QUELT_API CBeforeFlavor {
  public:
    explicit CBeforeFlavor(bool accepted = true) : m_bAccepted(accepted) {}
    void Ignore() { m_bAccepted = false; }
    bool IsAccepted() const { return m_bAccepted; }

  private:
    bool m_bAccepted;
};

// Mixin of records whose receivers may forbid a request.
class QUELT_API CRequestFlavor {
  public:
    explicit CRequestFlavor(bool allowed = true) : m_bAllowed(allowed) {}
    void Forbid() { m_bAllowed = false; }
    bool IsAllowed() const { return m_bAllowed; }

  private:
    bool m_bAllowed;
};

class ICausedEvents;

namespace detail {
// FireEvent of CImplEventSender.
QUELT_API void Dispatch(ICausedEvents *events, const std::type_info &type, EventHandler handler, void *event,
                        bool stoppable);
}  // namespace detail

class QUELT_API IReceiverList {
  public:
    virtual ~IReceiverList();
    virtual void AddFirst(INotify *receiver) = 0;
    virtual void AddLast(INotify *receiver) = 0;
    // Removes the first occurrence, if any; later entries move up by one.
    virtual void Remove(INotify *receiver) = 0;
    virtual bool IsEmpty() = 0;
    virtual int GetCount() = 0;
    // Null outside 0..GetCount()-1.
    virtual INotify *GetAt(int index) = 0;
    virtual void Clear() = 0;
};

// Receivers in call order; a receiver may be listed more than once.
class QUELT_API ReceiverList : public IReceiverList {
  public:
    ReceiverList();
    void AddFirst(INotify *receiver) override;
    void AddLast(INotify *receiver) override;
    void Remove(INotify *receiver) override;
    bool IsEmpty() override;
    int GetCount() override;
    INotify *GetAt(int index) override;
    void Clear() override;

    // Frees list, or, while a dispatch on this thread walks it, empties it and
    // leaves the free to that walk: a handler may destroy the sender it is
    // called from.
    static void Dispose(IReceiverList *list);

  private:
    friend void detail::Dispatch(ICausedEvents *, const std::type_info &, EventHandler, void *, bool);
    // FireEvent's walk over the list in its current state, without a virtual call per receiver.
    void Walk(EventHandler handler, void *event, bool stoppable);

    // Walks write nothing here: each thread keeps its own walks, so threads
    // firing at once share the list only for reading.
    std::vector<INotify *> m_receivers;
};

class QUELT_API ICausedEvents {
  public:
    virtual ~ICausedEvents();
    // Enters an empty list for type unless it has one; throws std::bad_alloc.
    virtual void AddEventType(const std::type_info &type) = 0;
    // Null when type was never added.
    virtual IReceiverList *GetReceivers(const std::type_info &type) = 0;
    // Iteration in key order; one iteration per registry at a time.
    virtual IReceiverList *GetFirst() = 0;
    virtual void GetNext(IReceiverList **out) = 0;
    // Forgets every entry without freeing the lists.
    virtual void Clear() = 0;
    virtual bool IsEmpty(const std::type_info &type) = 0;
    virtual int GetCount(const std::type_info &type) = 0;
};

// Registry key: ordered by the byte-wise comparison of the type names; two
// keys are equal only when their type_infos are.
class QUELT_API CTypeInfo {
  public:
    explicit CTypeInfo(const std::type_info &type) : m_pType(&type) {}
    const std::type_info &Get() const { return *m_pType; }
    bool operator<(const CTypeInfo &other) const;

  private:
    const std::type_info *m_pType;
};

// Notification type -> receiver list. Lists still entered when the registry
// is destroyed are freed with it.
class QUELT_API CausedEvents : public ICausedEvents {
  public:
    CausedEvents() = default;
    ~CausedEvents() override;
    CausedEvents(const CausedEvents &) = delete;
    CausedEvents &operator=(const CausedEvents &) = delete;

    void AddEventType(const std::type_info &type) override;
    IReceiverList *GetReceivers(const std::type_info &type) override;
    IReceiverList *GetFirst() override;
    void GetNext(IReceiverList **out) override;
    void Clear() override;
    bool IsEmpty(const std::type_info &type) override;
    int GetCount(const std::type_info &type) override;

  private:
    friend void detail::Dispatch(ICausedEvents *, const std::type_info &, EventHandler, void *, bool);
    using Map = std::map<CTypeInfo, ReceiverList *>;

    // The list of type; a sender mostly fires one type again and again, so
    // the entry last found is kept. Entries only ever leave all at once, and
    // a map entry stays where it is, so the kept one is always whole.
    ReceiverList *Find(const std::type_info &type);
    // Find past the kept entry; keeps what it finds.
    ReceiverList *Lookup(const std::type_info &type);

    Map m_lists;
    Map::iterator m_cursor = m_lists.end();
    // Threads firing at once each replace it with one complete entry.
    std::atomic<const Map::value_type *> m_pLast{nullptr};
};

// A new empty registry, null when it cannot be allocated.
QUELT_API ICausedEvents *CreateDefCausedEvents();

class QUELT_API ISenderList {
  public:
    virtual ~ISenderList();
    // The smallest element, null when empty.
    virtual IEventSender *GetFirst() = 0;
    virtual void Add(IEventSender *sender) = 0;
    // Removes one occurrence; returns the element that followed it, or null.
    virtual IEventSender *Remove(IEventSender *sender) = 0;
    virtual bool Contains(IEventSender *sender) = 0;
};

// Senders ordered by address.
class QUELT_API SenderList : public ISenderList {
  public:
    IEventSender *GetFirst() override;
    void Add(IEventSender *sender) override;
    IEventSender *Remove(IEventSender *sender) override;
    bool Contains(IEventSender *sender) override;

  private:
    std::multiset<IEventSender *> m_senders;
};

// A new empty sender set, null when it cannot be allocated.
QUELT_API ISenderList *CreateDefSenderList();

namespace detail {

// The shape of a handler: one pointer argument, declared by notification interface N.
template <class M>
struct HandlerTraits;
template <class N, class R, class A>
struct HandlerTraits<R (N::*)(A)> {
    using Notify = N;
    using Arg = A;
};
template <class N, class R, class A>
struct HandlerTraits<R (N::*)(A) noexcept> : HandlerTraits<R (N::*)(A)> {};

template <class A>
constexpr bool IsEventRecord = std::is_base_of_v<CEvent, std::remove_cv_t<std::remove_pointer_t<A>>>;

// Event records travel as their CEvent subobject, so FireEvent can read the
// continue flag; other arguments (a painter) travel as they are.
template <class A>
void *ToEventPointer(A arg) {
    static_assert(std::is_pointer_v<A>, "a handler takes one pointer");
    if constexpr (IsEventRecord<A>) {
        return const_cast<void *>(static_cast<const void *>(static_cast<const CEvent *>(arg)));
    } else {
        return const_cast<void *>(static_cast<const void *>(arg));
    }
}

template <class A>
A FromEventPointer(void *event) {
    if constexpr (IsEventRecord<A>) {
        return static_cast<A>(static_cast<CEvent *>(event));
    } else {
        return static_cast<A>(event);
    }
}

// The receiver as notification interface N, null when it does not implement
// N. dynamic_cast walks the class hierarchy on every call; the receivers of
// an event are mostly of one class, so each thread keeps where the last class
// (and the INotify base the pointer names) holds its N.
template <class N>
N *AsReceiver(INotify *receiver) {
    struct Last {
        const std::type_info *type;
        std::ptrdiff_t from;
        std::ptrdiff_t to;
        bool implements;
    };
    thread_local Last last{nullptr, 0, 0, false};
    if (!receiver) return nullptr;
    char *object = static_cast<char *>(dynamic_cast<void *>(receiver));
    const std::type_info *type = &typeid(*receiver);
    const std::ptrdiff_t from = reinterpret_cast<char *>(receiver) - object;
    if (type == last.type && from == last.from) {
        return last.implements ? std::launder(reinterpret_cast<N *>(object + last.to)) : nullptr;
    }
    N *target = dynamic_cast<N *>(receiver);
    last = {type, from, target ? reinterpret_cast<char *>(target) - object : 0, target != nullptr};
    return target;
}

// The non-template halves of the sender and the receiver.
QUELT_API ICausedEvents *CreateRegistry();
QUELT_API void DestroyRegistry(ICausedEvents *events, IEventSender *sender);
QUELT_API bool Subscribe(ICausedEvents *events, IEventSender *sender, INotify *receiver,
                         const std::type_info &type, bool notify, bool first);
QUELT_API bool Unsubscribe(ICausedEvents *events, IEventSender *sender, INotify *receiver,
                           const std::type_info &type, bool notify);
QUELT_API bool UnsubscribeAll(ICausedEvents *events, IEventSender *sender, INotify *receiver, bool notify);
QUELT_API ISenderList *CreateSenderSet();
// Whether sender still lists receiver under type; reads the list without calling any receiver.
QUELT_API bool IsListed(IEventSender *sender, INotify *receiver, const std::type_info &type);
QUELT_API void DetachReceiver(ISenderList *senders, INotify *receiver, const std::type_info &type);

}  // namespace detail

// CallHandler<&IFoo::OnBar> is the EventHandler that calls IFoo::OnBar on a
// receiver. A receiver listed under a type it does not implement is skipped.
template <auto M>
void CallHandler(INotify *receiver, void *event) {
    using Traits = detail::HandlerTraits<decltype(M)>;
    using Notify = typename Traits::Notify;
    static_assert(std::is_base_of_v<INotify, Notify>, "handlers belong to notification interfaces");
    Notify *target = detail::AsReceiver<Notify>(receiver);
    if (target) (target->*M)(detail::FromEventPointer<typename Traits::Arg>(event));
}

// Implements IEventSender (or an interface derived from it) for a sender.
// The concrete sender calls AddEventType for every notification type it raises.
template <class T = IEventSender>
class CImplEventSender : public T {
  public:
    CImplEventSender() : m_pEvents(detail::CreateRegistry()) {}
    ~CImplEventSender() override { detail::DestroyRegistry(m_pEvents, Self()); }
    CImplEventSender(const CImplEventSender &) = delete;
    CImplEventSender &operator=(const CImplEventSender &) = delete;

    bool SubscribeFirst(INotify *receiver, const std::type_info &type, bool notify) override {
        return detail::Subscribe(m_pEvents, Self(), receiver, type, notify, true);
    }
    bool Subscribe(INotify *receiver, const std::type_info &type, bool notify) override {
        return detail::Subscribe(m_pEvents, Self(), receiver, type, notify, false);
    }
    bool UnsubscribeAll(INotify *receiver, bool notify) override {
        return detail::UnsubscribeAll(m_pEvents, Self(), receiver, notify);
    }
    bool Unsubscribe(INotify *receiver, const std::type_info &type, bool notify) override {
        return detail::Unsubscribe(m_pEvents, Self(), receiver, type, notify);
    }
    void AddEventType(const std::type_info &type) override { m_pEvents->AddEventType(type); }
    bool CausesEvent(const std::type_info &type) override { return m_pEvents->GetReceivers(type) != nullptr; }
    void FireEvent(const std::type_info &type, EventHandler handler, void *event, bool stoppable) override {
        detail::Dispatch(m_pEvents, type, handler, event, stoppable);
    }
    bool HasReceivers(const std::type_info &type) override { return !m_pEvents->IsEmpty(type); }
    int GetReceiverCount(const std::type_info &type) override { return m_pEvents->GetCount(type); }

    // Raises the handler M of its notification interface:
    //   Fire<&IDataSetNotify::OnUpdateField>(&ev, true);
    // N names the notification type when M is declared by a base interface.
    // Only event records can stop a dispatch; an argument of another kind
    // (a painter) is never read as one.
    template <auto M, class N = typename detail::HandlerTraits<decltype(M)>::Notify>
    void Fire(typename detail::HandlerTraits<decltype(M)>::Arg event, bool stoppable) {
        using Arg = typename detail::HandlerTraits<decltype(M)>::Arg;
        FireEvent(typeid(N), &CallHandler<M>, detail::ToEventPointer(event),
                  stoppable && detail::IsEventRecord<Arg>);
    }

  protected:
    IEventSender *Self() { return static_cast<IEventSender *>(this); }

    ICausedEvents *m_pEvents;
};

// Receiver side of the notification interface T: remembers the senders that
// list it, so that either side may be destroyed first. Derived classes
// implement the handlers.
template <class T>
class CSubscriber : public T {
  public:
    CSubscriber() : m_pSenders(detail::CreateSenderSet()) {}
    ~CSubscriber() override { detail::DetachReceiver(m_pSenders, AsNotify(), typeid(T)); }
    CSubscriber(const CSubscriber &) = delete;
    CSubscriber &operator=(const CSubscriber &) = delete;

    void OnSubscribe(IEventSender *sender) override {
        if (!m_pSenders->Contains(sender)) m_pSenders->Add(sender);
    }
    // A receiver listed twice stays known until its last listing goes, so
    // that its destruction still unhooks it.
    void OnUnsubscribe(IEventSender *sender) override {
        if (!detail::IsListed(sender, AsNotify(), typeid(T))) m_pSenders->Remove(sender);
    }

    // The receiver pointer to give to a sender's Subscribe for type T.
    INotify *AsNotify() { return static_cast<INotify *>(static_cast<T *>(this)); }

  protected:
    ISenderList *m_pSenders;
};

}  // namespace quelt
