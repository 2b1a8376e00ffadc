#pragma once

// Containers and popup menus for platforms without a native toolkit: the
// state they keep, how they place their windows in the parent's client area,
// and the user's gestures on them (ClickTab, Drag, Press, Hold,
// ChooseMenuItem, ...), which raise what a user's clicking raises. A
// container made with a parent becomes that window's child container, so the
// tab key reaches it, and places its windows again on every resize of the
// parent. Changed() tells the platform that what a container or
// menu shows of its own may have changed.

#include <vector>

#include "quelt/controls/decoration.h"
#include "quelt/controls/menu.h"
#include "quelt/controls/notebook.h"
#include "quelt/controls/splitter.h"
#include "quelt/sys/window.h"

namespace quelt {

// Every page fills the parent's client area; only the current one is visible.
class QUELT_API CHeadlessNotebook : public CNotebook, public CWindowNotify {
  public:
    explicit CHeadlessNotebook(CSysWindow *parent);
    void OnResize(CWindowEvent *event) override;

    // The first page added becomes the current one.
    int AddPage(ISysWindow *page) override;
    void RemovePage(int index) override;
    void SetCurrentPage(int index) override;
    int GetCurrentPage() override { return CurrentIndex(); }

  private:
    void ShowPages();
};

// A tab strip (a child window of the parent) over the pages; in the pages
// mode the current page fills PageArea() and the others are hidden.
class QUELT_API CHeadlessTabNotebook : public CTabNotebook, public CWindowNotify {
  public:
    CHeadlessTabNotebook(CSysWindow *parent, WorkMode mode);
    void OnResize(CWindowEvent *event) override;

    // The first tab added becomes the current one.
    int AddPage(const wstring &caption, ISysWindow *page) override;
    void RemovePage(int index) override;
    void SetCurrentPage(int index) override { ClickTab(index); }
    int GetCurrentPage() override { return CurrentIndex(); }
    void SetPageCaption(int index, const wstring &caption) override;
    wstring GetPageCaption(int index) override;

    // The user clicks a tab.
    void ClickTab(int index);
    // Null without a parent, or when it went away.
    ISysWindow *GetTabStrip() const { return m_pStrip; }
    bool IsTabControlFocused();
    // The captions as shown, for drawing.
    const std::vector<wstring> &Captions() const { return m_captions; }

  protected:
    void FocusTabControl() override;
    void OnWindowGone(ISysWindow *window) override;
    // Where the current page goes: the parent's client area.
    virtual screen_rectangle<int> PageArea();
    // Places the pages again (in the pages mode) and reports the change.
    virtual void ShowPages();
    virtual void Changed() {}

  private:
    std::vector<wstring> m_captions;
    ISysWindow *m_pStrip = nullptr;
};

// Lays its two sections out across the parent's client area, again on every
// resize of the parent.
class QUELT_API CHeadlessSplitter : public CSplitter, public CWindowNotify {
  public:
    CHeadlessSplitter(CSysWindow *parent, OrientationType orientation);

    void SetSections(ISysWindow *first, ISysWindow *second) override;
    void SetPosition(int position) override { Drag(position); }
    int GetPosition() override { return CurrentPosition(); }
    void SetResizeMode(ResizeMode mode) override { AssignResizeMode(mode); }
    void SetMinimalSize(int size) override;
    void Relayout() override { Place(); }

    // The user drags the separator so that the first section is pos wide (high).
    void Drag(int pos);

    void OnResize(CWindowEvent *event) override;

  protected:
    // The parent's client area.
    screen_rectangle<int> Area();
    // Places the sections at the current position.
    virtual void Place();

  private:
    int Extent();
};

// Each element takes a band of ElementHeight pixels at the top of the
// parent's client area; the content pane gets the rest.
class QUELT_API CHeadlessDecoration : public CDecoration, public CWindowNotify {
  public:
    static constexpr int ElementHeight = 24;

    explicit CHeadlessDecoration(CSysWindow *parent);
    void OnResize(CWindowEvent *event) override;

    void SetContentPane(ISysWindow *pane) override;
    // Null elements are not added.
    void AddElement(IDecorationElement *element) override;
    void RemoveElement(IDecorationElement *element) override;
    int GetElementCount() override { return static_cast<int>(m_elements.size()); }
    void Relayout() override { Place(); }

  protected:
    const std::vector<IDecorationElement *> &Elements() const { return m_elements; }
    // Places the content pane below the bands.
    virtual void Place();

  private:
    std::vector<IDecorationElement *> m_elements;
};

// Buttons ButtonSize pixels square in a row, separators SeparatorWidth wide.
class QUELT_API CHeadlessToolbar : public CToolbar {
  public:
    static constexpr int ButtonSize = 24;
    static constexpr int SeparatorWidth = 8;

    struct Button {
        int id;
        wstring text;
        ButtonStyle style;
        bool enabled;
        bool checked;
        bool separator;
    };

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
    // The buttons and separators in order, and the held one (-1: none), for drawing.
    const std::vector<Button> &Buttons() const { return m_buttons; }
    int HeldButton() const { return m_held; }

  protected:
    void OnAutoRepeat() override;
    virtual void Changed() {}

  private:
    Button *Find(int id);
    // A flag of a button; an unknown id sets nothing and reads false.
    void SetFlag(int id, bool Button::*flag, bool value);
    bool Flag(int id, bool Button::*flag);

    std::vector<Button> m_buttons;
    int m_held = -1;
};

// A popup menu's items with their marks and enabling, and the user's
// choosing of items.
class QUELT_API CHeadlessMenu : public CSysMenu {
  public:
    struct Item {
        int id;
        wstring text;
        bool separator;
        bool checked;
        bool enabled;
    };

    using CSysMenu::CSysMenu;

    void AppendItem(int id, const wstring &text) override;
    void AppendSeparator() override;
    void Show(int x, int y) override;
    int GetItemCount() override { return static_cast<int>(m_items.size()); }
    int GetItemPosition(int id) override;
    bool IsItemChecked(int pos) override { return Marked(pos); }
    void CheckItem(int pos, bool checked) override;
    void EnableItem(int pos, bool enabled) override;
    bool IsItemEnabled(int pos) override { return Valid(pos) && Entry(pos).enabled; }

    // The user moves over an item: OnSelected.
    void HighlightMenuItem(int id);
    // The user clicks an item: OnSelected, the check or radio logic
    // (ProcessItem with the item's mark), the menu closes, OnClicked.
    // Unknown, disabled and separator items do nothing.
    void ChooseMenuItem(int id);
    // The user closes the menu without choosing.
    void Dismiss();

    bool IsShown() const { return m_shown; }
    // Where it was last shown, in screen coordinates.
    point<int> GetShownAt() const { return m_at; }
    // The marks as the user sees them.
    bool Marked(int pos) const { return Valid(pos) && Entry(pos).checked; }
    const std::vector<Item> &Items() const { return m_items; }

  protected:
    virtual void Changed() {}

  private:
    bool Valid(int pos) const { return pos >= 0 && pos < static_cast<int>(m_items.size()); }
    const Item &Entry(int pos) const { return m_items[static_cast<std::size_t>(pos)]; }
    int Find(int id) const;

    std::vector<Item> m_items;
    point<int> m_at;
    bool m_shown = false;
};

}  // namespace quelt
