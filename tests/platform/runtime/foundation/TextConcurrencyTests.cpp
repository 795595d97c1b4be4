#include "platform/runtime/foundation/core/Text.hpp"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace foundation {
namespace {

// Copies of texts that share blocks are made and dropped on many threads at
// once, and the last count of each block falls on whichever thread drops it
// last; ThreadSanitizer and AddressSanitizer watch the shared counts.
TEST(TextStorage, CopiesMayBeMadeAndDroppedOnAnyThread) {
    std::vector<Text> made;
    {
        TextArena arena;
        for (int i = 0; i < 64; ++i) {
            made.push_back(arena.make("a text long enough to be shared " + std::to_string(i)));
        }
    }
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([own = made] {
            for (int round = 0; round < 200; ++round) {
                const std::vector<Text> copies(own.begin(), own.end());
                EXPECT_EQ(copies.back().view(), "a text long enough to be shared 63");
            }
        });
    }
    made.clear();
    for (auto& thread : threads) {
        thread.join();
    }
}

}  // namespace
}  // namespace foundation
