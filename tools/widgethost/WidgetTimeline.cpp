#include "tools/widgethost/WidgetTimeline.hpp"

namespace widgethost {

void WidgetTimeline::replace(widgetkit::RenderedTimeline timeline) {
    if (!timeline.entries.empty()) {
        timeline_ = std::move(timeline);
    }
}

const widgetkit::RenderedEntry* WidgetTimeline::entryAt(foundation::Date now) const {
    if (!timeline_) {
        return placeholder_ ? &*placeholder_ : nullptr;
    }
    // Entries come in any order: the newest that has begun wins.
    const widgetkit::RenderedEntry* shown = nullptr;
    for (const auto& entry : timeline_->entries) {
        if (entry.date <= now && (shown == nullptr || entry.date >= shown->date)) {
            shown = &entry;
        }
    }
    return shown != nullptr ? shown : &timeline_->entries.front();
}

std::optional<foundation::Date> WidgetTimeline::nextEntryDate(foundation::Date now) const {
    std::optional<foundation::Date> next;
    if (timeline_) {
        for (const auto& entry : timeline_->entries) {
            if (entry.date > now && (!next || entry.date < *next)) {
                next = entry.date;
            }
        }
    }
    return next;
}

std::optional<foundation::Date> WidgetTimeline::reloadDate() const {
    if (!timeline_) {
        return std::nullopt;
    }
    switch (timeline_->policy.kind()) {
    case widgetkit::TimelineReloadPolicy::Kind::atEnd: {
        foundation::Date last = timeline_->entries.front().date;
        for (const auto& entry : timeline_->entries) {
            last = entry.date > last ? entry.date : last;
        }
        return last;
    }
    case widgetkit::TimelineReloadPolicy::Kind::after:
        return timeline_->policy.date();
    case widgetkit::TimelineReloadPolicy::Kind::never:
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace widgethost
