// The programs keep freed memory instead of handing it back at every free.
#include "core/heap.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <memory>
#include <vector>

namespace {

TEST(Heap, FreedMemoryStaysWithTheProcess) {
    core::keepFreedMemory();
    {
        // A long list's worth of small pieces, then all of it dropped.
        std::vector<std::unique_ptr<char[]>> pieces;
        for (int i = 0; i < 100000; ++i) pieces.emplace_back(new char[500]);
        // A sanitizer's allocator replaces the C library's and reports nothing here.
        if (mallinfo2().arena == 0) GTEST_SKIP() << "the allocator is not the C library's";
    }
    EXPECT_GT(mallinfo2().fordblks, size_t{32} << 20);
}

}  // namespace
