#include "platform/kits/widgetkit/WidgetRuntime.hpp"

#include "platform/kits/intents/ExtensionChannel.hpp"
#include "platform/kits/intents/ExtensionMessage.hpp"
#include "platform/kits/ui/Renderer.hpp"
#include "platform/kits/widgetkit/WidgetBundle.hpp"
#include "platform/kits/widgetkit/WidgetRenderer.hpp"
#include "platform/kits/widgetkit/internal/WidgetProtocol.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"

#include <atomic>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace widgetkit {
namespace {

using protocol::Answer;
using protocol::Operation;
using protocol::Request;

class Session {
public:
    explicit Session(const WidgetBundle& bundle) : widgets_(bundle.body()) {}

    int run() {
        channel_.run({.received = [this](const std::string& line) { receive(line); },
                      .ended = [this] { end(); }});
        return 0;
    }

private:
    void receive(const std::string& line) {
        Request request;
        try {
            if (line.empty() || line.front() != intents::ExtensionMessage::marker) {
                throw std::invalid_argument("it is not a marked message");
            }
            request = Request::parse(std::string_view(line).substr(1));
        } catch (const std::exception& error) {
            refuse(0, std::string("the request cannot be read: ") + error.what());
            return;
        }
        try {
            answer(request);
        } catch (const std::exception& error) {
            refuse(request.id, "the widget failed: " + std::string(error.what()));
        }
    }

    void answer(const Request& request) {
        if (request.operation == Operation::widgets) {
            Answer answer;
            answer.id = request.id;
            answer.widgets.emplace();
            for (const auto& widget : widgets_) {
                answer.widgets->push_back(WidgetDescription{widget.kind(), widget.displayName(), widget.description(),
                                                            widget.supportedFamilies(), widget.configurationIntent()});
            }
            channel_.write(answer.line());
            return;
        }
        const auto& widget = request.widget;
        const auto* configuration = find(widget.kind);
        if (configuration == nullptr) {
            refuse(request.id, "the extension has no widget of kind \"" + widget.kind + "\"");
            return;
        }
        if (!configuration->supports(widget.family)) {
            refuse(request.id, "the widget \"" + widget.kind + "\" does not come in the family " +
                                   std::string(name(widget.family)));
            return;
        }
        const TimelineProviderContext context{widget.family, nominalSize(widget.family), widget.isPreview};
        const auto id = request.id;
        const auto family = widget.family;
        const auto scale = widget.scale;
        switch (request.operation) {
            case Operation::placeholder: {
                Answer answer;
            answer.id = id;
                answer.entry = WidgetRenderer::render(configuration->placeholder(context), family, scale);
                channel_.write(answer.line());
                return;
            }
            case Operation::snapshot:
                track(id, configuration->snapshot(widget.configuration, context,
                                                  once<DatedView>(id, [this, id, family, scale](DatedView entry) {
                                                      Answer answer;
            answer.id = id;
                                                      answer.entry = WidgetRenderer::render(entry, family, scale);
                                                      reply(answer);
                                                  })));
                return;
            case Operation::timeline:
                track(id, configuration->timeline(widget.configuration, context,
                                                  once<ViewTimeline>(id, [this, id, family, scale](ViewTimeline views) {
                                                      RenderedTimeline timeline{{}, views.policy};
                                                      for (const auto& entry : views.entries) {
                                                          timeline.entries.push_back(
                                                              WidgetRenderer::render(entry, family, scale));
                                                      }
                                                      Answer answer;
            answer.id = id;
                                                      answer.timeline = std::move(timeline);
                                                      reply(answer);
                                                  })));
                return;
            case Operation::widgets:
                return;
        }
    }

    // The provider's completion, taken the first time from whatever thread and carried to the main
    // thread, where the entries are drawn; a second call is dropped.
    template <typename Value>
    std::function<void(Value)> once(std::int64_t id, std::function<void(Value)> answer) {
        auto taken = std::make_shared<std::atomic<bool>>(false);
        return [taken, id, answer = std::move(answer)](Value value) {
            if (taken->exchange(true)) {
                std::fprintf(stderr, "widgetkit: a provider completed request %lld again; the completion is dropped\n",
                             static_cast<long long>(id));
                return;
            }
            concurrency::MainActor::shared().enqueue(
                [answer, value = std::move(value)] { answer(value); });
        };
    }

    // The answer that ends the work runs on the main thread after the provider call has returned
    // it, even when the provider completed before returning.
    void track(std::int64_t id, ProviderWork work) {
        if (work) {
            inFlight_.emplace(id, std::move(*work));
            // Meanwhile the main thread, which draws the entries, would only wait.
            ui::Renderer::prepareSystemFont();
        }
    }

    void reply(const Answer& answer) {
        inFlight_.erase(answer.id);
        try {
            channel_.write(answer.line());
        } catch (const std::exception& error) {
            refuse(answer.id, "the entry cannot be sent: " + std::string(error.what()));
        }
    }

    void refuse(std::int64_t id, std::string error) {
        Answer answer;
        answer.id = id;
        answer.error = std::move(error);
        channel_.write(answer.line());
    }

    // The host went away: nobody is left to answer.
    void end() {
        channel_.closeOutput();
        for (const auto& [id, work] : inFlight_) {
            work.cancel();
        }
        inFlight_.clear();
        channel_.quit();
    }

    [[nodiscard]] const WidgetConfiguration* find(const std::string& kind) const {
        for (const auto& widget : widgets_) {
            if (widget.kind() == kind) {
                return &widget;
            }
        }
        return nullptr;
    }

    std::vector<WidgetConfiguration> widgets_;
    intents::ExtensionChannel channel_;
    // Main thread only.
    std::map<std::int64_t, concurrency::TaskHandle<void>> inFlight_;
};

}  // namespace

int WidgetRuntime::run(const WidgetBundle& bundle) {
    return Session(bundle).run();
}

}  // namespace widgetkit
