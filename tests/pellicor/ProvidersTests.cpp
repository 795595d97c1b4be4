// The widgets' providers against the loopback API: where each entry's data comes from when the
// token, the server or the cached user is missing, and what the icon downloads keep.
#include "kestrova/intents/IntentJournal.hpp"
#include "kestrova/intents/SelectJournalIntent.hpp"
#include "kestrova/model/AppGroupDefaults.hpp"
#include "kestrova/model/SharedDefaults.hpp"
#include "pellicor/DailyTimelineProvider.hpp"
#include "pellicor/JournalDays.hpp"
#include "pellicor/JournalWidgetProvider.hpp"
#include "pellicor/Store.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "tests/kestrova/networking/APIServer.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace pellicor {
namespace {

using kestrova::apitest::api;
using kestrova::apitest::requestsTo;
using widgetkit::TimelineProviderContext;
using widgetkit::WidgetFamily;

constexpr auto bound = std::chrono::seconds(30);

// Journals 3 (first) and 12 as the application cached them.
constexpr std::string_view cachedUser =
    R"({"id":1,"username":"ann","numberOfEntriesToday":4,"journals":[)"
    R"({"id":3,"title":"Cached first","description":"","slug":"first","private":false,"isDue":true},)"
    R"({"id":12,"title":"Cached twelve","description":"","slug":"twelve","private":false,"isDue":true}]})";

class ProvidersTest : public ::testing::Test {
protected:
    void SetUp() override {
        (void)api();
        kestrova::AppGroupDefaults::shared().removeUser();
    }
    static void cacheUser(std::string_view json) { kestrova::sharedDefaults().set(foundation::Data(json), "user"); }
    static Store store(std::optional<std::string> token) { return Store(std::move(token), kestrova::sharedDefaults()); }
    static std::shared_ptr<const kestrova::SelectJournalIntent> configured(std::optional<std::string> identifier) {
        auto intent = std::make_shared<kestrova::SelectJournalIntent>();
        if (identifier) {
            intent->setJournal(std::make_shared<kestrova::IntentJournal>(*identifier, "Journal", std::nullopt));
        }
        return intent;
    }
};

// Waits for the one completion of a provider call, wherever it comes from.
template <typename Value>
class Completion {
public:
    std::function<void(Value)> handler() {
        return [promise = promise_](Value value) { promise->set_value(std::move(value)); };
    }
    Value await() {
        auto future = promise_->get_future();
        EXPECT_EQ(future.wait_for(bound), std::future_status::ready) << "the provider never completed";
        return future.get();
    }

private:
    std::shared_ptr<std::promise<Value>> promise_ = std::make_shared<std::promise<Value>>();
};

TEST_F(ProvidersTest, TheJournalWidgetFallsBackFromTheAPIToTheCacheToTheSamples) {
    struct Case {
        std::string label;
        std::optional<std::string> token;
        int status;
        bool cached;
        std::optional<std::string> identifier;
        std::string title;
        std::size_t requests;
    };
    const Case cases[] = {
        {"the API's copy", "t0k", 200, true, "12", "From the API", 1},
        {"no token: the cached copy, no request", std::nullopt, 200, true, "12", "Cached twelve", 0},
        {"refused: the cached copy", "t0k", 401, true, "012", "Cached twelve", 1},
        {"not cached: the cached user's first", "t0k", 500, true, "99", "Cached first", 1},
        {"nothing cached: the first sample", "t0k", 401, false, "12", "Meditation", 1},
        {"an identifier with a blank is none", "t0k", 200, true, " 12", "Meditation", 0},
        {"never configured", "t0k", 200, true, std::nullopt, "Meditation", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        api().reply("GET", "/journals/12", {.status = c.status, .body = R"({"id":12,"title":"From the API","description":"","slug":"s","private":false})"});
        api().reply("GET", "/journals/99", {.status = c.status, .body = "{}"});
        kestrova::AppGroupDefaults::shared().removeUser();
        if (c.cached) {
            cacheUser(cachedUser);
        }
        const std::size_t before = api().requests().size();
        const Store widgetStore = store(c.token);
        const JournalWidgetProvider provider(widgetStore);
        const auto started = foundation::Date::now();
        Completion<widgetkit::Timeline<JournalEntry>> done;
        const auto work = provider.getTimeline(configured(c.identifier), {}, done.handler());
        const auto timeline = done.await();
        ASSERT_EQ(timeline.entries.size(), 1U);
        EXPECT_EQ(std::string(timeline.entries.front().journal.title.view()), c.title);
        EXPECT_EQ(timeline.policy, widgetkit::TimelineReloadPolicy::atEnd());
        const double ahead = timeline.entries.front().date.timeIntervalSinceReferenceDate() - started.timeIntervalSinceReferenceDate();
        EXPECT_GT(ahead, 14 * 60);
        EXPECT_LT(ahead, 16 * 60);
        EXPECT_EQ(api().requests().size() - before, c.requests);
        // Without a journal to fetch the answer comes before the call returns.
        EXPECT_EQ(work.has_value(), c.requests > 0 || c.title != "Meditation");
    }
}

TEST_F(ProvidersTest, TheJournalWidgetsSnapshotReadsOnlyTheCache) {
    cacheUser(cachedUser);
    const std::size_t before = api().requests().size();
    const Store widgetStore = store("t0k");
    const JournalWidgetProvider provider(widgetStore);
    std::optional<JournalEntry> entry;
    EXPECT_FALSE(provider.getSnapshot(configured("12"), {}, [&](JournalEntry e) { entry = std::move(e); }));
    ASSERT_TRUE(entry);
    EXPECT_EQ(std::string(entry->journal.title.view()), "Cached twelve");
    EXPECT_EQ(api().requests().size(), before);
}

TEST_F(ProvidersTest, TheTodayTimelineUsesTheAPIElseTheCachedUserAndKeepsIconBytesOfAnErrorPage) {
    const std::string icon = api().url("/icons/missing.png");
    api().reply("GET", "/icons/missing.png", {.status = 404, .body = "no such icon"});
    const std::string fetched = R"({"id":1,"username":"ann","numberOfEntriesToday":7,"journals":[)"
                                R"({"id":5,"title":"Fetched","description":"","slug":"f","private":false,"isDue":true,"iconLink":")" +
                                icon + R"("}]})";
    struct Case {
        std::string label;
        std::optional<std::string> token;
        int status;
        std::string title;
        std::int64_t count;
    };
    const Case cases[] = {
        {"signed in", "t0k", 200, "Fetched", 7},
        {"refused: the cached user, unsaid", "t0k", 401, "Cached first", 4},
        {"signed out: the cached user, no request", std::nullopt, 200, "Cached first", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        api().reply("GET", "/auth", {.status = c.status, .body = fetched});
        cacheUser(cachedUser);
        const std::size_t before = requestsTo("/auth");
        const DailyTimelineProvider provider(store(c.token));
        Completion<widgetkit::Timeline<DailyEntry>> done;
        (void)provider.getTimeline(TimelineProviderContext{WidgetFamily::systemMedium, {364, 170}, false},
                                   done.handler());
        const auto timeline = done.await();
        ASSERT_EQ(timeline.entries.size(), 1U);
        const auto& entry = timeline.entries.front();
        ASSERT_FALSE(entry.journals.empty());
        EXPECT_EQ(std::string(entry.journals.front().title.view()), c.title);
        EXPECT_EQ(entry.numberOfEntriesToday, c.count);
        EXPECT_EQ(requestsTo("/auth") - before, c.token ? 1U : 0U);
        if (c.title == "Fetched") {
            ASSERT_TRUE(entry.journals.front().iconImageData);
            EXPECT_EQ(std::string(entry.journals.front().iconImageData->view()), "no such icon");
        }
    }
}

TEST_F(ProvidersTest, ACancelledTodayTimelineStillCompletesOnceWithoutTheIconInFlight) {
    api().reply("GET", "/icons/slow.png", testsupport::Reply::stalling());
    api().reply("GET", "/auth",
                {.body = R"({"id":1,"username":"ann","journals":[{"id":5,"title":"Slow","description":"","slug":"s",)"
                         R"("private":false,"isDue":true,"iconLink":")" +
                         api().url("/icons/slow.png") + R"("}]})"});
    const DailyTimelineProvider provider(store("t0k"));
    Completion<widgetkit::Timeline<DailyEntry>> done;
    const auto work = provider.getTimeline(TimelineProviderContext{WidgetFamily::systemMedium, {364, 170}, false},
                                           done.handler());
    ASSERT_TRUE(work);
    // The download has reached the server, which holds it.
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (requestsTo("/icons/slow.png") == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
    ASSERT_GT(requestsTo("/icons/slow.png"), 0U);
    work->cancel();
    const auto timeline = done.await();
    ASSERT_EQ(timeline.entries.size(), 1U);
    ASSERT_EQ(timeline.entries.front().journals.size(), 1U);
    EXPECT_FALSE(timeline.entries.front().journals.front().iconImageData);
}

TEST_F(ProvidersTest, TheTodayPercentageCountsTheWholeListInSinglePrecision) {
    const auto journal = [](std::int64_t id, bool done) {
        kestrova::Journal made;
        made.id = id;
        made.isDue = true;
        if (done) {
            made.streakDate = foundation::Text(sampleJournals().front().streakDate->view());
        }
        return made;
    };
    EXPECT_EQ(percentageToday({journal(1, true), journal(2, true), journal(3, true), journal(4, false)}), 0.75F);
    EXPECT_EQ(percentageToday({journal(1, false)}), 0.0F);
    EXPECT_EQ(percentageToday({}), 0.0F);
}

}  // namespace
}  // namespace pellicor
