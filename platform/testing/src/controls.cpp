#include "quelt/testing/controls.h"

namespace quelt::testing {

wstring &ScriptedClipboard() {
    static wstring text;
    return text;
}

}  // namespace quelt::testing
