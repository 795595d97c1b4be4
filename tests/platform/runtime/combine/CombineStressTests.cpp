#include "platform/runtime/combine/AnyCancellable.hpp"
#include "platform/runtime/combine/PassthroughSubject.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace combine {
namespace {

TEST(CombineStress, SubjectsTakeSendsSubscriptionsAndCancelsFromManyThreads) {
    PassthroughSubject<int> subject;
    std::atomic<bool> stop{false};
    std::atomic<long> received{0};
    std::vector<std::thread> senders;
    for (int thread = 0; thread < 4; ++thread) {
        senders.emplace_back([&] {
            while (!stop.load()) {
                subject.send(1);
            }
        });
    }
    std::vector<std::thread> subscribers;
    for (int thread = 0; thread < 4; ++thread) {
        subscribers.emplace_back([&] {
            for (int round = 0; round < 2'000; ++round) {
                auto subscription = subject.sink([&](int value) { received += value; });
                if (round % 2 == 0) {
                    subscription.cancel();
                }
            }
        });
    }
    for (auto& subscriber : subscribers) {
        subscriber.join();
    }
    stop.store(true);
    for (auto& sender : senders) {
        sender.join();
    }
    // Every subscription has ended: a last send reaches nobody.
    const long before = received.load();
    subject.send(1);
    EXPECT_EQ(received.load(), before);
}

}  // namespace
}  // namespace combine
