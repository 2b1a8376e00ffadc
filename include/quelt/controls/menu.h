#pragma once

// The platform's popup menu as the library drives it.

#include "quelt/core/base.h"
#include "quelt/core/config.h"
#include "quelt/core/events.h"
#include "quelt/core/wstring.h"

namespace quelt {

// Raises IMenuNotify when an item is selected or clicked.
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
};

}  // namespace quelt
