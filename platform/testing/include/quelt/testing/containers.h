#pragma once

// Scripted containers: notebooks, a splitter, a decoration and a toolbar that
// live in a parent window, keep their state, log every call made on them
// ("form.book.SetCurrentPage 1") and place their windows as a native
// platform would. Gestures (ClickTab, Drag, Press, Hold, ...) raise what a
// user's clicking raises and write no line. A container made with a parent
// becomes that window's child container, so the tab key reaches it.

#include <memory>
#include <string>
#include <vector>

#include "quelt/controls/decoration.h"
#include "quelt/controls/notebook.h"
#include "quelt/controls/splitter.h"
#include "quelt/sys/window.h"
#include "quelt/testing/calllog.h"

namespace quelt::testing {

// The scripted name of a window for the log ("-" for null, "?" for another kind).
std::string WindowName(const ISysWindow *window);

// Every page fills the parent's client area; only the current one is visible.
class ScriptedNotebook : public CNotebook {
  public:
    ScriptedNotebook(std::shared_ptr<CallLog> log, std::string name, CSysWindow *parent);

    // The first page added becomes the current one.
    int AddPage(ISysWindow *page) override;
    void RemovePage(int index) override;
    void SetCurrentPage(int index) override;
    int GetCurrentPage() override;

  private:
    void ShowPages();

    std::shared_ptr<CallLog> m_pLog;
    std::string m_name;
};

// A tab strip over the pages; in the pages mode it shows the current page
// as ScriptedNotebook does.
class ScriptedTabNotebook : public CTabNotebook {
  public:
    ScriptedTabNotebook(std::shared_ptr<CallLog> log, std::string name, CSysWindow *parent, WorkMode mode);

    // The first tab added becomes the current one.
    int AddPage(const wstring &caption, ISysWindow *page) override;
    void RemovePage(int index) override;
    void SetCurrentPage(int index) override;
    int GetCurrentPage() override;
    void SetPageCaption(int index, const wstring &caption) override;
    wstring GetPageCaption(int index) override;

    // The user clicks a tab.
    void ClickTab(int index);
    // The tab strip: a child window of the parent (null without a parent),
    // which FocusTabControl gives the focus.
    ISysWindow *GetTabStrip() const { return m_pStrip; }
    bool IsTabControlFocused();

  protected:
    void FocusTabControl() override;
    void OnWindowGone(ISysWindow *window) override;

  private:
    void ShowPages();

    std::shared_ptr<CallLog> m_pLog;
    std::string m_name;
    std::vector<wstring> m_captions;
    ISysWindow *m_pStrip = nullptr;
};

// Lays its two sections out across the parent's client area, again on every
// resize of the parent.
class ScriptedSplitter : public CSplitter, public CWindowNotify {
  public:
    ScriptedSplitter(std::shared_ptr<CallLog> log, std::string name, CSysWindow *parent,
                     OrientationType orientation);

    void SetSections(ISysWindow *first, ISysWindow *second) override;
    void SetPosition(int position) override;
    int GetPosition() override;
    void SetResizeMode(ResizeMode mode) override;
    void SetMinimalSize(int size) override;
    void Relayout() override;

    // The user drags the separator so that the first section is pos wide (high).
    void Drag(int pos);

    void OnResize(CWindowEvent *event) override;

  private:
    int Extent();
    void Place();

    std::shared_ptr<CallLog> m_pLog;
    std::string m_name;
};

// Each element takes a band of ElementHeight pixels at the top of the
// parent's client area; the content pane gets the rest.
class ScriptedDecoration : public CDecoration {
  public:
    static constexpr int ElementHeight = 24;

    ScriptedDecoration(std::shared_ptr<CallLog> log, std::string name, CSysWindow *parent);

    void SetContentPane(ISysWindow *pane) override;
    void AddElement(IDecorationElement *element) override;
    void RemoveElement(IDecorationElement *element) override;
    int GetElementCount() override { return static_cast<int>(m_elements.size()); }
    void Relayout() override;

  private:
    void Place();

    std::shared_ptr<CallLog> m_pLog;
    std::string m_name;
    std::vector<IDecorationElement *> m_elements;
};

// Buttons ButtonSize pixels square in a row, separators SeparatorWidth wide.
class ScriptedToolbar : public CToolbar {
  public:
    static constexpr int ButtonSize = 24;
    static constexpr int SeparatorWidth = 8;

    ScriptedToolbar(std::shared_ptr<CallLog> log, std::string name);

    void AddButton(int id, const wstring &text, ButtonStyle style) override;
    void AddSeparator() override;
    void EnableButton(int id, bool enabled) override;
    bool IsButtonEnabled(int id) override;
    void CheckButton(int id, bool checked) override;
    bool IsButtonChecked(int id) override;
    screen_rectangle<int> GetButtonRect(int id) override;
    int GetButtonCount() override { return static_cast<int>(m_buttons.size()); }

    // The user clicks a button: a check button toggles; a drop-down button
    // raises ToolbarOnDropDown, the others ToolbarOnCommand. Unknown or
    // disabled buttons do nothing.
    void Press(int id);
    // Press, then keep the button down: ToolbarOnCommand again every
    // interval milliseconds of the system's clock until ReleaseButton.
    void Hold(int id, int interval);
    void ReleaseButton();
    const std::string &GetName() const { return m_name; }

    using CToolbar::StartAutoRepeat;
    using CToolbar::StopAutoRepeat;

  protected:
    void OnAutoRepeat() override;

  private:
    struct Button {
        int id;
        wstring text;
        ButtonStyle style;
        bool enabled;
        bool checked;
        bool separator;
    };
    Button *Find(int id);

    std::shared_ptr<CallLog> m_pLog;
    std::string m_name;
    std::vector<Button> m_buttons;
    int m_held = -1;
};

}  // namespace quelt::testing
