#pragma once

// Popup menus: the platform's native menu as the library drives it, and the
// library half that keeps item styles and the check and radio logic.

#include <map>
#include <memory>

#include "quelt/controls/notify.h"
#include "quelt/core/base.h"
#include "quelt/core/config.h"
#include "quelt/core/events.h"
#include "quelt/core/wstring.h"

namespace quelt {

class ISysWindow;

// Raises IMenuNotify when an item is selected (highlighted) or clicked.
class QUELT_API IPopupMenu : public CBase, public IEventSender {
  public:
    enum ItemStyle : int { StyleNormal = 0, StyleCheck = 1, StyleRadio = 2 };
    // Non-zero: an item is addressed by its position; zero: by its identifier.
    enum PlaceType : int { ByCommand = 0, ByPosition = 1 };

    virtual void AppendItem(int id, const wstring &text) = 0;
    virtual void AppendSeparator() = 0;
    // Shows the menu without waiting, at a screen point.
    virtual void Show(int x, int y) = 0;
    virtual int GetItemCount() = 0;
    // -1 for an unknown identifier.
    virtual int GetItemPosition(int id) = 0;
    virtual bool IsItemChecked(int pos) = 0;
    // Sets the native mark only; never calls back.
    virtual void CheckItem(int pos, bool checked) = 0;
    virtual void EnableItem(int pos, bool enabled) = 0;
    virtual bool IsItemEnabled(int pos) = 0;

    // A check item toggles when chosen; a run of consecutive radio items
    // keeps one checked.
    virtual void SetItemStyle(int item, ItemStyle style, PlaceType place) = 0;
    // StyleNormal for an item without a style.
    virtual ItemStyle GetItemStyle(int item, PlaceType place) = 0;
    // Checking a radio item clears the rest of its run.
    virtual void SetItemChecked(int item, bool checked, PlaceType place) = 0;
};

class QUELT_API IStyleStorage {
  public:
    virtual ~IStyleStorage();
    // Inserts or replaces.
    virtual void SetStyle(int key, IPopupMenu::ItemStyle style) = 0;
    // StyleNormal for a key without one; inserts nothing.
    virtual IPopupMenu::ItemStyle GetStyle(int key) const = 0;
};

class QUELT_API CStyleStorage : public IStyleStorage {
  public:
    void SetStyle(int key, IPopupMenu::ItemStyle style) override { m_styles[key] = style; }
    IPopupMenu::ItemStyle GetStyle(int key) const override;

  private:
    std::map<int, IPopupMenu::ItemStyle> m_styles;
};

// The item-style logic over the platform's native menu. Styles are kept by
// item position.
class QUELT_API CSysMenu : public CImplEventSender<IPopupMenu> {
  public:
    // The owner window is not owned.
    explicit CSysMenu(const ISysWindow *owner);
    ~CSysMenu() override;

    void SetItemStyle(int item, ItemStyle style, PlaceType place) override;
    ItemStyle GetItemStyle(int item, PlaceType place) override;
    void SetItemChecked(int item, bool checked, PlaceType place) override;
    // The item at position was chosen while its mark read state: a check
    // item gets the opposite mark, a radio item is checked and the rest of
    // its run cleared. Positions outside the menu (-1 included) do nothing.
    void ProcessItem(int position, bool state);

    const ISysWindow *GetOwner() const { return m_pOwner; }

  protected:
    void NotifyOnSelected(CMenuEvent *event);
    void NotifyOnClicked(CMenuEvent *event);

  private:
    // The position of item as placed; -1 when there is no such item.
    int PositionOf(int item, PlaceType place);
    void CheckRadioRun(int position);

    const ISysWindow *m_pOwner;
    std::unique_ptr<CStyleStorage> m_pStyles;
    bool m_busy = false;
};

}  // namespace quelt
