#include "quelt/cairo/system.h"

#include <algorithm>
#include <cmath>

#include "quelt/cairo/picture.h"
#include "quelt/cairo/window.h"
#include "quelt/core/exceptions.h"

namespace quelt::cairo {

using Clock = std::chrono::steady_clock;

// ---- mouse ----

point<int> &CairoMouse::GetCursorPos(point<int> &pos) {
    pos = m_pos;
    return pos;
}

void CairoMouse::AddCursor(int id, int width, int height, const void *mask, const void *image, int, int) {
    if (!mask || !image || width <= 0 || height <= 0) throw BadCursorImage();
    m_cursors[id] = {width, height};
}

void CairoMouse::RemoveCursor(int id) { m_cursors.erase(id); }

// ---- timer ----

CairoTimer::CairoTimer(CairoSystem *system, int interval) : m_system(system), m_interval(interval) {
    AddEventType(typeid(ITimerNotify));
    m_system->m_timers.push_back(this);
}

CairoTimer::~CairoTimer() {
    if (!m_system) return;
    auto &timers = m_system->m_timers;
    timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
}

void CairoTimer::Enable(bool enable) {
    m_enabled = enable;
    if (enable) m_due = Clock::now() + std::chrono::milliseconds(std::max(m_interval, 1));
}

void CairoTimer::SetInterval(int interval) {
    m_interval = interval;
    if (m_enabled) m_due = Clock::now() + std::chrono::milliseconds(std::max(m_interval, 1));
}

void CairoTimer::Tick() {
    m_due = Clock::now() + std::chrono::milliseconds(std::max(m_interval, 1));
    CTimerEvent event(static_cast<IEventSender *>(this));
    Fire<&ITimerNotify::OnTimer>(&event, false);
}

// ---- thread ----

// What the worker and the loop share; it outlives the thread object when the end is posted late.
struct CairoThread::State {
    std::mutex mutex;
    std::condition_variable done;
    bool running = false;
    std::thread::id id;
    bool alive = true;  // the thread object still exists (guarded by mutex)
};

CairoThread::CairoThread(CairoSystem *system) : m_system(system), m_state(std::make_shared<State>()) {
    AddEventType(typeid(IEndThreadNotify));
}

CairoThread::~CairoThread() {
    Stop();
    if (m_thread.joinable()) {
        if (m_thread.get_id() == std::this_thread::get_id()) {
            m_thread.detach();
        } else {
            m_thread.join();
        }
    }
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->alive = false;
}

bool CairoThread::IsRunning() const {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->running;
}

bool CairoThread::Start(IRunnable *runnable, int mode) {
    if (!runnable || IsRunning()) return false;
    if (m_thread.joinable()) m_thread.join();
    m_stop = false;
    m_mode = mode;
    {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        m_state->running = true;
    }
    std::shared_ptr<State> state = m_state;
    CairoSystem *system = m_system;
    m_thread = std::thread([this, runnable, state, system] {
        {
            std::lock_guard<std::mutex> lock(state->mutex);
            state->id = std::this_thread::get_id();
        }
        runnable->Run(this);
        // The end is reported on the loop's thread, if the thread object is still there then.
        system->Post([this, state] {
            {
                std::lock_guard<std::mutex> lock(state->mutex);
                if (!state->alive) return;
            }
            CEndThreadEvent event(static_cast<IEventSender *>(this));
            Fire<&IEndThreadNotify::OnEndThread>(&event, false);
        });
        {
            std::lock_guard<std::mutex> lock(state->mutex);
            state->running = false;
        }
        state->done.notify_all();
    });
    return true;
}

void CairoThread::Wait(int timeout) {
    std::unique_lock<std::mutex> lock(m_state->mutex);
    if (!m_state->running || m_state->id == std::this_thread::get_id()) return;
    const auto finished = [this] { return !m_state->running; };
    if (timeout < 0) {
        m_state->done.wait(lock, finished);
    } else {
        m_state->done.wait_for(lock, std::chrono::milliseconds(timeout), finished);
    }
}

// ---- system ----

CairoSystem::CairoSystem(double dpi)
    : m_dpi(std::isfinite(dpi) && dpi > 0 ? dpi : 96), m_pPreviousPalette(GetSysPallete()) {
    SetSysPallete(&m_palette);
}

CairoSystem::~CairoSystem() {
    // Timers that outlive the loop never tick again.
    for (CairoTimer *timer : m_timers) timer->m_system = nullptr;
    if (GetSysPallete() == &m_palette) SetSysPallete(m_pPreviousPalette);
}

quelt_ptr<IThread> CairoSystem::CreateThread() { return quelt_ptr<IThread>(new CairoThread(this)); }

quelt_ptr<IMutex> CairoSystem::CreateMutex() { return quelt_ptr<IMutex>(new CairoMutex); }

quelt_ptr<ISysTimer> CairoSystem::CreateTimer(int interval, int) {
    return quelt_ptr<ISysTimer>(new CairoTimer(this, interval));
}

quelt_ptr<IVectorPicture> CairoSystem::CreateVectorPicture(int width, int height) {
    return quelt_ptr<IVectorPicture>(new CairoVectorPicture({width, height}));
}

int CairoSystem::GetSystemMetrics(int index) {
    switch (index) {
        case 0:
            return static_cast<int>(std::lround(16 * m_dpi / 96));
        case 1:
            return static_cast<int>(std::lround(m_dpi));
        default:
            return 0;
    }
}

int CairoSystem::GetDialogBaseUnits() const {
    const int horizontal = static_cast<int>(std::lround(8 * m_dpi / 96));
    const int vertical = static_cast<int>(std::lround(16 * m_dpi / 96));
    return (horizontal & 0xFFFF) | vertical << 16;
}

void CairoSystem::Post(std::function<void()> work) {
    {
        std::lock_guard<std::mutex> lock(m_postMutex);
        m_queue.push_back(std::move(work));
    }
    m_posted.notify_all();
}

int CairoSystem::Pump() {
    int done = 0;
    std::vector<std::function<void()>> work;
    {
        std::lock_guard<std::mutex> lock(m_postMutex);
        work.swap(m_queue);
    }
    for (auto &w : work) w();
    done += static_cast<int>(work.size());
    // A tick may create or destroy timers: each due one is looked up again before it ticks.
    const Clock::time_point now = Clock::now();
    const std::vector<CairoTimer *> timers = m_timers;
    for (CairoTimer *timer : timers) {
        if (std::find(m_timers.begin(), m_timers.end(), timer) == m_timers.end()) continue;
        if (!timer->m_enabled || timer->m_due > now) continue;
        timer->Tick();
        ++done;
    }
    const std::vector<CairoWindow *> windows = m_windows;
    for (CairoWindow *window : windows) {
        if (std::find(m_windows.begin(), m_windows.end(), window) == m_windows.end()) continue;
        done += window->PaintDamage() ? 1 : 0;
    }
    return done;
}

void CairoSystem::RunFor(int ms) {
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(std::max(ms, 0));
    for (;;) {
        Pump();
        const Clock::time_point now = Clock::now();
        if (now >= end) return;
        Clock::time_point wake = end;
        for (const CairoTimer *timer : m_timers)
            if (timer->m_enabled) wake = std::min(wake, timer->m_due);
        std::unique_lock<std::mutex> lock(m_postMutex);
        m_posted.wait_until(lock, wake, [this] { return !m_queue.empty(); });
    }
}

}  // namespace quelt::cairo
