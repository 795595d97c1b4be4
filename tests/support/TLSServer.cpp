#include "tests/support/TLSServer.hpp"

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <exception>
#include <stdexcept>
#include <thread>

namespace testsupport {

struct TLSServer::State {
    State(const TLSIdentity& identity) : server(identity.certificate(), identity.key()) {}

    httplib::SSLServer server;
    std::atomic<int> requests{0};
    std::thread listener;
    int port = 0;
};

TLSServer::TLSServer(const TLSIdentity& identity, std::string title) : state_(std::make_unique<State>(identity)) {
    // A kept-alive connection would hold up the stop.
    state_->server.set_keep_alive_max_count(1);
    const auto page = [state = state_.get(), page = "<!DOCTYPE html><title>" + title + "</title><p>" + title](
                          const httplib::Request&, httplib::Response& response) {
        ++state->requests;
        response.set_content(page, "text/html");
    };
    state_->server.Get(".*", page);
    state_->server.Post(".*", page);
    state_->port = state_->server.bind_to_any_port("127.0.0.1");
    if (state_->port <= 0) {
        throw std::runtime_error("the TLS server cannot listen on 127.0.0.1");
    }
    state_->listener = std::thread([state = state_.get()] { state->server.listen_after_bind(); });
    // stop() is only heard once the server runs; a destructor that came
    // sooner would wait for ever.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!state_->server.is_running()) {
        if (std::chrono::steady_clock::now() > deadline) {
            std::terminate();
        }
        std::this_thread::yield();
    }
}

TLSServer::~TLSServer() {
    state_->server.stop();
    state_->listener.join();
}

int TLSServer::requests() const noexcept {
    return state_->requests.load();
}

int TLSServer::port() const noexcept {
    return state_->port;
}

std::string TLSServer::url(const std::string& host) const {
    return "https://" + host + ":" + std::to_string(state_->port) + "/";
}

}  // namespace testsupport
