#include "quelt/testing/system.h"

#include "quelt/testing/pictures.h"

#include <algorithm>
#include <chrono>

namespace quelt::testing {

using logtext::Call;

// --- mouse ---------------------------------------------------------------------

point<int> &ScriptedMouse::GetCursorPos(point<int> &pos) {
    m_pLog->Add(Call("mouse", "GetCursorPos"));
    pos = m_pos;
    return pos;
}

namespace {

// A one-bit-per-pixel mask: four bytes a row.
std::string Mask(const void *bits, int width, int height) {
    if (!bits || width <= 0 || height <= 0) return "-";
    const long long count = (static_cast<long long>(width) + 31) / 32 * 4 * height;
    std::string text = std::to_string(count);
    const auto *bytes = static_cast<const unsigned char *>(bits);
    for (long long i = 0; i < count; ++i) text += " " + std::to_string(bytes[i]);
    return text;
}

}  // namespace

void ScriptedMouse::AddCursor(int id, int width, int height, const void *mask, const void *image, int hotx,
                              int hoty) {
    m_pLog->Add(Call("mouse", "AddCursor", id, width, height) + " " + Mask(mask, width, height) + " " +
                Mask(image, width, height) + " " + logtext::Arg(hotx) + " " + logtext::Arg(hoty));
    m_cursors[id] = {width, height};
}

void ScriptedMouse::RemoveCursor(int id) {
    m_pLog->Add(Call("mouse", "RemoveCursor", id));
    m_cursors.erase(id);
}

// --- timer ---------------------------------------------------------------------

ScriptedTimer::ScriptedTimer(ScriptedSystem *system, int id, int interval)
    : m_pSystem(system), m_id(id), m_name("timer" + std::to_string(id)), m_interval(interval) {
    AddEventType(typeid(ITimerNotify));
    m_pSystem->m_timers[id] = this;
}

ScriptedTimer::~ScriptedTimer() {
    if (m_pSystem) m_pSystem->m_timers.erase(m_id);
}

void ScriptedTimer::Enable(bool enable) {
    if (m_pSystem) m_pSystem->Log().Add(Call(m_name, "Enable", enable));
    m_enabled = enable;
    if (enable && m_pSystem) m_due = m_pSystem->Now() + m_interval;
}

void ScriptedTimer::SetInterval(int interval) {
    if (m_pSystem) m_pSystem->Log().Add(Call(m_name, "SetInterval", interval));
    m_interval = interval;
    if (m_enabled && m_pSystem) m_due = m_pSystem->Now() + m_interval;
}

void ScriptedTimer::Tick() {
    m_due += m_interval;
    CTimerEvent event(static_cast<IEventSender *>(this));
    Fire<&ITimerNotify::OnTimer>(&event, true);
}

// --- mutex ---------------------------------------------------------------------

void ScriptedMutex::Lock() {
    m_pLog->Add(Call(m_name, "Lock"));
    m_mutex.lock();
}

void ScriptedMutex::Unlock() {
    m_pLog->Add(Call(m_name, "Unlock"));
    m_mutex.unlock();
}

// --- thread --------------------------------------------------------------------

ScriptedThread::ScriptedThread(ScriptedSystem *system, std::string name)
    : m_pSystem(system), m_name(std::move(name)) {
    AddEventType(typeid(IEndThreadNotify));
    m_pSystem->m_threads.push_back(this);
}

ScriptedThread::~ScriptedThread() {
    if (!m_pSystem) return;
    auto &threads = m_pSystem->m_threads;
    threads.erase(std::remove(threads.begin(), threads.end(), this), threads.end());
}

void ScriptedThread::Wait(int timeout) {
    if (m_pSystem) m_pSystem->Log().Add(Call(m_name, "Wait", timeout));
    std::unique_lock<std::mutex> lock(m_runMutex);
    if (!m_running || m_runner == std::this_thread::get_id()) return;
    const auto ended = [this] { return !m_running; };
    if (timeout < 0)
        m_runEnded.wait(lock, ended);
    else
        m_runEnded.wait_for(lock, std::chrono::milliseconds(timeout), ended);
}

bool ScriptedThread::IsRunning() const {
    std::lock_guard<std::mutex> lock(m_runMutex);
    return m_running;
}

void ScriptedThread::Stop() {
    if (m_pSystem) m_pSystem->Log().Add(Call(m_name, "Stop"));
    m_stopRequested = true;
}

void ScriptedThread::Start(IRunnable *runnable) {
    std::lock_guard<std::mutex> lock(m_runMutex);
    m_pRunnable = runnable;
    m_stopRequested = false;
}

void ScriptedThread::Run() {
    IRunnable *runnable = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_runMutex);
        runnable = m_pRunnable;
        m_pRunnable = nullptr;
        m_running = true;
        m_runner = std::this_thread::get_id();
    }
    if (runnable) runnable->Run(this);
    CEndThreadEvent event(static_cast<IEventSender *>(this));
    Fire<&IEndThreadNotify::OnEndThread>(&event, true);
    std::lock_guard<std::mutex> lock(m_runMutex);
    m_running = false;
    m_runner = std::thread::id();
    m_runEnded.notify_all();
}

// --- system --------------------------------------------------------------------

ScriptedSystem::ScriptedSystem(std::shared_ptr<CallLog> log) : m_pLog(std::move(log)), m_mouse(m_pLog) {}

ScriptedSystem::~ScriptedSystem() {
    *m_pAlive = false;
    for (auto &entry : m_timers) entry.second->m_pSystem = nullptr;
    for (ScriptedThread *thread : m_threads) thread->m_pSystem = nullptr;
}

ISysMouse *ScriptedSystem::GetMouse() {
    m_pLog->Add(Call("system", "GetMouse"));
    return &m_mouse;
}

quelt_ptr<IThread> ScriptedSystem::CreateThread() {
    m_pLog->Add(Call("system", "CreateThread"));
    return quelt_ptr<IThread>(new ScriptedThread(this, "thread" + std::to_string(m_nextThread++)));
}

quelt_ptr<IMutex> ScriptedSystem::CreateMutex() {
    m_pLog->Add(Call("system", "CreateMutex"));
    return quelt_ptr<IMutex>(new ScriptedMutex(m_pLog, "mutex" + std::to_string(m_nextMutex++)));
}

quelt_ptr<ISysTimer> ScriptedSystem::CreateTimer(int interval, int kind) {
    m_pLog->Add(Call("system", "CreateTimer", interval, kind));
    return quelt_ptr<ISysTimer>(new ScriptedTimer(this, m_nextTimer++, interval));
}

IPrinter *ScriptedSystem::GetPrinter() {
    m_pLog->Add(Call("system", "GetPrinter"));
    return m_pPrinter;
}

quelt_ptr<IVectorPicture> ScriptedSystem::CreateVectorPicture(int width, int height) {
    m_pLog->Add(Call("system", "CreateVectorPicture", width, height));
    return quelt_ptr<IVectorPicture>(new RecordingVectorPicture(size<int>(width, height)));
}

int ScriptedSystem::GetSystemMetrics(int index) {
    m_pLog->Add(Call("system", "GetSystemMetrics", index));
    const auto it = m_metrics.find(index);
    return it == m_metrics.end() ? 0 : it->second;
}

std::vector<ScriptedTimer *> ScriptedSystem::Timers() const {
    std::vector<ScriptedTimer *> timers;
    for (const auto &entry : m_timers) timers.push_back(entry.second);
    return timers;
}

void ScriptedSystem::Advance(int ms) {
    const long long end = m_now + std::max(ms, 0);
    for (;;) {
        // The next firing: the earliest due time, then the oldest timer.
        ScriptedTimer *next = nullptr;
        for (const auto &entry : m_timers) {
            ScriptedTimer *timer = entry.second;
            if (!timer->m_enabled || timer->m_interval <= 0 || timer->m_due > end) continue;
            if (!next || timer->m_due < next->m_due) next = timer;
        }
        if (!next) break;
        m_now = next->m_due;
        // A handler may stop, restart or delete the timer; Tick touches nothing after firing.
        next->Tick();
    }
    m_now = end;
}

// --- installation ----------------------------------------------------------------

InstalledSystem::InstalledSystem() : m_pSystem(new ScriptedSystem), m_alive(m_pSystem->AliveToken()) {
    SetCurrentSystem(m_pSystem);
}

InstalledSystem::~InstalledSystem() {
    if (m_alive.expired()) return;
    if (GetCurrentSystem() == m_pSystem) {
        SetCurrentSystem(nullptr);
    } else {
        delete m_pSystem;
    }
}

}  // namespace quelt::testing
