#pragma once

// The keyboard shortcuts of the clipboard. Modifiers other than control and
// shift are ignored; a null event is none of them.

#include "quelt/core/config.h"
#include "quelt/sys/notify.h"

namespace quelt {

// Control+C or Control+Insert.
QUELT_API bool IsCopyToClipboard(const CKeyboardEvent *event);
// Control+X or Shift+Delete.
QUELT_API bool IsCutToClipboard(const CKeyboardEvent *event);
// Control+V or Shift+Insert.
QUELT_API bool IsPasteFromClipboard(const CKeyboardEvent *event);

}  // namespace quelt
