#include "quelt/sys/system.h"

#include <atomic>

namespace quelt {

namespace {
std::atomic<ISystem *> g_currentSystem{nullptr};
}  // namespace

ISysMouse::~ISysMouse() = default;
IRunnable::~IRunnable() = default;
ISystem::~ISystem() = default;
IHandle::~IHandle() = default;

int IThread::GetMode() const { return 0; }

CSystem::~CSystem() {
    ISystem *self = this;
    g_currentSystem.compare_exchange_strong(self, nullptr);
}

quelt_ptr<IDynamicLibrary> CSystem::LoadDynLibrary(const char *name) { return CreateDynamicLibrary(name); }

double CSystem::GetDBUScale() const { return static_cast<double>((GetDialogBaseUnits() & 0xFFFF) >> 3); }

int CSystem::GetDialogBaseUnits() const { return 8 | (16 << 16); }

ISystem *GetCurrentSystem() { return g_currentSystem.load(); }

void SetCurrentSystem(const ISystem *system) {
    if (system) {
        g_currentSystem.store(const_cast<ISystem *>(system));
        return;
    }
    // The global is null before the delete, so a destructor that asks finds none.
    delete g_currentSystem.exchange(nullptr);
}

}  // namespace quelt
