#include "platform/kits/widgetkit/WidgetExtensionHost.hpp"

#include "platform/kits/intents/ExtensionError.hpp"
#include "platform/kits/intents/ExtensionProcess.hpp"
#include "platform/kits/widgetkit/internal/WidgetProtocol.hpp"

namespace widgetkit {
namespace {

using intents::ExtensionProcess;
using protocol::Answer;
using protocol::Operation;
using protocol::Request;

std::string boundText(std::chrono::milliseconds bound) {
    return std::to_string(bound.count()) + " ms";
}

}  // namespace

struct WidgetExtensionHost::Channel {
    Channel(std::vector<std::string> command, PrintedLine printed, Bounds given)
        : bounds(given), process(started(std::move(command), std::move(printed))) {}

    static std::unique_ptr<ExtensionProcess> started(std::vector<std::string> command, PrintedLine printed) {
        try {
            return std::make_unique<ExtensionProcess>(std::move(command), std::move(printed));
        } catch (const intents::ExtensionError& error) {
            throw WidgetExtensionError(error.what());
        }
    }

    Answer ask(Operation operation, const WidgetRequest& widget, std::string_view what) {
        if (!process->isOpen()) {
            throw WidgetExtensionError("the widget extension has ended");
        }
        const Request request{nextId++, operation, widget};
        const bool waits = operation == Operation::timeline || (operation == Operation::snapshot && !widget.isPreview);
        const auto bound = waits ? bounds.timeline : bounds.immediate;
        const auto deadline = ExtensionProcess::Clock::now() + bound;
        const auto fail = [&](ExtensionProcess::Outcome outcome) {
            if (outcome == ExtensionProcess::Outcome::timedOut) {
                process->stop();
                throw WidgetExtensionTimeout("the widget extension did not answer the " + std::string(what) +
                                             " within " + boundText(bound) + " and was stopped");
            }
            throw WidgetExtensionError("the " + std::string(what) + " failed: " +
                                       process->endedText(bounds.immediate));
        };
        std::string line;
        try {
            line = request.line();
        } catch (const std::exception& error) {
            throw WidgetExtensionError("the " + std::string(what) + " cannot be sent: " + error.what());
        }
        if (const auto sent = process->send(line, deadline); sent != ExtensionProcess::Outcome::done) {
            fail(sent);
        }
        for (;;) {
            const auto received = process->receive(deadline);
            if (received.outcome != ExtensionProcess::Outcome::done) {
                fail(received.outcome);
            }
            Answer answer;
            try {
                answer = Answer::parse(received.message);
            } catch (const std::exception& error) {
                throw WidgetExtensionError("the widget extension's answer to the " + std::string(what) +
                                           " cannot be read: " + error.what());
            }
            // An answer to no request of ours is a request it could not read.
            if (answer.id != request.id && !answer.error) {
                continue;
            }
            if (answer.error) {
                throw WidgetExtensionError("the widget extension refused the " + std::string(what) + ": " +
                                           *answer.error);
            }
            return answer;
        }
    }

    RenderedEntry entry(Operation operation, const WidgetRequest& widget, std::string_view what) {
        auto answer = ask(operation, widget, what);
        if (!answer.entry) {
            throw WidgetExtensionError("the widget extension answered the " + std::string(what) + " with no entry");
        }
        return std::move(*answer.entry);
    }

    Bounds bounds;
    std::unique_ptr<ExtensionProcess> process;
    std::int64_t nextId = 1;
};

WidgetExtensionHost::WidgetExtensionHost(std::vector<std::string> command, PrintedLine printed, Bounds bounds)
    : channel_(std::make_unique<Channel>(std::move(command), std::move(printed), bounds)) {}

WidgetExtensionHost::~WidgetExtensionHost() {
    finish();
}

std::vector<WidgetDescription> WidgetExtensionHost::widgets() {
    auto answer = channel_->ask(Operation::widgets, {}, "widgets request");
    if (!answer.widgets) {
        throw WidgetExtensionError("the widget extension answered the widgets request with no widgets");
    }
    return std::move(*answer.widgets);
}

RenderedEntry WidgetExtensionHost::placeholder(const WidgetRequest& request) {
    return channel_->entry(Operation::placeholder, request, "placeholder of " + request.kind);
}

RenderedEntry WidgetExtensionHost::snapshot(const WidgetRequest& request) {
    return channel_->entry(Operation::snapshot, request, "snapshot of " + request.kind);
}

RenderedTimeline WidgetExtensionHost::timeline(const WidgetRequest& request) {
    auto answer = channel_->ask(Operation::timeline, request, "timeline of " + request.kind);
    if (!answer.timeline) {
        throw WidgetExtensionError("the widget extension answered the timeline of " + request.kind +
                                   " with no timeline");
    }
    return std::move(*answer.timeline);
}

int WidgetExtensionHost::finish() {
    return channel_->process->finish(channel_->bounds.immediate);
}

}  // namespace widgetkit
