#pragma once

// A decoration: one content pane framed by elements such as toolbars.

#include <vector>

#include "quelt/controls/notify.h"
#include "quelt/core/base.h"
#include "quelt/core/config.h"
#include "quelt/core/events.h"
#include "quelt/core/wstring.h"
#include "quelt/paint/geometry.h"
#include "quelt/sys/container.h"
#include "quelt/sys/system.h"

namespace quelt {

class ISysWindow;

// Something a decoration places around its content pane.
class QUELT_API IDecorationElement : public CBase, public IEventSender {};

class QUELT_API IDecoration {
  public:
    virtual ~IDecoration();
    virtual void SetContentPane(ISysWindow *pane) = 0;
    virtual ISysWindow *GetContentPane() = 0;
    // Elements are not owned.
    virtual void AddElement(IDecorationElement *element) = 0;
    virtual void RemoveElement(IDecorationElement *element) = 0;
    virtual int GetElementCount() = 0;
    // Places the elements and the content pane again.
    virtual void Relayout() = 0;
};

// The tab key goes into the content pane; leaving it goes to the parent.
class QUELT_API CDecoration : public IDecoration, public CBaseContainer {
  public:
    CDecoration() = default;

    ISysWindow *GetContentPane() override { return m_pContentPane; }

    void SetFocusChange(bool forward) override;
    void ProcessTab(bool forward) override;

  protected:
    // The platform's SetContentPane stores here; the pane is watched and linked.
    void AssignContentPane(ISysWindow *pane);
    void OnWindowGone(ISysWindow *window) override;

  private:
    ISysWindow *m_pContentPane = nullptr;
};

class QUELT_API IToolbar : public IDecorationElement {
  public:
    // Plain buttons raise a command, check buttons toggle and raise it, drop
    // -down buttons raise the drop-down event.
    enum ButtonStyle : int { PushStyle = 0, CheckStyle = 1, DropDownStyle = 2 };

    virtual void AddButton(int id, const wstring &text, ButtonStyle style) = 0;
    virtual void AddSeparator() = 0;
    virtual void EnableButton(int id, bool enabled) = 0;
    virtual bool IsButtonEnabled(int id) = 0;
    virtual void CheckButton(int id, bool checked) = 0;
    virtual bool IsButtonChecked(int id) = 0;
    // In the toolbar's client coordinates; empty for an unknown id.
    virtual screen_rectangle<int> GetButtonRect(int id) = 0;
    virtual int GetButtonCount() = 0;
};

// Raises the toolbar's commands, and runs the auto-repeat timer that keeps a
// held button raising them.
class QUELT_API CToolbar : public CImplEventSender<IToolbar>, private CRepeatTimerNotify {
  public:
    CToolbar();
    ~CToolbar() override;

    bool IsAutoRepeating() const { return m_repeating; }

  protected:
    // A held button repeats: the platform raises its command again.
    virtual void OnAutoRepeat() = 0;

    // Starts a timer of the current system that calls OnAutoRepeat every
    // interval milliseconds (restarting it when one runs); a non-positive
    // interval or no system starts nothing.
    void StartAutoRepeat(int interval);
    void StopAutoRepeat();

    void NotifyToolbarOnCommand(CToolbarEvent *event);
    void NotifyToolbarOnDropDown(CToolbarDropDownEvent *event);

  private:
    void OnRepeatTimer(CTimerEvent *event) override;

    quelt_ptr<ISysTimer> m_pRepeatTimer;
    bool m_repeating = false;
};

}  // namespace quelt
