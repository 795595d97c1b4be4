#include "platform/runtime/combine/AnyCancellable.hpp"
#include "platform/runtime/combine/ObservableObject.hpp"
#include "platform/runtime/combine/PassthroughSubject.hpp"
#include "platform/runtime/combine/Published.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace combine {
namespace {

// An observable object the way the application's state objects are written.
class Settings : public ObservableObject {
public:
    Published<bool> showIcon{*this, false};
    Published<std::optional<std::string>> user{*this, std::nullopt};
};

TEST(Published, ReadsTheLastWrite) {
    Settings settings;
    EXPECT_FALSE(settings.showIcon.get());
    settings.showIcon = true;
    EXPECT_TRUE(settings.showIcon.get());
    settings.user = std::string("ada");
    EXPECT_EQ(settings.user.get(), "ada");
}

TEST(Published, TellsObjectWillChangeBeforeEveryWriteEvenOfTheSameValue) {
    Settings settings;
    std::vector<std::string> seen;
    auto willChange = settings.objectWillChange().sink([&] {
        // Still the old value: observers are told before the write.
        seen.push_back(settings.showIcon.get() ? "will change from true" : "will change from false");
    });
    auto values =
        settings.showIcon.publisher().sink([&](bool value) { seen.push_back(value ? "true" : "false"); });
    seen.clear();

    settings.showIcon = true;
    settings.showIcon = true;
    settings.user = std::nullopt;
    EXPECT_EQ(seen, (std::vector<std::string>{"will change from false", "true", "will change from true",
                                              "true", "will change from true"}));
}

TEST(Published, APublisherDeliversTheCurrentValueAtOnceThenEveryNewOne) {
    Settings settings;
    settings.showIcon = true;
    std::vector<bool> values;
    auto subscription = settings.showIcon.publisher().sink([&](bool value) { values.push_back(value); });
    EXPECT_EQ(values, std::vector<bool>{true});
    settings.showIcon = false;
    settings.showIcon = false;
    EXPECT_EQ(values, (std::vector<bool>{true, false, false}));
}

TEST(Published, SubscriptionsEndWithTheirCancellable) {
    Settings settings;
    int calls = 0;
    {
        auto subscription = settings.showIcon.publisher().sink([&](bool) { ++calls; });
        settings.showIcon = true;
    }
    settings.showIcon = false;
    auto cancelled = settings.showIcon.publisher().sink([&](bool) { ++calls; });
    cancelled.cancel();
    settings.showIcon = true;
    EXPECT_EQ(calls, 3);  // two for the first subscriber, the current value for the second
}

TEST(Published, OutlivingCancellablesAndPublishersAreHarmless) {
    std::optional<AnyCancellable> subscription;
    std::optional<Publisher<bool>> publisher;
    {
        Settings settings;
        subscription = settings.showIcon.publisher().sink([](bool) {});
        publisher = settings.showIcon.publisher();
    }
    int calls = 0;
    auto late = publisher->sink([&](bool) { ++calls; });
    EXPECT_EQ(calls, 0);
    subscription->cancel();
}

TEST(Published, AssignKeepsAPropertyFollowingAnotherPublisher) {
    Settings settings;
    PassthroughSubject<bool> source;
    source.assign(settings.showIcon);
    int willChange = 0;
    auto counter = settings.objectWillChange().sink([&] { ++willChange; });
    source.send(true);
    EXPECT_TRUE(settings.showIcon.get());
    source.send(false);
    EXPECT_FALSE(settings.showIcon.get());
    EXPECT_EQ(willChange, 2);
}

// Published state belongs to the main actor: a write from another thread is a fault, caught where it
// happens rather than as a race later.
TEST(PublishedDeathTest, AWriteOffTheMainThreadStopsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Settings settings;
    settings.showIcon = true;
    EXPECT_DEATH(std::thread([&settings] { settings.showIcon = false; }).join(),
                 "main-actor state touched off the main thread");
    EXPECT_TRUE(settings.showIcon.get());
}

}  // namespace
}  // namespace combine
