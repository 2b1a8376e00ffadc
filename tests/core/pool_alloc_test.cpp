#include <gtest/gtest.h>

#include <new>

#include "quelt/core/pool_alloc.h"
#include "quelt/core/wstring.h"

namespace quelt {
namespace {

TEST(PoolAlloc, ServesElementsFromOneBlockAndRewindsOnTheNewestPiece) {
    Pool_alloc<wchar> alloc(64);
    EXPECT_FALSE(alloc.HasPool());
    EXPECT_EQ(alloc.max_size(), (64 - Pool::HeaderSize) / sizeof(wchar));
    wchar *a = alloc.allocate(4);
    EXPECT_TRUE(alloc.HasPool());
    wchar *b = alloc.allocate(4);
    EXPECT_EQ(b, a + 4);
    alloc.deallocate(b, 4);
    EXPECT_EQ(alloc.allocate(4), b);
}

TEST(PoolAlloc, RefusesWhatNoBlockCanHold) {
    Pool_alloc<wchar> alloc(64);
    EXPECT_THROW(alloc.allocate(alloc.max_size() + 1), std::bad_alloc);
    EXPECT_NE(alloc.allocate(alloc.max_size()), nullptr);
}

TEST(PoolAlloc, ResetDropsThePoolAndTheNextAllocationMakesANewOne) {
    Pool_alloc<wchar> alloc;
    alloc.allocate(10);
    alloc.Reset();
    EXPECT_FALSE(alloc.HasPool());
    alloc.deallocate(nullptr, 3);
    EXPECT_NE(alloc.allocate(10), nullptr);
    EXPECT_TRUE(alloc.HasPool());
}

}  // namespace
}  // namespace quelt
