#pragma once

#include "quelt/core/base.h"
#include "quelt/core/config.h"

namespace quelt {

// A loaded module and the lookup of its exports.
class QUELT_API IDynamicLibrary : public CBase {
  public:
    // Address of the named export, null when not loaded or missing.
    virtual void *GetFunction(const char *name) = 0;
    virtual bool IsLoaded() = 0;
    // Releases the module; its function addresses become invalid.
    virtual void Unload() = 0;
};

// Loads "<name>.so" at construction; a failed load leaves it unloaded.
class QUELT_API CDynamicLibrary : public IDynamicLibrary {
  public:
    // File names up to this many characters, ".so" and terminator included.
    static constexpr unsigned MaxFileName = 260;
    // Symbol names up to this many bytes, terminator included.
    static constexpr unsigned MaxSymbolName = 512;

    explicit CDynamicLibrary(const char *name);
    ~CDynamicLibrary() override;
    // The handle is released once; a copy would release it twice.
    CDynamicLibrary(const CDynamicLibrary &) = delete;
    CDynamicLibrary &operator=(const CDynamicLibrary &) = delete;

    void *GetFunction(const char *name) override;
    bool IsLoaded() override;
    void Unload() override;

  private:
    void *m_handle = nullptr;
};

// Loads the module named name (without extension); never null, check IsLoaded().
QUELT_API quelt_ptr<IDynamicLibrary> CreateDynamicLibrary(const char *name);

}  // namespace quelt
