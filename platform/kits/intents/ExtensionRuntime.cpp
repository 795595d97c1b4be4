#include "platform/kits/intents/ExtensionRuntime.hpp"

#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/kits/intents/Extension.hpp"
#include "platform/kits/intents/ExtensionChannel.hpp"
#include "platform/kits/intents/ExtensionMessage.hpp"
#include "platform/kits/intents/Selector.hpp"

#include <atomic>
#include <cstdio>
#include <map>
#include <string>

namespace intents {
namespace {

class Session {
public:
    explicit Session(Extension& extension) : extension_(extension) {}

    int run() {
        channel_.run({.received = [this](const std::string& line) { receive(line); },
                      .ended =
                          [this] {
                              inputEnded_ = true;
                              quitWhenDone();
                          }});
        return 0;
    }

private:
    void receive(const std::string& line) {
        const auto start = line.find(ExtensionMessage::marker);
        if (start == std::string::npos) {
            return;
        }
        ExtensionMessage request;
        try {
            request = ExtensionMessage::parse(std::string_view(line).substr(start + 1));
        } catch (const std::exception& error) {
            ExtensionMessage answer;
            answer.answer.error = std::string("the request cannot be read: ") + error.what();
            channel_.write(answer.line());
            return;
        }
        if (!request.intent) {
            ExtensionMessage answer;
            answer.id = request.id;
            answer.answer.error = "the request names no intent";
            channel_.write(answer.line());
            return;
        }
        auto& handler = handlers_[request.intent->identifier()];
        if (!handler) {
            handler = extension_.handler(request.intent);
        }
        const bool ends = request.selector == Selector::handle(request.intent->className());
        const auto identifier = request.intent->identifier();
        const std::int64_t id = request.id;
        ++outstanding_;
        auto answered = std::make_shared<std::atomic<bool>>(false);
        const auto reply = [this, id, ends, identifier, answered](HandlerAnswer answer) {
            if (answered->exchange(true)) {
                std::fprintf(stderr, "intents: a handler answered request %lld twice; the second answer is dropped\n",
                             static_cast<long long>(id));
                return;
            }
            ExtensionMessage message;
            message.id = id;
            message.responds = true;
            message.answer = std::move(answer);
            channel_.write(message.line());
            concurrency::MainActor::shared().enqueue([this, ends, identifier] { finished(ends, identifier); });
        };
        if (!handler || !handler->perform(request.selector, request.intent, reply)) {
            ExtensionMessage message;
            message.id = id;
            channel_.write(message.line());
            finished(false, identifier);
        }
    }

    void finished(bool ends, const std::string& identifier) {
        --outstanding_;
        if (ends) {
            handlers_.erase(identifier);
        }
        quitWhenDone();
    }

    void quitWhenDone() {
        if (inputEnded_ && outstanding_ == 0) {
            channel_.quit();
        }
    }

    Extension& extension_;
    // Answers may come from any thread.
    ExtensionChannel channel_;
    // Main thread only.
    std::map<std::string, std::shared_ptr<HandlerObject>> handlers_;
    std::size_t outstanding_ = 0;
    bool inputEnded_ = false;
};

}  // namespace

int ExtensionRuntime::run(Extension& extension) {
    return Session(extension).run();
}

}  // namespace intents
