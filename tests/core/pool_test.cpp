#include "quelt/core/pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <random>
#include <type_traits>
#include <vector>

#include "core/alloc_probe.h"

// --- heap probe ---------------------------------------------------------------

namespace {

std::size_t g_allocations = 0;
std::size_t g_watchedSize = 0;
std::array<void *, 1024> g_watched{};
bool g_overflow = false;

void Track(void *p, std::size_t size) {
    ++g_allocations;
    if (g_watchedSize == 0 || size != g_watchedSize) return;
    auto slot = std::find(g_watched.begin(), g_watched.end(), nullptr);
    if (slot == g_watched.end()) {
        g_overflow = true;
        return;
    }
    *slot = p;
}

void Untrack(void *p) {
    auto slot = std::find(g_watched.begin(), g_watched.end(), p);
    if (p && slot != g_watched.end()) *slot = nullptr;
}

}  // namespace

// Every form is replaced, so that the sanitizers see matching pairs.
void *operator new(std::size_t size) {
    void *p = std::malloc(size == 0 ? 1 : size);
    if (!p) throw std::bad_alloc();
    Track(p, size);
    return p;
}
void *operator new[](std::size_t size) { return operator new(size); }
void *operator new(std::size_t size, const std::nothrow_t &) noexcept {
    void *p = std::malloc(size == 0 ? 1 : size);
    if (p) Track(p, size);
    return p;
}
void *operator new[](std::size_t size, const std::nothrow_t &tag) noexcept { return operator new(size, tag); }

void operator delete(void *p) noexcept {
    Untrack(p);
    std::free(p);
}
void operator delete[](void *p) noexcept { operator delete(p); }
void operator delete(void *p, std::size_t) noexcept { operator delete(p); }
void operator delete[](void *p, std::size_t) noexcept { operator delete(p); }
void operator delete(void *p, const std::nothrow_t &) noexcept { operator delete(p); }
void operator delete[](void *p, const std::nothrow_t &) noexcept { operator delete(p); }

namespace quelt::test {

std::size_t AllocationCount() { return g_allocations; }

WatchSize::WatchSize(std::size_t size) {
    g_watched.fill(nullptr);
    g_overflow = false;
    g_watchedSize = size;
}

WatchSize::~WatchSize() { g_watchedSize = 0; }

int WatchSize::Live() const {
    return static_cast<int>(std::count_if(g_watched.begin(), g_watched.end(), [](void *p) { return p; }));
}

bool WatchSize::Overflowed() const { return g_overflow; }

std::vector<const void *> WatchSize::Blocks() const {
    std::vector<const void *> blocks;
    for (void *p : g_watched)
        if (p) blocks.push_back(p);
    return blocks;
}

bool WatchSize::IsLive(const void *p) const {
    return std::find(g_watched.begin(), g_watched.end(), p) != g_watched.end();
}

}  // namespace quelt::test

// --- Pool -------------------------------------------------------------------

namespace quelt {
namespace {

using test::WatchSize;

// Odd block sizes keep the probe clear of other heap traffic.
constexpr unsigned kBlock = 1000 + Pool::HeaderSize;

char *Bytes(void *p) { return static_cast<char *>(p); }

TEST(PoolTest, HeaderHoldsAPointerAndACountAtPointerAlignment) {
    EXPECT_EQ(Pool::HeaderSize % alignof(void *), 0u);
    EXPECT_GE(Pool::HeaderSize, sizeof(void *) + sizeof(std::int32_t));
    if (sizeof(void *) == 8) {
        EXPECT_EQ(Pool::HeaderSize, 16u);
    }
    Pool pool(2, 0x8000);
    EXPECT_EQ(pool.max_size(), 0x8000u - Pool::HeaderSize);
}

TEST(PoolTest, ObtainsNoBlockBeforeTheFirstRequest) {
    WatchSize watch(kBlock);
    const std::size_t before = test::AllocationCount();
    { Pool pool(1, kBlock); }
    EXPECT_EQ(test::AllocationCount(), before);
    EXPECT_EQ(watch.Live(), 0);
}

TEST(PoolTest, PiecesFollowEachOtherWithoutPadding) {
    WatchSize watch(kBlock);
    Pool pool(1, kBlock);
    char *a = Bytes(pool.char_alloc(3));
    char *b = Bytes(pool.char_alloc(5));
    char *c = Bytes(pool.char_alloc(0));
    char *d = Bytes(pool.char_alloc(1));
    EXPECT_TRUE(watch.IsLive(a - Pool::HeaderSize));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(a) % alignof(void *), 0u);
    EXPECT_EQ(b, a + 3);
    EXPECT_EQ(c, a + 8);
    EXPECT_EQ(d, a + 8);
    EXPECT_EQ(watch.Live(), 1);
}

TEST(PoolTest, AllocCountsElements) {
    Pool pool(2, kBlock);
    char *a = Bytes(pool.alloc(3));
    char *b = Bytes(pool.alloc(1));
    EXPECT_EQ(b, a + 6);
    EXPECT_EQ(pool.alloc(pool.max_size() / 2 + 1), nullptr);
}

TEST(PoolTest, AllocOfMoreThan32BitsOfBytesIsRefused) {
    WatchSize watch(0x10000);
    Pool pool(0x10000, 0x10000);
    // 0x10000 * 0x10000 is 2^32: wrapped to 32 bits it would be an empty request.
    EXPECT_EQ(pool.alloc(0x10000), nullptr);
    EXPECT_EQ(pool.alloc(0x10001), nullptr);
    EXPECT_EQ(watch.Live(), 0);
}

TEST(PoolTest, ExactlyFullBlockMakesTheNextRequestObtainANewBlock) {
    WatchSize watch(kBlock);
    Pool pool(1, kBlock);
    char *whole = Bytes(pool.char_alloc(pool.max_size()));
    ASSERT_NE(whole, nullptr);
    EXPECT_TRUE(watch.IsLive(whole - Pool::HeaderSize));
    EXPECT_EQ(watch.Live(), 1);
    char *next = Bytes(pool.char_alloc(0));
    EXPECT_EQ(watch.Live(), 2);
    EXPECT_TRUE(watch.IsLive(next - Pool::HeaderSize));
}

TEST(PoolTest, OversizedRequestIsRefusedWithoutABlock) {
    WatchSize watch(kBlock);
    Pool pool(1, kBlock);
    EXPECT_EQ(pool.char_alloc(pool.max_size() + 1), nullptr);
    EXPECT_EQ(watch.Live(), 0);
}

TEST(PoolTest, BlockNoLargerThanItsHeaderServesNothing) {
    for (unsigned size : {0u, 1u, Pool::HeaderSize - 1, Pool::HeaderSize}) {
        Pool pool(1, size);
        EXPECT_EQ(pool.max_size(), 0u);
        EXPECT_EQ(pool.char_alloc(0), nullptr);
        EXPECT_EQ(pool.alloc(0), nullptr);
    }
    Pool oneByte(1, Pool::HeaderSize + 1);
    EXPECT_EQ(oneByte.max_size(), 1u);
    EXPECT_NE(oneByte.char_alloc(1), nullptr);
}

TEST(PoolTest, OnlyTheHeadBlockIsAllocatedFrom) {
    WatchSize watch(kBlock);
    Pool pool(1, kBlock);
    char *big = Bytes(pool.char_alloc(900));
    char *second = Bytes(pool.char_alloc(200));  // does not fit the 100 left
    EXPECT_EQ(watch.Live(), 2);
    char *small = Bytes(pool.char_alloc(10));  // would fit the first block's rest
    EXPECT_EQ(small, second + 200);
    EXPECT_FALSE(small >= big && small < big + 1000);
}

TEST(PoolTest, FreeingTheNewestPieceReusesItsSpace) {
    Pool pool(2, kBlock);
    char *a = Bytes(pool.alloc(4));
    char *b = Bytes(pool.alloc(7));
    pool.dealloc(b, 7);
    EXPECT_EQ(Bytes(pool.alloc(7)), b);
    // An older piece is only counted.
    pool.dealloc(a, 4);
    EXPECT_EQ(Bytes(pool.alloc(1)), b + 14);
}

TEST(PoolTest, FreeingAPieceOfAFullBlockDoesNotRewind) {
    WatchSize watch(kBlock);
    Pool pool(1, kBlock);
    pool.char_alloc(10);
    char *last = Bytes(pool.char_alloc(pool.max_size() - 10));
    pool.dealloc(last, pool.max_size() - 10);
    char *next = Bytes(pool.char_alloc(1));
    EXPECT_NE(next, last);
    EXPECT_EQ(watch.Live(), 2);
}

TEST(PoolTest, EmptiedHeadBlockStartsOver) {
    WatchSize watch(kBlock);
    Pool pool(1, kBlock);
    char *a = Bytes(pool.char_alloc(10));
    char *b = Bytes(pool.char_alloc(20));
    char *c = Bytes(pool.char_alloc(30));
    pool.dealloc(a, 10);
    pool.dealloc(b, 20);
    EXPECT_EQ(Bytes(pool.char_alloc(1)), c + 30);  // c is live: no reset yet
    pool.dealloc(c, 30);
    EXPECT_EQ(Bytes(pool.char_alloc(40)), c + 31);
    Pool other(1, kBlock);
    char *x = Bytes(other.char_alloc(10));
    char *y = Bytes(other.char_alloc(20));
    other.dealloc(x, 10);
    other.dealloc(y, 20);
    EXPECT_EQ(Bytes(other.char_alloc(30)), x);
    EXPECT_EQ(watch.Live(), 2);
}

TEST(PoolTest, EmptiedOlderBlockGoesBackToTheHeap) {
    WatchSize watch(kBlock);
    Pool pool(1, kBlock);
    char *a = Bytes(pool.char_alloc(600));
    char *b = Bytes(pool.char_alloc(300));
    char *c = Bytes(pool.char_alloc(600));  // a new head block
    char *oldBlock = a - Pool::HeaderSize;
    EXPECT_EQ(watch.Live(), 2);
    pool.dealloc(a, 600);
    EXPECT_TRUE(watch.IsLive(oldBlock));
    pool.dealloc(b, 300);
    EXPECT_FALSE(watch.IsLive(oldBlock));
    EXPECT_EQ(watch.Live(), 1);
    // The head block is unaffected and still serves.
    EXPECT_EQ(Bytes(pool.char_alloc(1)), c + 600);
}

TEST(PoolTest, MiddleBlockIsUnlinkedCleanly) {
    WatchSize watch(kBlock);
    Pool pool(1, kBlock);
    char *first = Bytes(pool.char_alloc(1000));
    char *middle = Bytes(pool.char_alloc(1000));
    char *head = Bytes(pool.char_alloc(1000));
    EXPECT_EQ(watch.Live(), 3);
    pool.dealloc(middle, 1000);
    EXPECT_EQ(watch.Live(), 2);
    pool.dealloc(first, 1000);
    EXPECT_EQ(watch.Live(), 1);
    EXPECT_TRUE(watch.IsLive(head - Pool::HeaderSize));
}

TEST(PoolTest, NullAndForeignPointersChangeNothing) {
    WatchSize watch(kBlock);
    Pool pool(1, kBlock);
    char *a = Bytes(pool.char_alloc(10));
    char outside[16];
    pool.dealloc(nullptr, 10);
    pool.dealloc(outside, 10);
    pool.dealloc(a + 1000, 1);  // one past the block
    pool.dealloc(a - 1, 1);     // inside the header
    EXPECT_EQ(Bytes(pool.char_alloc(1)), a + 10);
    EXPECT_EQ(watch.Live(), 1);
    Pool other(1, kBlock);
    other.char_alloc(1);
    other.dealloc(a, 10);
    EXPECT_EQ(Bytes(pool.char_alloc(1)), a + 11);
}

TEST(PoolTest, SecondFreeOfAnEmptiedBlockIsIgnored) {
    WatchSize watch(kBlock);
    Pool pool(1, kBlock);
    char *a = Bytes(pool.char_alloc(10));
    pool.dealloc(a, 10);
    pool.dealloc(a, 10);
    char *b = Bytes(pool.char_alloc(500));
    pool.char_alloc(600);  // b's block becomes the older one
    EXPECT_EQ(watch.Live(), 2);
    pool.dealloc(b, 500);
    EXPECT_EQ(watch.Live(), 1);
}

TEST(PoolTest, DestructionFreesEveryBlock) {
    WatchSize watch(kBlock);
    {
        Pool pool(1, kBlock);
        for (int i = 0; i < 5; ++i) pool.char_alloc(700);
        EXPECT_EQ(watch.Live(), 5);
    }
    EXPECT_EQ(watch.Live(), 0);
}

// Random traffic against a model: live pieces never overlap, keep their
// contents, and blocks are returned once all of their pieces are.
TEST(PoolTest, RandomTrafficNeverOverlapsOrLeaks) {
    struct Piece {
        char *p;
        unsigned count;
        char fill;
    };
    WatchSize watch(kBlock);
    std::mt19937 random(12345);
    {
        Pool pool(2, kBlock);
        std::vector<Piece> live;
        for (int step = 0; step < 4000; ++step) {
            const bool allocate = live.empty() || random() % 100 < 55;
            if (allocate) {
                const unsigned count = random() % 120;
                char *p = Bytes(pool.alloc(count));
                ASSERT_NE(p, nullptr);
                const char fill = static_cast<char>(step);
                std::memset(p, fill, count * 2);
                live.push_back({p, count, fill});
                continue;
            }
            const std::size_t victim = random() % live.size();
            const Piece piece = live[victim];
            for (unsigned i = 0; i < piece.count * 2; ++i)
                ASSERT_EQ(piece.p[i], piece.fill) << "step " << step;
            pool.dealloc(piece.p, piece.count);
            live.erase(live.begin() + static_cast<std::ptrdiff_t>(victim));
        }
        for (const Piece &piece : live)
            for (unsigned i = 0; i < piece.count * 2; ++i) ASSERT_EQ(piece.p[i], piece.fill);
        // Every block still held serves a live piece, apart from the head.
        int idle = 0;
        for (const void *block : watch.Blocks()) {
            const char *start = static_cast<const char *>(block) + Pool::HeaderSize;
            const char *end = static_cast<const char *>(block) + kBlock;
            idle += std::none_of(live.begin(), live.end(),
                                 [&](const Piece &piece) { return piece.p >= start && piece.p < end; });
        }
        EXPECT_LE(idle, 1);
        ASSERT_FALSE(watch.Overflowed());
        for (const Piece &piece : live) pool.dealloc(piece.p, piece.count);
        EXPECT_EQ(watch.Live(), 1);
    }
    EXPECT_EQ(watch.Live(), 0);
}

TEST(PoolTest, ShareCountStartsAtOneAndOnlyCounts) {
    Pool pool(2, kBlock);
    EXPECT_EQ(pool.GetShareCount(), 1);
    EXPECT_EQ(pool.AddShare(), 2);
    EXPECT_EQ(pool.ReleaseShare(), 1);
    EXPECT_EQ(pool.ReleaseShare(), 0);
    EXPECT_NE(pool.char_alloc(4), nullptr);
}

TEST(PoolTest, IsNotCopyable) {
    static_assert(!std::is_copy_constructible_v<Pool>);
    static_assert(!std::is_copy_assignable_v<Pool>);
    SUCCEED();
}

}  // namespace
}  // namespace quelt
