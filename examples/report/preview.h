#pragma once

// Preparing a print preview's pages as a host with an event loop does: the
// platform's worker thread records them while the loop goes on pumping, and
// the preview lays out each batch of pages the worker posts back.

#include <quelt/cairo/system.h>
#include <quelt/quelt.h>

namespace report {

// Records support's pages for preview on the preview's worker thread,
// pumping system's loop until the last page has reached the preview. The
// preview must live on a CairoWindow of system. Returns the page count;
// std::runtime_error when the platform has no worker to prepare them on.
int PreparePreview(quelt::cairo::CairoSystem &system, quelt::CQueltPreview &preview,
                   quelt::IPrintSupport &support);

}  // namespace report
