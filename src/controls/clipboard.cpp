#include "quelt/controls/clipboard.h"

namespace quelt {

namespace {

bool Is(const CKeyboardEvent *event, int key, VKeyState modifier) {
    return event && event->GetVirtualKey() == key && event->IsPressed(modifier);
}

}  // namespace

bool IsCopyToClipboard(const CKeyboardEvent *event) {
    return Is(event, vk::Letter('C'), keystate::Control) || Is(event, vk::Insert, keystate::Control);
}

bool IsCutToClipboard(const CKeyboardEvent *event) {
    return Is(event, vk::Letter('X'), keystate::Control) || Is(event, vk::Delete, keystate::Shift);
}

bool IsPasteFromClipboard(const CKeyboardEvent *event) {
    return Is(event, vk::Letter('V'), keystate::Control) || Is(event, vk::Insert, keystate::Shift);
}

}  // namespace quelt
