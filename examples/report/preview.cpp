#include "preview.h"

#include <atomic>
#include <stdexcept>

#include <quelt/cairo/preview.h>

namespace report {

using namespace quelt;

namespace {

// How long one Pump slice may sleep while the worker records.
constexpr int kPumpSliceMs = 5;

// Hears the end of the preparation, raised on the worker's thread; it
// leaves the preview when it goes.
class PreparationEnd : public CPreviewNotify {
  public:
    void OnStopPreviewPrepare(CPreviewEvent *) override { m_ended = true; }
    bool Ended() const { return m_ended; }

  private:
    std::atomic<bool> m_ended{false};
};

}  // namespace

int PreparePreview(cairo::CairoSystem &system, CQueltPreview &preview, IPrintSupport &support) {
    PreparationEnd end;
    preview.Subscribe(end.AsNotify(), typeid(IPreviewNotify), true);
    cairo::CairoPreviewWorker worker(preview);
    if (!worker.Start(&support))
        throw std::runtime_error("preview: no worker thread to prepare the pages on");
    // The loop keeps running while the worker records, as a host's would.
    while (!end.Ended()) system.RunFor(kPumpSliceMs);
    // The end is raised just before the worker returns: wait for it, then let
    // the loop deliver the last posted pages to the preview.
    preview.GetWorkerThread()->Wait(-1);
    system.RunFor(0);
    return preview.GetPageCount();
}

}  // namespace report
