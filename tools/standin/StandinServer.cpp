#include "tools/standin/StandinServer.hpp"

#include "tools/standin/OutputLine.hpp"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace standin {
namespace {

// Binds loopback only: the stand-in is for this machine. Port 0 takes a free
// one, which the ready line then names.
ServiceAddresses bind(httplib::SSLServer& server, const Certificate& certificate, int port) {
    // The library's default adds SO_REUSEPORT, with which a second stand-in binds the same port
    // and silently gets half of the connections; a port in use must be refused instead.
    server.set_socket_options([](socket_t socket) {
        const int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    if (!server.is_valid()) {
        throw std::runtime_error("the certificate " + certificate.certificateFile.string() + " or its key " +
                                 certificate.keyFile.string() + " cannot be used");
    }
    const int bound = port == 0 ? server.bind_to_any_port("127.0.0.1")
                                : (server.bind_to_port("127.0.0.1", port) ? port : -1);
    if (bound <= 0) {
        throw std::runtime_error("cannot listen on 127.0.0.1 port " + std::to_string(port) +
                                 " (is another server using it?)");
    }
    ServiceAddresses addresses;
    addresses.port = bound;
    return addresses;
}

}  // namespace

StandinServer::StandinServer(const Settings& settings)
    : certificate_(Certificate::ensure(settings.stateDirectory, ServiceAddresses().hostNames())),
      store_(settings.dataFile),
      server_(certificate_.certificateFile.c_str(), certificate_.keyFile.c_str()),
      addresses_(bind(server_, certificate_, settings.port)),
      api_(store_, addresses_, settings.stateDirectory / "files"),
      web_(store_, addresses_, settings.pagesDirectory, settings.loadBeacon),
      foreign_(settings.pagesDirectory) {
    const auto handler = [this](const httplib::Request& request, httplib::Response& response) {
        dispatch(request, response);
    };
    // Short keep-alive, so that stopping does not wait long for idle connections.
    server_.set_keep_alive_timeout(1);
    server_.Get(".*", handler);
    server_.Post(".*", handler);
    server_.Options(".*", handler);
    if (settings.logRequests) {
        server_.set_logger([](const httplib::Request& request, const httplib::Response& response) {
            printOutputLine(request.method + " " + request.get_header_value("Host") + " " + request.path + " " +
                            std::to_string(response.status));
        });
    }
}

void StandinServer::run() {
    server_.listen_after_bind();
}

void StandinServer::stop() {
    server_.stop();
}

void StandinServer::dispatch(const httplib::Request& request, httplib::Response& response) {
    std::string host = request.get_header_value("Host");
    host = host.substr(0, host.rfind(':') == std::string::npos ? host.size() : host.rfind(':'));
    std::ranges::transform(host, host.begin(), [](unsigned char c) { return std::tolower(c); });
    if (host == addresses_.apiHost()) {
        api_.handle(request, response);
    } else if (host == addresses_.domain || host == addresses_.betaHost()) {
        web_.handle(request, response, host == addresses_.betaHost());
    } else if (host == addresses_.foreignHost()) {
        foreign_.handle(request, response);
    } else {
        std::string names;
        for (const auto& name : addresses_.hostNames()) {
            names += (names.empty() ? "" : ", ") + name;
        }
        response.status = 421;
        response.set_content("This server answers for " + names + " only.\n", "text/plain");
    }
}

}  // namespace standin
