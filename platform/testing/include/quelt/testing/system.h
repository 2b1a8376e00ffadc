#pragma once

#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "quelt/core/events.h"
#include "quelt/sys/notify.h"
#include "quelt/sys/system.h"
#include "quelt/testing/calllog.h"

namespace quelt::testing {

class ScriptedSystem;
class ScriptedWindow;

// The mouse: the test puts it where it wants (screen coordinates).
class ScriptedMouse : public ISysMouse {
  public:
    explicit ScriptedMouse(std::shared_ptr<CallLog> log) : m_pLog(std::move(log)) {}
    point<int> &GetCursorPos(point<int> &pos) override;
    void AddCursor(int id, int width, int height, const void *mask, const void *image, int hotx,
                   int hoty) override;
    void RemoveCursor(int id) override;

    void SetPos(int x, int y) { m_pos = {x, y}; }
    bool HasCursor(int id) const { return m_cursors.count(id) != 0; }

  private:
    std::shared_ptr<CallLog> m_pLog;
    point<int> m_pos;
    std::map<int, point<int>> m_cursors;  // id -> size
};

// A timer on the system's fake clock: enabled, it fires every interval
// milliseconds of Advance(). A timer whose interval is not positive never fires.
class ScriptedTimer : public CImplEventSender<ISysTimer> {
  public:
    ScriptedTimer(ScriptedSystem *system, int id, int interval);
    ~ScriptedTimer() override;
    void Enable(bool enable) override;
    void SetInterval(int interval) override;

    bool IsEnabled() const { return m_enabled; }
    int GetInterval() const { return m_interval; }
    const std::string &GetName() const { return m_name; }

  private:
    friend class ScriptedSystem;
    void Tick();

    ScriptedSystem *m_pSystem;
    int m_id;
    std::string m_name;
    int m_interval;
    bool m_enabled = false;
    long long m_due = 0;
};

// A real mutex that logs from whichever thread uses it.
class ScriptedMutex : public IMutex {
  public:
    ScriptedMutex(std::shared_ptr<CallLog> log, std::string name)
        : m_pLog(std::move(log)), m_name(std::move(name)) {}
    void Lock() override;
    void Unlock() override;

  private:
    std::shared_ptr<CallLog> m_pLog;
    std::string m_name;
    std::mutex m_mutex;
};

// A thread that runs its runnable on the caller's thread when the test says
// Run(); it then raises IEndThreadNotify. A test may call Run() from a thread
// of its own: Wait then blocks until that run ends (or the timeout passes),
// and returns at once when nothing runs or the runner itself waits.
class ScriptedThread : public IThread, public CImplEventSender<> {
  public:
    ScriptedThread(ScriptedSystem *system, std::string name);
    ~ScriptedThread() override;
    void Wait(int timeout) override;
    void Stop() override;
    int GetMode() const override { return m_mode; }

    // Binds the work the next Run() does.
    void Start(IRunnable *runnable);
    void Run();
    void SetMode(int mode) { m_mode = mode; }
    bool IsStopRequested() const { return m_stopRequested; }
    bool IsRunning() const;
    const std::string &GetName() const { return m_name; }

  private:
    friend class ScriptedSystem;
    ScriptedSystem *m_pSystem;
    std::string m_name;
    IRunnable *m_pRunnable = nullptr;
    std::atomic<int> m_mode{0};
    std::atomic<bool> m_stopRequested{false};
    mutable std::mutex m_runMutex;
    std::condition_variable m_runEnded;
    bool m_running = false;
    std::thread::id m_runner;
};

// A system whose services the test drives: a fake clock with timers, a mouse,
// threads, mutexes, settable metrics and dialog base units. Every call the
// library makes is a line of Log(); windows made while it is current log
// there too.
class ScriptedSystem : public CSystem {
  public:
    explicit ScriptedSystem(std::shared_ptr<CallLog> log = std::make_shared<CallLog>());
    ~ScriptedSystem() override;

    ISysMouse *GetMouse() override;
    quelt_ptr<IThread> CreateThread() override;
    quelt_ptr<IMutex> CreateMutex() override;
    quelt_ptr<ISysTimer> CreateTimer(int interval, int kind) override;
    IPrinter *GetPrinter() override;
    quelt_ptr<IVectorPicture> CreateVectorPicture(int width, int height) override;
    int GetSystemMetrics(int index) override;

    CallLog &Log() { return *m_pLog; }
    const std::shared_ptr<CallLog> &SharedLog() const { return m_pLog; }

    // The fake clock, in milliseconds. Advance fires the due timers in time
    // order (ties in creation order), each as often as it falls due.
    long long Now() const { return m_now; }
    void Advance(int ms);
    ScriptedMouse &Mouse() { return m_mouse; }
    void SetMousePos(int x, int y) { m_mouse.SetPos(x, y); }
    // Metric 0 (the scroll-bar thickness) starts at 16; others at 0.
    void SetSystemMetrics(int index, int value) { m_metrics[index] = value; }
    // Horizontal unit in the low 16 bits.
    void SetDialogBaseUnits(int units) { m_dialogBaseUnits = units; }
    // The live timers and threads, in creation order.
    std::vector<ScriptedTimer *> Timers() const;
    std::vector<ScriptedThread *> Threads() const { return m_threads; }
    // What GetPrinter answers (borrowed; null by default).
    void SetPrinter(IPrinter *printer) { m_pPrinter = printer; }
    // The window with the keyboard focus, or null.
    ScriptedWindow *GetFocusedWindow() const { return m_pFocused; }

    // A token that turns false when the system goes.
    std::weak_ptr<bool> AliveToken() const { return m_pAlive; }

  protected:
    int GetDialogBaseUnits() const override { return m_dialogBaseUnits; }

  private:
    friend class ScriptedTimer;
    friend class ScriptedThread;
    friend class ScriptedWindow;

    std::shared_ptr<CallLog> m_pLog;
    ScriptedMouse m_mouse;
    long long m_now = 0;
    int m_nextTimer = 1;
    int m_nextThread = 1;
    int m_nextMutex = 1;
    std::map<int, ScriptedTimer *> m_timers;
    std::vector<ScriptedThread *> m_threads;
    std::map<int, int> m_metrics{{0, 16}};
    int m_dialogBaseUnits = 8 | (16 << 16);
    ScriptedWindow *m_pFocused = nullptr;
    IPrinter *m_pPrinter = nullptr;
    std::shared_ptr<bool> m_pAlive = std::make_shared<bool>(true);
};

// Installs a new scripted system for its lifetime, then uninstalls (and so
// destroys) it, unless it was destroyed meanwhile.
class InstalledSystem {
  public:
    InstalledSystem();
    ~InstalledSystem();
    InstalledSystem(const InstalledSystem &) = delete;
    InstalledSystem &operator=(const InstalledSystem &) = delete;

    ScriptedSystem &operator*() const { return *m_pSystem; }
    ScriptedSystem *operator->() const { return m_pSystem; }
    ScriptedSystem *Get() const { return m_pSystem; }

  private:
    ScriptedSystem *m_pSystem;
    std::weak_ptr<bool> m_alive;
};

}  // namespace quelt::testing
