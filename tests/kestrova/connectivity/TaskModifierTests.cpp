#include "kestrova/connectivity/TaskModifier.hpp"
#include "platform/runtime/concurrency/CheckedContinuation.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/WithCheckedThrowingContinuation.hpp"
#include "platform/runtime/concurrency/WithTaskCancellationHandler.hpp"
#include "platform/kits/ui/Node.hpp"
#include "platform/kits/ui/Stacks.hpp"
#include "platform/kits/ui/TextView.hpp"
#include "platform/kits/ui/ViewHost.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestrova {
namespace {

using testsupport::MainLoop;

// An action that runs until its task is cancelled, the way a long download or a wait would:
// each run records that it started, on which thread, and that it saw the cancellation.
struct Runs {
    struct Run {
        bool onMainThread = false;
        bool cancelled = false;
        bool ended = false;
        std::optional<concurrency::CheckedContinuation<void>> parked;
    };
    std::vector<std::shared_ptr<Run>> runs;

    std::function<concurrency::Task<void>()> action() {
        return [this]() -> concurrency::Task<void> {
            auto run = std::make_shared<Run>();
            runs.push_back(run);
            run->onMainThread = concurrency::MainActor::isMainThread();
            // Named first: lambdas that capture a shared pointer inside a co_await expression are
            // destroyed twice by GCC 12.
            auto wait = [run]() -> concurrency::Task<void> {
                const auto park = [&run](const auto& continuation) { run->parked = continuation; };
                co_await concurrency::withCheckedThrowingContinuation<void>("wait", park);
            };
            auto onCancel = [run] {
                run->cancelled = true;
                // The action cannot fail: a cancellation ends its wait normally.
                run->parked->resume();
                run->parked.reset();
            };
            co_await concurrency::withTaskCancellationHandler(wait, onCancel);
            run->ended = true;
        };
    }
};

bool started(const Runs& runs, std::size_t count) {
    return MainLoop::iterateUntil([&] { return runs.runs.size() >= count && runs.runs[count - 1]->parked.has_value(); });
}

TEST(TaskModifier, EachAppearanceRunsTheActionInAFreshTaskThatLeavingCancels) {
    Runs runs;
    bool shown = true;
    ui::ViewHost::Options options;
    options.size = {100, 40};
    ui::ViewHost host(
        [&] {
            return ui::VStack({shown ? task(ui::Text::verbatim("Today").view(), concurrency::TaskPriority::medium, runs.action())
                                     : ui::EmptyView()});
        },
        options);

    ASSERT_TRUE(started(runs, 1));
    EXPECT_TRUE(runs.runs[0]->onMainThread);

    // Re-evaluating while the view stays on screen starts nothing and cancels nothing.
    host.update();
    MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(20));
    EXPECT_EQ(runs.runs.size(), 1U);
    EXPECT_FALSE(runs.runs[0]->cancelled);

    shown = false;
    host.update();
    EXPECT_TRUE(runs.runs[0]->cancelled);
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return runs.runs[0]->ended; }));

    shown = true;
    host.update();
    ASSERT_TRUE(started(runs, 2));
    EXPECT_FALSE(runs.runs[1]->cancelled);
    shown = false;
    host.update();
    EXPECT_TRUE(runs.runs[1]->cancelled);
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return runs.runs[1]->ended; }));
}

TEST(TaskModifier, ASecondAppearanceReplacesTheHandleWithoutCancelling) {
    Runs runs;
    const TaskModifier modifier{concurrency::TaskPriority::high, runs.action(), {}};
    EXPECT_FALSE(modifier.task.get().has_value());

    // The body's own actions, as a view host would call them.
    const ui::View view = modifier.body(ui::Text::verbatim("Today"));
    ui::LayoutEngine engine;
    const auto tree = engine.layout(view, {100, 40});
    const auto lifecycles = tree.all<ui::node::Lifecycle>();
    ASSERT_EQ(lifecycles.size(), 2U);
    const auto& disappear = lifecycles[0]->as<ui::node::Lifecycle>()->onDisappear;  // applied around
    const auto& appear = lifecycles[1]->as<ui::node::Lifecycle>()->onAppear;        // applied first
    ASSERT_TRUE(appear && disappear);

    appear();
    ASSERT_TRUE(started(runs, 1));
    appear();
    ASSERT_TRUE(started(runs, 2));
    EXPECT_FALSE(runs.runs[0]->cancelled);
    ASSERT_TRUE(modifier.task.get().has_value());

    disappear();
    EXPECT_FALSE(modifier.task.get().has_value());
    EXPECT_FALSE(runs.runs[0]->cancelled);
    EXPECT_TRUE(runs.runs[1]->cancelled);

    // Leaving again with no task does nothing.
    disappear();
    EXPECT_FALSE(runs.runs[0]->cancelled);

    // The first task still runs; end it so that nothing outlives the test.
    runs.runs[0]->parked->resume();
    runs.runs[0]->parked.reset();
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return runs.runs[0]->ended && runs.runs[1]->ended; }));
}

}  // namespace
}  // namespace kestrova
