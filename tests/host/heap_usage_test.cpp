// The process's heap reading that load-cycle measurements rest on: a block shows while it
// lives and is gone once freed.
#include "qevplatform/heap_usage.h"

#include <gtest/gtest.h>

#include <memory>

TEST(HeapUsage, SeesABlockComeAndGo) {
    using qevhost::platform::heapBytesInUse;
    constexpr std::size_t kSmall = 4000, kLarge = 1 << 20;
    for (const std::size_t size : {kSmall, kLarge}) {
        const std::size_t before = heapBytesInUse();
        auto block = std::make_unique<char[]>(size);
        block[size - 1] = 1;
        const std::size_t during = heapBytesInUse();
        block.reset();
        const std::size_t after = heapBytesInUse();
        EXPECT_GE(during, before + size) << size << " bytes";
        EXPECT_LT(after, before + 256) << size << " bytes";
    }
}
