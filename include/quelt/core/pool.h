#pragma once

#include <cstdint>

#include "quelt/core/config.h"

namespace quelt {

// Block allocator for many short pieces (the data sets' 16-bit string cells).
// Pieces are handed out front to back from the newest block only, with no
// per-piece header or padding; a block goes back to the heap when its last
// piece is freed, and the newest block is reused from its start instead.
class QUELT_API Pool {
  public:
    Pool(unsigned elementSize, unsigned blockSize);
    ~Pool();
    Pool(const Pool &) = delete;
    Pool &operator=(const Pool &) = delete;

    // The largest request in bytes that can be served: block size minus the
    // block header, 0 when the block cannot hold more than its header.
    unsigned max_size() const;
    // count elements; null when the byte size exceeds 32 bits or max_size().
    void *alloc(unsigned count);
    void *char_alloc(unsigned bytes);
    // count is in elements, as for alloc; null and foreign pointers are ignored.
    void dealloc(void *p, unsigned count);

    // The share count only counts the holders of a shared pool (1 at
    // construction); the pool never frees itself. Whoever sees ReleaseShare()
    // return 0 destroys it. Both return the new count.
    int AddShare() { return ++m_share; }
    int ReleaseShare() { return --m_share; }
    int GetShareCount() const { return m_share; }

    // Bytes in front of each block's payload: the next-block pointer and the
    // live count, padded so the payload keeps pointer alignment.
    static constexpr unsigned HeaderSize =
        (sizeof(void *) + sizeof(std::int32_t) + alignof(void *) - 1) / alignof(void *) * alignof(void *);

  private:
    struct Block;

    void grow();
    char *payload(Block *b) const;
    char *end(Block *b) const;
    bool contains(Block *b, const void *p) const;

    Block *m_head = nullptr;
    char *m_free = nullptr;
    std::uint32_t m_elementSize;
    std::uint32_t m_blockSize;
    std::int32_t m_share = 1;
};

}  // namespace quelt
