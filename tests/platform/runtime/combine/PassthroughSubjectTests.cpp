#include "platform/runtime/combine/AnyCancellable.hpp"
#include "platform/runtime/combine/PassthroughSubject.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace combine {
namespace {

TEST(PassthroughSubject, SendsToTheSubscribersOfTheMomentOnly) {
    PassthroughSubject<int> subject;
    std::vector<std::string> seen;
    subject.send(0);
    auto first = subject.sink([&](int value) { seen.push_back("first " + std::to_string(value)); });
    subject.send(1);
    auto second = subject.sink([&](int value) { seen.push_back("second " + std::to_string(value)); });
    subject.send(2);
    EXPECT_EQ(seen, (std::vector<std::string>{"first 1", "first 2", "second 2"}));
}

TEST(PassthroughSubject, SubscribingAndCancellingInsideACallbackIsSafe) {
    PassthroughSubject<void> subject;
    std::vector<std::string> seen;
    std::optional<AnyCancellable> self;
    std::optional<AnyCancellable> later;
    std::optional<AnyCancellable> added;
    // The first subscriber ends its own subscription and the next one's, and adds a new one, all while
    // the send walks the list.
    self = subject.sink([&] {
        seen.emplace_back("self");
        self.reset();
        later->cancel();
        added = subject.sink([&] { seen.emplace_back("added"); });
    });
    later = subject.sink([&] { seen.emplace_back("later"); });
    subject.send();
    subject.send();
    EXPECT_EQ(seen, (std::vector<std::string>{"self", "added"}));
}

TEST(PassthroughSubject, StoredCancellablesLiveAsLongAsTheirCollection) {
    PassthroughSubject<void> subject;
    int calls = 0;
    {
        std::vector<AnyCancellable> cancellables;
        subject.sink([&] { ++calls; }).store(cancellables);
        subject.send();
    }
    subject.send();
    EXPECT_EQ(calls, 1);
}

TEST(PassthroughSubject, ReceiveOnTheMainActorDeliversThereInOrderUntilCancelled) {
    const auto mainThread = std::this_thread::get_id();
    PassthroughSubject<int> subject;
    std::vector<int> values;
    bool allOnMain = true;
    std::optional<AnyCancellable> subscription =
        subject.receiveOn(concurrency::MainActor::shared()).sink([&](int v) {
            allOnMain = allOnMain && std::this_thread::get_id() == mainThread;
            values.push_back(v);
            if (v == 2) {
                // Values 3 and 4 are already queued; they must not arrive.
                subscription.reset();
            }
        });
    std::thread sender([&] {
        for (int value = 0; value < 5; ++value) {
            subject.send(value);
        }
    });
    sender.join();
    EXPECT_TRUE(values.empty());  // nothing arrives before the main loop runs
    EXPECT_TRUE(testsupport::MainLoop::iterateUntil([&] { return values.size() >= 3; }));
    EXPECT_TRUE(testsupport::MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(50)) ==
                false);
    EXPECT_EQ(values, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(allOnMain);
}

}  // namespace
}  // namespace combine
