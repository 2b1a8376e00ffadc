#pragma once

// The headless in-place controls drawn plainly into their parent CairoWindow:
// each control paints itself into a child window of the parent that covers
// its bounds (columns left..right-1, rows top..bottom-1), so it never paints
// outside them and a saved PNG of the parent shows it. State, operations and
// gestures are those of the headless controls; a change repaints on the
// system's next Pump().

#include <functional>

#include "quelt/cairo/window.h"
#include "quelt/controls/headless.h"

namespace quelt::cairo {

// The process-wide clipboard text of the Cairo platform.
wstring &CairoClipboard();

// A child window that something draws itself into. A made pane is the
// pane's (it goes with it); an adopted one stays its parent's. Either is
// forgotten when its parent destroys it first.
class CairoPane : private CDrawingNotify, private CWindowNotify {
  public:
    using Painter = std::function<void(IPainter &painter, int width, int height)>;

    CairoPane(CairoWindow *parent, Painter paint);
    CairoPane(ISysWindow *adopted, Painter paint);
    ~CairoPane() override;
    CairoPane(const CairoPane &) = delete;
    CairoPane &operator=(const CairoPane &) = delete;

    // Places the pane over the inclusive area of the parent's client, shows
    // or hides it, and repaints it; an empty area hides it.
    void Place(const screen_rectangle<int> &area, bool visible);
    void Redraw();
    // Null when it went away.
    CairoWindow *Window() const { return m_window; }

  private:
    void Attach(ISysWindow *window);
    void OnDraw(IPainter *painter) override;
    void OnDestroy(CWindowEvent *event) override;

    CairoWindow *m_window = nullptr;
    Painter m_paint;
    bool m_owned;
};

// A headless control drawn by Paint into its pane.
template <class Native>
class CairoControl : public Native {
  public:
    explicit CairoControl(CairoWindow *parent)
        : m_pane(parent,
                 [this](IPainter &painter, int width, int height) { Paint(painter, width, height); }) {
        Changed();
    }
    CairoWindow *GetPaneWindow() const { return m_pane.Window(); }

  protected:
    void Changed() override {
        const screen_rectangle<int> &b = this->Bounds();
        m_pane.Place({b.left, b.top, b.right - 1, b.bottom - 1}, this->IsVisible());
    }
    virtual void Paint(IPainter &painter, int width, int height) = 0;

  private:
    CairoPane m_pane;
};

// A sunken white field with the text, its selection and (focused) the caret;
// a multi-line edit shows the text's lines from the top.
class CairoEdit : public CairoControl<CHeadlessEdit> {
  public:
    explicit CairoEdit(CairoWindow *parent, bool multiLine = false)
        : CairoControl(parent), m_multiLine(multiLine) {}
    bool IsMultiLine() const { return m_multiLine; }

  protected:
    wstring &Clipboard() override { return CairoClipboard(); }
    void Paint(IPainter &painter, int width, int height) override;

  private:
    bool m_multiLine;
};

// The edit field with a drop button; dropped down, the list opens in a pane
// of its own below the box, the current item highlighted.
class CairoComboBox : public CairoControl<CHeadlessComboBox> {
  public:
    explicit CairoComboBox(CairoWindow *parent);
    static constexpr int ItemHeight = 18;
    CairoWindow *GetListWindow() const { return m_list.Window(); }

  protected:
    wstring &Clipboard() override { return CairoClipboard(); }
    void Changed() override;
    void Paint(IPainter &painter, int width, int height) override;

  private:
    void PaintList(IPainter &painter, int width, int height);

    CairoPane m_list;
};

// Items in rows of ItemHeight, the current one highlighted.
class CairoListBox : public CairoControl<CHeadlessListBox> {
  public:
    using CairoControl::CairoControl;
    static constexpr int ItemHeight = 18;

  protected:
    void Paint(IPainter &painter, int width, int height) override;
};

class CairoLabel : public CairoControl<CHeadlessLabel> {
  public:
    using CairoControl::CairoControl;

  protected:
    void Paint(IPainter &painter, int width, int height) override;
};

// An etched frame with the caption on its top edge.
class CairoGroupBox : public CairoControl<CHeadlessGroupBox> {
  public:
    using CairoControl::CairoControl;

  protected:
    void Paint(IPainter &painter, int width, int height) override;
};

// A raised face with the caption centred; the default button has a dark ring.
class CairoButton : public CairoControl<CHeadlessButton> {
  public:
    using CairoControl::CairoControl;

  protected:
    void Paint(IPainter &painter, int width, int height) override;
};

// A box with a check mark, then the caption.
class CairoCheckBox : public CairoControl<CHeadlessCheckBox> {
  public:
    using CairoControl::CairoControl;

  protected:
    void Paint(IPainter &painter, int width, int height) override;
};

// A circle with a dot, then the caption.
class CairoRadioButton : public CairoControl<CHeadlessRadioButton> {
  public:
    using CairoControl::CairoControl;

  protected:
    void Paint(IPainter &painter, int width, int height) override;
};

}  // namespace quelt::cairo
