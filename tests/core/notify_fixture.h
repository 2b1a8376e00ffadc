#pragma once

// Notification interfaces, receivers and senders for the dispatch tests.

#include <functional>
#include <memory>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

#include "quelt/core/base.h"
#include "quelt/core/events.h"

namespace quelt::test {

class CPingEvent : public CEvent, public CRequestFlavor {
  public:
    using CEvent::CEvent;
    int value = 0;
};

// A record whose CEvent part is not its first base.
class CPongEvent : public CBeforeFlavor, public CEvent {
  public:
    explicit CPongEvent(IEventSender *source) : CEvent(source) {}
    int value = 0;
};

struct Canvas {
    int strokes = 0;
};

class IPingNotify : public INotify {
  public:
    virtual void OnPing(CPingEvent *event) = 0;
    virtual void OnDraw(Canvas *canvas) = 0;
};

class IPongNotify : public INotify {
  public:
    virtual void OnPong(CPongEvent *event) = 0;
};

class CPingNotify : public CSubscriber<IPingNotify> {
  public:
    void OnPing(CPingEvent *) override {}
    void OnDraw(Canvas *) override {}
};

class CPongNotify : public CSubscriber<IPongNotify> {
  public:
    void OnPong(CPongEvent *) override {}
};

// What receivers saw, in order.
using Journal = std::vector<std::string>;

// Receives pings, logs them under its name and runs an optional action.
class Pinger : public CPingNotify {
  public:
    Pinger(Journal &journal, std::string name) : m_journal(journal), m_name(std::move(name)) {}
    void OnPing(CPingEvent *event) override {
        m_journal.push_back(m_name);
        if (action) action(event);
    }
    void OnDraw(Canvas *canvas) override {
        m_journal.push_back(m_name + " draws");
        ++canvas->strokes;
    }
    void OnSubscribe(IEventSender *sender) override {
        ++subscribes;
        CPingNotify::OnSubscribe(sender);
    }
    void OnUnsubscribe(IEventSender *sender) override {
        m_journal.push_back(m_name + " unhooked");
        CPingNotify::OnUnsubscribe(sender);
    }
    bool Knows(IEventSender *sender) { return m_pSenders->Contains(sender); }
    INotify *Notify() { return AsNotify(); }

    std::function<void(CPingEvent *)> action;
    int subscribes = 0;

  private:
    Journal &m_journal;
    std::string m_name;
};

class Ponger : public CPongNotify {
  public:
    Ponger(Journal &journal, std::string name) : m_journal(journal), m_name(std::move(name)) {}
    void OnPong(CPongEvent *event) override {
        m_journal.push_back(m_name + " pong");
        lastEvent = event;
        if (stop) event->StopProcessing();
    }
    void OnUnsubscribe(IEventSender *sender) override {
        m_journal.push_back(m_name + " unhooked");
        CPongNotify::OnUnsubscribe(sender);
    }
    bool Knows(IEventSender *sender) { return m_pSenders->Contains(sender); }

    CPongEvent *lastEvent = nullptr;
    bool stop = false;

  private:
    Journal &m_journal;
    std::string m_name;
};

// Receives both kinds through two subscriber bases.
class Both : public CPingNotify, public CPongNotify {
  public:
    explicit Both(Journal &journal) : m_journal(journal) {}
    void OnPing(CPingEvent *) override { m_journal.push_back("both ping"); }
    void OnPong(CPongEvent *) override { m_journal.push_back("both pong"); }
    INotify *PingSide() { return CPingNotify::AsNotify(); }
    INotify *PongSide() { return CPongNotify::AsNotify(); }

  private:
    Journal &m_journal;
};

class Sender : public CImplEventSender<> {
  public:
    Sender() {
        AddEventType(typeid(IPingNotify));
        AddEventType(typeid(IPongNotify));
    }
    CPingEvent Ping(int value = 0, bool stoppable = true) {
        CPingEvent event(this);
        event.value = value;
        Fire<&IPingNotify::OnPing>(&event, stoppable);
        return event;
    }
};

// A sender interface with more than one base, as windows and data sets have.
class ITool : public CBase, public IEventSender {
  public:
    virtual int Size() = 0;
};

class Tool : public CImplEventSender<ITool> {
  public:
    Tool() { AddEventType(typeid(IPingNotify)); }
    int Size() override { return 3; }
};

class Silent : public CImplEventSender<> {};

inline const std::type_info &Ping = typeid(IPingNotify);
inline const std::type_info &Pong = typeid(IPongNotify);
}  // namespace quelt::test
