#pragma once

#include "platform/kits/intents/Intent.hpp"
#include "platform/kits/ui/View.hpp"
#include "platform/kits/widgetkit/Timeline.hpp"
#include "platform/kits/widgetkit/TimelineProvider.hpp"
#include "platform/runtime/foundation/core/Date.hpp"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace widgetkit {

// An entry as the host draws it: its date and the view made of it.
struct DatedView {
    foundation::Date date;
    ui::View view;
};

struct ViewTimeline {
    std::vector<DatedView> entries;
    TimelineReloadPolicy policy = TimelineReloadPolicy::atEnd();
};

// What a widget declares: its kind, what the gallery says of it, the families it comes in, and its
// provider with the view of each entry, whatever the type of its entries. Made by
// StaticConfiguration or IntentConfiguration; the modifiers return a changed copy.
class WidgetConfiguration {
public:
    using Placeholder = std::function<DatedView(const TimelineProviderContext&)>;
    using Snapshot = std::function<ProviderWork(std::shared_ptr<const intents::Intent> configuration,
                                                const TimelineProviderContext&, std::function<void(DatedView)>)>;
    using TimelineRequest = std::function<ProviderWork(std::shared_ptr<const intents::Intent> configuration,
                                                       const TimelineProviderContext&,
                                                       std::function<void(ViewTimeline)>)>;

    WidgetConfiguration(std::string kind, std::string configurationIntent, Placeholder placeholder,
                        Snapshot snapshot, TimelineRequest timeline)
        : kind_(std::move(kind)),
          configurationIntent_(std::move(configurationIntent)),
          placeholder_(std::move(placeholder)),
          snapshot_(std::move(snapshot)),
          timeline_(std::move(timeline)) {}

    [[nodiscard]] WidgetConfiguration configurationDisplayName(std::string name) const {
        auto copy = *this;
        copy.displayName_ = std::move(name);
        return copy;
    }
    [[nodiscard]] WidgetConfiguration description(std::string text) const {
        auto copy = *this;
        copy.description_ = std::move(text);
        return copy;
    }
    [[nodiscard]] WidgetConfiguration supportedFamilies(std::vector<WidgetFamily> families) const {
        auto copy = *this;
        copy.families_ = std::move(families);
        return copy;
    }

    [[nodiscard]] const std::string& kind() const noexcept { return kind_; }
    [[nodiscard]] const std::string& displayName() const noexcept { return displayName_; }
    [[nodiscard]] const std::string& description() const noexcept { return description_; }
    [[nodiscard]] const std::vector<WidgetFamily>& supportedFamilies() const noexcept { return families_; }
    [[nodiscard]] bool supports(WidgetFamily family) const noexcept {
        for (const auto supported : families_) {
            if (supported == family) {
                return true;
            }
        }
        return false;
    }
    // The class name of the configuration intent; empty for a widget without configuration.
    [[nodiscard]] const std::string& configurationIntent() const noexcept { return configurationIntent_; }

    [[nodiscard]] DatedView placeholder(const TimelineProviderContext& context) const { return placeholder_(context); }
    ProviderWork snapshot(std::shared_ptr<const intents::Intent> configuration, const TimelineProviderContext& context,
                          std::function<void(DatedView)> completion) const {
        return snapshot_(std::move(configuration), context, std::move(completion));
    }
    ProviderWork timeline(std::shared_ptr<const intents::Intent> configuration, const TimelineProviderContext& context,
                          std::function<void(ViewTimeline)> completion) const {
        return timeline_(std::move(configuration), context, std::move(completion));
    }

private:
    std::string kind_;
    std::string configurationIntent_;
    std::string displayName_;
    std::string description_;
    std::vector<WidgetFamily> families_{WidgetFamily::systemSmall, WidgetFamily::systemMedium,
                                        WidgetFamily::systemLarge};
    Placeholder placeholder_;
    Snapshot snapshot_;
    TimelineRequest timeline_;
};

namespace detail {

template <typename Entry>
ViewTimeline viewTimeline(const Timeline<Entry>& timeline, const std::function<ui::View(const Entry&)>& content) {
    ViewTimeline views{{}, timeline.policy};
    for (const auto& entry : timeline.entries) {
        views.entries.push_back(DatedView{entry.date, content(entry)});
    }
    return views;
}

}  // namespace detail

// A widget the user does not configure.
template <TimelineEntry Entry>
WidgetConfiguration StaticConfiguration(std::string kind, std::shared_ptr<const TimelineProvider<Entry>> provider,
                                        std::function<ui::View(const Entry&)> content) {
    return WidgetConfiguration(
        std::move(kind), {},
        [provider, content](const TimelineProviderContext& context) {
            auto entry = provider->placeholder(context);
            return DatedView{entry.date, content(entry)};
        },
        [provider, content](std::shared_ptr<const intents::Intent>, const TimelineProviderContext& context,
                            std::function<void(DatedView)> completion) {
            return provider->getSnapshot(context, [content, completion = std::move(completion)](Entry entry) {
                completion(DatedView{entry.date, content(entry)});
            });
        },
        [provider, content](std::shared_ptr<const intents::Intent>, const TimelineProviderContext& context,
                            std::function<void(ViewTimeline)> completion) {
            return provider->getTimeline(context,
                                         [content, completion = std::move(completion)](Timeline<Entry> timeline) {
                                             completion(detail::viewTimeline(timeline, content));
                                         });
        });
}

// A widget configured with an intent of the provider's intent class. A configuration of another
// class, or none, reaches the provider as a fresh intent of its class.
template <typename Provider>
WidgetConfiguration IntentConfiguration(
    std::string kind, std::shared_ptr<const Provider> provider,
    std::function<ui::View(const typename Provider::EntryType&)> content) {
    using Entry = typename Provider::EntryType;
    using Intent = typename Provider::IntentType;
    const auto configured = [](const std::shared_ptr<const intents::Intent>& configuration) {
        auto typed = std::dynamic_pointer_cast<const Intent>(configuration);
        return typed ? typed : std::make_shared<const Intent>();
    };
    return WidgetConfiguration(
        std::move(kind), std::string(Intent().className()),
        [provider, content](const TimelineProviderContext& context) {
            auto entry = provider->placeholder(context);
            return DatedView{entry.date, content(entry)};
        },
        [provider, content, configured](std::shared_ptr<const intents::Intent> configuration,
                                        const TimelineProviderContext& context,
                                        std::function<void(DatedView)> completion) {
            return provider->getSnapshot(configured(configuration), context,
                                         [content, completion = std::move(completion)](Entry entry) {
                                             completion(DatedView{entry.date, content(entry)});
                                         });
        },
        [provider, content, configured](std::shared_ptr<const intents::Intent> configuration,
                                        const TimelineProviderContext& context,
                                        std::function<void(ViewTimeline)> completion) {
            return provider->getTimeline(configured(configuration), context,
                                         [content, completion = std::move(completion)](Timeline<Entry> timeline) {
                                             completion(detail::viewTimeline(timeline, content));
                                         });
        });
}

}  // namespace widgetkit
