#pragma once

// The process-wide services a platform module supplies, and the one current
// system through which the library reaches them.

#include "quelt/core/base.h"
#include "quelt/core/config.h"
#include "quelt/core/dynlib.h"
#include "quelt/core/events.h"
#include "quelt/paint/geometry.h"
#include "quelt/paint/picture.h"

namespace quelt {

class IPrinter;

class QUELT_API ISysMouse {
  public:
    virtual ~ISysMouse();
    // Stores the mouse position, in screen coordinates, in pos and returns it.
    virtual point<int> &GetCursorPos(point<int> &pos) = 0;
    // Registers a cursor image under id; masks are one bit per pixel.
    virtual void AddCursor(int id, int width, int height, const void *mask, const void *image, int hotx,
                           int hoty) = 0;
    virtual void RemoveCursor(int id) = 0;
};

// A platform timer; while enabled it raises ITimerNotify on the user-interface thread.
class QUELT_API ISysTimer : public CBase, public IEventSender {
  public:
    virtual void Enable(bool enable) = 0;
    // The period in milliseconds.
    virtual void SetInterval(int interval) = 0;
};

class QUELT_API IMutex : public CBase {
  public:
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
};

class IThread;

// Work a platform thread runs.
class QUELT_API IRunnable {
  public:
    virtual ~IRunnable();
    virtual void Run(IThread *thread) = 0;
};

class QUELT_API IThread : public CBase {
  public:
    // Waits for the thread to finish, at most timeout milliseconds (-1 without a limit).
    virtual void Wait(int timeout) = 0;
    // Asks the thread to finish; never blocks.
    virtual void Stop() = 0;
    // What the runnable is to do; 0 unless the platform says otherwise.
    virtual int GetMode() const;
};

class QUELT_API ISystem {
  public:
    virtual ~ISystem();
    // Not owned.
    virtual ISysMouse *GetMouse() = 0;
    virtual quelt_ptr<IThread> CreateThread() = 0;
    virtual quelt_ptr<IMutex> CreateMutex() = 0;
    // A new stopped timer.
    virtual quelt_ptr<ISysTimer> CreateTimer(int interval, int kind) = 0;
    // The default printer, not owned.
    virtual IPrinter *GetPrinter() = 0;
    virtual quelt_ptr<IVectorPicture> CreateVectorPicture(int width, int height) = 0;
    // Index 0: the thickness of a scroll bar in pixels.
    virtual int GetSystemMetrics(int index) = 0;
    virtual quelt_ptr<IDynamicLibrary> LoadDynLibrary(const char *name) = 0;
    virtual double GetDBUScale() const = 0;
};

// The two services that need no platform knowledge.
class QUELT_API CSystem : public ISystem {
  public:
    CSystem() = default;
    // Clears the current system when it still names this one.
    ~CSystem() override;
    CSystem(const CSystem &) = delete;
    CSystem &operator=(const CSystem &) = delete;

    quelt_ptr<IDynamicLibrary> LoadDynLibrary(const char *name) override;
    // The horizontal dialog base unit divided by 8 (integer division).
    double GetDBUScale() const override;

  protected:
    // Horizontal unit in the low 16 bits, vertical in the high 16.
    virtual int GetDialogBaseUnits() const;
};

// Null until a platform module installs one.
QUELT_API ISystem *GetCurrentSystem();
// A system makes it current (the old one stays its owner's); null destroys
// the current one.
QUELT_API void SetCurrentSystem(const ISystem *system);

// A library object that owns a native window; the window keeps it so the
// platform can find the owner.
class QUELT_API IHandle {
  public:
    virtual ~IHandle();
    virtual void *GetHandle() const = 0;
};

}  // namespace quelt
