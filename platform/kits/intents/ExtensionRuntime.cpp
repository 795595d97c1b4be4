#include "platform/kits/intents/ExtensionRuntime.hpp"

#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/kits/intents/Extension.hpp"
#include "platform/kits/intents/ExtensionMessage.hpp"
#include "platform/kits/intents/Selector.hpp"

#include <glib.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace intents {
namespace {

// Answers may come from any thread; one line at a time, each flushed at
// once, so that the host never waits on a buffer and printed lines keep
// their place between the answers.
void writeLine(const std::string& line) {
    static std::mutex mutex;
    const std::lock_guard lock(mutex);
    std::fflush(stdout);
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

class Session {
public:
    explicit Session(Extension& extension) : extension_(extension) {}

    int run() {
        concurrency::MainActor::shared();
        loop_ = g_main_loop_new(g_main_context_default(), FALSE);
        std::thread reader([this] { readInput(); });
        g_main_loop_run(loop_);
        reader.join();
        g_main_loop_unref(loop_);
        return 0;
    }

private:
    void readInput() {
        std::string pending;
        char buffer[65536];
        for (;;) {
            const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count <= 0) {
                break;
            }
            pending.append(buffer, static_cast<std::size_t>(count));
            std::size_t end = 0;
            while ((end = pending.find('\n')) != std::string::npos) {
                std::string line = pending.substr(0, end);
                pending.erase(0, end + 1);
                concurrency::MainActor::shared().enqueue([this, line = std::move(line)] { receive(line); });
            }
        }
        concurrency::MainActor::shared().enqueue([this] {
            inputEnded_ = true;
            quitWhenDone();
        });
    }

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
            writeLine(answer.line());
            return;
        }
        if (!request.intent) {
            ExtensionMessage answer;
            answer.id = request.id;
            answer.answer.error = "the request names no intent";
            writeLine(answer.line());
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
            writeLine(message.line());
            concurrency::MainActor::shared().enqueue([this, ends, identifier] { finished(ends, identifier); });
        };
        if (!handler || !handler->perform(request.selector, request.intent, reply)) {
            ExtensionMessage message;
            message.id = id;
            writeLine(message.line());
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
            g_main_loop_quit(loop_);
        }
    }

    Extension& extension_;
    GMainLoop* loop_ = nullptr;
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
