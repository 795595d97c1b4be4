#pragma once

#include "pellicor/DailyEntry.hpp"
#include "pellicor/Store.hpp"
#include "platform/kits/widgetkit/TimelineProvider.hpp"
#include "platform/runtime/concurrency/Task.hpp"

#include <functional>
#include <vector>

namespace pellicor {

// The entries of the Today widget: the user's journals fetched with the store's token, else those
// the application cached, with the icons of those the widget shows. Samples stand in only in the
// placeholder and the gallery; a signed-out widget shows an empty list.
class DailyTimelineProvider final : public widgetkit::TimelineProvider<DailyEntry> {
public:
    explicit DailyTimelineProvider(Store store) : store_(std::move(store)) {}

    [[nodiscard]] DailyEntry placeholder(const widgetkit::TimelineProviderContext& context) const override;
    widgetkit::ProviderWork getSnapshot(const widgetkit::TimelineProviderContext& context,
                                        std::function<void(DailyEntry)> completion) const override;
    // One entry at 15 minutes after the call, replaced once that has passed.
    widgetkit::ProviderWork getTimeline(const widgetkit::TimelineProviderContext& context,
                                        std::function<void(widgetkit::Timeline<DailyEntry>)> completion) const override;

    // The journals that fit the widget, in the order shown, each with its icon bytes; the downloads
    // run one at a time.
    static concurrency::Task<std::vector<kestrova::Journal>> loadJournalIcons(
        std::vector<kestrova::Journal> journals, widgetkit::TimelineProviderContext context);

private:
    Store store_;
};

// The share of the list's due journals that are done today, as the Today widget counts it:
// 100 / due * done / 100 in single precision, 0 when none is done.
[[nodiscard]] float percentageToday(const std::vector<kestrova::Journal>& journals);

}  // namespace pellicor
