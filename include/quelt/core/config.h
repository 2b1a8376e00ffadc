#pragma once

#include <cstdint>

// The headers need C++17 or later; the build system of the consumer picks which.
#if __cplusplus < 201703L
#error "quelt needs C++17 or later (-std=c++17, -std=c++20, ...)"
#endif

// Only what carries QUELT_API leaves the shared library; everything else is
// built with hidden visibility.
#if defined(_WIN32)
#if defined(QUELT_BUILDING_LIBRARY)
#define QUELT_API __declspec(dllexport)
#else
#define QUELT_API __declspec(dllimport)
#endif
#else
#define QUELT_API __attribute__((visibility("default")))
#endif

namespace quelt {

// The library's text is 16-bit whatever the width of the platform's wchar_t.
using wchar = unsigned short;
using int64 = std::int64_t;

}  // namespace quelt
