#include "platform/kits/webkit/WebsiteDataStore.hpp"

#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/backends/headless/HeadlessBackend.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using foundation::Date;
using foundation::HTTPCookie;
using testsupport::MainLoop;

headless::HeadlessWebsiteData& data() {
    return headless::HeadlessBackend::installed().websiteData();
}

class WebsiteDataStoreTest : public testing::Test {
protected:
    void SetUp() override {
        data().removeData(webkit::WebsiteDataStore::allWebsiteDataTypes(), Date::fromTimeIntervalSince1970(0), [] {});
        headless::HeadlessBackend::installed().effects().clear();
    }

    webkit::WebsiteDataStore& store_ = webkit::WebsiteDataStore::defaultDataStore();
};

TEST_F(WebsiteDataStoreTest, CookiesAreAnsweredLaterOnTheMainThreadInTheStoresOrder) {
    data().setCookie({"token", "a", "kestrova.example"}, Date::now());
    data().setCookie({"theme", "dark", "kestrova.example"}, Date::now());
    data().setCookie({"token", "b", "beta.kestrova.example"}, Date::now());
    data().setCookie({"token", "a2", "kestrova.example"}, Date::now());  // replaces the first in place

    std::optional<std::vector<HTTPCookie>> answer;
    bool onMainThread = false;
    store_.httpCookieStore().getAllCookies([&](std::vector<HTTPCookie> cookies) {
        onMainThread = concurrency::MainActor::isMainThread();
        answer = std::move(cookies);
    });
    EXPECT_FALSE(answer.has_value());
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return answer.has_value(); }));
    EXPECT_TRUE(onMainThread);
    EXPECT_EQ(*answer, (std::vector<HTTPCookie>{{"token", "a2", "kestrova.example"},
                                                {"theme", "dark", "kestrova.example"},
                                                {"token", "b", "beta.kestrova.example"}}));
}

TEST_F(WebsiteDataStoreTest, RemovingTakesTheGivenTypesModifiedSinceTheDate) {
    const Date early = Date::fromTimeIntervalSince1970(1'000);
    const Date late = Date::fromTimeIntervalSince1970(2'000);
    struct Case {
        const char* what;
        std::set<std::string> types;
        Date since;
        std::map<std::string, std::size_t> left;
    };
    const std::vector<Case> cases = {
        {"cookies since the late one", {"cookies"}, late, {{"cookies", 1}, {"disk-cache", 2}, {"local-storage", 1}}},
        {"caches since the start of 1970", {"disk-cache"}, Date::fromTimeIntervalSince1970(0),
         {{"cookies", 2}, {"local-storage", 1}}},
        {"everything since 1970", webkit::WebsiteDataStore::allWebsiteDataTypes(), Date::fromTimeIntervalSince1970(0),
         {}},
    };
    for (const auto& c : cases) {
        SetUp();
        data().setCookie({"token", "old", "kestrova.example"}, early);
        data().setCookie({"token", "new", "beta.kestrova.example"}, late);
        data().addRecord("disk-cache", early);
        data().addRecord("disk-cache", late);
        data().addRecord("local-storage", late);

        bool done = false;
        store_.removeData(c.types, c.since, [&] { done = concurrency::MainActor::isMainThread(); });
        ASSERT_TRUE(MainLoop::iterateUntil([&] { return done; })) << c.what;
        EXPECT_EQ(data().recordCounts(), c.left) << c.what;
    }
}

TEST_F(WebsiteDataStoreTest, AnAwaitedRemovalGoesOnOnTheMainActorOnceTheDataIsGone) {
    data().addRecord("disk-cache", Date::now());
    data().holdRemovals();
    bool resumedOnMain = false;
    const auto task = concurrency::spawn(concurrency::MainActor::shared(), [&]() -> concurrency::Task<void> {
        co_await webkit::WebsiteDataStore::defaultDataStore().removeData(
            webkit::WebsiteDataStore::allWebsiteDataTypes(), Date::fromTimeIntervalSince1970(0));
        resumedOnMain = concurrency::MainActor::isMainThread();
    });
    MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(50));
    EXPECT_FALSE(task.isFinished());
    data().releaseRemovals();
    MainLoop::runUntilFinished(task);
    EXPECT_TRUE(resumedOnMain);
    EXPECT_EQ(headless::HeadlessBackend::installed().effects().linesStartingWith("website data removed:").size(), 1u);
}

}  // namespace
