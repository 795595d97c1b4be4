#include "platform/runtime/base/WeakSelf.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace base {
namespace {

struct Counter {
    int calls = 0;
    int last = 0;
    WeakSelf<Counter> self{this};
};

TEST(WeakSelf, ACallbackRunsWithItsObjectWhileItLivesAndDoesNothingAfter) {
    std::function<void(int)> callback;
    {
        Counter counter;
        callback = ifAlive(counter.self.weak(), [](Counter& object, int value) {
            ++object.calls;
            object.last = value;
        });
        callback(3);
        callback(5);
        EXPECT_EQ(counter.calls, 2);
        EXPECT_EQ(counter.last, 5);
    }
    callback(7);  // would write to a destroyed object
}

TEST(WeakSelf, ACallbackKeepsNoSharedObjectAlive) {
    auto shared = std::make_shared<Counter>();
    const std::weak_ptr<Counter> watch = shared;
    auto callback = ifAlive(watch, [](Counter& object) { ++object.calls; });
    callback();
    EXPECT_EQ(shared->calls, 1);
    shared.reset();
    EXPECT_TRUE(watch.expired());
    callback();
}

}  // namespace
}  // namespace base
