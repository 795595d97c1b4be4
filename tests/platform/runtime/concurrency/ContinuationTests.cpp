#include "platform/runtime/concurrency/CheckedContinuation.hpp"
#include "platform/runtime/concurrency/ContinuationFault.hpp"
#include "platform/runtime/concurrency/ContinuationLeakError.hpp"
#include "platform/runtime/concurrency/GlobalExecutor.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"
#include "platform/runtime/concurrency/Task.hpp"
#include "platform/runtime/concurrency/WithCheckedThrowingContinuation.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace concurrency {
namespace {

using testsupport::MainLoop;

// Collects fault reports instead of aborting, for the length of a test.
class ContinuationFaults : public testing::Test {
protected:
    void SetUp() override {
        previous_ = ContinuationFault::setReporter([this](const ContinuationFault& fault) {
            const std::lock_guard lock(mutex_);
            messages_.push_back(fault.message());
        });
    }
    void TearDown() override { ContinuationFault::setReporter(std::move(previous_)); }

    std::vector<std::string> messages() {
        const std::lock_guard lock(mutex_);
        return messages_;
    }

private:
    ContinuationFault::Reporter previous_;
    std::mutex mutex_;
    std::vector<std::string> messages_;
};

using Resumer = std::function<void(const CheckedContinuation<std::string>&)>;

TEST_F(ContinuationFaults, ResumesTheAwaiterWithWhatTheFirstResumeGave) {
    struct Case {
        const char* name;
        Resumer resumer;
        std::string expected;  // a value, or "error: " and the error's text
    };
    const Case cases[] = {
        {"value on the same thread", [](const auto& c) { c.resume("same"); }, "same"},
        {"value from another thread", [](const auto& c) { std::thread([c] { c.resume("other"); }).detach(); },
         "other"},
        {"error from another thread",
         [](const auto& c) { std::thread([c] { c.resumeThrowing(std::runtime_error("broken")); }).detach(); },
         "error: broken"},
        {"error thrown by the body", [](const auto&) { throw std::runtime_error("thrown"); },
         "error: thrown"},
    };
    for (const auto& c : cases) {
        const auto outcome = MainLoop::runOnMainActor([&c]() -> Task<std::string> {
            try {
                co_return co_await withCheckedThrowingContinuation<std::string>("case", c.resumer);
            } catch (const std::runtime_error& error) {
                co_return std::string("error: ") + error.what();
            }
        });
        EXPECT_EQ(outcome, c.expected) << c.name;
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(ContinuationFaults, ASecondResumeIsReportedAndIgnored) {
    const auto outcome = MainLoop::runOnMainActor([]() -> Task<int> {
        co_return co_await withCheckedThrowingContinuation<int>("data(for:)", [](const auto& continuation) {
            continuation.resume(1);
            continuation.resume(2);
            continuation.resumeThrowing(std::runtime_error("late"));
        });
    });
    EXPECT_EQ(outcome, 1);
    EXPECT_EQ(messages(), (std::vector<std::string>(2, "continuation data(for:) resumed more than once")));
}

TEST_F(ContinuationFaults, ALeakedContinuationIsReportedAndFailsTheAwaiter) {
    struct Case {
        const char* name;
        std::function<void(const CheckedContinuation<void>&)> body;
    };
    const Case cases[] = {
        {"never kept", [](const auto&) {}},
        {"kept by a callback that another thread drops",
         [](const auto& continuation) { std::thread([kept = continuation] {}).detach(); }},
    };
    for (const auto& c : cases) {
        const auto handle = spawn(MainActor::shared(), [&c]() -> Task<void> {
            co_await withCheckedThrowingContinuation<void>("data(for:)", c.body);
        });
        try {
            MainLoop::runUntilFinished(handle);
            ADD_FAILURE() << c.name << ": the awaiter did not fail";
        } catch (const ContinuationLeakError& error) {
            EXPECT_STREQ(error.what(), "continuation data(for:) leaked without being resumed") << c.name;
        }
    }
    EXPECT_EQ(messages(),
              (std::vector<std::string>(2, "continuation data(for:) leaked without being resumed")));
}

TEST(ContinuationFaultsByDefault, ASecondResumePrintsTheNameAndAborts) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            MainLoop::runOnMainActor([]() -> Task<void> {
                co_await withCheckedThrowingContinuation<void>("data(for:)", [](const auto& continuation) {
                    continuation.resume();
                    continuation.resume();
                });
            });
        },
        "continuation data\\(for:\\) resumed more than once");
}

}  // namespace
}  // namespace concurrency
