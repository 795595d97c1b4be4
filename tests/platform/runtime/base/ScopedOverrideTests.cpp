#include "platform/runtime/base/ScopedOverride.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace base {
namespace {

class Greeting : public ScopedOverride<std::string, Greeting> {
public:
    using ScopedOverride::ScopedOverride;
};

class Count : public ScopedOverride<int, Count> {
public:
    using ScopedOverride::ScopedOverride;
};

TEST(ScopedOverride, NestedScopesRestoreWhatWasBeforeAndSettingsStayApart) {
    EXPECT_EQ(Greeting::current(), std::nullopt);
    {
        const Greeting outer("hello");
        const Count count(3);
        EXPECT_EQ(Greeting::current(), "hello");
        {
            const Greeting inner("hi");
            EXPECT_EQ(Greeting::current(), "hi");
            EXPECT_EQ(Count::current(), 3);
        }
        EXPECT_EQ(Greeting::current(), "hello");
    }
    EXPECT_EQ(Greeting::current(), std::nullopt);
    EXPECT_EQ(Count::current(), std::nullopt);
}

// Readers on other threads see either no override or the whole value, never a torn or freed one.
TEST(ScopedOverride, ThreadsReadWhileScopesComeAndGo) {
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0};
    std::vector<std::thread> readers;
    for (int thread = 0; thread < 3; ++thread) {
        readers.emplace_back([&] {
            while (!stop.load()) {
                const auto value = Greeting::current();
                if (value && *value != std::string(200, 'x') && *value != std::string(300, 'y')) {
                    ++torn;
                }
            }
        });
    }
    for (int round = 0; round < 2'000; ++round) {
        const Greeting outer(std::string(200, 'x'));
        const Greeting inner(std::string(300, 'y'));
    }
    stop.store(true);
    for (auto& reader : readers) {
        reader.join();
    }
    EXPECT_EQ(torn.load(), 0);
    EXPECT_EQ(Greeting::current(), std::nullopt);
}

TEST(ScopedOverrideDeathTest, ScopesThatEndOutOfOrderStopTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            auto* outer = new Count(1);
            const Count inner(2);
            delete outer;
        },
        "reverse order");
}

}  // namespace
}  // namespace base
