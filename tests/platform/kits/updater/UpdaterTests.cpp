#include "platform/kits/updater/Appcast.hpp"
#include "platform/kits/updater/AppcastError.hpp"
#include "platform/kits/updater/StandardUpdaterController.hpp"
#include "platform/kits/updater/Version.hpp"

#include "platform/backends/headless/HeadlessBackend.hpp"
#include "tests/support/CapturedOutput.hpp"
#include "tests/support/LoopbackServer.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace {

using testsupport::LoopbackServer;
using testsupport::MainLoop;
using testsupport::Reply;
using Lines = std::vector<std::string>;

headless::HeadlessBackend& headlessBackend() {
    return headless::HeadlessBackend::installed();
}

foundation::Data bytes(const std::string& text) {
    return foundation::Data(std::string_view(text));
}

struct VersionCase {
    const char* a;
    const char* b;
    int order;
};

TEST(CompareVersionsTest, NumbersCompareAsNumbersAndAMissingPartIsZero) {
    const VersionCase cases[] = {
        {"1.10", "1.9", 1},   {"1.0", "1", 0},          {"1.2.3", "1.2.10", -1}, {"2.0b1", "2.0", -1},
        {"2.0b1", "2.0b2", -1}, {"2.0b1", "2.0.1", -1}, {"010", "10", 0},        {"99999999999999999999", "1", 1},
        {"", "0", 0},
    };
    for (const auto& c : cases) {
        const int order = updater::compareVersions(c.a, c.b);
        EXPECT_EQ((order > 0) - (order < 0), c.order) << c.a << " vs " << c.b;
        const int reverse = updater::compareVersions(c.b, c.a);
        EXPECT_EQ((reverse > 0) - (reverse < 0), -c.order) << c.b << " vs " << c.a;
    }
}

constexpr const char* feed = R"xml(<?xml version="1.0" encoding="utf-8"?>
<rss version="2.0" xmlns:sparkle="http://www.andymatuschak.org/xml-namespaces/sparkle">
  <channel>
    <title>Kestrova</title>
    <item>
      <title>Version 1.2</title>
      <link>https://kestrova.example/releases/1.2</link>
      <sparkle:version>1.2</sparkle:version>
      <enclosure url="https://kestrova.example/kestrova-1.2.tar.gz" length="10" type="application/gzip"/>
    </item>
    <item>
      <title>Version 1.10</title>
      <enclosure url="https://kestrova.example/kestrova-1.10.tar.gz" sparkle:version="1.10"
                 sparkle:shortVersionString="1.10 (spring)"/>
    </item>
    <item><title>No version</title><enclosure url="https://kestrova.example/x.tar.gz"/></item>
    <item><title>No download</title><sparkle:version>9.0</sparkle:version></item>
    <item><title>Bad download</title><sparkle:version>9.1</sparkle:version><enclosure url="not a url"/></item>
  </channel>
</rss>)xml";

const foundation::URL secureFeedURL = *foundation::URL::fromString("https://kestrova.example/appcast.xml");

TEST(AppcastTest, ItemsNeedAVersionAndADownloadAndTheNewestAboveTheRunningOneIsFound) {
    const auto appcast = updater::Appcast::parse(bytes(feed), secureFeedURL);
    ASSERT_EQ(appcast.items().size(), 2u);
    EXPECT_EQ(appcast.items()[0].version, "1.2");
    EXPECT_EQ(appcast.items()[0].displayVersion, "1.2");
    EXPECT_EQ(appcast.items()[0].infoURL().absoluteString(), "https://kestrova.example/releases/1.2");
    EXPECT_EQ(appcast.items()[1].displayVersion, "1.10 (spring)");
    EXPECT_EQ(appcast.items()[1].infoURL().absoluteString(), "https://kestrova.example/kestrova-1.10.tar.gz");

    EXPECT_EQ(appcast.newestItemAbove("1.0")->version, "1.10");
    EXPECT_EQ(appcast.newestItemAbove("1.5")->version, "1.10");
    EXPECT_FALSE(appcast.newestItemAbove("1.10").has_value());
}

TEST(AppcastTest, ADocumentThatIsNoRSSFeedIsAnError) {
    for (const char* document : {"", "<rss><channel>", "not xml at all", "<feed><item/></feed>"}) {
        EXPECT_THROW(updater::Appcast::parse(bytes(document), secureFeedURL), updater::AppcastError) << document;
    }
    EXPECT_TRUE(updater::Appcast::parse(bytes("<rss><channel/></rss>"), secureFeedURL).items().empty());
}

struct LinkCase {
    const char* feed;
    // Empty: the item has none.
    std::string link;
    bool allowed;
};

// Each link goes in once as the download of the newest release, where a refusal leaves the older one
// to be offered, and once as the newest release's page, where a refusal leaves its download.
TEST(AppcastTest, LinksAreHTTPSOrPlainHTTPFromAFeedOnThisMachine) {
    const LinkCase cases[] = {
        {"https://kestrova.example/appcast.xml", "https://kestrova.example/k-2.0.tar.gz", true},
        {"https://kestrova.example/appcast.xml", "HTTPS://KESTROVA.EXAMPLE/k-2.0.tar.gz", true},
        {"http://127.0.0.1:8080/appcast.xml", "https://kestrova.example/k-2.0.tar.gz", true},
        {"http://127.0.0.1:8080/appcast.xml", "http://127.0.0.1:8080/k-2.0.tar.gz", true},
        {"http://127.200.3.4/appcast.xml", "http://kestrova.example/k-2.0.tar.gz", true},
        {"http://[::1]:8080/appcast.xml", "http://[::1]:8080/k-2.0.tar.gz", true},
        {"http://localhost:8080/appcast.xml", "http://localhost:8080/k-2.0.tar.gz", true},
        {"http://Updates.Kestrova.LocalHost/appcast.xml", "http://kestrova.localhost/k-2.0.tar.gz", true},
        {"http://kestrova.example/appcast.xml", "http://kestrova.example/k-2.0.tar.gz", false},
        {"http://128.0.0.1/appcast.xml", "http://128.0.0.1/k-2.0.tar.gz", false},
        {"http://localhost.example/appcast.xml", "http://localhost.example/k-2.0.tar.gz", false},
        {"http://notlocalhost/appcast.xml", "http://notlocalhost/k-2.0.tar.gz", false},
        {"https://127.0.0.1/appcast.xml", "http://127.0.0.1/k-2.0.tar.gz", false},
        {"file:///srv/appcast.xml", "http://127.0.0.1/k-2.0.tar.gz", false},
        {"http://127.0.0.1:8080/appcast.xml", "file:///etc/passwd", false},
        {"http://127.0.0.1:8080/appcast.xml", "ssh://kestrova.example/k-2.0.tar.gz", false},
        {"http://127.0.0.1:8080/appcast.xml", "javascript:alert(1)", false},
        {"https://kestrova.example/appcast.xml", "https:/k-2.0.tar.gz", false},
        {"https://kestrova.example/appcast.xml", "k-2.0.tar.gz", false},
        {"https://kestrova.example/appcast.xml", "not a url", false},
        {"https://kestrova.example/appcast.xml", "", false},
    };
    const std::string older = "https://kestrova.example/k-1.5.tar.gz";
    const auto olderItem = "<item><sparkle:version>1.5</sparkle:version><enclosure url=\"" + older + "\"/></item>";
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.feed) + " offers " + c.link);
        const auto feedURL = *foundation::URL::fromString(c.feed);
        const std::vector<std::string> refused =
            c.allowed || c.link.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.link};

        const std::string enclosure = c.link.empty() ? "" : "<enclosure url=\"" + c.link + "\"/>";
        const auto asDownload = updater::Appcast::parse(
            bytes("<rss><channel><item><sparkle:version>2.0</sparkle:version>" + enclosure + "</item>" + olderItem +
                  "</channel></rss>"),
            feedURL);
        EXPECT_EQ(asDownload.newestItemAbove("1.0")->infoURL().absoluteString(), c.allowed ? c.link : older);
        EXPECT_EQ(asDownload.refusedLinks(), refused);

        const std::string link = c.link.empty() ? "" : "<link>" + c.link + "</link>";
        const auto asPage = updater::Appcast::parse(
            bytes("<rss><channel><item><sparkle:version>2.0</sparkle:version>" + link + "<enclosure url=\"" + older +
                  "\"/></item></channel></rss>"),
            feedURL);
        EXPECT_EQ(asPage.newestItemAbove("1.0")->infoURL().absoluteString(), c.allowed ? c.link : older);
        EXPECT_EQ(asPage.refusedLinks(), refused);
    }
}

class UpdaterTest : public testing::Test {
protected:
    void SetUp() override {
        headlessBackend().effects().clear();
        headlessBackend().updaterUserDriver().setWantsUpdate(true);
    }

    updater::UpdaterConfiguration configuration(std::string version = "1.2",
                                                std::chrono::seconds interval = std::chrono::hours(24)) {
        return {foundation::URL::fromString(server.url("/appcast.xml")), interval, std::move(version)};
    }
    static Lines updaterLines() {
        auto lines = headlessBackend().effects().linesStartingWith("updater: ");
        const auto opened = headlessBackend().effects().linesStartingWith("workspace opened: ");
        lines.insert(lines.end(), opened.begin(), opened.end());
        return lines;
    }
    static void finishCheck(updater::Updater& updater) {
        ASSERT_TRUE(MainLoop::iterateUntil([&] { return !updater.sessionInProgress(); }, std::chrono::seconds(60)));
    }

    LoopbackServer server;
};

TEST_F(UpdaterTest, WithoutAFeedNothingIsCheckedAndACheckCanNeverBegin) {
    updater::StandardUpdaterController controller({std::nullopt, std::chrono::hours(24), "1.2"}, true);
    EXPECT_FALSE(controller.updater().canCheckForUpdates.get());
    controller.checkForUpdates();
    EXPECT_FALSE(controller.updater().sessionInProgress());
    EXPECT_TRUE(updaterLines().empty());
}

TEST_F(UpdaterTest, ACheckRunsAtStartAndNoCheckMayBeginWhileItRuns) {
    server.reply("GET", "/appcast.xml", {.status = 200, .body = feed, .delay = std::chrono::milliseconds(100)});
    updater::StandardUpdaterController controller(configuration("1.10"), false);
    std::vector<bool> heard;
    auto subscription = controller.updater().canCheckForUpdates.publisher().sink([&](const bool& can) {
        heard.push_back(can);
    });
    controller.updater().startUpdater();
    EXPECT_TRUE(controller.updater().sessionInProgress());
    controller.checkForUpdates();  // may not begin: ignored
    finishCheck(controller.updater());
    EXPECT_EQ(heard, (std::vector<bool>{false, true, false, true}));
    EXPECT_EQ(server.requests().size(), 1u);
    EXPECT_TRUE(updaterLines().empty());  // a background check that finds nothing says nothing
}

struct CheckCase {
    const char* name;
    Reply reply;
    std::string runningVersion;
    bool userInitiated;
    Lines expected;
    // The lines only begin so (a message of the XML parser follows).
    bool prefixes = false;
};

constexpr std::size_t largestFeed = std::size_t{8} << 20;

// The feed, padded with a comment to `size` bytes.
std::string feedOfSize(std::size_t size) {
    std::string document = feed;
    const std::string end = "</rss>";
    const std::size_t padding = size - document.size() - std::string_view("<!---->").size();
    document.insert(document.size() - end.size(), "<!--" + std::string(padding, '-') + "-->");
    return document;
}

class UpdaterCheckTest : public UpdaterTest, public testing::WithParamInterface<CheckCase> {};

TEST_P(UpdaterCheckTest, WhatTheUserIsToldAfterACheck) {
    const CheckCase& c = GetParam();
    server.reply("GET", "/appcast.xml", c.reply);
    updater::StandardUpdaterController controller(configuration(c.runningVersion), !c.userInitiated);
    if (c.userInitiated) {
        controller.updater().startUpdater();
        finishCheck(controller.updater());
        headlessBackend().effects().clear();
        controller.checkForUpdates();
    }
    finishCheck(controller.updater());
    const Lines lines = updaterLines();
    if (c.prefixes) {
        ASSERT_EQ(lines.size(), c.expected.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].substr(0, c.expected[i].size()), c.expected[i]);
        }
    } else {
        EXPECT_EQ(lines, c.expected);
    }
    EXPECT_TRUE(controller.updater().canCheckForUpdates.get());
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, UpdaterCheckTest,
    testing::Values(
        CheckCase{"UserUpToDate", {.status = 200, .body = feed}, "1.10", true, {"updater: up to date 1.10"}},
        CheckCase{"UserNewerRelease",
                  {.status = 200, .body = feed},
                  "1.2",
                  true,
                  {"updater: update found 1.10 (spring) https://kestrova.example/kestrova-1.10.tar.gz",
                   "workspace opened: https://kestrova.example/kestrova-1.10.tar.gz"}},
        CheckCase{"BackgroundNewerRelease",
                  {.status = 200, .body = feed},
                  "1.0",
                  false,
                  {"updater: update found 1.10 (spring) https://kestrova.example/kestrova-1.10.tar.gz",
                   "workspace opened: https://kestrova.example/kestrova-1.10.tar.gz"}},
        CheckCase{"UserServerError",
                  {.status = 500, .body = "oops"},
                  "1.2",
                  true,
                  {"updater: error The update feed answered with HTTP status 500."}},
        CheckCase{"UserMalformedFeed",
                  {.status = 200, .body = "<rss><channel>"},
                  "1.2",
                  true,
                  {"updater: error the update feed is no well-formed XML: "},
                  true},
        CheckCase{"BackgroundServerErrorSaysNothing", {.status = 500}, "1.2", false, {}},
        CheckCase{"UserFeedOfTheLargestSize",
                  {.status = 200, .body = feedOfSize(largestFeed)},
                  "1.2",
                  true,
                  {"updater: update found 1.10 (spring) https://kestrova.example/kestrova-1.10.tar.gz",
                   "workspace opened: https://kestrova.example/kestrova-1.10.tar.gz"}},
        CheckCase{"UserFeedAboveTheLargestSize",
                  {.status = 200, .body = feedOfSize(largestFeed + 1)},
                  "1.2",
                  true,
                  {"updater: error The update feed is larger than the largest feed allowed (8 MiB)."}}),
    [](const testing::TestParamInfo<CheckCase>& param) { return std::string(param.param.name); });

TEST_F(UpdaterTest, AReleaseTheUserDeclinesOpensNothing) {
    server.reply("GET", "/appcast.xml", {.status = 200, .body = feed});
    headlessBackend().updaterUserDriver().setWantsUpdate(false);
    updater::StandardUpdaterController controller(configuration("1.0"), true);
    finishCheck(controller.updater());
    EXPECT_EQ(updaterLines(), Lines{"updater: update found 1.10 (spring) https://kestrova.example/kestrova-1.10.tar.gz"});
}

// The feed comes over plain http from this machine, where plain http links are allowed too.
TEST_F(UpdaterTest, ALinkThatMayNotBeOpenedLeavesItsReleaseOutAndIsSaidOnce) {
    server.reply("GET", "/appcast.xml", {.status = 200, .body = R"xml(<rss><channel>
      <item><sparkle:version>3.0</sparkle:version>
            <enclosure url="ssh://kestrova.example/k&#10;kestrova: forged"/></item>
      <item><sparkle:version>2.5</sparkle:version><enclosure url="file:///etc/passwd"/></item>
      <item><sparkle:version>2.1</sparkle:version><link>javascript:alert(1)</link>
            <enclosure url="http://127.0.0.1/kestrova-2.1.tar.gz"/></item>
      <item><sparkle:version>2.0</sparkle:version><enclosure url="https://kestrova.example/kestrova-2.0.tar.gz"/></item>
    </channel></rss>)xml"});
    const testsupport::CapturedOutput standardError(2);
    updater::StandardUpdaterController controller(configuration("1.0"), true);
    finishCheck(controller.updater());
    EXPECT_EQ(updaterLines(), (Lines{"updater: update found 2.1 http://127.0.0.1/kestrova-2.1.tar.gz",
                                     "workspace opened: http://127.0.0.1/kestrova-2.1.tar.gz"}));
    EXPECT_EQ(standardError.text(), "kestrova: left out 3 links of the update feed that are not https, the first: "
                                    "ssh://kestrova.example/k?kestrova: forged\n");
}

// However long the reply, the download stops soon after the largest feed and the check fails.
TEST_F(UpdaterTest, AnEndlessFeedIsCutOffAtTheLargestFeed) {
    std::string items;
    while (items.size() < 64 * 1024) {
        items += R"(<item><sparkle:version>9.0</sparkle:version><enclosure url="https://kestrova.example/k.tar.gz"/>)"
                 "</item>";
    }
    server.reply("GET", "/appcast.xml", Reply::endless(items));
    // The check at start fails in silence; the user's says why.
    updater::StandardUpdaterController controller(configuration(), true);
    finishCheck(controller.updater());
    EXPECT_TRUE(updaterLines().empty());
    controller.checkForUpdates();
    finishCheck(controller.updater());
    EXPECT_EQ(updaterLines(), Lines{"updater: error The update feed is larger than the largest feed allowed (8 MiB)."});
    // Two downloads of the largest feed, each with what the loopback connection buffers (a few MiB),
    // far below the session's own limit of 64 MiB for one.
    EXPECT_LT(server.endlessBytesSent(), 6 * largestFeed);
}

TEST_F(UpdaterTest, TheBackgroundCheckRepeatsAtTheInterval) {
    server.reply("GET", "/appcast.xml", {.status = 200, .body = feed});
    updater::StandardUpdaterController controller(configuration("1.10", std::chrono::seconds(1)), true);
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return server.requests().size() >= 2; }));
}

}  // namespace
