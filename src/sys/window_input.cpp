#include "quelt/sys/window.h"

namespace quelt {

namespace {

VKeyState Pressed(MouseButton button) {
    return button == button::Right    ? keystate::RightButton
           : button == button::Middle ? keystate::MiddleButton
                                      : keystate::LeftButton;
}

}  // namespace

void CSysWindow::NativeMouseMove(int x, int y, VKeyState keys) {
    EntryScope scope(this);
    CMouseEvent event(static_cast<IEventSender *>(this), x, y, keys, button::None);
    NotifyOnMouseMove(&event);
    if (scope.Alive()) ProcessTooltipMouseMove(x, y);
}

void CSysWindow::NativeButtonDown(int x, int y, MouseButton button, VKeyState keys) {
    CMouseEvent event(static_cast<IEventSender *>(this), x, y, keys, button);
    NotifyOnButtonDown(&event);
}

void CSysWindow::NativeButtonUp(int x, int y, MouseButton button, VKeyState keys) {
    CMouseEvent event(static_cast<IEventSender *>(this), x, y, keys, button);
    NotifyOnButtonUp(&event);
}

bool CSysWindow::NativePress(int x, int y, MouseButton button, VKeyState keys,
                             void (CSysWindow::*raise)(CMouseEvent *)) {
    EntryScope scope(this);
    NativeButtonDown(x, y, button, keys | Pressed(button));
    if (!scope.Alive()) return false;
    NativeButtonUp(x, y, button, keys);
    if (!scope.Alive()) return false;
    CMouseEvent event(static_cast<IEventSender *>(this), x, y, keys, button);
    (this->*raise)(&event);
    return scope.Alive();
}

void CSysWindow::NativeClick(int x, int y, MouseButton button, VKeyState keys) {
    NativePress(x, y, button, keys, &CSysWindow::NotifyOnClick);
}

void CSysWindow::NativeDoubleClick(int x, int y, MouseButton button, VKeyState keys) {
    if (NativePress(x, y, button, keys, &CSysWindow::NotifyOnDoubleClick)) NativeButtonUp(x, y, button, keys);
}

void CSysWindow::NativeHover(int x, int y, VKeyState keys) {
    CMouseEvent event(static_cast<IEventSender *>(this), x, y, keys, button::None);
    NotifyOnHover(&event);
}

void CSysWindow::NativeWheel(int x, int y, int delta, VKeyState keys) {
    CMouseWheelEvent event(static_cast<IEventSender *>(this), x, y, keys, delta);
    NotifyOnWheel(&event);
}

void CSysWindow::NativeLeave() {
    EntryScope scope(this);
    CMouseEvent event(static_cast<IEventSender *>(this), -1, -1, 0, button::None);
    NotifyOnLeave(&event);
    if (scope.Alive()) ProcessHideTooltip();
}

void CSysWindow::NativeKeyDown(int key, VKeyState keys, unsigned short character) {
    EntryScope scope(this);
    CKeyboardEvent event(static_cast<IEventSender *>(this), keys, key, character);
    NotifyOnKeyDown(&event);
    // Moving the focus is the platform's own handling of Tab, which Ignore() declines.
    if (!scope.Alive() || key != vk::Tab || !event.IsContinueProcessing() || !event.IsAccepted()) return;
    GetFocusChange((keys & keystate::Shift) == 0);
}

void CSysWindow::NativeKeyUp(int key, VKeyState keys, unsigned short character) {
    CKeyboardEvent event(static_cast<IEventSender *>(this), keys, key, character);
    NotifyOnKeyUp(&event);
}

void CSysWindow::NativeChar(unsigned short character, VKeyState keys) {
    CKeyboardEvent event(static_cast<IEventSender *>(this), keys, 0, character);
    NotifyOnChar(&event);
}

void CSysWindow::NativeResize(int width, int height) {
    EntryScope scope(this);
    CWindowEvent event(static_cast<IEventSender *>(this), width, height);
    NotifyOnResize(&event);
    if (scope.Alive()) RefreshScroll(false);
}

}  // namespace quelt
