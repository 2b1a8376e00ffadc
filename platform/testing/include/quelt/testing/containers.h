#pragma once

// Scripted containers: the headless notebooks, splitter, decoration and
// toolbar, logging every call made on them ("form.book.SetCurrentPage 1").
// Gestures (ClickTab, Drag, Press, Hold, ...) write no line.

#include <memory>
#include <string>

#include "quelt/controls/headlesscontainers.h"
#include "quelt/testing/calllog.h"

namespace quelt::testing {

// The scripted name of a window for the log ("-" for null, "?" for another kind).
std::string WindowName(const ISysWindow *window);

// The log and the name of a scripted container.
class ScriptedTrace {
  public:
    ScriptedTrace(std::shared_ptr<CallLog> log, std::string name)
        : m_pLog(std::move(log)), m_name(std::move(name)) {}
    const std::string &GetName() const { return m_name; }

  protected:
    template <class... A>
    void Trace(const char *operation, const A &...args) const {
        m_pLog->Add(logtext::Call(m_name, operation, args...));
    }

  private:
    std::shared_ptr<CallLog> m_pLog;
    std::string m_name;
};

class ScriptedNotebook : public CHeadlessNotebook, public ScriptedTrace {
  public:
    ScriptedNotebook(std::shared_ptr<CallLog> log, std::string name, CSysWindow *parent);

    int AddPage(ISysWindow *page) override;
    void RemovePage(int index) override;
    void SetCurrentPage(int index) override;
    int GetCurrentPage() override;
};

class ScriptedTabNotebook : public CHeadlessTabNotebook, public ScriptedTrace {
  public:
    ScriptedTabNotebook(std::shared_ptr<CallLog> log, std::string name, CSysWindow *parent, WorkMode mode);

    int AddPage(const wstring &caption, ISysWindow *page) override;
    void RemovePage(int index) override;
    void SetCurrentPage(int index) override;
    int GetCurrentPage() override;
    void SetPageCaption(int index, const wstring &caption) override;
    wstring GetPageCaption(int index) override;

  protected:
    void FocusTabControl() override;
};

class ScriptedSplitter : public CHeadlessSplitter, public ScriptedTrace {
  public:
    ScriptedSplitter(std::shared_ptr<CallLog> log, std::string name, CSysWindow *parent,
                     OrientationType orientation);

    void SetSections(ISysWindow *first, ISysWindow *second) override;
    void SetPosition(int position) override;
    int GetPosition() override;
    void SetResizeMode(ResizeMode mode) override;
    void SetMinimalSize(int size) override;
    void Relayout() override;
};

class ScriptedDecoration : public CHeadlessDecoration, public ScriptedTrace {
  public:
    ScriptedDecoration(std::shared_ptr<CallLog> log, std::string name, CSysWindow *parent);

    void SetContentPane(ISysWindow *pane) override;
    void AddElement(IDecorationElement *element) override;
    void RemoveElement(IDecorationElement *element) override;
    void Relayout() override;
};

class ScriptedToolbar : public CHeadlessToolbar, public ScriptedTrace {
  public:
    ScriptedToolbar(std::shared_ptr<CallLog> log, std::string name)
        : ScriptedTrace(std::move(log), std::move(name)) {}

    void AddButton(int id, const wstring &text, ButtonStyle style) override;
    void AddSeparator() override;
    void EnableButton(int id, bool enabled) override;
    bool IsButtonEnabled(int id) override;
    void CheckButton(int id, bool checked) override;
    bool IsButtonChecked(int id) override;
    screen_rectangle<int> GetButtonRect(int id) override;

    using CToolbar::StartAutoRepeat;
    using CToolbar::StopAutoRepeat;
};

}  // namespace quelt::testing
