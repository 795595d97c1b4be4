#include "tools/widgethost/CommandLine.hpp"

#include "tools/widgethost/AtomicFile.hpp"
#include "tools/widgethost/ExtensionSession.hpp"
#include "tools/widgethost/Placement.hpp"
#include "platform/runtime/foundation/core/DateFormatter.hpp"

#include <sstream>

namespace widgethost {
namespace {

std::string isoText(foundation::Date date) {
    foundation::DateFormatter formatter;
    formatter.setTimeZone(*foundation::TimeZone::fromSecondsFromGMT(0));
    formatter.setDateFormat("yyyy-MM-dd'T'HH:mm:ssXXXXX");
    return formatter.string(date);
}

std::string policyText(const widgetkit::TimelineReloadPolicy& policy) {
    switch (policy.kind()) {
    case widgetkit::TimelineReloadPolicy::Kind::atEnd:
        return "atEnd";
    case widgetkit::TimelineReloadPolicy::Kind::after:
        return "after " + isoText(*policy.date());
    case widgetkit::TimelineReloadPolicy::Kind::never:
        return "never";
    }
    return "";
}

}  // namespace

int render(const Command& command, const std::string& extension, std::ostream& output, std::ostream& errors) {
    widgetkit::WidgetRequest request{.kind = command.kind,
                                     .family = command.family,
                                     .scale = command.scale,
                                     .isPreview = command.entry == Command::Entry::preview,
                                     .configuration = {}};
    if (command.journal) {
        request.configuration = journalConfiguration(*command.journal, *command.journal);
    }
    try {
        const auto session = processSessions(extension, [&output](std::string_view line) {
            output << line << '\n';
        })();
        widgetkit::RenderedEntry entry;
        std::optional<widgetkit::TimelineReloadPolicy> policy;
        switch (command.entry) {
        case Command::Entry::placeholder:
            entry = session->placeholder(request);
            break;
        case Command::Entry::snapshot:
        case Command::Entry::preview:
            entry = session->snapshot(request);
            break;
        case Command::Entry::timeline: {
            auto timeline = session->timeline(request);
            if (timeline.entries.empty()) {
                errors << "widgethost: the timeline of " << command.kind << " has no entry\n";
                return exitFailed;
            }
            entry = std::move(timeline.entries.front());
            policy = timeline.policy;
            break;
        }
        }
        // Said only once the picture is written, and made before, so that a date that cannot be
        // written leaves no picture behind.
        std::ostringstream said;
        said << "date: " << isoText(entry.date) << '\n';
        for (const auto& link : entry.links) {
            said << "link: " << link.frame.origin.x << ',' << link.frame.origin.y << ' ' << link.frame.size.width
                 << 'x' << link.frame.size.height << ' ' << link.url << '\n';
        }
        said << "widgetURL: " << entry.widgetURL.value_or("none") << '\n';
        if (policy) {
            said << "policy: " << policyText(*policy) << '\n';
        }
        writeAtomically(command.out, std::string_view(reinterpret_cast<const char*>(entry.png.data()), entry.png.size()));
        output << said.str();
        return exitDone;
    } catch (const std::exception& error) {
        errors << "widgethost: " << error.what() << '\n';
        return exitFailed;
    }
}

}  // namespace widgethost
