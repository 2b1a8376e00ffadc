#pragma once

// A print preview whose pages are recorded on its worker std::thread while
// the loop goes on drawing: each page the worker records posts a custom
// event to the preview's window, and on the loop's thread the preview lays
// the new pages out and repaints them on the next Pump().

#include "quelt/print/preview.h"

namespace quelt::cairo {

class CairoPreviewWorker : public CPreviewNotify {
  public:
    // The custom event a recorded page posts to the window.
    static constexpr int kPagesArrived = 0x5052;

    // The preview must live on a CairoWindow of the current CairoSystem and outlive this object.
    explicit CairoPreviewWorker(CQueltPreview &preview);
    // Stops the preparation and waits for it.
    ~CairoPreviewWorker() override;
    CairoPreviewWorker(const CairoPreviewWorker &) = delete;
    CairoPreviewWorker &operator=(const CairoPreviewWorker &) = delete;

    // Prepares support (page by page when it can, else in one call) or the
    // drawing on the worker. False when there is nothing new to prepare or
    // no worker to do it.
    bool Start(IPrintSupport *support, IDrawingNotify *drawing = nullptr);

    void OnPagePrepare(CPreviewEvent *event) override;
    void OnStopPreviewPrepare(CPreviewEvent *event) override;

  private:
    void PostToWindow();

    CQueltPreview &m_preview;
};

}  // namespace quelt::cairo
