#include "pellicor/DailyTimelineProvider.hpp"

#include "kestrova/model/JournalLists.hpp"
#include "kestrova/networking/Networking.hpp"
#include "pellicor/JournalDays.hpp"
#include "pellicor/JournalFitting.hpp"
#include "pellicor/RefreshDate.hpp"
#include "pellicor/Requests.hpp"
#include "platform/runtime/concurrency/GlobalExecutor.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"

#include <numeric>
#include <utility>

namespace pellicor {
namespace {

std::int64_t entrySum(const std::vector<kestrova::Journal>& journals) {
    return std::accumulate(journals.begin(), journals.end(), std::int64_t{0},
                           [](std::int64_t sum, const kestrova::Journal& journal) {
                               return sum + journal.entriesToday.value_or(0);
                           });
}

std::vector<kestrova::Journal> journalsOf(const std::optional<kestrova::User>& user) {
    return user && user->journals ? *user->journals : std::vector<kestrova::Journal>{};
}

DailyEntry entry(foundation::Date date, std::vector<kestrova::Journal> journals, std::int64_t numberOfEntriesToday,
                 float percentage) {
    return DailyEntry{date, std::move(journals), numberOfEntriesToday, percentage};
}

// What a live read found: the journals shown, icons loaded, and the counts of the whole list.
struct LiveRead {
    std::vector<kestrova::Journal> shown;
    std::int64_t numberOfEntriesToday = 0;
    float percentage = 0;
    // The user read, which holds far more than is shown: freed with the read, once its entry is
    // handed over, so that freeing it runs beside the drawing instead of before it.
    std::optional<kestrova::User> user;
};

concurrency::Task<LiveRead> liveRead(Store store, widgetkit::TimelineProviderContext context) {
    std::optional<kestrova::User> user;
    bool fetched = false;
    if (store.token()) {
        try {
            user = co_await kestrova::Networking::getUser(*store.token());
            fetched = true;
        } catch (const std::exception&) {
            // Whatever the reason, the cached user stands in, unsaid.
        }
    }
    if (!fetched) {
        user = store.cachedUser();
    }
    auto journals = journalsOf(user);
    LiveRead read;
    read.numberOfEntriesToday = user ? user->numberOfEntriesToday.value_or(0) : 0;
    read.percentage = percentageToday(journals);
    read.shown = co_await DailyTimelineProvider::loadJournalIcons(std::move(journals), context);
    read.user = std::move(user);
    co_return read;
}

}  // namespace

float percentageToday(const std::vector<kestrova::Journal>& journals) {
    const auto done = kestrova::journalsDoneToday(journals).size();
    if (done == 0) {
        return 0;
    }
    const auto due = kestrova::dueJournals(journals).size();
    return 100.0F / static_cast<float>(due) * static_cast<float>(done) / 100.0F;
}

DailyEntry DailyTimelineProvider::placeholder(const widgetkit::TimelineProviderContext& /*context*/) const {
    auto journals = journalsOf(store_.cachedUser());
    if (journals.empty()) {
        journals = sampleJournals();
    }
    const auto count = entrySum(journals);
    const auto percentage = percentageToday(journals);
    return entry(foundation::Date::now(), std::move(journals), count, percentage);
}

widgetkit::ProviderWork DailyTimelineProvider::getSnapshot(const widgetkit::TimelineProviderContext& context,
                                                           std::function<void(DailyEntry)> completion) const {
    if (context.isPreview) {
        const auto user = store_.cachedUser();
        auto journals = user ? journalsOf(user) : sampleJournals();
        const auto count = user ? user->numberOfEntriesToday.value_or(0) : entrySum(journals);
        const auto percentage = percentageToday(journals);
        completion(entry(foundation::Date::now(), std::move(journals), count, percentage));
        return std::nullopt;
    }
    auto work = [store = store_, context, completion = std::move(completion)]() -> concurrency::Task<void> {
        auto read = co_await liveRead(store, context);
        completion(entry(foundation::Date::now(), std::move(read.shown), read.numberOfEntriesToday, read.percentage));
    };
    return concurrency::spawn(concurrency::GlobalExecutor::shared(), std::move(work));
}

widgetkit::ProviderWork DailyTimelineProvider::getTimeline(
    const widgetkit::TimelineProviderContext& context,
    std::function<void(widgetkit::Timeline<DailyEntry>)> completion) const {
    auto work = [store = store_, context, completion = std::move(completion)]() -> concurrency::Task<void> {
        // Before the read: the entry is due 15 minutes after the request, however long the read takes.
        const auto refresh = refreshDate();
        auto read = co_await liveRead(store, context);
        widgetkit::Timeline<DailyEntry> timeline;
        timeline.entries.push_back(entry(refresh, std::move(read.shown), read.numberOfEntriesToday, read.percentage));
        timeline.policy = widgetkit::TimelineReloadPolicy::atEnd();
        completion(std::move(timeline));
    };
    return concurrency::spawn(concurrency::GlobalExecutor::shared(), std::move(work));
}

concurrency::Task<std::vector<kestrova::Journal>> DailyTimelineProvider::loadJournalIcons(
    std::vector<kestrova::Journal> journals, widgetkit::TimelineProviderContext context) {
    auto fitting = journalsFittingWidget(journals, context.family, context.displaySize.height);
    std::vector<kestrova::Journal> loaded;
    for (auto& journal : fitting) {
        loaded.push_back(co_await withDownloadedIcon(std::move(journal)));
    }
    co_return loaded;
}

}  // namespace pellicor
