#pragma once

// A headless system: no display, a loop the host pumps. Timers run on a
// steady clock and tick inside Pump(); other threads hand work to the loop
// through Post(); windows repaint what was invalidated on the next Pump().

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "quelt/cairo/palette.h"
#include "quelt/sys/notify.h"
#include "quelt/sys/system.h"

namespace quelt::cairo {

class CairoSystem;
class CairoWindow;

// The virtual mouse: the host (or a window's injected gestures) puts it
// somewhere, in screen coordinates.
class CairoMouse : public ISysMouse {
  public:
    point<int> &GetCursorPos(point<int> &pos) override;
    // A mask of 4 bytes a row, high bit leftmost; a null mask or image, or a size <= 0, throws
    // BadCursorImage.
    void AddCursor(int id, int width, int height, const void *mask, const void *image, int hotx,
                   int hoty) override;
    void RemoveCursor(int id) override;

    void SetPos(int x, int y) { m_pos = {x, y}; }
    bool HasCursor(int id) const { return m_cursors.count(id) != 0; }

  private:
    point<int> m_pos;
    std::map<int, size<int>> m_cursors;
};

// A periodic timer of the loop; ticks only inside Pump().
class CairoTimer : public CImplEventSender<ISysTimer> {
  public:
    CairoTimer(CairoSystem *system, int interval);
    // Leaves the loop.
    ~CairoTimer() override;
    void Enable(bool enable) override;
    void SetInterval(int interval) override;
    bool IsEnabled() const { return m_enabled; }

  private:
    friend class CairoSystem;
    void Tick();

    CairoSystem *m_system;
    int m_interval;
    bool m_enabled = false;
    std::chrono::steady_clock::time_point m_due;
};

// A non-recursive std::mutex.
class CairoMutex : public IMutex {
  public:
    void Lock() override { m_mutex.lock(); }
    void Unlock() override { m_mutex.unlock(); }

  private:
    std::mutex m_mutex;
};

// A std::thread running a runnable; its end is posted back to the loop,
// where it raises IEndThreadNotify.
class CairoThread : public IThread, public CImplEventSender<> {
  public:
    explicit CairoThread(CairoSystem *system);
    // Asks the thread to stop and waits for it.
    ~CairoThread() override;
    // Runs runnable->Run(this) on a new thread, GetMode() answering mode
    // meanwhile; false while one still runs.
    bool Start(IRunnable *runnable, int mode = 1);
    int GetMode() const override { return m_mode; }
    // Returns at once when the thread is not running or is the caller.
    void Wait(int timeout) override;
    void Stop() override { m_stop = true; }
    bool IsStopRequested() const { return m_stop; }
    bool IsRunning() const;

  private:
    struct State;
    CairoSystem *m_system;
    std::shared_ptr<State> m_state;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_mode{0};
};

// Installs its palette for its lifetime, then gives back the one it replaced. Metrics and dialog base units
// follow the DPI: a scroll bar is round(16 x dpi / 96) pixels thick.
class CairoSystem : public CSystem {
  public:
    explicit CairoSystem(double dpi = 96);
    ~CairoSystem() override;

    ISysMouse *GetMouse() override { return &m_mouse; }
    quelt_ptr<IThread> CreateThread() override;
    quelt_ptr<IMutex> CreateMutex() override;
    quelt_ptr<ISysTimer> CreateTimer(int interval, int kind) override;
    // The printer the host set (it stays the host's); null until then.
    IPrinter *GetPrinter() override { return m_printer; }
    void SetPrinter(IPrinter *printer) { m_printer = printer; }
    quelt_ptr<IVectorPicture> CreateVectorPicture(int width, int height) override;
    // 0 the scroll-bar thickness, 1 the dots per inch; others 0.
    int GetSystemMetrics(int index) override;

    double GetDpi() const { return m_dpi; }
    CairoMouse &Mouse() { return m_mouse; }
    CairoSysPalette &Palette() { return m_palette; }

    // Runs what is due: posted work, timers, then repaints. Returns the number of things done.
    int Pump();
    // Pumps for ms milliseconds, sleeping while nothing is due.
    void RunFor(int ms);
    // Thread-safe: work for the loop's thread.
    void Post(std::function<void()> work);

  protected:
    int GetDialogBaseUnits() const override;

  private:
    friend class CairoTimer;
    friend class CairoWindow;

    double m_dpi;
    IPrinter *m_printer = nullptr;
    CairoMouse m_mouse;
    CairoSysPalette m_palette;
    ISysPalette *m_pPreviousPalette;
    std::vector<CairoTimer *> m_timers;
    std::vector<CairoWindow *> m_windows;
    CairoWindow *m_focused = nullptr;
    std::mutex m_postMutex;
    std::condition_variable m_posted;
    std::vector<std::function<void()>> m_queue;
};

}  // namespace quelt::cairo
