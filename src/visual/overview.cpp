#include "quelt/visual/overview.h"

namespace quelt {

IOverviewSupport::~IOverviewSupport() = default;

point<double> IOverview::GetViewportPos() {
    const rectangle<double> v = GetViewport();
    return {v.left, v.top};
}

void IOverview::SetViewportPos(const point<double> &p) {
    const rectangle<double> v = GetViewport();
    SetViewport({p.x, p.y, v.right + p.x - v.left, v.bottom + p.y - v.top});
}

// --- COverview -------------------------------------------------------------------

COverview::~COverview() { Unlink(); }

void COverview::SetOverview(IOverviewSupport *s) {
    // A support has one overview: the one it leaves forgets it.
    if (auto *paired = dynamic_cast<COverviewSupport *>(s)) {
        auto *previous = dynamic_cast<COverview *>(paired->GetOverview());
        if (previous && previous != this && previous->m_pSupport == s) previous->ForgetSupport(true);
    }
    Unlink();
    if (!s) return;
    m_pSupport = s;
    m_pSupportSender = dynamic_cast<IEventSender *>(s);
    s->SetOverview(this);
    if (m_pSupportSender) m_pSupportSender->Subscribe(AsNotify(), typeid(IOverviewNotify), true);
}

void COverview::Unlink() {
    IOverviewSupport *old = m_pSupport;
    IEventSender *sender = m_pSupportSender;
    m_pSupport = nullptr;
    m_pSupportSender = nullptr;
    if (!old) return;
    // A support that moved on to another overview keeps it.
    auto *paired = dynamic_cast<COverviewSupport *>(old);
    if (!paired || paired->GetOverview() == this) old->SetOverview(nullptr);
    if (sender) sender->Unsubscribe(AsNotify(), typeid(IOverviewNotify), true);
}

void COverview::ForgetSupport(bool unsubscribe) {
    IEventSender *sender = m_pSupportSender;
    m_pSupport = nullptr;
    m_pSupportSender = nullptr;
    if (unsubscribe && sender) sender->Unsubscribe(AsNotify(), typeid(IOverviewNotify), true);
}

void COverview::OnUnsubscribe(IEventSender *sender) {
    COverviewNotify::OnUnsubscribe(sender);
    if (sender && sender == m_pSupportSender && !m_pSenders->Contains(sender)) {
        m_pSupport = nullptr;
        m_pSupportSender = nullptr;
    }
}

// --- COverviewSupport ----------------------------------------------------------------

COverviewSupport::~COverviewSupport() {
    // The sender half of this object (if any) tells the overview itself when it goes.
    auto *overview = dynamic_cast<COverview *>(m_pOverview);
    if (overview && overview->m_pSupport == this) overview->ForgetSupport(false);
}

void COverviewSupport::SetOverview(IOverview *o) {
    if (o == m_pOverview) return;
    IOverview *old = m_pOverview;
    m_pOverview = nullptr;
    if (old) old->Unsubscribe(AsNotify(), typeid(IOverviewNotify), true);
    m_pOverview = o;
    if (o) o->Subscribe(AsNotify(), typeid(IOverviewNotify), true);
}

void COverviewSupport::OnUnsubscribe(IEventSender *sender) {
    COverviewNotify::OnUnsubscribe(sender);
    if (sender && m_pOverview && sender == static_cast<IEventSender *>(m_pOverview) &&
        !m_pSenders->Contains(sender)) {
        m_pOverview = nullptr;
    }
}

}  // namespace quelt
