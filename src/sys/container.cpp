#include "quelt/sys/container.h"

#include <algorithm>
#include <typeinfo>

#include "quelt/sys/window.h"

namespace quelt {

// Hears the watched windows go: destroyed, or dropping the container as a receiver.
class CBaseContainer::Watcher : public CWindowNotify {
  public:
    explicit Watcher(CBaseContainer &owner) : m_owner(owner) {}
    void OnDestroy(CWindowEvent *event) override { m_owner.Gone(event->GetSource()); }
    void OnUnsubscribe(IEventSender *sender) override {
        CWindowNotify::OnUnsubscribe(sender);
        m_owner.Gone(sender);
    }

  private:
    CBaseContainer &m_owner;
};

namespace {

IEventSender *SenderOf(ISysWindow *window) { return static_cast<IEventSender *>(window); }

}  // namespace

CBaseContainer::CBaseContainer() : m_pWatcher(std::make_unique<Watcher>(*this)) {}

CBaseContainer::~CBaseContainer() {
    if (m_pParent && m_pParent->m_pChildContainer == this) m_pParent->m_pChildContainer = nullptr;
    for (ISysWindow *window : m_held) {
        auto *sys = dynamic_cast<CSysWindow *>(window);
        if (sys && sys->GetParentContainer() == this) sys->SetParentContainer(nullptr);
    }
    // The watcher unhooks from every window before the lists go.
    m_pWatcher.reset();
}

bool CBaseContainer::IsWatched(const ISysWindow *window) const {
    return window == m_pParent || std::find(m_held.begin(), m_held.end(), window) != m_held.end();
}

void CBaseContainer::SetParent(CSysWindow *parent) {
    CSysWindow *old = m_pParent;
    if (old == parent) return;
    m_pParent = parent;
    if (old && !IsWatched(old))
        SenderOf(old)->Unsubscribe(m_pWatcher->AsNotify(), typeid(IWindowNotify), true);
    if (parent && std::find(m_held.begin(), m_held.end(), parent) == m_held.end()) {
        SenderOf(parent)->Subscribe(m_pWatcher->AsNotify(), typeid(IWindowNotify), true);
    }
}

void CBaseContainer::Watch(ISysWindow *window) {
    if (!window || std::find(m_held.begin(), m_held.end(), window) != m_held.end()) return;
    const bool subscribed = IsWatched(window);
    m_held.push_back(window);
    if (!subscribed) SenderOf(window)->Subscribe(m_pWatcher->AsNotify(), typeid(IWindowNotify), true);
}

void CBaseContainer::Unwatch(ISysWindow *window) {
    auto it = std::find(m_held.begin(), m_held.end(), window);
    if (it == m_held.end()) return;
    m_held.erase(it);
    if (!IsWatched(window))
        SenderOf(window)->Unsubscribe(m_pWatcher->AsNotify(), typeid(IWindowNotify), true);
}

void CBaseContainer::Adopt(ISysWindow *window) {
    if (!window) return;
    if (auto *sys = dynamic_cast<CSysWindow *>(window)) sys->SetParentContainer(this);
    Watch(window);
}

void CBaseContainer::Disown(ISysWindow *window) {
    if (!window) return;
    auto *sys = dynamic_cast<CSysWindow *>(window);
    if (sys && sys->GetParentContainer() == this) sys->SetParentContainer(nullptr);
    Unwatch(window);
}

void CBaseContainer::Gone(IEventSender *sender) {
    if (m_pParent && SenderOf(m_pParent) == sender) m_pParent = nullptr;
    auto it =
        std::find_if(m_held.begin(), m_held.end(), [&](ISysWindow *w) { return SenderOf(w) == sender; });
    if (it == m_held.end()) return;
    ISysWindow *window = *it;
    m_held.erase(it);
    OnWindowGone(window);
}

void CBaseContainer::OnWindowGone(ISysWindow *) {}

void CBaseContainer::GetFocusChange(CSysWindow *, bool forward) { HandToParent(forward); }

void CBaseContainer::SetFocusChange(bool) {}

void CBaseContainer::ProcessTab(bool) {}

// A parent that is also one of the container's own windows hands the focus
// straight back here; the second hand-over in one chain ends it.
void CBaseContainer::HandToParent(bool forward) {
    if (!m_pParent || m_handing) return;
    m_handing = true;
    struct Done {
        bool &flag;
        ~Done() { flag = false; }
    } done{m_handing};
    m_pParent->GetFocusChange(forward);
}

bool CBaseContainer::Enter(ISysWindow *window, bool forward) {
    if (!window || !window->GetVisible()) return false;
    if (auto *sys = dynamic_cast<CSysWindow *>(window)) {
        sys->SetFocusChange(forward);
    } else {
        window->SetFocus();
    }
    return true;
}

CBaseContainer::Reentry::Reentry(CBaseContainer &container)
    : m_container(container), m_entered(!container.m_busy) {
    container.m_busy = true;
}

CBaseContainer::Reentry::~Reentry() {
    if (m_entered) m_container.m_busy = false;
}

}  // namespace quelt
