#include "quelt/cairo/preview.h"

#include "quelt/cairo/window.h"

namespace quelt::cairo {

CairoPreviewWorker::CairoPreviewWorker(CQueltPreview &preview) : m_preview(preview) {
    m_preview.Subscribe(AsNotify(), typeid(IPreviewNotify), true);
}

CairoPreviewWorker::~CairoPreviewWorker() { m_preview.AbortPrepare(); }

bool CairoPreviewWorker::Start(IPrintSupport *support, IDrawingNotify *drawing) {
    auto *thread = dynamic_cast<CairoThread *>(m_preview.GetWorkerThread());
    if (!thread || !m_preview.SetPrintLater(support, drawing)) return false;
    // Mode 1 prints page by page where the support can; the print loop falls back by itself.
    return thread->Start(&m_preview, 1);
}

void CairoPreviewWorker::OnPagePrepare(CPreviewEvent *) { PostToWindow(); }

void CairoPreviewWorker::OnStopPreviewPrepare(CPreviewEvent *) { PostToWindow(); }

// Runs on the worker: only the post crosses to the loop.
void CairoPreviewWorker::PostToWindow() {
    if (auto *window = dynamic_cast<CairoWindow *>(m_preview.GetSysWindow()))
        window->PostCustomEvent(kPagesArrived);
}

}  // namespace quelt::cairo
