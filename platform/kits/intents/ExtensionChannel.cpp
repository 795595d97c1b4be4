#include "platform/kits/intents/ExtensionChannel.hpp"

#include "platform/runtime/concurrency/MainActor.hpp"

#include <glib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <mutex>
#include <thread>

namespace intents {

struct ExtensionChannel::State {
    GMainLoop* loop = nullptr;
    std::mutex output;
    bool closed = false;  // guarded by output
};

ExtensionChannel::ExtensionChannel() : state_(std::make_unique<State>()) {}

ExtensionChannel::~ExtensionChannel() = default;

void ExtensionChannel::run(Handlers handlers) {
    concurrency::MainActor::shared();
    state_->loop = g_main_loop_new(g_main_context_default(), FALSE);
    std::thread reader([&handlers] {
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
                concurrency::MainActor::shared().enqueue(
                    [&handlers, line = std::move(line)]() mutable { handlers.received(std::move(line)); });
            }
        }
        concurrency::MainActor::shared().enqueue([&handlers] { handlers.ended(); });
    });
    g_main_loop_run(state_->loop);
    reader.join();
    g_main_loop_unref(state_->loop);
    state_->loop = nullptr;
}

void ExtensionChannel::quit() {
    g_main_loop_quit(state_->loop);
}

void ExtensionChannel::write(std::string_view line) {
    const std::lock_guard lock(state_->output);
    if (state_->closed) {
        return;
    }
    std::fflush(stdout);
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

void ExtensionChannel::closeOutput() {
    const std::lock_guard lock(state_->output);
    state_->closed = true;
}

}  // namespace intents
