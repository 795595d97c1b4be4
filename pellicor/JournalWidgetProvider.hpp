#pragma once

#include "kestrova/intents/SelectJournalIntent.hpp"
#include "pellicor/JournalEntry.hpp"
#include "pellicor/Store.hpp"
#include "platform/kits/widgetkit/TimelineProvider.hpp"
#include "platform/runtime/concurrency/Task.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace pellicor {

// The journal a Journal widget is configured with: its identifier read as a decimal integer; none
// when nothing is configured or the identifier is no such number.
[[nodiscard]] std::optional<std::int64_t> configuredJournalId(const kestrova::SelectJournalIntent& configuration);

// The entries of the Journal widget: the configured journal as the API has it, else the cached
// copy, else the cached user's first journal, else the first sample. Only a timeline touches the
// network, and never without a configured journal.
class JournalWidgetProvider : public widgetkit::IntentTimelineProvider<JournalEntry, kestrova::SelectJournalIntent> {
public:
    explicit JournalWidgetProvider(const Store& store) : store_(&store) {}

    [[nodiscard]] virtual std::optional<kestrova::Journal> firstCachedJournal() const;
    [[nodiscard]] virtual std::optional<kestrova::Journal> cachedJournal(std::int64_t id) const;
    // One entry of the journal with its icon downloaded, dated 15 minutes from when it is made.
    [[nodiscard]] virtual concurrency::Task<widgetkit::Timeline<JournalEntry>> loadEntry(kestrova::Journal journal) const;

    [[nodiscard]] JournalEntry placeholder(const widgetkit::TimelineProviderContext& context) const override;
    widgetkit::ProviderWork getSnapshot(std::shared_ptr<const kestrova::SelectJournalIntent> configuration,
                                        const widgetkit::TimelineProviderContext& context,
                                        std::function<void(JournalEntry)> completion) const override;
    widgetkit::ProviderWork getTimeline(std::shared_ptr<const kestrova::SelectJournalIntent> configuration,
                                        const widgetkit::TimelineProviderContext& context,
                                        std::function<void(widgetkit::Timeline<JournalEntry>)> completion) const override;

private:
    const Store* store_;
};

}  // namespace pellicor
