#pragma once

#include <cstddef>
#include <memory>
#include <new>

#include "quelt/core/pool.h"

namespace quelt {

// Allocator of T elements over a Pool that it owns. The pool is made on the
// first allocation, so Reset() (which frees every piece at once) costs nothing
// until the next allocation makes a fresh pool.
template <class T>
class Pool_alloc {
  public:
    using value_type = T;

    explicit Pool_alloc(unsigned blockSize = 0x8000) : m_blockSize(blockSize) {}
    Pool_alloc(const Pool_alloc &) = delete;
    Pool_alloc &operator=(const Pool_alloc &) = delete;

    // Throws std::bad_alloc when count elements do not fit in one block.
    T *allocate(std::size_t count) {
        void *p = count <= max_size() ? pool().alloc(static_cast<unsigned>(count)) : nullptr;
        if (!p) throw std::bad_alloc();
        return static_cast<T *>(p);
    }

    // count must be what was allocated; null is ignored.
    void deallocate(T *p, std::size_t count) {
        if (p && m_pool) m_pool->dealloc(p, static_cast<unsigned>(count));
    }

    // The largest element count one allocation can serve.
    std::size_t max_size() const {
        return (m_blockSize > Pool::HeaderSize ? m_blockSize - Pool::HeaderSize : 0) / sizeof(T);
    }

    // Frees the pool with every piece in it.
    void Reset() { m_pool.reset(); }

    bool HasPool() const { return m_pool != nullptr; }

  private:
    Pool &pool() {
        if (!m_pool) m_pool = std::make_unique<Pool>(static_cast<unsigned>(sizeof(T)), m_blockSize);
        return *m_pool;
    }

    unsigned m_blockSize;
    std::unique_ptr<Pool> m_pool;
};

}  // namespace quelt
