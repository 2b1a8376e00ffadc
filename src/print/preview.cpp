#include "quelt/print/preview.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <vector>

#include "quelt/paint/attributes.h"
#include "quelt/paint/painter.h"
#include "quelt/sys/notify.h"
#include "quelt/sys/window.h"

namespace quelt {

namespace {

constexpr int kMinScale = 10;
constexpr int kMaxScale = 500;
constexpr int kMaxGap = 15;
constexpr int kLine = 15;
// Room the whole-page view keeps for a horizontal scroll bar.
constexpr int kBarRoom = 16;
constexpr int kArrowCursor = 1;
constexpr int kZoomOutCursor = 31;
constexpr int kZoomInCursor = 32;
constexpr int kColorMetric = 9;

int BoundingScale(double scale) {
    if (!(scale >= kMinScale)) return kMinScale;
    return scale >= kMaxScale ? kMaxScale : static_cast<int>(scale);
}

int ClampInt(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }

// Pixels per millimetre of the window along one axis; 0 when unknown.
double WindowPixelsPerMM(const ISysWindow *window, ICanvas::CanvasMetrics px, ICanvas::CanvasMetrics mm) {
    if (!window) return 0;
    const int pixels = window->GetCanvasMetrics(px);
    const int millimetres = window->GetCanvasMetrics(mm);
    return pixels > 0 && millimetres > 0 ? static_cast<double>(pixels) / millimetres : 0;
}

// A 32 x 32 magnifier: a square lens with a minus (zoom out) or a plus.
struct CursorImage {
    std::array<unsigned char, 128> mask{};
    std::array<unsigned char, 128> image{};
};

CursorImage MakeCursor(bool plus) {
    CursorImage c;
    auto set = [](std::array<unsigned char, 128> &bits, int x, int y) {
        bits[static_cast<size_t>(y * 4 + x / 8)] |= static_cast<unsigned char>(0x80 >> (x % 8));
    };
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const bool lens = x <= 20 && y <= 20;
            const bool handle = x > 20 && y > 20 && std::abs(x - y) <= 2;
            if (lens || handle) set(c.mask, x, y);
            const bool edge = lens && (x == 0 || y == 0 || x == 20 || y == 20);
            const bool bar = y == 10 && x >= 5 && x <= 15;
            const bool stem = plus && x == 10 && y >= 5 && y <= 15;
            if (edge || handle || bar || stem) set(c.image, x, y);
        }
    }
    return c;
}

}  // namespace

std::atomic<int> CQueltPreview::PreviewCount{0};

IPrintPreview::~IPrintPreview() = default;

// The page grid in client pixels, all from the current settings.
struct CQueltPreview::Layout {
    long long width = 0;   // one page
    long long height = 0;  // one page
    int pages = 0;
    int columns = 1;
    int rows = 0;
    long long totalW = 0;
    long long totalH = 0;
    long long clientW = 0;
    long long clientH = 0;
    double ppmx = 0;
    double ppmy = 0;
};

CQueltPreview::CQueltPreview(ISysWindow *window)
    : CQueltControl(window, true), m_printer(window), m_windowThread(std::this_thread::get_id()) {
    AddEventType(typeid(IPreviewNotify));
    m_printer.Subscribe(static_cast<CPrinterNotify &>(*this).AsNotify(), typeid(IPrinterNotify), true);
    if (ISystem *system = GetCurrentSystem()) m_pThread = system->CreateThread();
    BuildMenu();
    if (PreviewCount++ == 0 && GetMouse()) {
        const CursorImage out = MakeCursor(false);
        const CursorImage in = MakeCursor(true);
        GetMouse()->AddCursor(kZoomOutCursor, 32, 32, out.mask.data(), out.image.data(), 10, 10);
        GetMouse()->AddCursor(kZoomInCursor, 32, 32, in.mask.data(), in.image.data(), 10, 10);
    }
}

CQueltPreview::~CQueltPreview() {
    AbortPrepare();
    m_pThread.reset();
    m_printer.ReleasePicturies();
    m_pMenu.reset();
    if (--PreviewCount == 0 && GetCurrentSystem() && GetMouse()) {
        GetMouse()->RemoveCursor(kZoomOutCursor);
        GetMouse()->RemoveCursor(kZoomInCursor);
    }
}

void CQueltPreview::BuildMenu() {
    ISysWindow *window = GetSysWindow();
    if (!window) return;
    m_pMenu = window->CreatePopupMenu();
    if (!m_pMenu) return;
    for (int percent : {200, 150, 100, 75, 50, 25, 10})
        m_pMenu->AppendItem(percent, Utf8ToWide(std::to_string(percent) + "%"));
    m_pMenu->AppendSeparator();
    m_pMenu->AppendItem(1, Utf8ToWide("Whole Page"));
    m_pMenu->AppendItem(2, Utf8ToWide("Page Width"));
    m_pMenu->Subscribe(static_cast<CMenuNotify &>(*this).AsNotify(), typeid(IMenuNotify), true);
}

// --- preparation -----------------------------------------------------------------------

void CQueltPreview::AbortPrepare() {
    m_stop = true;
    if (!m_pThread) return;
    m_pThread->Stop();
    m_pThread->Wait(-1);
}

bool CQueltPreview::Reconfigure(IPrintSupport *support, IDrawingNotify *drawing) {
    if (support == m_pSupport && drawing == m_pDrawing) return false;
    // The preparing thread itself can only ask its own loop to stop.
    if (m_preparing && m_preparer.load() == std::this_thread::get_id()) {
        m_stop = true;
        return false;
    }
    // Also a worker started for the old document that has not begun yet.
    AbortPrepare();
    m_stop = false;
    m_pSupport = support;
    m_pDrawing = drawing;
    m_printer.ReleasePicturies();
    if (m_page != 0) {
        m_page = 0;
        CPreviewEvent event(Self(), 0);
        NotifyOnCurrentPageChange(&event);
    }
    if (!support && !drawing) {
        Invalidate();
        return false;
    }
    return true;
}

void CQueltPreview::SetPrint(IPrintSupport *support, IDrawingNotify *drawing) {
    if (!Reconfigure(support, drawing)) return;
    Prepare();
    if (!support && drawing && GetPageCount() > 0 && GetWidth() > 0 && GetHeight() > 0) {
        // A drawing is one sheet: show it whole, recomputed even when already so.
        m_view = WholePage;
        Relayout();
    }
}

bool CQueltPreview::SetPrintLater(IPrintSupport *support, IDrawingNotify *drawing) {
    return Reconfigure(support, drawing);
}

void CQueltPreview::Prepare() {
    IVectorPicture *picture = m_printer.GetDrawedPicture();
    IPainter *painter = picture ? picture->TakeDefPainter() : nullptr;
    if (!painter) {
        m_printer.ReleasePicturies();
        return;
    }
    painter->SetClearColor(painter->GetColorMode() ? _color(252, 252, 252, 255) : _color());
    painter->SetColorMode(m_printer.GetCanvasMetrics(static_cast<ICanvas::CanvasMetrics>(kColorMetric)) == 1);
    IPrintSupport *support = m_pSupport;
    // A document of no pages records none.
    if (support && support->IsPrintSupport(true) && support->GetPageCount(&m_printer) == 0) {
        m_printer.ReleasePicturies();
        return;
    }
    m_preparer = std::this_thread::get_id();
    PrintPages(support, m_pDrawing, painter, &m_printer, true);
}

void CQueltPreview::Run(IThread *thread) {
    const int mode = thread ? thread->GetMode() : 0;
    if (mode != 1 && mode != 2) return;
    try {
        m_printer.ReleasePicturies();
        Prepare();
    } catch (...) {
        m_preparing = false;
    }
}

void CQueltPreview::OnStartPrint(CPrinterEvent *event) {
    if (event->GetSource() != static_cast<IEventSender *>(&m_printer)) return;
    m_preparing = true;
    CPreviewEvent e(Self(), event->GetPageNumber());
    NotifyOnStartPreviewPrepare(&e);
}

void CQueltPreview::OnPagePrint(CPagePrintEvent *event) {
    if (event->GetSource() != static_cast<IEventSender *>(&m_printer)) return;
    UpdatePageParameters();
    CPreviewEvent e(Self(), event->GetPageNumber());
    NotifyOnPagePrepare(&e);
    if (m_stop) event->Abort();
}

void CQueltPreview::OnStopPrint(CPrinterEvent *event) {
    if (event->GetSource() != static_cast<IEventSender *>(&m_printer)) return;
    m_preparing = false;
    m_preparer = std::thread::id();
    UpdatePageParameters();
    CPreviewEvent e(Self(), event->GetPageNumber());
    NotifyOnStopPreviewPrepare(&e);
}

void CQueltPreview::UpdatePageParameters() {
    if (!OnWindowThread()) {
        m_layoutStale = true;
        return;
    }
    if (GetWidth() <= 0 || GetHeight() <= 0) return;
    if (m_view != Custom) RecalcScale();
    Relayout();
}

// --- layout ----------------------------------------------------------------------------

CQueltPreview::Layout CQueltPreview::ComputeLayout() const {
    Layout l;
    ISysWindow *window = GetSysWindow();
    l.pages = GetPageCount();
    l.clientW = std::max(0, GetWidth());
    l.clientH = std::max(0, GetHeight());
    l.ppmx = WindowPixelsPerMM(window, ICanvas::WidthPixels, ICanvas::WidthMillimetres);
    l.ppmy = WindowPixelsPerMM(window, ICanvas::HeightPixels, ICanvas::HeightMillimetres);
    const size<int> paper = const_cast<CPreviewPrinter &>(m_printer).GetOrientedPaperMM();
    l.width = static_cast<long long>(paper.cx * l.ppmx * m_scale / 100);
    l.height = static_cast<long long>(paper.cy * l.ppmy * m_scale / 100);
    const long long cell = l.width + m_gap;
    if (cell > 0 && l.pages > 0)
        l.columns = static_cast<int>(std::clamp<long long>((l.clientW - m_gap) / cell, 1, l.pages));
    l.rows = l.pages > 0 ? (l.pages + l.columns - 1) / l.columns : 0;
    l.totalW = m_gap + static_cast<long long>(l.columns) * cell;
    l.totalH = m_gap + static_cast<long long>(l.rows) * (l.height + m_gap);
    return l;
}

void CQueltPreview::RecalcScale() {
    ISysWindow *window = GetSysWindow();
    const double ppm = WindowPixelsPerMM(window, ICanvas::WidthPixels, ICanvas::WidthMillimetres);
    const double clientW = GetWidth();
    const double clientH = GetHeight();
    if (ppm <= 0 || clientW <= 0 || clientH <= 0 || GetPageCount() == 0) return;
    const size<int> paper = m_printer.GetOrientedPaperMM();
    const double paperW = paper.cx * ppm;
    if (!(paperW > 0) || paper.cy <= 0) return;
    const double ratio = static_cast<double>(paper.cy) / paper.cx;
    double available = clientW - 2.0 * m_gap;
    if (m_view == WholePage && !(clientH / clientW > ratio))
        available = (clientH - 2.0 * m_gap - kBarRoom) / ratio;
    m_scale = BoundingScale(available * 100 / paperW);
    if (m_scale < 100) {
        m_zoomOut = m_scale;
        if (m_view == WholePage) m_zoomOutTarget = TargetFit;
    } else {
        m_zoomIn = m_scale;
        if (m_view == PageWidth) m_zoomInTarget = TargetFit;
    }
}

int CQueltPreview::GetPaperLeft() const {
    const Layout l = ComputeLayout();
    if (l.totalW <= l.clientW) {
        const long long grid = l.totalW - 2LL * m_gap;
        return ClampInt(std::max<long long>(m_gap, (l.clientW - grid) / 2));
    }
    return ClampInt(m_gap + static_cast<long long>(m_offsetX));
}

void CQueltPreview::RecalcPagePos() {
    const Layout l = ComputeLayout();
    m_offsetY = ClampInt(std::clamp<long long>(m_offsetY, std::min<long long>(0, l.clientH - l.totalH), 0));
    m_offsetX = ClampInt(std::clamp<long long>(m_offsetX, std::min<long long>(0, l.clientW - l.totalW), 0));
}

void CQueltPreview::RecalcScrollBars() {
    ISysWindow *window = GetSysWindow();
    if (!window) return;
    const Layout l = ComputeLayout();
    ScrollInfo vert(0, static_cast<double>(l.totalH), kLine, static_cast<double>(l.clientH), 0);
    vert.pos = -m_offsetY;
    window->SetScrollInfo(ISysWindow::VertScroll, vert);
    ScrollInfo horz(0, static_cast<double>(l.totalW), kLine, static_cast<double>(l.clientW), 0);
    horz.pos = -m_offsetX;
    window->SetScrollInfo(ISysWindow::HorzScroll, horz);
}

void CQueltPreview::Relayout() {
    RecalcPagePos();
    RecalcScrollBars();
    RecalcPagePos();
    UpdateCursor();
    Invalidate();
}

int CQueltPreview::PageAt(int x, int y) const {
    const Layout l = ComputeLayout();
    if (l.pages == 0 || l.width <= 0 || l.height <= 0) return -1;
    const long long dx = static_cast<long long>(x) - GetPaperLeft();
    const long long dy = static_cast<long long>(y) - m_gap - m_offsetY;
    if (dx < 0 || dy < 0) return -1;
    const long long column = dx / (l.width + m_gap);
    const long long row = dy / (l.height + m_gap);
    if (column >= l.columns || dx % (l.width + m_gap) > l.width || dy % (l.height + m_gap) > l.height)
        return -1;
    const long long page = row * l.columns + column;
    return page < l.pages ? static_cast<int>(page) : -1;
}

void CQueltPreview::UpdateCursor() {
    ISysWindow *window = GetSysWindow();
    if (!window || !GetMouse()) return;
    point<int> pos;
    GetMouse()->GetCursorPos(pos);
    window->ScreenToClient(pos);
    int cursor = kArrowCursor;
    if (PageAt(pos.x, pos.y) >= 0) cursor = m_scale == m_zoomIn ? kZoomOutCursor : kZoomInCursor;
    if (cursor == m_cursor) return;
    m_cursor = cursor;
    window->SetCursor(cursor);
}

// --- settings ---------------------------------------------------------------------------

int CQueltPreview::GetPageCount() const { return m_printer.GetPageCount(); }

void CQueltPreview::SetPage(int page) {
    const int count = GetPageCount();
    if (count == 0) return;
    page = std::clamp(page, 0, count - 1);
    if (page == m_page) return;
    m_page = page;
    CPreviewEvent event(Self(), page);
    NotifyOnCurrentPageChange(&event);
    Invalidate();
}

void CQueltPreview::SetPageView(PageView view) {
    if (view == Custom || view == m_view) return;
    m_view = view;
    RecalcScale();
    Relayout();
}

void CQueltPreview::SetScale(int percent) {
    const int scale = BoundingScale(percent);
    if (scale == m_scale) return;
    const long long gap = static_cast<long long>(scale) * m_gap / std::max(1, m_scale);
    const long long least = static_cast<long long>(m_borderWidth) + m_shadowOffset + 2;
    m_gap = ClampInt(std::max<long long>(std::min<long long>(gap, kMaxGap), least));
    m_view = Custom;
    m_scale = scale;
    if (scale >= 100) {
        m_zoomIn = scale;
        m_zoomInTarget = TargetCustom;
    } else {
        m_zoomOut = scale;
        m_zoomOutTarget = TargetCustom;
    }
    m_offsetX = 0;
    m_offsetY = 0;
    Relayout();
}

void CQueltPreview::SetColor(_color &stored, const _color &color) {
    if (stored == color) return;
    stored = color;
    Invalidate();
}

void CQueltPreview::SetShadowOffset(int offset) {
    offset = std::max(0, offset);
    if (offset == m_shadowOffset) return;
    m_shadowOffset = offset;
    Invalidate();
}

void CQueltPreview::SetPaperBorderWidth(int width) {
    width = std::max(0, width);
    if (width == m_borderWidth) return;
    m_borderWidth = width;
    Invalidate();
}

// --- input ---------------------------------------------------------------------------------

void CQueltPreview::OnResize(CWindowEvent *event) {
    CQueltControl::OnResize(event);
    UpdatePageParameters();
}

void CQueltPreview::OnShow(CWindowEvent *event) {
    CQueltControl::OnShow(event);
    UpdatePageParameters();
}

void CQueltPreview::OnCustomEvent(CCustomEvent *event) {
    CQueltControl::OnCustomEvent(event);
    if (m_layoutStale.exchange(false)) UpdatePageParameters();
}

void CQueltPreview::ScrollVert(long long offset) {
    const int old = m_offsetY;
    m_offsetY = ClampInt(offset);
    RecalcPagePos();
    if (m_offsetY == old) return;
    RecalcScrollBars();
    Invalidate();
}

void CQueltPreview::ScrollHorz(long long offset) {
    const int old = m_offsetX;
    m_offsetX = ClampInt(offset);
    RecalcPagePos();
    if (m_offsetX == old) return;
    RecalcScrollBars();
    Invalidate();
}

namespace {

// The offset a scroll action asks for on an axis of page extent page.
long long ScrollTarget(const CScrollEvent &event, long long offset, long long page) {
    switch (event.GetAction()) {
        case CScrollEvent::LineUp:
            return offset + kLine;
        case CScrollEvent::LineDown:
            return offset - kLine;
        case CScrollEvent::PageUp:
            return offset + page;
        case CScrollEvent::PageDown:
            return offset - page;
        default:
            break;
    }
    const double v = event.GetVal();
    if (!std::isfinite(v)) return offset;
    return -static_cast<long long>(std::clamp(v, -1e15, 1e15));
}

}  // namespace

void CQueltPreview::OnVertScroll(CScrollEvent *event) {
    CQueltControl::OnVertScroll(event);
    ScrollVert(ScrollTarget(*event, m_offsetY, std::max(0, GetHeight())));
}

void CQueltPreview::OnHorzScroll(CScrollEvent *event) {
    CQueltControl::OnHorzScroll(event);
    ScrollHorz(ScrollTarget(*event, m_offsetX, std::max(0, GetWidth())));
}

void CQueltPreview::OnWheel(CMouseWheelEvent *event) {
    CQueltControl::OnWheel(event);
    ScrollVert(static_cast<long long>(m_offsetY) + event->GetDelta() / 2);
}

void CQueltPreview::OnKeyDown(CKeyboardEvent *event) {
    CQueltControl::OnKeyDown(event);
    struct Key {
        int code;
        bool vertical;
        CScrollEvent::ScrollAction action;
    };
    static constexpr Key keys[] = {{38, true, CScrollEvent::LineUp},  {40, true, CScrollEvent::LineDown},
                                   {37, false, CScrollEvent::LineUp}, {39, false, CScrollEvent::LineDown},
                                   {33, true, CScrollEvent::PageUp},  {34, true, CScrollEvent::PageDown}};
    for (const Key &key : keys) {
        if (key.code != event->GetVirtualKey()) continue;
        CScrollEvent scroll(Self(), key.action, 0);
        if (key.vertical)
            OnVertScroll(&scroll);
        else
            OnHorzScroll(&scroll);
        RecalcScrollBars();
        UpdateCursor();
        return;
    }
}

void CQueltPreview::OnMouseMove(CMouseEvent *event) {
    CQueltControl::OnMouseMove(event);
    ISysWindow *window = GetSysWindow();
    if (!window) return;
    int cursor = kArrowCursor;
    if (PageAt(event->GetX(), event->GetY()) >= 0)
        cursor = m_scale == m_zoomIn ? kZoomOutCursor : kZoomInCursor;
    if (cursor == m_cursor) return;
    m_cursor = cursor;
    window->SetCursor(cursor);
}

void CQueltPreview::OnClick(CMouseEvent *event) {
    CQueltControl::OnClick(event);
    if (event->GetMouseButton() != button::Left || PageAt(event->GetX(), event->GetY()) < 0) return;
    ZoomAt(event->GetX(), event->GetY());
}

void CQueltPreview::ZoomAt(int x, int y) {
    const int oldScale = m_scale;
    const int oldY = m_offsetY;
    const int oldX = m_offsetX;
    const bool zoomOut = m_scale == m_zoomIn;
    const bool fit = zoomOut ? m_zoomOutTarget == TargetFit : m_zoomInTarget == TargetFit;
    const PageView fitView = zoomOut ? WholePage : PageWidth;
    const int target = zoomOut ? m_zoomOut : m_zoomIn;
    if (fit ? m_view == fitView : (m_view == Custom && m_scale == target)) return;
    if (fit) {
        m_view = fitView;
        RecalcScale();
    } else {
        SetScale(target);
    }
    // The paper point under the mouse stays under it.
    const double ratio = static_cast<double>(m_scale) / std::max(1, oldScale);
    m_offsetY = ClampInt(static_cast<long long>(y - (y - static_cast<double>(oldY)) * ratio));
    m_offsetX = ClampInt(static_cast<long long>(x - (x - static_cast<double>(oldX)) * ratio));
    Relayout();
    CScaleChangeByMouseEvent event(Self(), m_scale, m_view);
    NotifyOnChangeScale(&event);
}

void CQueltPreview::OnContextMenu(CContextMenuEvent *event) {
    CQueltControl::OnContextMenu(event);
    if (m_pMenu) m_pMenu->Show(event->x, event->y);
}

void CQueltPreview::OnClicked(CMenuEvent *event) {
    const int id = event->GetId();
    const int count = GetPageCount();
    if (id >= 10) {
        SetScale(id);
    } else if (id == 1) {
        SetPageView(WholePage);
    } else if (id == 2) {
        SetPageView(PageWidth);
    } else if (id == 3 && count > 0) {
        SetPage(m_page + 1 >= count ? 0 : m_page + 1);
    } else if (id == 4 && count > 0) {
        SetPage(m_page <= 0 ? count - 1 : m_page - 1);
    }
}

// --- drawing -----------------------------------------------------------------------------

void CQueltPreview::OnDraw(IPainter *painter) {
    CQueltControl::OnDraw(painter);
    if (!painter) return;
    if (m_layoutStale.exchange(false)) UpdatePageParameters();
    painter->SetClearColor(_color());
    painter->BeginPaint(IPainter::SettingsPreview);
    const Layout l = ComputeLayout();
    const auto fillBackground = [&] {
        if (m_background.IsColorUndefined()) return;
        painter->SetPen(pen(m_background, 0, pen::Solid));
        painter->SetBrush(brush(m_background, brush::Solid));
        painter->FillRect(0, 0, static_cast<double>(l.clientW), static_cast<double>(l.clientH));
    };
    // The pages stay locked while drawn: a worker preparing anew releases them.
    IMutex *mutex = m_printer.GetPicturesMutex();
    const long long left = GetPaperLeft();
    if (mutex) mutex->Lock();
    const std::vector<IVectorPicture *> pages = m_printer.GetPagesUnlocked();
    if (pages.empty() || l.width <= 0 || l.height <= 0 || l.clientW <= 0 || l.clientH <= 0) {
        if (mutex) mutex->Unlock();
        fillBackground();
        painter->EndPaint();
        return;
    }
    // Scroll first: the strip the move exposes is painted by this pass too.
    ISysWindow *window = GetSysWindow();
    if (window && m_offsetY != m_drawnOffsetY)
        window->DoScrollContent(0, ClampInt(static_cast<long long>(m_offsetY) - m_drawnOffsetY), 0, 0,
                                ClampInt(l.clientW), ClampInt(l.clientH));
    m_drawnOffsetY = m_offsetY;
    fillBackground();
    const size<int> lt = m_printer.GetMargins(false);
    const size<int> rb = m_printer.GetMargins(true);
    const double zoom = m_scale / 100.0;
    const int count = std::min<int>(static_cast<int>(pages.size()), l.columns * l.rows);
    for (int i = 0; i < count; ++i) {
        const long long x = left + static_cast<long long>(i % l.columns) * (l.width + m_gap);
        const long long y = m_gap + static_cast<long long>(i / l.columns) * (l.height + m_gap) + m_offsetY;
        if (y > l.clientH || y + l.height + m_shadowOffset + 1 < 0) continue;
        const double x1 = static_cast<double>(x), y1 = static_cast<double>(y);
        const double x2 = x1 + static_cast<double>(l.width), y2 = y1 + static_cast<double>(l.height);
        painter->SetPen(pen(m_paperBorder, m_borderWidth, pen::Solid));
        painter->SetBrush(brush(m_paper, brush::Solid));
        painter->Rectangle(x1, y1, x2, y2);
        if (m_shadowOffset > 0) {
            const double s = m_shadowOffset;
            painter->SetPen(pen(m_shadow, 0, pen::Solid));
            painter->SetBrush(brush(m_shadow, brush::Solid));
            painter->FillRect(x2 + 1, y1 + s + 1, x2 + s, y2 + s);
            painter->FillRect(x1 + s + 1, y2 + 1, x2 + s, y2 + s);
        }
        const double il = x1 + lt.cx * l.ppmx * zoom, it = y1 + lt.cy * l.ppmy * zoom;
        const double ir = x2 - rb.cx * l.ppmx * zoom, ib = y2 - rb.cy * l.ppmy * zoom;
        if (il < ir && it < ib) painter->DrawVectorPicture(pages[static_cast<size_t>(i)], il, it, ir, ib);
    }
    if (mutex) mutex->Unlock();
    painter->EndPaint();
}

int CQueltPreview::GetPageCount(IPrinter *) const { return GetPageCount(); }

void CQueltPreview::OnPrintPage(IPainter *painter, IPrinter *, int page) {
    IVectorPicture *picture = m_printer.GetPage(page);
    if (!painter || !picture) return;
    const screen_rectangle<int> r = painter->GetPaintRect();
    painter->DrawVectorPicture(picture, r.left, r.top, r.right, r.bottom);
}

// --- notifications ---------------------------------------------------------------------

void CQueltPreview::NotifyOnStartPreviewPrepare(CPreviewEvent *event) {
    Fire<&IPreviewNotify::OnStartPreviewPrepare>(event, true);
}
void CQueltPreview::NotifyOnStopPreviewPrepare(CPreviewEvent *event) {
    Fire<&IPreviewNotify::OnStopPreviewPrepare>(event, true);
}
void CQueltPreview::NotifyOnCurrentPageChange(CPreviewEvent *event) {
    Fire<&IPreviewNotify::OnCurrentPageChange>(event, true);
}
void CQueltPreview::NotifyOnPagePrepare(CPreviewEvent *event) {
    Fire<&IPreviewNotify::OnPagePrepare>(event, true);
}
void CQueltPreview::NotifyOnChangeScale(CScaleChangeByMouseEvent *event) {
    Fire<&IPreviewNotify::OnChangeScale>(event, true);
}

}  // namespace quelt
