#include "quelt/core/pool.h"

#include <cstdint>
#include <limits>
#include <new>

namespace quelt {

struct Pool::Block {
    Block *next;
    std::int32_t live;
};

static_assert(Pool::HeaderSize % alignof(void *) == 0, "payloads keep pointer alignment");

Pool::Pool(unsigned elementSize, unsigned blockSize) : m_elementSize(elementSize), m_blockSize(blockSize) {}

Pool::~Pool() {
    while (m_head) {
        Block *next = m_head->next;
        ::operator delete(m_head);
        m_head = next;
    }
}

unsigned Pool::max_size() const { return m_blockSize > HeaderSize ? m_blockSize - HeaderSize : 0; }

char *Pool::payload(Block *b) const { return reinterpret_cast<char *>(b) + HeaderSize; }

char *Pool::end(Block *b) const { return reinterpret_cast<char *>(b) + m_blockSize; }

bool Pool::contains(Block *b, const void *p) const {
    const auto at = reinterpret_cast<std::uintptr_t>(p);
    return at >= reinterpret_cast<std::uintptr_t>(payload(b)) &&
           at < reinterpret_cast<std::uintptr_t>(end(b));
}

void Pool::grow() {
    static_assert(sizeof(Block) <= HeaderSize, "the header holds the next pointer and the live count");
    auto *block = static_cast<Block *>(::operator new(m_blockSize));
    block->live = 0;
    block->next = m_head;
    m_head = block;
    m_free = payload(block);
}

void *Pool::alloc(unsigned count) {
    const std::uint64_t bytes = std::uint64_t{count} * m_elementSize;
    if (bytes > std::numeric_limits<std::uint32_t>::max()) return nullptr;
    return char_alloc(static_cast<unsigned>(bytes));
}

void *Pool::char_alloc(unsigned bytes) {
    // A block no larger than its header has no room even for an empty piece.
    if (max_size() == 0 || bytes > max_size()) return nullptr;
    if (!m_head || !m_free || static_cast<std::size_t>(end(m_head) - m_free) < bytes) grow();
    char *result = m_free;
    m_free += bytes;
    if (m_free >= end(m_head)) m_free = nullptr;
    ++m_head->live;
    return result;
}

void Pool::dealloc(void *p, unsigned count) {
    if (!p) return;
    Block *prev = nullptr;
    Block *block = m_head;
    while (block && !contains(block, p)) {
        prev = block;
        block = block->next;
    }
    // Not from this pool, or its block has nothing live (a second free).
    if (!block || block->live <= 0) return;
    if (--block->live == 0) {
        if (block == m_head) {
            m_free = payload(block);
            return;
        }
        prev->next = block->next;
        ::operator delete(block);
        return;
    }
    // The newest piece of the head block is taken back at once.
    const std::uint64_t bytes = std::uint64_t{count} * m_elementSize;
    char *piece = static_cast<char *>(p);
    if (block == m_head && m_free && m_free >= piece && static_cast<std::uint64_t>(m_free - piece) == bytes)
        m_free = piece;
}

}  // namespace quelt
