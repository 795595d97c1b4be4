#pragma once

#include "tools/standin/PageFolder.hpp"
#include "tools/standin/ServiceAddresses.hpp"
#include "tools/standin/Store.hpp"

#include <httplib.h>

#include <filesystem>
#include <map>
#include <string>

namespace standin {

// The web front end, on the production and the beta host: sign-in, the
// journals, a journal's page with its publish form and a button for every
// script message the application answers, and a playground of what a page
// asks of its browser (dialogs, file choosers, a frame of the foreign site, a
// download).
// Pages are files under the pages folder with {{name}} holes, shown inside
// layout.html. With the load beacon on, every page reports its own load
// event back with a POST to "/loaded", printed as "loaded <page path>": the
// same finish line for any browser, with nothing in the browser measured.
class WebFrontEnd {
public:
    WebFrontEnd(Store& store, ServiceAddresses addresses, std::filesystem::path pagesDirectory, bool loadBeacon);

    void handle(const httplib::Request& request, httplib::Response& response, bool beta) const;

private:
    void signIn(const httplib::Request& request, httplib::Response& response) const;
    void page(httplib::Response& response, const std::string& file, std::map<std::string, std::string> holes,
              bool beta) const;

    Store& store_;
    ServiceAddresses addresses_;
    PageFolder pages_;
    bool loadBeacon_;
};

}  // namespace standin
