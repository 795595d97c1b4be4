#include "pellicor/JournalWidgetProvider.hpp"

#include "kestrova/model/DecimalInteger.hpp"
#include "kestrova/model/User.hpp"
#include "pellicor/JournalDays.hpp"
#include "pellicor/RefreshDate.hpp"
#include "pellicor/Requests.hpp"
#include "platform/runtime/concurrency/GlobalExecutor.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"

#include <exception>
#include <utility>

namespace pellicor {
namespace {

kestrova::Journal firstSample() {
    return sampleJournals().front();
}

widgetkit::Timeline<JournalEntry> oneEntry(foundation::Date date, kestrova::Journal journal) {
    return {{JournalEntry{date, std::move(journal)}}, widgetkit::TimelineReloadPolicy::atEnd()};
}

}  // namespace

std::optional<std::int64_t> configuredJournalId(const kestrova::SelectJournalIntent& configuration) {
    const auto journal = configuration.journal();
    if (!journal || !journal->identifier()) {
        return std::nullopt;
    }
    return kestrova::decimalInteger(*journal->identifier());
}

std::optional<kestrova::Journal> JournalWidgetProvider::firstCachedJournal() const {
    const auto user = store_->cachedUser();
    if (!user || !user->journals || user->journals->empty()) {
        return std::nullopt;
    }
    return user->journals->front();
}

std::optional<kestrova::Journal> JournalWidgetProvider::cachedJournal(std::int64_t id) const {
    const auto user = store_->cachedUser();
    if (!user || !user->journals) {
        return std::nullopt;
    }
    for (const auto& journal : *user->journals) {
        if (journal.id == id) {
            return journal;
        }
    }
    return std::nullopt;
}

concurrency::Task<widgetkit::Timeline<JournalEntry>> JournalWidgetProvider::loadEntry(kestrova::Journal journal) const {
    const auto date = refreshDate();
    co_return oneEntry(date, co_await withDownloadedIcon(std::move(journal)));
}

JournalEntry JournalWidgetProvider::placeholder(const widgetkit::TimelineProviderContext& /*context*/) const {
    return {foundation::Date::now(), firstSample()};
}

widgetkit::ProviderWork JournalWidgetProvider::getSnapshot(
    std::shared_ptr<const kestrova::SelectJournalIntent> configuration,
    const widgetkit::TimelineProviderContext& /*context*/, std::function<void(JournalEntry)> completion) const {
    const auto id = configuredJournalId(*configuration);
    auto journal = id ? cachedJournal(*id) : std::nullopt;
    if (id && !journal) {
        journal = firstCachedJournal();
    }
    completion({foundation::Date::now(), journal ? std::move(*journal) : firstSample()});
    return std::nullopt;
}

widgetkit::ProviderWork JournalWidgetProvider::getTimeline(
    std::shared_ptr<const kestrova::SelectJournalIntent> configuration,
    const widgetkit::TimelineProviderContext& /*context*/,
    std::function<void(widgetkit::Timeline<JournalEntry>)> completion) const {
    const auto refresh = refreshDate();
    const auto id = configuredJournalId(*configuration);
    if (!id) {
        completion(oneEntry(refresh, firstSample()));
        return std::nullopt;
    }
    auto work = [this, id = *id, refresh, completion = std::move(completion)]() -> concurrency::Task<void> {
        std::optional<kestrova::Journal> fetched;
        if (store_->token()) {
            try {
                fetched = co_await getJournal(id, store_->token());
            } catch (const std::exception&) {
                // Whatever the reason, the cached copy stands in, unsaid.
            }
        }
        if (!fetched) {
            fetched = cachedJournal(id);
        }
        if (!fetched) {
            fetched = firstCachedJournal();
        }
        if (!fetched) {
            completion(oneEntry(refresh, firstSample()));
            co_return;
        }
        completion(co_await loadEntry(std::move(*fetched)));
    };
    return concurrency::spawn(concurrency::GlobalExecutor::shared(), std::move(work));
}

}  // namespace pellicor
