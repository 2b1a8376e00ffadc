#include "quelt/controls/decoration.h"

#include <typeinfo>

#include "quelt/sys/window.h"

namespace quelt {

IDecoration::~IDecoration() = default;

void CDecoration::AssignContentPane(ISysWindow *pane) {
    ISysWindow *old = m_pContentPane;
    m_pContentPane = pane;
    if (old && old != pane) Disown(old);
    Adopt(pane);
}

void CDecoration::OnWindowGone(ISysWindow *window) {
    if (m_pContentPane == window) m_pContentPane = nullptr;
}

void CDecoration::SetFocusChange(bool forward) {
    Reentry entered(*this);
    if (entered) Enter(m_pContentPane, forward);
}

void CDecoration::ProcessTab(bool forward) { SetFocusChange(forward); }

CToolbar::CToolbar() { AddEventType(typeid(IToolbarNotify)); }

CToolbar::~CToolbar() { StopAutoRepeat(); }

void CToolbar::StartAutoRepeat(int interval) {
    StopAutoRepeat();
    ISystem *system = GetCurrentSystem();
    if (interval <= 0) return;
    if (!m_pRepeatTimer && system) m_pRepeatTimer = system->CreateTimer(interval, 0);
    if (!m_pRepeatTimer) return;
    m_pRepeatTimer->Subscribe(CRepeatTimerNotify::AsNotify(), typeid(ITimerNotify), true);
    m_pRepeatTimer->SetInterval(interval);
    m_pRepeatTimer->Enable(true);
    m_repeating = true;
}

// The timer is kept, stopped, until the next start or the toolbar's end: a
// repeat handler may stop the repeat from inside the timer's own tick.
void CToolbar::StopAutoRepeat() {
    if (!m_repeating) return;
    m_repeating = false;
    m_pRepeatTimer->Enable(false);
    m_pRepeatTimer->Unsubscribe(CRepeatTimerNotify::AsNotify(), typeid(ITimerNotify), true);
}

void CToolbar::OnRepeatTimer(CTimerEvent *) { OnAutoRepeat(); }

void CToolbar::NotifyToolbarOnCommand(CToolbarEvent *event) {
    Fire<&IToolbarNotify::ToolbarOnCommand>(event, true);
}

void CToolbar::NotifyToolbarOnDropDown(CToolbarDropDownEvent *event) {
    Fire<&IToolbarNotify::ToolbarOnDropDown>(event, true);
}

}  // namespace quelt
