#pragma once

// The print preview: a visual control that records a printable object's
// pages through its own preview printer and shows them on paper-like sheets
// with zoom, paging, scrolling and a zoom menu.

#include <atomic>
#include <thread>

#include "quelt/controls/menu.h"
#include "quelt/controls/notify.h"
#include "quelt/core/base.h"
#include "quelt/core/config.h"
#include "quelt/core/events.h"
#include "quelt/paint/color.h"
#include "quelt/paint/geometry.h"
#include "quelt/print/previewprinter.h"
#include "quelt/print/printer.h"
#include "quelt/sys/system.h"
#include "quelt/visual/control.h"

namespace quelt {

// --- records and notifications ----------------------------------------------

class QUELT_API CPreviewEvent : public CEvent {
  public:
    CPreviewEvent(IEventSender *source, int page) : CEvent(source), m_page(page) {}
    int GetPageNumber() const { return m_page; }

  private:
    int m_page;
};

class QUELT_API CScaleChangeByMouseEvent : public CEvent {
  public:
    CScaleChangeByMouseEvent(IEventSender *source, int scale, int view)
        : CEvent(source), m_scale(scale), m_view(view) {}
    int GetScale() const { return m_scale; }
    int GetView() const { return m_view; }

  private:
    int m_scale;
    int m_view;
};

class QUELT_API IPreviewNotify : public INotify {
  public:
    virtual void OnCurrentPageChange(CPreviewEvent *event) = 0;
    virtual void OnStartPreviewPrepare(CPreviewEvent *event) = 0;
    virtual void OnStopPreviewPrepare(CPreviewEvent *event) = 0;
    virtual void OnPagePrepare(CPreviewEvent *event) = 0;
    virtual void OnChangeScale(CScaleChangeByMouseEvent *event) = 0;
};

class QUELT_API CPreviewNotify : public CSubscriber<IPreviewNotify> {
  public:
    void OnCurrentPageChange(CPreviewEvent *) override {}
    void OnStartPreviewPrepare(CPreviewEvent *) override {}
    void OnStopPreviewPrepare(CPreviewEvent *) override {}
    void OnPagePrepare(CPreviewEvent *) override {}
    void OnChangeScale(CScaleChangeByMouseEvent *) override {}
};

// --- the control ---------------------------------------------------------------------

class QUELT_API IPrintPreview {
  public:
    enum PageView : int { WholePage = 0, PageWidth = 1, Custom = 2 };

    virtual ~IPrintPreview();
    virtual void AbortPrepare() = 0;
    virtual int GetPageCount() const = 0;
    virtual void SetPage(int page) = 0;
    virtual int GetPage() = 0;
    virtual void SetPageView(PageView view) = 0;
    virtual PageView GetPageView() = 0;
    virtual void SetScale(int percent) = 0;
    virtual int GetScale() = 0;
    virtual void SetPrint(IPrintSupport *support, IDrawingNotify *drawing) = 0;
    virtual void SetBackgroundColor(const _color &color) = 0;
    virtual _color GetBackgroundColor() = 0;
    virtual void SetPaperColor(const _color &color) = 0;
    virtual _color GetPaperColor() = 0;
    virtual void SetPaperBorderColor(const _color &color) = 0;
    virtual _color GetPaperBorderColor() = 0;
    virtual void SetShadowColor(const _color &color) = 0;
    virtual _color GetShadowColor() = 0;
    virtual void SetShadowOffset(int offset) = 0;
    virtual int GetShadowOffset() const = 0;
    virtual void SetPaperBorderWidth(int width) = 0;
    virtual int GetPaperBorderWidth() const = 0;
};

// Pages are prepared by SetPrint on the calling thread, or again by Run on
// whichever thread the platform's worker runs it; while a worker prepares,
// the window-side layout waits for the next draw on the window's thread.
class QUELT_API CQueltPreview : public CQueltControl,
                                public IPrintPreview,
                                public CMenuNotify,
                                public CPrinterNotify,
                                public IRunnable {
  public:
    explicit CQueltPreview(ISysWindow *window);
    // Stops a running preparation first.
    ~CQueltPreview() override;
    CQueltPreview(const CQueltPreview &) = delete;
    CQueltPreview &operator=(const CQueltPreview &) = delete;

    // --- IPrintPreview
    void AbortPrepare() override;
    int GetPageCount() const override;
    void SetPage(int page) override;
    int GetPage() override { return m_page; }
    void SetPageView(PageView view) override;
    PageView GetPageView() override { return m_view; }
    void SetScale(int percent) override;
    int GetScale() override { return m_scale; }
    void SetPrint(IPrintSupport *support, IDrawingNotify *drawing) override;
    // Stores like SetPrint and releases the pages, but records none: the
    // platform's worker prepares them by calling Run. False when there is
    // nothing new to prepare.
    bool SetPrintLater(IPrintSupport *support, IDrawingNotify *drawing);
    void SetBackgroundColor(const _color &color) override { SetColor(m_background, color); }
    _color GetBackgroundColor() override { return m_background; }
    void SetPaperColor(const _color &color) override { SetColor(m_paper, color); }
    _color GetPaperColor() override { return m_paper; }
    void SetPaperBorderColor(const _color &color) override { SetColor(m_paperBorder, color); }
    _color GetPaperBorderColor() override { return m_paperBorder; }
    void SetShadowColor(const _color &color) override { SetColor(m_shadow, color); }
    _color GetShadowColor() override { return m_shadow; }
    // Negative values count as 0.
    void SetShadowOffset(int offset) override;
    int GetShadowOffset() const override { return m_shadowOffset; }
    void SetPaperBorderWidth(int width) override;
    int GetPaperBorderWidth() const override { return m_borderWidth; }

    CPreviewPrinter &GetPreviewPrinter() { return m_printer; }
    // Null without a window or when the platform makes no menu.
    IPopupMenu *GetContextMenu() const { return m_pMenu.get(); }
    bool IsPreparing() const { return m_preparing; }
    // The platform's worker object, made at construction; null without a system.
    IThread *GetWorkerThread() const { return m_pThread.get(); }
    int GetGap() const { return m_gap; }
    // The vertical paper offset (0 at the top, negative when scrolled down).
    int GetScrollOffset() const { return m_offsetY; }
    // The page grid's left edge in client pixels.
    int GetPaperLeft() const;

    // --- window handlers
    void OnDraw(IPainter *painter) override;
    void OnResize(CWindowEvent *event) override;
    void OnClick(CMouseEvent *event) override;
    void OnVertScroll(CScrollEvent *event) override;
    void OnHorzScroll(CScrollEvent *event) override;
    void OnWheel(CMouseWheelEvent *event) override;
    void OnMouseMove(CMouseEvent *event) override;
    void OnKeyDown(CKeyboardEvent *event) override;
    void OnShow(CWindowEvent *event) override;
    void OnContextMenu(CContextMenuEvent *event) override;
    void OnCustomEvent(CCustomEvent *event) override;
    // A command of the context menu.
    void OnClicked(CMenuEvent *event) override;

    // --- the preview printer's events
    void OnStartPrint(CPrinterEvent *event) override;
    void OnStopPrint(CPrinterEvent *event) override;
    void OnPagePrint(CPagePrintEvent *event) override;

    // --- the preview prints its recorded pages
    bool IsPrintSupport(bool) override { return true; }
    int GetPageCount(IPrinter *printer) const override;
    void OnPrintPage(IPainter *painter, IPrinter *printer, int page) override;

    // Prepares the stored print support again on the calling thread (modes 1
    // and 2; any other mode does nothing). Catches everything.
    void Run(IThread *thread) override;

  protected:
    void NotifyOnStartPreviewPrepare(CPreviewEvent *event);
    void NotifyOnStopPreviewPrepare(CPreviewEvent *event);
    void NotifyOnCurrentPageChange(CPreviewEvent *event);
    void NotifyOnPagePrepare(CPreviewEvent *event);
    void NotifyOnChangeScale(CScaleChangeByMouseEvent *event);

  private:
    struct Layout;
    enum Target : int { TargetFit, TargetCustom };

    void SetColor(_color &stored, const _color &color);
    // Stops a preparation and stores the new source; true when it is to be prepared.
    bool Reconfigure(IPrintSupport *support, IDrawingNotify *drawing);
    void Prepare();
    void UpdatePageParameters();
    bool OnWindowThread() const { return std::this_thread::get_id() == m_windowThread; }
    Layout ComputeLayout() const;
    void RecalcScale();
    void RecalcPagePos();
    void RecalcScrollBars();
    void UpdateCursor();
    void Relayout();
    void ScrollVert(long long offset);
    void ScrollHorz(long long offset);
    void ZoomAt(int x, int y);
    // The page under a client point, or -1.
    int PageAt(int x, int y) const;
    void BuildMenu();

    static std::atomic<int> PreviewCount;

    CPreviewPrinter m_printer;
    IPrintSupport *m_pSupport = nullptr;
    IDrawingNotify *m_pDrawing = nullptr;
    quelt_ptr<IPopupMenu> m_pMenu;
    quelt_ptr<IThread> m_pThread;
    std::thread::id m_windowThread;
    std::atomic<bool> m_preparing{false};
    std::atomic<bool> m_stop{false};
    // Pages arrived off the window's thread: the next draw lays them out.
    std::atomic<bool> m_layoutStale{false};
    std::atomic<std::thread::id> m_preparer{};
    int m_page = 0;
    PageView m_view = WholePage;
    int m_scale = 100;
    int m_zoomIn = 100;
    int m_zoomOut = 50;
    Target m_zoomInTarget = TargetCustom;
    Target m_zoomOutTarget = TargetFit;
    _color m_background;
    _color m_paper = _color(255, 255, 255, 255);
    _color m_shadow = _color(0, 0, 0, 255);
    _color m_paperBorder = _color(0, 0, 0, 255);
    int m_shadowOffset = 3;
    int m_borderWidth = 1;
    int m_gap = 10;
    // Paper offsets: vertical within [min(0, client - total), 0], horizontal alike.
    int m_offsetX = 0;
    int m_offsetY = 0;
    int m_drawnOffsetY = 0;
    int m_cursor = -1;
};

}  // namespace quelt
