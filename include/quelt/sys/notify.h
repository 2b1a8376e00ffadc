#pragma once

// The events a window, a timer, a thread, the clipboard and a scroll bar
// raise: their records, notification interfaces and do-nothing receivers.

#include "quelt/core/config.h"
#include "quelt/core/events.h"
#include "quelt/core/wstring.h"
#include "quelt/paint/attributes.h"
#include "quelt/paint/color.h"
#include "quelt/paint/geometry.h"

namespace quelt {

class IPainter;

// Pressed mouse buttons (low eight bits) and modifier keys.
using VKeyState = int;
// The button that caused a mouse event.
using MouseButton = int;

namespace keystate {
constexpr VKeyState LeftButton = 0x01;
constexpr VKeyState RightButton = 0x02;
constexpr VKeyState MiddleButton = 0x04;
constexpr VKeyState Shift = 0x100;
constexpr VKeyState Control = 0x200;
constexpr VKeyState Alt = 0x400;
}  // namespace keystate

namespace button {
constexpr MouseButton None = 0;
constexpr MouseButton Left = 1;
constexpr MouseButton Right = 2;
constexpr MouseButton Middle = 3;
}  // namespace button

// Virtual key codes; letters are upper case whatever the shift.
namespace vk {
constexpr int Back = 8;
constexpr int Tab = 9;
constexpr int Return = 13;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int PageUp = 33;
constexpr int PageDown = 34;
constexpr int End = 35;
constexpr int Home = 36;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Insert = 45;
constexpr int Delete = 46;
// '0'..'9' and 'A'..'Z' are their own codes.
constexpr int Digit(int n) { return 48 + n; }
constexpr int Letter(char upper) { return upper; }
// F1..F12.
constexpr int F(int n) { return 111 + n; }
}  // namespace vk

// --- records ---------------------------------------------------------------

class QUELT_API CFocusEvent : public CEvent {
  public:
    using CEvent::CEvent;
};

class QUELT_API CTimerEvent : public CEvent {
  public:
    using CEvent::CEvent;
};

class QUELT_API CEndThreadEvent : public CEvent {
  public:
    using CEvent::CEvent;
};

class QUELT_API CClipboardChangeEvent : public CEvent {
  public:
    using CEvent::CEvent;
};

class QUELT_API CWindowEvent : public CEvent {
  public:
    explicit CWindowEvent(IEventSender *source) : CEvent(source) {}
    CWindowEvent(IEventSender *source, int x, int y) : CEvent(source), m_x(x), m_y(y) {}
    int GetX() const { return m_x; }
    int GetY() const { return m_y; }
    point<int> GetPoint() const { return {m_x, m_y}; }

  private:
    int m_x = 0;
    int m_y = 0;
};

// Where a context menu was asked for, in screen coordinates; a menu asked for
// from the keyboard carries the screen point of the client origin.
class QUELT_API CContextMenuEvent : public CEvent {
  public:
    CContextMenuEvent(IEventSender *source, int x_, int y_) : CEvent(source), x(x_), y(y_) {}
    int x;
    int y;
};

class QUELT_API CInputEvent : public CEvent {
  public:
    CInputEvent(IEventSender *source, VKeyState keys) : CEvent(source), m_keys(keys) {}
    VKeyState GetKeys() const { return m_keys; }
    bool IsNotPressed() const { return m_keys == 0; }
    bool IsMousePressed() const { return (m_keys & 0xFF) != 0; }
    // Any bit of keys pressed.
    bool IsPressed(VKeyState keys) const { return (m_keys & keys) != 0; }
    // Every bit of keys pressed.
    bool IsMultiPressed(VKeyState keys) const { return (m_keys & keys) == keys; }

  private:
    VKeyState m_keys;
};

class QUELT_API CMouseEvent : public CInputEvent {
  public:
    CMouseEvent(IEventSender *source, int x, int y, VKeyState keys, MouseButton button)
        : CInputEvent(source, keys), m_x(x), m_y(y), m_button(button) {}
    // x in the low 16 bits and y in the high 16 bits, each signed.
    CMouseEvent(IEventSender *source, int packed, VKeyState keys, MouseButton button)
        : CMouseEvent(source, Low(packed), High(packed), keys, button) {}
    int GetX() const { return m_x; }
    int GetY() const { return m_y; }
    point<int> GetPoint() const { return {m_x, m_y}; }
    MouseButton GetMouseButton() const { return m_button; }

  private:
    static int Half(unsigned bits) {
        return bits >= 0x8000u ? static_cast<int>(bits) - 0x10000 : static_cast<int>(bits);
    }
    static int Low(int packed) { return Half(static_cast<unsigned>(packed) & 0xFFFFu); }
    static int High(int packed) { return Half(static_cast<unsigned>(packed) >> 16); }

    int m_x;
    int m_y;
    MouseButton m_button;
};

class QUELT_API CMouseWheelEvent : public CMouseEvent {
  public:
    // A notch is 120, positive away from the user.
    CMouseWheelEvent(IEventSender *source, int x, int y, VKeyState keys, int delta)
        : CMouseEvent(source, x, y, keys, button::None), m_delta(delta) {}
    int GetDelta() const { return m_delta; }

  private:
    int m_delta;
};

// Ignore() asks the platform to skip its own handling of the key.
class QUELT_API CKeyboardEvent : public CInputEvent, public CBeforeFlavor {
  public:
    CKeyboardEvent(IEventSender *source, VKeyState keys, int virtualKey, unsigned short character)
        : CInputEvent(source, keys), m_virtualKey(virtualKey), m_character(character) {}
    int GetVirtualKey() const { return m_virtualKey; }
    unsigned short GetCharacterCode() const { return m_character; }

  private:
    int m_virtualKey;
    unsigned short m_character;
};

class QUELT_API CScrollEvent : public CEvent {
  public:
    // 0/1 a line towards the start/end, 2/3 a page, 4 thumb tracking, 5 a jump to the value.
    enum ScrollAction : int {
        LineUp = 0,
        LineDown = 1,
        PageUp = 2,
        PageDown = 3,
        ThumbTrack = 4,
        ThumbPosition = 5
    };

    CScrollEvent(IEventSender *source, ScrollAction action, double value)
        : CEvent(source), m_value(value), m_action(action) {}
    double GetVal() const { return m_value; }
    ScrollAction GetAction() const { return m_action; }

  private:
    double m_value;
    ScrollAction m_action;
};

// A tooltip query: receivers fill in the text, the rectangle inside which it
// stays valid (rect), where to show it (pos; all zero: next to the mouse), the
// colours and the font. Rectangles are in client coordinates.
class QUELT_API CTooltipEvent : public CEvent {
  public:
    // Colours from the system palette's tooltip roles (undefined without a palette).
    CTooltipEvent(IEventSender *source, int x, int y);

    int GetX() const { return m_x; }
    int GetY() const { return m_y; }
    point<int> GetPoint() const { return {m_x, m_y}; }
    void SetX(int x) { m_x = x; }
    void SetY(int y) { m_y = y; }
    void SetRect(const screen_rectangle<int> &rect) { m_rect = rect; }
    const screen_rectangle<int> &GetRect() const { return m_rect; }
    void SetPos(const screen_rectangle<int> &pos) { m_pos = pos; }
    const screen_rectangle<int> &GetPos() const { return m_pos; }
    void SetText(const wstring &text) { m_text = text; }
    const wstring &GetText() const { return m_text; }
    void SetTracking(bool tracking) { m_tracking = tracking; }
    bool IsTracking() const { return m_tracking; }
    void SetColor(const _color &color) { m_color = color; }
    const _color &GetColor() const { return m_color; }
    void SetFontColor(const _color &color) { m_fontColor = color; }
    const _color &GetFontColor() const { return m_fontColor; }
    void SetFont(const font &f) { m_font = f; }
    const font &GetFont() const { return m_font; }

  private:
    int m_x;
    int m_y;
    screen_rectangle<int> m_rect;
    screen_rectangle<int> m_pos;
    wstring m_text;
    bool m_tracking = false;
    _color m_color;
    _color m_fontColor;
    font m_font;
};

// Posted on the heap; the delivering side destroys it once its receivers are
// done, receivers never.
class QUELT_API CCustomEvent : public CEvent {
  public:
    CCustomEvent(IEventSender *source, int id, void *data) : CEvent(source), m_id(id), m_data(data) {}
    int GetID() const { return m_id; }
    void *GetData() const { return m_data; }
    void destroy() { delete this; }
    // Null does nothing.
    static void destroy(CCustomEvent *event) { delete event; }

  private:
    ~CCustomEvent() = default;

    int m_id;
    void *m_data;
};

// --- notification interfaces ----------------------------------------------

class QUELT_API IDrawingNotify : public INotify {
  public:
    virtual void OnDraw(IPainter *painter) = 0;
};

class QUELT_API IWindowNotify : public INotify {
  public:
    virtual void OnResize(CWindowEvent *event) = 0;
    virtual void OnMove(CWindowEvent *event) = 0;
    virtual void OnDestroy(CWindowEvent *event) = 0;
    virtual void OnShow(CWindowEvent *event) = 0;
    virtual void OnHide(CWindowEvent *event) = 0;
};

class QUELT_API IFocusNotify : public INotify {
  public:
    virtual void OnGetFocus(CFocusEvent *event) = 0;
    virtual void OnLostFocus(CFocusEvent *event) = 0;
};

class QUELT_API IMouseNotify : public INotify {
  public:
    virtual void OnButtonDown(CMouseEvent *event) = 0;
    virtual void OnButtonUp(CMouseEvent *event) = 0;
    virtual void OnMouseMove(CMouseEvent *event) = 0;
    virtual void OnWheel(CMouseWheelEvent *event) = 0;
};

class QUELT_API IMouseClickNotify : public INotify {
  public:
    virtual void OnClick(CMouseEvent *event) = 0;
    virtual void OnDoubleClick(CMouseEvent *event) = 0;
};

class QUELT_API IMouseHoverNotify : public INotify {
  public:
    virtual void OnHover(CMouseEvent *event) = 0;
    virtual void OnLeave(CMouseEvent *event) = 0;
};

class QUELT_API IKeyboardNotify : public INotify {
  public:
    virtual void OnKeyDown(CKeyboardEvent *event) = 0;
    virtual void OnKeyUp(CKeyboardEvent *event) = 0;
    virtual void OnChar(CKeyboardEvent *event) = 0;
};

class QUELT_API ITooltipNotify : public INotify {
  public:
    virtual void OnTooltip(CTooltipEvent *event) = 0;
    virtual void OnTooltipTrack(CTooltipEvent *event) = 0;
};

class QUELT_API IScrollNotify : public INotify {
  public:
    virtual void OnHorzScroll(CScrollEvent *event) = 0;
    virtual void OnVertScroll(CScrollEvent *event) = 0;
};

class QUELT_API IContextMenuNotify : public INotify {
  public:
    virtual void OnContextMenu(CContextMenuEvent *event) = 0;
};

class QUELT_API ICustomEventNotify : public INotify {
  public:
    virtual void OnCustomEvent(CCustomEvent *event) = 0;
};

class QUELT_API ISystemNotify : public INotify {
  public:
    virtual void OnSysColorChanged(CEvent *event) = 0;
};

class QUELT_API ITimerNotify : public INotify {
  public:
    virtual void OnTimer(CTimerEvent *event) = 0;
};

class QUELT_API IEndThreadNotify : public INotify {
  public:
    virtual void OnEndThread(CEndThreadEvent *event) = 0;
};

class QUELT_API IClipboardChangeNotify : public INotify {
  public:
    virtual void OnClipboardChange(CClipboardChangeEvent *event) = 0;
};

class QUELT_API IScrollBarNotify : public INotify {
  public:
    virtual void ScrollBarOnScroll(CScrollEvent *event) = 0;
};

// --- default receivers ------------------------------------------------------

class QUELT_API CDrawingNotify : public CSubscriber<IDrawingNotify> {
  public:
    void OnDraw(IPainter *) override {}
};

class QUELT_API CWindowNotify : public CSubscriber<IWindowNotify> {
  public:
    void OnResize(CWindowEvent *) override {}
    void OnMove(CWindowEvent *) override {}
    void OnDestroy(CWindowEvent *) override {}
    void OnShow(CWindowEvent *) override {}
    void OnHide(CWindowEvent *) override {}
};

class QUELT_API CFocusNotify : public CSubscriber<IFocusNotify> {
  public:
    void OnGetFocus(CFocusEvent *) override {}
    void OnLostFocus(CFocusEvent *) override {}
};

class QUELT_API CMouseNotify : public CSubscriber<IMouseNotify> {
  public:
    void OnButtonDown(CMouseEvent *) override {}
    void OnButtonUp(CMouseEvent *) override {}
    void OnMouseMove(CMouseEvent *) override {}
    void OnWheel(CMouseWheelEvent *) override {}
};

class QUELT_API CMouseClickNotify : public CSubscriber<IMouseClickNotify> {
  public:
    void OnClick(CMouseEvent *) override {}
    void OnDoubleClick(CMouseEvent *) override {}
};

class QUELT_API CMouseHoverNotify : public CSubscriber<IMouseHoverNotify> {
  public:
    void OnHover(CMouseEvent *) override {}
    void OnLeave(CMouseEvent *) override {}
};

class QUELT_API CKeyboardNotify : public CSubscriber<IKeyboardNotify> {
  public:
    void OnKeyDown(CKeyboardEvent *) override {}
    void OnKeyUp(CKeyboardEvent *) override {}
    void OnChar(CKeyboardEvent *) override {}
};

class QUELT_API CTooltipNotify : public CSubscriber<ITooltipNotify> {
  public:
    void OnTooltip(CTooltipEvent *) override {}
    void OnTooltipTrack(CTooltipEvent *) override {}
};

class QUELT_API CScrollNotify : public CSubscriber<IScrollNotify> {
  public:
    void OnHorzScroll(CScrollEvent *) override {}
    void OnVertScroll(CScrollEvent *) override {}
};

class QUELT_API CContextMenuNotify : public CSubscriber<IContextMenuNotify> {
  public:
    void OnContextMenu(CContextMenuEvent *) override {}
};

class QUELT_API CCustomEventNotify : public CSubscriber<ICustomEventNotify> {
  public:
    void OnCustomEvent(CCustomEvent *) override {}
};

class QUELT_API CSystemNotify : public CSubscriber<ISystemNotify> {
  public:
    void OnSysColorChanged(CEvent *) override {}
};

class QUELT_API CTimerNotify : public CSubscriber<ITimerNotify> {
  public:
    void OnTimer(CTimerEvent *) override {}
};

class QUELT_API CEndThreadNotify : public CSubscriber<IEndThreadNotify> {
  public:
    void OnEndThread(CEndThreadEvent *) override {}
};

class QUELT_API CClipboardChangeNotify : public CSubscriber<IClipboardChangeNotify> {
  public:
    void OnClipboardChange(CClipboardChangeEvent *) override {}
};

class QUELT_API CScrollBarNotify : public CSubscriber<IScrollBarNotify> {
  public:
    void ScrollBarOnScroll(CScrollEvent *) override {}
};

// The receivers a window owns: each hands its events to the owner under a
// name of its own, so one class can receive two timers or two bars.
class QUELT_API CTooltipTimerNotify : public CTimerNotify {
  public:
    void OnTimer(CTimerEvent *event) override { OnTooltipTimer(event); }
    virtual void OnTooltipTimer(CTimerEvent *event) = 0;
};

class QUELT_API CHorzScrollBarNotify : public CScrollBarNotify {
  public:
    void ScrollBarOnScroll(CScrollEvent *event) override { HorzScrollBarOnScroll(event); }
    virtual void HorzScrollBarOnScroll(CScrollEvent *event) = 0;
};

class QUELT_API CVertScrollBarNotify : public CScrollBarNotify {
  public:
    void ScrollBarOnScroll(CScrollEvent *event) override { VertScrollBarOnScroll(event); }
    virtual void VertScrollBarOnScroll(CScrollEvent *event) = 0;
};

}  // namespace quelt
