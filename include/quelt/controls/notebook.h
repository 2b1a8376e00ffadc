#pragma once

// Notebooks: containers that show one page at a time, with or without a tab
// control of their own.

#include <vector>

#include "quelt/controls/notify.h"
#include "quelt/core/config.h"
#include "quelt/core/events.h"
#include "quelt/core/wstring.h"
#include "quelt/sys/container.h"

namespace quelt {

class CSysWindow;
class ISysWindow;

// The page list and the current index of a notebook: the index rules every
// platform shares. Pages are not owned; a page may be null (a tab without a
// window of its own).
class QUELT_API CNotebookPages {
  public:
    int GetCount() const { return static_cast<int>(m_pages.size()); }
    // Null outside 0..count-1.
    ISysWindow *Get(int index) const;
    // -1 for none.
    int GetCurrent() const { return m_current; }
    ISysWindow *GetCurrentPage() const { return Get(m_current); }
    // The first index of page, -1 when absent.
    int IndexOf(const ISysWindow *page) const;
    // Inserts at index (outside 0..count: appends) and returns where; the
    // current page stays current.
    int Insert(int index, ISysWindow *page);
    // Removes a page. A page before the current one shifts the index down;
    // removing the current one selects min(index, count - 1), -1 when none
    // is left. True when the current page changed.
    bool Erase(int index);
    // True when index is a page other than the current one, which it becomes.
    bool Select(int index);
    // A page window that went away leaves its tab in place, without a window,
    // so that the platform's per-tab data keeps its indexes.
    void Forget(const ISysWindow *page);

  private:
    std::vector<ISysWindow *> m_pages;
    int m_current = -1;
};

class QUELT_API INotebook {
  public:
    virtual ~INotebook();
    // The index of the new page.
    virtual int AddPage(ISysWindow *page) = 0;
    virtual void RemovePage(int index) = 0;
    virtual void SetCurrentPage(int index) = 0;
    virtual int GetCurrentPage() = 0;
    // Null outside 0..count-1.
    virtual ISysWindow *GetPage(int index) = 0;
    virtual int GetPagesCount() = 0;
};

// The tab key goes into the current page; leaving it goes to the parent.
class QUELT_API CNotebook : public INotebook, public CBaseContainer {
  public:
    CNotebook() = default;

    ISysWindow *GetPage(int index) override { return m_pages.Get(index); }
    int GetPagesCount() override { return m_pages.GetCount(); }

    void SetFocusChange(bool forward) override;
    void ProcessTab(bool forward) override;

  protected:
    // The bookkeeping under the platform's page operations.
    int InsertPageAt(int index, ISysWindow *page);
    bool ErasePageAt(int index);
    bool SelectPageAt(int index);
    int CurrentIndex() const { return m_pages.GetCurrent(); }

    void OnWindowGone(ISysWindow *window) override;

  private:
    CNotebookPages m_pages;
};

class QUELT_API ITabNotebook : public IEventSender {
  public:
    // Tabs only: the host changes what the tabs show; pages: every tab has
    // its own window.
    enum WorkMode : int { TabsOnly = 0, Pages = 1 };

    virtual ~ITabNotebook();
    // The index of the new tab; page may be null in the tabs-only mode.
    virtual int AddPage(const wstring &caption, ISysWindow *page) = 0;
    virtual void RemovePage(int index) = 0;
    virtual void SetCurrentPage(int index) = 0;
    virtual int GetCurrentPage() = 0;
    virtual void SetPageCaption(int index, const wstring &caption) = 0;
    // Empty outside the tabs.
    virtual wstring GetPageCaption(int index) = 0;
    // The window of a tab in the pages mode; null otherwise and outside.
    virtual ISysWindow *GetPage(int index) = 0;
    // The current tab's window.
    virtual ISysWindow *GetPage() = 0;
    virtual int GetPagesCount() = 0;
    virtual WorkMode GetMode() = 0;
};

// Raises TabOnChangePageIndex whenever the current tab changes, in either mode.
class QUELT_API CTabNotebook : public CImplEventSender<ITabNotebook>, public CBaseContainer {
  public:
    explicit CTabNotebook(WorkMode mode);

    ISysWindow *GetPage(int index) override;
    ISysWindow *GetPage() override { return m_pages.GetCurrentPage(); }
    int GetPagesCount() override { return m_pages.GetCount(); }
    WorkMode GetMode() override { return m_mode; }
    WorkMode GetCreationMode() const { return m_creationMode; }

    // Forward the focus goes from the page to the tab control, backward to the parent.
    void GetFocusChange(CSysWindow *from, bool forward) override;
    void SetFocusChange(bool forward) override;
    void ProcessTab(bool forward) override;

  protected:
    // Gives the keyboard focus to the notebook's tab control.
    virtual void FocusTabControl() = 0;

    int InsertPageAt(int index, ISysWindow *page);
    bool ErasePageAt(int index);
    bool SelectPageAt(int index);
    int CurrentIndex() const { return m_pages.GetCurrent(); }
    void SetMode(WorkMode mode) { m_mode = mode; }

    void NotifyTabOnChangePageIndex(CTabEvent *event);
    void OnWindowGone(ISysWindow *window) override;

  private:
    void RaiseChange();

    WorkMode m_mode;
    WorkMode m_creationMode;
    CNotebookPages m_pages;
};

}  // namespace quelt
