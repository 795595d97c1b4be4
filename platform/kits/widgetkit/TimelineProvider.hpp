#pragma once

#include "platform/kits/widgetkit/Timeline.hpp"

#include <functional>
#include <memory>

namespace widgetkit {

// Supplies the entries of a widget without configuration. Each completion is called exactly once,
// on any thread: before the call returns, or later from the work the call returns.
template <TimelineEntry Entry>
class TimelineProvider {
public:
    using EntryType = Entry;

    virtual ~TimelineProvider() = default;

    // An entry at once, without waiting for anything: shown until the first timeline arrives.
    [[nodiscard]] virtual Entry placeholder(const TimelineProviderContext& context) const = 0;
    virtual ProviderWork getSnapshot(const TimelineProviderContext& context,
                                     std::function<void(Entry)> completion) const = 0;
    virtual ProviderWork getTimeline(const TimelineProviderContext& context,
                                     std::function<void(Timeline<Entry>)> completion) const = 0;

protected:
    TimelineProvider() = default;
};

// The same for a widget configured with an intent: every call gets the widget's configuration, a
// fresh intent of the class when the user configured nothing.
template <TimelineEntry Entry, typename Intent>
class IntentTimelineProvider {
public:
    using EntryType = Entry;
    using IntentType = Intent;

    virtual ~IntentTimelineProvider() = default;

    [[nodiscard]] virtual Entry placeholder(const TimelineProviderContext& context) const = 0;
    virtual ProviderWork getSnapshot(std::shared_ptr<const Intent> configuration,
                                     const TimelineProviderContext& context,
                                     std::function<void(Entry)> completion) const = 0;
    virtual ProviderWork getTimeline(std::shared_ptr<const Intent> configuration,
                                     const TimelineProviderContext& context,
                                     std::function<void(Timeline<Entry>)> completion) const = 0;

protected:
    IntentTimelineProvider() = default;
};

}  // namespace widgetkit
