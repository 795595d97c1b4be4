#pragma once

#include "tools/widgethost/Clock.hpp"
#include "tools/widgethost/ExtensionSession.hpp"
#include "tools/widgethost/JournalChoices.hpp"
#include "tools/widgethost/LinkRouter.hpp"
#include "tools/widgethost/PlacementStore.hpp"
#include "tools/widgethost/WidgetTimeline.hpp"
#include "platform/kits/widgetkit/WidgetBoard.hpp"

#include <cstdint>
#include <memory>
#include <ostream>
#include <vector>

namespace widgethost {

// Plays the system's widget host on the board: keeps the placed widgets, shows each one's entry by
// its timeline, asks the extension for new timelines when a policy or a reload request says so, and
// routes clicks and the board's commands. Extension calls block, so they run on the global executor
// and their results come back to the main thread; a failed call leaves the widget's entry as it
// was and says so in one line on the error stream. Made and used on the main thread; the work in
// flight when it goes is dropped.
class WidgetHost {
public:
    struct Parts {
        widgetkit::WidgetBoard& board;
        Clock& clock;
        SessionFactory sessions;
        JournalChoices& journals;
        LinkRouter links;
        PlacementStore& store;
        std::ostream& errors;
    };

    explicit WidgetHost(Parts parts);
    ~WidgetHost();
    WidgetHost(const WidgetHost&) = delete;
    WidgetHost& operator=(const WidgetHost&) = delete;

    // Places the stored widgets (on the first run a medium "Today" and a small "Journal" on the
    // default journal), shows the board and reloads every widget, which also honours the reload
    // requests made while the host was not running.
    void start(std::uint64_t reloadCount);
    // The reload counter changed: every widget asks for a new timeline.
    void reloadRequested(std::uint64_t count);

    [[nodiscard]] std::vector<Placement> placements() const;

private:
    struct Widget {
        std::uint64_t id = 0;
        Placement placement;
        WidgetTimeline timeline;
        // The newest request whose answer was taken, and how many are on their way.
        std::uint64_t answered = 0;
        std::size_t inFlight = 0;
        std::optional<foundation::Date> lastAsked;
    };
    struct Request {
        std::uint64_t widget;
        std::uint64_t sequence;
        widgetkit::WidgetRequest request;
        bool placeholder;
    };

    void placeDefaults();
    void add(Placement placement);
    Widget* find(std::uint64_t id);
    [[nodiscard]] std::string nameOf(const Widget& widget) const;
    [[nodiscard]] widgetkit::WidgetRequest requestFor(const Placement& placement) const;

    // One fresh extension serves the batch, one after another; after a failure the next request
    // gets a fresh one, since the failed one may be gone.
    void reload(const std::vector<std::uint64_t>& widgets, bool withPlaceholders);
    void answered(const Request& request, widgetkit::RenderedEntry placeholder);
    void answered(const Request& request, widgetkit::RenderedTimeline timeline);
    void failed(const Request& request, const std::string& reason);

    void clicked(std::size_t tile, ui::Point point);
    void command(widgetkit::WidgetBoard::Command command, std::optional<std::size_t> tile);
    void addWidget();
    void configure(std::uint64_t widget);
    void save();

    void refresh();
    void wake();

    widgetkit::WidgetBoard& board_;
    Clock& clock_;
    SessionFactory sessions_;
    JournalChoices& journals_;
    LinkRouter links_;
    PlacementStore& store_;
    std::ostream& errors_;

    std::vector<Widget> widgets_;
    std::uint64_t nextId_ = 1;
    std::uint64_t nextSequence_ = 1;
    // Work finishing after the host went away finds this expired.
    std::shared_ptr<WidgetHost*> self_;
};

}  // namespace widgethost
