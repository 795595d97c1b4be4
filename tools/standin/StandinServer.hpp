#pragma once

#include "tools/standin/ApiService.hpp"
#include "tools/standin/Certificate.hpp"
#include "tools/standin/ForeignSite.hpp"
#include "tools/standin/Store.hpp"
#include "tools/standin/WebFrontEnd.hpp"

#include <httplib.h>

#include <filesystem>

namespace standin {

// The four hosts on one loopback port over HTTPS, told apart by the "Host"
// header field: the API host, the production and the beta web host, and the
// foreign site. Any other name is answered with 421.
class StandinServer {
public:
    struct Settings {
        int port = 8443;
        std::filesystem::path stateDirectory;
        std::filesystem::path dataFile;
        std::filesystem::path pagesDirectory;
        bool logRequests = false;
        bool loadBeacon = false;
    };

    // Opens the data file and the certificate (made on the first run) and
    // binds the port; throws std::runtime_error saying what failed.
    explicit StandinServer(const Settings& settings);

    [[nodiscard]] const ServiceAddresses& addresses() const { return addresses_; }
    [[nodiscard]] const Certificate& certificate() const { return certificate_; }

    // Serves until stop() is called, from any thread.
    void run();
    void stop();
    [[nodiscard]] bool isRunning() const { return server_.is_running(); }

private:
    void dispatch(const httplib::Request& request, httplib::Response& response);

    Certificate certificate_;
    Store store_;
    httplib::SSLServer server_;
    ServiceAddresses addresses_;
    ApiService api_;
    WebFrontEnd web_;
    ForeignSite foreign_;
};

}  // namespace standin
