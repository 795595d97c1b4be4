#pragma once

#include "platform/kits/widgetkit/RenderedEntry.hpp"
#include "platform/runtime/foundation/core/Date.hpp"

#include <optional>

namespace widgethost {

// What one placed widget shows over time: its placeholder until the first timeline arrives, then
// that timeline's entries, each from its date on; a new timeline replaces the old one at once.
class WidgetTimeline {
public:
    void setPlaceholder(widgetkit::RenderedEntry placeholder) { placeholder_ = std::move(placeholder); }
    // A timeline without entries changes nothing: there is nothing to show in place of the old.
    void replace(widgetkit::RenderedTimeline timeline);

    [[nodiscard]] bool hasTimeline() const noexcept { return timeline_.has_value(); }

    // The newest entry dated now or earlier, or the first one when all are later; the placeholder
    // before any timeline; none when there is neither.
    [[nodiscard]] const widgetkit::RenderedEntry* entryAt(foundation::Date now) const;
    // When the shown entry changes next, after now; none when it stays.
    [[nodiscard]] std::optional<foundation::Date> nextEntryDate(foundation::Date now) const;
    // When to ask for the next timeline by its policy: atEnd at the last entry's date, after(date) at
    // that date, never none. None before the first timeline too.
    [[nodiscard]] std::optional<foundation::Date> reloadDate() const;

private:
    std::optional<widgetkit::RenderedEntry> placeholder_;
    std::optional<widgetkit::RenderedTimeline> timeline_;
};

}  // namespace widgethost
