#include "tools/widgethost/WidgetHost.hpp"

#include "platform/runtime/concurrency/GlobalExecutor.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"

#include <algorithm>

namespace widgethost {
namespace {

// However a timeline is dated, a widget is asked again no sooner than this after it was last asked,
// so that an extension that dates everything in the past, or fails at once, cannot keep the host
// starting it over and over.
constexpr double shortestReloadInterval = 60;

using Self = std::weak_ptr<WidgetHost*>;

// Runs `step` with the host on the main thread, unless the host has gone by then.
template <typename Step>
void onMain(const Self& self, Step step) {
    concurrency::MainActor::shared().enqueue([self, step = std::move(step)]() mutable {
        if (const auto host = self.lock()) {
            step(**host);
        }
    });
}

template <typename Work>
void offMain(Work work) {
    concurrency::GlobalExecutor::shared().enqueue(std::move(work));
}

}  // namespace

WidgetHost::WidgetHost(Parts parts)
    : board_(parts.board),
      clock_(parts.clock),
      sessions_(std::move(parts.sessions)),
      journals_(parts.journals),
      links_(std::move(parts.links)),
      store_(parts.store),
      errors_(parts.errors),
      self_(std::make_shared<WidgetHost*>(this)) {}

WidgetHost::~WidgetHost() = default;

void WidgetHost::start(std::uint64_t reloadCount) {
    concurrency::MainActor::preconditionIsolated();
    if (auto stored = store_.placements()) {
        for (auto& placement : *stored) {
            add(std::move(placement));
        }
    } else {
        placeDefaults();
    }
    board_.show({
        .clicked = [this](std::size_t tile, ui::Point point) { clicked(tile, point); },
        .command = [this](widgetkit::WidgetBoard::Command which,
                          std::optional<std::size_t> tile) { command(which, tile); },
        .closed = [] {},
    });
    refresh();
    std::vector<std::uint64_t> all;
    for (const auto& widget : widgets_) {
        all.push_back(widget.id);
    }
    reload(all, true);
    try {
        store_.saveReloadCount(reloadCount);
    } catch (const std::exception& error) {
        errors_ << "widgethost: the reload count was not kept: " << error.what() << '\n';
    }
}

void WidgetHost::placeDefaults() {
    std::shared_ptr<const kestrova::SelectJournalIntent> configuration;
    try {
        if (const auto journal = journals_.defaultJournal(); journal && journal->identifier()) {
            configuration = journalConfiguration(*journal->identifier(), journal->displayString());
        }
    } catch (const std::exception& error) {
        errors_ << "widgethost: no default journal for the Journal widget: " << error.what() << '\n';
    }
    add({std::string(dailyWidgetKind), widgetkit::WidgetFamily::systemMedium, nullptr});
    add({std::string(journalWidgetKind), widgetkit::WidgetFamily::systemSmall, std::move(configuration)});
    save();
}

void WidgetHost::reloadRequested(std::uint64_t count) {
    std::vector<std::uint64_t> all;
    for (const auto& widget : widgets_) {
        all.push_back(widget.id);
    }
    reload(all, false);
    try {
        store_.saveReloadCount(count);
    } catch (const std::exception& error) {
        errors_ << "widgethost: the reload count was not kept: " << error.what() << '\n';
    }
}

std::vector<Placement> WidgetHost::placements() const {
    std::vector<Placement> placements;
    for (const auto& widget : widgets_) {
        placements.push_back(widget.placement);
    }
    return placements;
}

void WidgetHost::add(Placement placement) {
    Widget widget;
    widget.id = nextId_++;
    widget.placement = std::move(placement);
    widgets_.push_back(std::move(widget));
}

WidgetHost::Widget* WidgetHost::find(std::uint64_t id) {
    const auto found = std::ranges::find(widgets_, id, &Widget::id);
    return found == widgets_.end() ? nullptr : &*found;
}

std::string WidgetHost::nameOf(const Widget& widget) const {
    std::string name = widget.placement.kind + " (" + std::string(widgetkit::name(widget.placement.family));
    if (const auto journal = widget.placement.journalIdentifier()) {
        name += ", journal " + *journal;
    }
    return name + ")";
}

widgetkit::WidgetRequest WidgetHost::requestFor(const Placement& placement) const {
    return {.kind = placement.kind,
            .family = placement.family,
            .scale = board_.scale(),
            .isPreview = false,
            .configuration = placement.configuration};
}

void WidgetHost::reload(const std::vector<std::uint64_t>& ids, bool withPlaceholders) {
    std::vector<Request> requests;
    for (const auto id : ids) {
        Widget* widget = find(id);
        if (widget == nullptr) {
            continue;
        }
        if (withPlaceholders) {
            requests.push_back({id, nextSequence_++, requestFor(widget->placement), true});
        }
        requests.push_back({id, nextSequence_++, requestFor(widget->placement), false});
        ++widget->inFlight;
        widget->lastAsked = clock_.now();
    }
    if (requests.empty()) {
        return;
    }
    offMain([self = Self(self_), sessions = sessions_, requests = std::move(requests)] {
        std::unique_ptr<ExtensionSession> session;
        for (const auto& request : requests) {
            if (self.expired()) {
                return;
            }
            try {
                if (!session) {
                    session = sessions();
                }
                if (request.placeholder) {
                    onMain(self, [request, entry = session->placeholder(request.request)](WidgetHost& host) mutable {
                        host.answered(request, std::move(entry));
                    });
                } else {
                    onMain(self, [request, timeline = session->timeline(request.request)](WidgetHost& host) mutable {
                        host.answered(request, std::move(timeline));
                    });
                }
            } catch (const std::exception& error) {
                session.reset();
                onMain(self, [request, reason = std::string(error.what())](WidgetHost& host) {
                    host.failed(request, reason);
                });
            }
        }
    });
}

void WidgetHost::answered(const Request& request, widgetkit::RenderedEntry placeholder) {
    if (Widget* widget = find(request.widget)) {
        widget->timeline.setPlaceholder(std::move(placeholder));
        refresh();
    }
}

void WidgetHost::answered(const Request& request, widgetkit::RenderedTimeline timeline) {
    Widget* widget = find(request.widget);
    if (widget == nullptr) {
        return;
    }
    --widget->inFlight;
    // An answer overtaken by a newer one changes nothing.
    if (request.sequence > widget->answered) {
        widget->answered = request.sequence;
        widget->timeline.replace(std::move(timeline));
    }
    refresh();
}

void WidgetHost::failed(const Request& request, const std::string& reason) {
    Widget* widget = find(request.widget);
    if (widget == nullptr) {
        return;
    }
    // The timeline asked right after a failed placeholder says what went wrong, once.
    if (request.placeholder) {
        return;
    }
    --widget->inFlight;
    errors_ << "widgethost: " << nameOf(*widget) << " keeps its entry: " << reason << '\n';
    refresh();
}

void WidgetHost::refresh() {
    const auto now = clock_.now();
    std::vector<widgetkit::WidgetBoard::Tile> tiles;
    for (const auto& widget : widgets_) {
        widgetkit::WidgetBoard::Tile tile{.size = widgetkit::nominalSize(widget.placement.family),
                                          .scale = board_.scale(),
                                          .png = {},
                                          .configurable = widget.placement.kind == journalWidgetKind};
        if (const auto* entry = widget.timeline.entryAt(now)) {
            tile.size = entry->size;
            tile.scale = entry->scale;
            tile.png = entry->png;
        }
        tiles.push_back(std::move(tile));
    }
    board_.setTiles(std::move(tiles));

    std::optional<foundation::Date> next;
    const auto earliest = [&next](foundation::Date date) {
        if (!next || date < *next) {
            next = date;
        }
    };
    for (const auto& widget : widgets_) {
        if (const auto entry = widget.timeline.nextEntryDate(now)) {
            earliest(*entry);
        }
        if (const auto reload = widget.timeline.reloadDate(); reload && widget.inFlight == 0) {
            const auto soonest = widget.lastAsked->addingTimeInterval(shortestReloadInterval);
            earliest(*reload > soonest ? *reload : soonest);
        }
    }
    if (next) {
        clock_.wakeAt(*next, [self = Self(self_)] {
            if (const auto host = self.lock()) {
                (*host)->wake();
            }
        });
    }
}

void WidgetHost::wake() {
    const auto now = clock_.now();
    std::vector<std::uint64_t> due;
    for (const auto& widget : widgets_) {
        const auto reload = widget.timeline.reloadDate();
        if (reload && *reload <= now && widget.inFlight == 0 &&
            widget.lastAsked->addingTimeInterval(shortestReloadInterval) <= now) {
            due.push_back(widget.id);
        }
    }
    reload(due, false);
    refresh();
}

void WidgetHost::clicked(std::size_t tile, ui::Point point) {
    if (tile >= widgets_.size()) {
        return;
    }
    if (const auto* entry = widgets_[tile].timeline.entryAt(clock_.now())) {
        if (const auto destination = entry->destination(point)) {
            links_.open(*destination);
        }
    }
}

void WidgetHost::command(widgetkit::WidgetBoard::Command which, std::optional<std::size_t> tile) {
    switch (which) {
    case widgetkit::WidgetBoard::Command::addWidget:
        addWidget();
        return;
    case widgetkit::WidgetBoard::Command::removeWidget:
        if (tile && *tile < widgets_.size()) {
            widgets_.erase(widgets_.begin() + static_cast<std::ptrdiff_t>(*tile));
            save();
            refresh();
        }
        return;
    case widgetkit::WidgetBoard::Command::configureWidget:
        if (tile && *tile < widgets_.size() && widgets_[*tile].placement.kind == journalWidgetKind) {
            configure(widgets_[*tile].id);
        }
        return;
    }
}

void WidgetHost::addWidget() {
    struct Offer {
        Placement placement;
        widgetkit::WidgetBoard::GalleryItem item;
    };
    offMain([self = Self(self_), sessions = sessions_, scale = board_.scale()] {
        std::vector<Offer> offers;
        try {
            const auto session = sessions();
            for (const auto& description : session->widgets()) {
                for (const auto family : description.supportedFamilies) {
                    const auto preview = session->snapshot(
                        {.kind = description.kind, .family = family, .scale = scale, .isPreview = true, .configuration = {}});
                    offers.push_back({{description.kind, family, nullptr},
                                      {description.displayName, description.description,
                                       {.size = preview.size, .scale = preview.scale, .png = preview.png, .configurable = false}}});
                }
            }
        } catch (const std::exception& error) {
            onMain(self, [reason = std::string(error.what())](WidgetHost& host) {
                host.errors_ << "widgethost: the gallery cannot be shown: " << reason << '\n';
            });
            return;
        }
        onMain(self, [self, offers = std::move(offers)](WidgetHost& host) {
            std::vector<widgetkit::WidgetBoard::GalleryItem> items;
            for (const auto& offer : offers) {
                items.push_back(offer.item);
            }
            host.board_.chooseWidget(std::move(items), [self, offers](std::optional<std::size_t> chosen) {
                const auto owner = self.lock();
                if (!owner || !chosen || *chosen >= offers.size()) {
                    return;
                }
                WidgetHost& chooser = **owner;
                chooser.add(offers[*chosen].placement);
                chooser.save();
                chooser.reload({chooser.widgets_.back().id}, true);
            });
        });
    });
}

void WidgetHost::configure(std::uint64_t id) {
    offMain([self = Self(self_), &journals = journals_, id] {
        std::shared_ptr<intents::ObjectCollection> options;
        try {
            options = journals.options();
        } catch (const std::exception& error) {
            onMain(self, [reason = std::string(error.what())](WidgetHost& host) {
                host.errors_ << "widgethost: the journals to choose from cannot be read: " << reason << '\n';
            });
            return;
        }
        onMain(self, [self, id, options](WidgetHost& host) {
            const Widget* widget = host.find(id);
            if (widget == nullptr) {
                return;
            }
            std::vector<widgetkit::WidgetBoard::OptionSection> sections;
            for (const auto& section : options->sections()) {
                widgetkit::WidgetBoard::OptionSection shown{.title = section->title().value_or(""), .options = {}};
                for (const auto& item : section->items()) {
                    if (item->identifier()) {
                        shown.options.push_back({*item->identifier(), item->displayString()});
                    }
                }
                sections.push_back(std::move(shown));
            }
            host.board_.chooseOption(
                "Journal", sections, widget->placement.journalIdentifier(),
                [self, id, sections](std::optional<std::string> chosen) {
                    const auto owner = self.lock();
                    if (!owner || !chosen) {
                        return;
                    }
                    WidgetHost& chooser = **owner;
                    Widget* configured = chooser.find(id);
                    if (configured == nullptr) {
                        return;
                    }
                    for (const auto& section : sections) {
                        for (const auto& option : section.options) {
                            if (option.identifier == *chosen) {
                                configured->placement.configuration =
                                    journalConfiguration(option.identifier, option.title);
                            }
                        }
                    }
                    chooser.save();
                    chooser.reload({id}, false);
                });
        });
    });
}

void WidgetHost::save() {
    try {
        store_.savePlacements(placements());
    } catch (const std::exception& error) {
        errors_ << "widgethost: the placed widgets were not kept: " << error.what() << '\n';
    }
}

}  // namespace widgethost
