// The host's logic headless: a board, a clock, extension sessions and journal options of the
// test's own, with the real main loop and thread pool carrying the work between them.

#include "tools/widgethost/WidgetHost.hpp"

#include "tools/widgethost/FollowingHost.hpp"

#include "kestrova/intents/IntentJournal.hpp"
#include "kestrova/intents/IntentSchema.hpp"
#include "platform/kits/intents/ObjectSection.hpp"
#include "platform/kits/widgetkit/ReloadRequests.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/ScopedAppGroupDirectory.hpp"
#include "tests/support/ScratchDirectory.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <mutex>
#include <sstream>

namespace {

using ::testing::HasSubstr;
using foundation::Date;
using testsupport::MainLoop;
using widgetkit::WidgetBoard;
using widgetkit::WidgetFamily;

class FakeBoard final : public WidgetBoard {
public:
    void show(Events events) override { events_ = std::move(events); }
    void setTiles(std::vector<Tile> tiles) override { tiles_ = std::move(tiles); }
    [[nodiscard]] double scale() const override { return 2; }
    void chooseWidget(std::vector<GalleryItem> items, std::function<void(std::optional<std::size_t>)> chosen) override {
        gallery_ = std::move(items);
        chosenWidget_ = std::move(chosen);
    }
    void chooseOption(std::string title, std::vector<OptionSection> sections, std::optional<std::string> current,
                      std::function<void(std::optional<std::string>)> chosen) override {
        optionTitle_ = std::move(title);
        sections_ = std::move(sections);
        current_ = std::move(current);
        chosenOption_ = std::move(chosen);
    }

    // The first byte of each tile's picture, 0 for an empty one.
    [[nodiscard]] std::vector<int> shown() const {
        std::vector<int> marks;
        for (const auto& tile : tiles_) {
            marks.push_back(tile.png.empty() ? 0 : tile.png.front());
        }
        return marks;
    }

    Events events_;
    std::vector<Tile> tiles_;
    std::vector<GalleryItem> gallery_;
    std::function<void(std::optional<std::size_t>)> chosenWidget_;
    std::string optionTitle_;
    std::vector<OptionSection> sections_;
    std::optional<std::string> current_;
    std::function<void(std::optional<std::string>)> chosenOption_;
};

class FakeClock final : public widgethost::Clock {
public:
    [[nodiscard]] Date now() const override { return now_; }
    void wakeAt(Date date, std::function<void()> due) override {
        wake_ = date;
        due_ = std::move(due);
    }
    void advanceTo(double seconds) {
        now_ = Date::fromTimeIntervalSinceReferenceDate(seconds);
        if (wake_ && *wake_ <= now_ && due_) {
            wake_.reset();
            std::exchange(due_, nullptr)();
        }
    }

    Date now_ = Date::fromTimeIntervalSinceReferenceDate(1000);
    std::optional<Date> wake_;
    std::function<void()> due_;
};

widgetkit::RenderedEntry entry(double date, std::uint8_t mark) {
    widgetkit::RenderedEntry made;
    made.date = Date::fromTimeIntervalSinceReferenceDate(date);
    made.png = {mark};
    made.size = {170, 170};
    made.scale = 2;
    return made;
}

// What the extension answers, decided by the test; called on the pool's threads. The sessions share
// it, so a batch still running when a test ends (its host gone) does not outlive it.
struct Script {
    std::mutex mutex;
    std::function<widgetkit::RenderedTimeline(const widgetkit::WidgetRequest&)> timeline;
    std::vector<widgetkit::WidgetRequest> timelineRequests;
    std::atomic<int> sessions{0};
    std::atomic<int> answers{0};
};

class FakeSession final : public widgethost::ExtensionSession {
public:
    explicit FakeSession(std::shared_ptr<Script> script) : script_(std::move(script)) {}
    std::vector<widgetkit::WidgetDescription> widgets() override {
        return {{"DailyWidget", "Today", "Check your daily journals.", {WidgetFamily::systemSmall}, ""}};
    }
    widgetkit::RenderedEntry placeholder(const widgetkit::WidgetRequest&) override { return entry(0, 1); }
    widgetkit::RenderedEntry snapshot(const widgetkit::WidgetRequest& request) override {
        return entry(0, request.isPreview ? 9 : 8);
    }
    widgetkit::RenderedTimeline timeline(const widgetkit::WidgetRequest& request) override {
        std::function<widgetkit::RenderedTimeline(const widgetkit::WidgetRequest&)> answer;
        {
            const std::lock_guard lock(script_->mutex);
            script_->timelineRequests.push_back(request);
            answer = script_->timeline;
        }
        const auto done = [this] { ++script_->answers; };
        try {
            auto timeline = answer(request);
            done();
            return timeline;
        } catch (...) {
            done();
            throw;
        }
    }

private:
    std::shared_ptr<Script> script_;
};

class FakeJournals final : public widgethost::JournalChoices {
public:
    std::shared_ptr<intents::ObjectCollection> options() override {
        const auto journal = [](const char* id, const char* title) -> std::shared_ptr<intents::Object> {
            return std::make_shared<kestrova::IntentJournal>(id, title, std::nullopt);
        };
        return std::make_shared<intents::ObjectCollection>(std::vector<std::shared_ptr<intents::ObjectSection>>{
            std::make_shared<intents::ObjectSection>("Today", std::vector{journal("7", "🏃 Workout")}),
            std::make_shared<intents::ObjectSection>("Not Today", std::vector{journal("3", "Music")})});
    }
    std::shared_ptr<intents::Object> defaultJournal() override {
        return defaultId ? std::make_shared<kestrova::IntentJournal>(*defaultId, "🏃 Workout", std::nullopt) : nullptr;
    }
    std::optional<std::string> defaultId = "7";
};

class WidgetHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        kestrova::registerIntentSchema();
        script_->timeline = [](const widgetkit::WidgetRequest&) {
            return widgetkit::RenderedTimeline{.entries = {entry(1000, 2)}, .policy = widgetkit::TimelineReloadPolicy::never()};
        };
    }

    std::unique_ptr<widgethost::WidgetHost> makeHost() { return std::make_unique<widgethost::WidgetHost>(parts()); }

    widgethost::WidgetHost::Parts parts() {
        return widgethost::WidgetHost::Parts{
            .board = board_,
            .clock = clock_,
            .sessions = [script = script_]() -> std::unique_ptr<widgethost::ExtensionSession> {
                ++script->sessions;
                return std::make_unique<FakeSession>(script);
            },
            .journals = journals_,
            .links = widgethost::LinkRouter(
                [this](const foundation::URL& url) {
                    opened_.push_back(url.absoluteString());
                    return true;
                },
                [](const std::string&) {}),
            .store = store_,
            .errors = errors_,
        };
    }

    // Runs the loop until `count` timelines were answered and their answers taken.
    void awaitAnswers(int count) {
        ASSERT_TRUE(MainLoop::iterateUntil([&] { return script_->answers >= count; }));
        // The answers come back through the main queue: one more turn takes them.
        bool drained = false;
        concurrency::MainActor::shared().enqueue([&drained] { drained = true; });
        ASSERT_TRUE(MainLoop::iterateUntil([&] { return drained; }));
    }

    testsupport::ScopedAppGroupDirectory group_;
    testsupport::ScratchDirectory scratch_;
    std::ostringstream errors_;
    widgethost::PlacementStore store_{scratch_ / "widgets", errors_};
    FakeBoard board_;
    FakeClock clock_;
    FakeJournals journals_;
    std::shared_ptr<Script> script_ = std::make_shared<Script>();
    std::vector<std::string> opened_;
};

TEST_F(WidgetHostTest, TheFirstRunPlacesTodayAndAJournalOnTheDefaultJournal) {
    const auto host = makeHost();
    host->start(0);
    const auto placements = host->placements();
    ASSERT_EQ(placements.size(), 2u);
    EXPECT_EQ(placements[0].kind, "DailyWidget");
    EXPECT_EQ(placements[0].family, WidgetFamily::systemMedium);
    EXPECT_EQ(placements[1].kind, "JournalWidget");
    EXPECT_EQ(placements[1].family, WidgetFamily::systemSmall);
    EXPECT_EQ(placements[1].journalIdentifier(), "7");
    EXPECT_EQ(board_.shown(), (std::vector<int>{0, 0})) << "empty tiles until the placeholders come";
    awaitAnswers(2);
    EXPECT_EQ(board_.shown(), (std::vector<int>{2, 2}));
    ASSERT_TRUE(store_.placements());
    EXPECT_EQ(store_.placements()->size(), 2u);
    EXPECT_EQ(script_->sessions, 1) << "one extension for the whole batch";
    EXPECT_EQ(script_->timelineRequests.at(0).scale, 2);

    journals_.defaultId.reset();
    std::filesystem::remove(store_.directory() / "placements");
    const auto unconfigured = makeHost();
    unconfigured->start(0);
    EXPECT_EQ(unconfigured->placements().at(1).journalIdentifier(), std::nullopt);
}

TEST_F(WidgetHostTest, ThePlaceholderShowsUntilTheTimelineComes) {
    std::promise<void> release;
    auto released = release.get_future().share();
    script_->timeline = [released](const widgetkit::WidgetRequest&) {
        released.wait();
        return widgetkit::RenderedTimeline{.entries = {entry(1000, 2)}, .policy = widgetkit::TimelineReloadPolicy::never()};
    };
    store_.savePlacements({{"DailyWidget", WidgetFamily::systemSmall, nullptr}});
    const auto host = makeHost();
    host->start(0);
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return board_.shown() == std::vector<int>{1}; }));
    release.set_value();
    awaitAnswers(1);
    EXPECT_EQ(board_.shown(), std::vector<int>{2});
}

TEST_F(WidgetHostTest, AReloadRequestMadeWhileTheHostWasDownIsHonouredAtItsStartAndKept) {
    widgetkit::ReloadRequests::post();
    widgetkit::ReloadRequests::post();
    store_.saveReloadCount(1);
    store_.savePlacements({{"DailyWidget", WidgetFamily::systemSmall, nullptr}});
    const auto host = makeHost();
    host->start(widgetkit::ReloadRequests::count());
    awaitAnswers(1);
    EXPECT_EQ(store_.reloadCount(), 2u);

    // Each later request is a batch of its own, served by a fresh extension.
    host->reloadRequested(3);
    awaitAnswers(2);
    host->reloadRequested(4);
    awaitAnswers(3);
    EXPECT_EQ(script_->sessions, 3);
    EXPECT_EQ(store_.reloadCount(), 4u);
}

TEST_F(WidgetHostTest, EveryRequestOnTheAppGroupsCounterReloadsEveryWidget) {
    store_.savePlacements({{"DailyWidget", WidgetFamily::systemSmall, nullptr},
                           {"JournalWidget", WidgetFamily::systemSmall, nullptr}});
    const widgethost::FollowingHost following(parts());
    awaitAnswers(2);
    widgetkit::ReloadRequests::post();
    awaitAnswers(4);
    EXPECT_EQ(script_->sessions, 2);
    EXPECT_EQ(script_->timelineRequests.size(), 4u);
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return store_.reloadCount() == 1; }));
}

TEST_F(WidgetHostTest, AFailingExtensionLeavesThePreviousEntryAndSaysWhy) {
    struct Case {
        const char* label;
        std::function<void()> fault;
        const char* reason;
    };
    const Case cases[] = {
        {"it crashed", [] { throw widgetkit::WidgetExtensionError("the extension ended with signal 11"); },
         "the extension ended with signal 11"},
        {"it hung", [] { throw widgetkit::WidgetExtensionTimeout("no timeline within 90 s; the extension was stopped"); },
         "no timeline within 90 s"},
    };
    store_.savePlacements({{"DailyWidget", WidgetFamily::systemMedium, nullptr}});
    const auto host = makeHost();
    host->start(0);
    awaitAnswers(1);
    int answers = 1;
    for (const auto& each : cases) {
        SCOPED_TRACE(each.label);
        errors_.str("");
        script_->timeline = [&each](const widgetkit::WidgetRequest&) -> widgetkit::RenderedTimeline {
            each.fault();
            return {};
        };
        host->reloadRequested(static_cast<std::uint64_t>(answers));
        awaitAnswers(++answers);
        EXPECT_EQ(board_.shown(), std::vector<int>{2});
        EXPECT_THAT(errors_.str(), HasSubstr("widgethost: DailyWidget (systemMedium) keeps its entry: "));
        EXPECT_THAT(errors_.str(), HasSubstr(each.reason));
        EXPECT_EQ(std::ranges::count(errors_.str(), '\n'), 1);
    }
}

TEST_F(WidgetHostTest, AsksAgainWhenThePolicySaysAndShowsEachEntryFromItsDate) {
    script_->timeline = [](const widgetkit::WidgetRequest&) {
        return widgetkit::RenderedTimeline{.entries = {entry(1000, 2), entry(1100, 3)},
                                           .policy = widgetkit::TimelineReloadPolicy::atEnd()};
    };
    store_.savePlacements({{"DailyWidget", WidgetFamily::systemSmall, nullptr}});
    const auto host = makeHost();
    host->start(0);
    awaitAnswers(1);
    EXPECT_EQ(board_.shown(), std::vector<int>{2});
    ASSERT_TRUE(clock_.wake_);
    EXPECT_EQ(clock_.wake_->timeIntervalSinceReferenceDate(), 1100) << "the next entry";

    script_->timeline = [](const widgetkit::WidgetRequest&) {
        return widgetkit::RenderedTimeline{.entries = {entry(1200, 4)}, .policy = widgetkit::TimelineReloadPolicy::never()};
    };
    clock_.advanceTo(1100);
    awaitAnswers(2);
    EXPECT_EQ(script_->sessions, 2) << "the last entry's date passed: a new timeline";
    EXPECT_EQ(board_.shown(), std::vector<int>{4}) << "the new timeline at once, though its entry is later";

    clock_.advanceTo(5000);
    awaitAnswers(2);
    EXPECT_EQ(script_->sessions, 2) << "never: asked again only on a reload request";
}

TEST_F(WidgetHostTest, AClickOpensTheLinkItHitsElseTheWidgetURL) {
    script_->timeline = [](const widgetkit::WidgetRequest&) {
        auto shown = entry(1000, 2);
        shown.links = {{{{10, 10}, {50, 20}}, "kestrova://journal/7"}};
        shown.widgetURL = "kestrova://today";
        return widgetkit::RenderedTimeline{.entries = {shown}, .policy = widgetkit::TimelineReloadPolicy::never()};
    };
    store_.savePlacements({{"DailyWidget", WidgetFamily::systemSmall, nullptr}});
    const auto host = makeHost();
    host->start(0);
    awaitAnswers(1);
    board_.events_.clicked(0, {20, 15});
    board_.events_.clicked(0, {100, 100});
    board_.events_.clicked(5, {20, 15});
    EXPECT_EQ(opened_, (std::vector<std::string>{"kestrova://journal/7", "kestrova://today"}));
}

TEST(LinkRouterTest, TheApplicationsLinksStartItWhenNothingTookThemAndOtherLinksGoToTheWorkspaceAlone) {
    struct Case {
        const char* link;
        bool taken;
        std::vector<std::string> opened;
        std::vector<std::string> launched;
    };
    const Case cases[] = {
        {"kestrova://journal/7", true, {"kestrova://journal/7"}, {}},
        {"kestrova://journal/7", false, {"kestrova://journal/7"}, {"kestrova://journal/7"}},
        {"https://example.com/a", true, {"https://example.com/a"}, {}},
        {"https://example.com/a", false, {"https://example.com/a"}, {}},
        {"no url at all", true, {}, {}},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.link);
        std::vector<std::string> opened;
        std::vector<std::string> launched;
        const widgethost::LinkRouter router(
            [&](const foundation::URL& url) {
                opened.push_back(url.absoluteString());
                return each.taken;
            },
            [&](const std::string& link) { launched.push_back(link); });
        router.open(each.link);
        EXPECT_EQ(opened, each.opened);
        EXPECT_EQ(launched, each.launched);
    }
}

TEST_F(WidgetHostTest, ConfiguringAJournalWidgetOffersTheJournalsKeepsTheChoiceAndReloadsIt) {
    store_.savePlacements({{"DailyWidget", WidgetFamily::systemSmall, nullptr},
                           {"JournalWidget", WidgetFamily::systemSmall, widgethost::journalConfiguration("7", "🏃 Workout")}});
    const auto host = makeHost();
    host->start(0);
    awaitAnswers(2);

    board_.events_.command(WidgetBoard::Command::configureWidget, 0);
    board_.events_.command(WidgetBoard::Command::configureWidget, 1);
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return static_cast<bool>(board_.chosenOption_); }));
    EXPECT_EQ(board_.optionTitle_, "Journal");
    ASSERT_EQ(board_.sections_.size(), 2u);
    EXPECT_EQ(board_.sections_[0].title, "Today");
    EXPECT_EQ(board_.sections_[0].options.at(0).identifier, "7");
    EXPECT_EQ(board_.sections_[1].title, "Not Today");
    EXPECT_EQ(board_.sections_[1].options.at(0).title, "Music");
    EXPECT_EQ(board_.current_, "7");
    EXPECT_FALSE(board_.tiles_.at(0).configurable);
    EXPECT_TRUE(board_.tiles_.at(1).configurable);

    board_.chosenOption_("3");
    awaitAnswers(3);
    EXPECT_EQ(host->placements().at(1).journalIdentifier(), "3");
    EXPECT_EQ(store_.placements()->at(1).configuration->journal()->displayString(), "Music");
    const auto& asked = script_->timelineRequests.back();
    EXPECT_EQ(asked.kind, "JournalWidget");
    ASSERT_NE(asked.configuration, nullptr);
    EXPECT_EQ(std::dynamic_pointer_cast<const kestrova::SelectJournalIntent>(asked.configuration)->journal()->identifier(),
              "3");
    EXPECT_EQ(script_->timelineRequests.size(), 3u) << "only the configured widget was reloaded";
}

TEST_F(WidgetHostTest, AddsAWidgetFromTheGalleryAndRemovesOne) {
    store_.savePlacements({{"JournalWidget", WidgetFamily::systemSmall, nullptr}});
    const auto host = makeHost();
    host->start(0);
    awaitAnswers(1);

    board_.events_.command(WidgetBoard::Command::addWidget, std::nullopt);
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return static_cast<bool>(board_.chosenWidget_); }));
    ASSERT_EQ(board_.gallery_.size(), 1u);
    EXPECT_EQ(board_.gallery_[0].displayName, "Today");
    EXPECT_EQ(board_.gallery_[0].description, "Check your daily journals.");
    EXPECT_EQ(board_.gallery_[0].preview.png, std::vector<std::uint8_t>{9}) << "a preview snapshot";
    board_.chosenWidget_(0);
    awaitAnswers(2);
    EXPECT_EQ(board_.shown(), (std::vector<int>{2, 2}));
    EXPECT_EQ(store_.placements()->at(1).kind, "DailyWidget");

    board_.events_.command(WidgetBoard::Command::removeWidget, 0);
    EXPECT_EQ(board_.shown(), std::vector<int>{2});
    ASSERT_EQ(store_.placements()->size(), 1u);
    EXPECT_EQ(store_.placements()->at(0).kind, "DailyWidget");
}

}  // namespace
