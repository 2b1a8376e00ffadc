#pragma once

#include <cstddef>
#include <vector>

// The core test program replaces the global operator new/delete (in
// pool_test.cpp) to watch the heap traffic of the code under test.
namespace quelt::test {

// Number of operator new calls so far, of any size.
std::size_t AllocationCount();

// While alive, tracks the live heap blocks of exactly `size` bytes.
class WatchSize {
  public:
    explicit WatchSize(std::size_t size);
    ~WatchSize();
    WatchSize(const WatchSize &) = delete;
    WatchSize &operator=(const WatchSize &) = delete;

    // Blocks of the watched size allocated and not yet freed since the watch began.
    int Live() const;
    std::vector<const void *> Blocks() const;
    // Whether more blocks were live at once than the probe can track.
    bool Overflowed() const;
    // Whether p is one of them.
    bool IsLive(const void *p) const;
};

}  // namespace quelt::test
