#include "quelt/core/dynlib.h"

#include <dlfcn.h>

#include <cstring>
#include <string>

namespace quelt {

namespace {

// The module's file name, empty when the name is missing or too long.
std::string FileName(const char *name) {
    if (!name) return {};
    static constexpr char suffix[] = ".so";
    const std::size_t length = std::strlen(name) + sizeof suffix;  // sizeof counts the terminator
    if (length > CDynamicLibrary::MaxFileName) return {};
    return std::string(name) + suffix;
}

}  // namespace

CDynamicLibrary::CDynamicLibrary(const char *name) {
    const std::string file = FileName(name);
    // RTLD_NOW: a missing dependency fails here rather than at the first call.
    if (!file.empty()) m_handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
}

CDynamicLibrary::~CDynamicLibrary() { Unload(); }

void *CDynamicLibrary::GetFunction(const char *name) {
    if (!IsLoaded() || !name) return nullptr;
    if (strnlen(name, MaxSymbolName) >= MaxSymbolName) return nullptr;
    return dlsym(m_handle, name);
}

bool CDynamicLibrary::IsLoaded() { return m_handle != nullptr; }

void CDynamicLibrary::Unload() {
    if (m_handle) dlclose(m_handle);
    m_handle = nullptr;
}

quelt_ptr<IDynamicLibrary> CreateDynamicLibrary(const char *name) {
    return quelt_ptr<IDynamicLibrary>(new CDynamicLibrary(name));
}

}  // namespace quelt
