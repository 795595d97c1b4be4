#include "platform/runtime/concurrency/CheckedContinuation.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"
#include "platform/runtime/concurrency/Task.hpp"
#include "platform/runtime/concurrency/WithCheckedThrowingContinuation.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/MainLoopTimeout.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <chrono>
#include <optional>

namespace concurrency {
namespace {

using testsupport::MainLoop;
using namespace std::chrono_literals;

TEST(MainLoopHelper, FailsTheTestInsteadOfHangingWhenTheTaskDoesNotEnd) {
    std::optional<CheckedContinuation<int>> never;
    const auto handle = spawn(MainActor::shared(), [&]() -> Task<int> {
        co_return co_await withCheckedThrowingContinuation<int>("never", [&](const auto& c) { never = c; });
    });

    testing::TestPartResultArray failures;
    {
        const testing::ScopedFakeTestPartResultReporter intercept(
            testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
        EXPECT_THROW(MainLoop::runUntilFinished(handle, 50ms), testsupport::MainLoopTimeout);
    }
    ASSERT_EQ(failures.size(), 1);
    EXPECT_THAT(failures.GetTestPartResult(0).message(), testing::HasSubstr("did not finish within 50 ms"));
    // The helper asked the task to stop; let it end so nothing is left behind.
    EXPECT_TRUE(handle.isCancelled());
    never->resume(3);
    never.reset();
    EXPECT_EQ(MainLoop::runUntilFinished(handle), 3);
}

}  // namespace
}  // namespace concurrency
