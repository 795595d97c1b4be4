#include "tests/support/LoopbackServer.hpp"

#include "tests/support/TLSIdentity.hpp"

#include <httplib.h>

#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#if defined(__SANITIZE_THREAD__)
// The HTTP library is not built with the sanitizer: the guards of its lazily
// made statics are read without a synchronisation ThreadSanitizer can see,
// and a worker that uses a static another worker made first is reported as a
// race. Only what the library itself calls is left out of the reports.
extern "C" const char* __tsan_default_suppressions() {
    return "called_from_lib:libcpp-httplib.so\n";
}
#endif

namespace testsupport {
namespace {

// Enough for a client's handful of connections per host plus a few stalled requests.
constexpr std::size_t workerThreads = 8;
// One request per connection ("Connection: close"): a worker waiting on an
// idle keep-alive connection would hold up the server's destruction, and a
// client reusing a connection just as the server closes it would fail at
// random.
constexpr std::size_t requestsPerConnection = 1;
constexpr auto startupLimit = std::chrono::seconds(5);

bool namesEqual(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// Fields the HTTP library adds to a request itself; no client sent them.
bool isAddedByLibrary(std::string_view name) {
    return name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" || name == "LOCAL_PORT";
}

// The library would parse a multipart body into parts and keep no raw
// bytes. The pre-routing hook therefore keeps the fields as they came and
// hides a multipart content type from the library; the route handler, which
// runs next on the same worker thread, takes the kept fields.
thread_local HeaderList receivedFields;

Reply unscripted(const RecordedRequest& request) {
    return {.status = 404, .body = "no reply is scripted for " + request.method + " " + request.path};
}

}  // namespace

std::optional<std::string> RecordedRequest::header(std::string_view name) const {
    const auto field =
        std::ranges::find_if(headers, [name](const auto& entry) { return namesEqual(entry.first, name); });
    if (field == headers.end()) {
        return std::nullopt;
    }
    return field->second;
}

std::vector<std::string> RecordedRequest::headerValues(std::string_view name) const {
    std::vector<std::string> values;
    for (const auto& [fieldName, value] : headers) {
        if (namesEqual(fieldName, name)) {
            values.push_back(value);
        }
    }
    return values;
}

Reply Reply::redirect(int status, std::string location) {
    return {.status = status, .headers = {{"Location", std::move(location)}}};
}

Reply Reply::closingMidBody(std::string sentBody, std::size_t promisedLength) {
    return {.body = std::move(sentBody), .fault = Fault::closeMidBody, .promisedLength = promisedLength};
}

Reply Reply::stalling() {
    return {.fault = Fault::stall};
}

Reply Reply::endless(std::string piece, std::size_t lettingGoAfter) {
    return {.body = std::move(piece), .fault = Fault::endless, .promisedLength = lettingGoAfter};
}

struct LoopbackServer::State {
    State(std::unique_ptr<httplib::Server> made, std::string madeScheme, std::string madeAddress)
        : server(std::move(made)), scheme(std::move(madeScheme)), address(std::move(madeAddress)) {}

    const std::unique_ptr<httplib::Server> server;
    const std::string scheme;
    const std::string address;
    int port = 0;
    std::thread listener;

    mutable std::mutex mutex;
    std::condition_variable stopped;
    bool stopping = false;
    bool keepBodies = true;
    std::size_t endlessBytesSent = 0;
    std::map<std::pair<std::string, std::string>, Handler> routes;
    std::vector<RecordedRequest> log;

    void install();
    void serve(const httplib::Request& request, httplib::Response& response,
               const httplib::ContentReader* reader);
    // False when the server is being destroyed before the time is up.
    bool waitUnlessStopping(std::optional<std::chrono::milliseconds> duration);
    // Whether the server goes on sending an endless body, counting what it sends: not once it is
    // being destroyed.
    [[nodiscard]] bool sendsMore(std::size_t length);
    // Listens, and returns once the server runs.
    void start();
};

void LoopbackServer::State::install() {
    server->new_task_queue = [] { return new httplib::ThreadPool(workerThreads); };
    server->set_keep_alive_max_count(requestsPerConnection);
    server->set_pre_routing_handler([](const httplib::Request& request, httplib::Response&) {
        receivedFields.clear();
        for (const auto& [name, value] : request.headers) {
            if (!isAddedByLibrary(name)) {
                receivedFields.emplace_back(name, value);
            }
        }
        // The request object is the library's own, not a constant one; the
        // hook just sees it through a constant reference.
        auto& fields = const_cast<httplib::Request&>(request).headers;
        for (auto& [name, value] : fields) {
            if (namesEqual(name, "Content-Type") && value.starts_with("multipart/form-data")) {
                value = "application/octet-stream";
            }
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });

    const std::string everything = ".*";
    const auto plain = [this](const httplib::Request& request, httplib::Response& response) {
        serve(request, response, nullptr);
    };
    const auto streamed = [this](const httplib::Request& request, httplib::Response& response,
                                 const httplib::ContentReader& reader) { serve(request, response, &reader); };
    server->Get(everything, plain);
    server->Options(everything, plain);
    server->Delete(everything, plain);
    server->Post(everything, streamed);
    server->Put(everything, streamed);
    server->Patch(everything, streamed);
    server->Delete(everything, streamed);
}

bool LoopbackServer::State::waitUnlessStopping(std::optional<std::chrono::milliseconds> duration) {
    std::unique_lock lock(mutex);
    if (duration) {
        return !stopped.wait_for(lock, *duration, [this] { return stopping; });
    }
    stopped.wait(lock, [this] { return stopping; });
    return false;
}

void LoopbackServer::State::serve(const httplib::Request& request, httplib::Response& response,
                                  const httplib::ContentReader* reader) {
    RecordedRequest record{.method = request.method, .target = request.target, .path = request.path};
    record.headers = std::move(receivedFields);
    receivedFields.clear();
    bool keep = false;
    {
        const std::lock_guard lock(mutex);
        keep = keepBodies;
    }
    if (reader) {
        (*reader)([&](const char* bytes, std::size_t length) {
            record.bodyLength += length;
            if (keep) {
                record.body.append(bytes, length);
            }
            return true;
        });
    }

    Handler handler;
    {
        const std::lock_guard lock(mutex);
        log.push_back(record);
        const auto route = routes.find({request.method, request.path});
        handler = route != routes.end() ? route->second : unscripted;
    }
    Reply reply = handler(record);

    if (reply.fault == Reply::Fault::stall) {
        waitUnlessStopping(std::nullopt);
        return;
    }
    if (reply.delay.count() > 0 && !waitUnlessStopping(reply.delay)) {
        return;
    }
    response.status = reply.status;
    for (const auto& [name, value] : reply.headers) {
        response.set_header(name, value);
    }
    if (reply.fault == Reply::Fault::closeMidBody) {
        // A provider that fails after its first piece leaves the promised
        // length unfulfilled and makes the library drop the connection.
        response.set_content_provider(
            reply.promisedLength, "application/octet-stream",
            [sent = reply.body](std::size_t, std::size_t, httplib::DataSink& sink) {
                sink.write(sent.data(), sent.size());
                return false;
            });
        return;
    }
    if (reply.fault == Reply::Fault::endless) {
        // A write fails once the client has hung up, which ends the provider; a client that never
        // stops is let go after promisedLength bytes.
        response.set_chunked_content_provider(
            "application/octet-stream",
            [this, piece = reply.body, lettingGoAfter = reply.promisedLength](std::size_t offset, httplib::DataSink& sink) {
                if (offset >= lettingGoAfter || !sendsMore(piece.size())) {
                    sink.done();
                    return true;
                }
                return sink.write(piece.data(), piece.size());
            });
        return;
    }
    response.body = std::move(reply.body);
}

bool LoopbackServer::State::sendsMore(std::size_t length) {
    const std::lock_guard lock(mutex);
    if (stopping) {
        return false;
    }
    endlessBytesSent += length;
    return true;
}

LoopbackServer::LoopbackServer(std::string address)
    : state_(std::make_unique<State>(std::make_unique<httplib::Server>(), "http", std::move(address))) {
    state_->start();
}

LoopbackServer::LoopbackServer(const TLSIdentity& identity, std::string address)
    : state_(std::make_unique<State>(std::make_unique<httplib::SSLServer>(identity.certificate(), identity.key()),
                                     "https", std::move(address))) {
    if (!state_->server->is_valid()) {
        throw std::runtime_error("the loopback server cannot use the identity for TLS");
    }
    state_->start();
}

void LoopbackServer::State::start() {
    install();
    port = server->bind_to_any_port(address);
    if (port <= 0) {
        throw std::runtime_error("the loopback server cannot listen on " + address);
    }
    listener = std::thread([this] { server->listen_after_bind(); });
    // stop() is only heard once the server runs; a destructor that came
    // sooner would wait for ever.
    const auto deadline = std::chrono::steady_clock::now() + startupLimit;
    while (!server->is_running()) {
        if (std::chrono::steady_clock::now() > deadline) {
            std::terminate();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

LoopbackServer::~LoopbackServer() {
    {
        const std::lock_guard lock(state_->mutex);
        state_->stopping = true;
    }
    state_->stopped.notify_all();
    state_->server->stop();
    state_->listener.join();
}

const std::string& LoopbackServer::address() const noexcept {
    return state_->address;
}

int LoopbackServer::port() const noexcept {
    return state_->port;
}

std::string LoopbackServer::url(std::string_view pathAndQuery) const {
    return state_->scheme + "://" + state_->address + ":" + std::to_string(state_->port) + std::string(pathAndQuery);
}

void LoopbackServer::reply(std::string method, std::string path, Reply reply) {
    handle(std::move(method), std::move(path),
           [reply = std::move(reply)](const RecordedRequest&) { return reply; });
}

void LoopbackServer::handle(std::string method, std::string path, Handler handler) {
    const std::lock_guard lock(state_->mutex);
    state_->routes[{std::move(method), std::move(path)}] = std::move(handler);
}

void LoopbackServer::countBodiesOnly() {
    const std::lock_guard lock(state_->mutex);
    state_->keepBodies = false;
}

void LoopbackServer::keepBodies() {
    const std::lock_guard lock(state_->mutex);
    state_->keepBodies = true;
}

std::vector<RecordedRequest> LoopbackServer::requests() const {
    const std::lock_guard lock(state_->mutex);
    return state_->log;
}

std::size_t LoopbackServer::endlessBytesSent() const {
    const std::lock_guard lock(state_->mutex);
    return state_->endlessBytesSent;
}

int LoopbackServer::closedPort() {
    const int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe < 0) {
        throw std::runtime_error("no socket for a loopback port");
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    const bool bound = ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                       ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    // Bound but never listening, then closed: connecting to it is refused.
    ::close(probe);
    if (!bound) {
        throw std::runtime_error("no free loopback port");
    }
    return ntohs(address.sin_port);
}

}  // namespace testsupport
