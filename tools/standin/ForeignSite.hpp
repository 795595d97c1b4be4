#pragma once

#include "tools/standin/PageFolder.hpp"

#include <httplib.h>

#include <filesystem>
#include <utility>

namespace standin {

// Another site than the service, on the foreign host: one small page for
// any path, so that a link or a frame that leaves the service has somewhere
// to go on this machine.
class ForeignSite {
public:
    explicit ForeignSite(std::filesystem::path pagesDirectory) : pages_(std::move(pagesDirectory)) {}

    void handle(const httplib::Request& request, httplib::Response& response) const;

private:
    PageFolder pages_;
};

}  // namespace standin
