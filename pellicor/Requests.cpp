#include "pellicor/Requests.hpp"

#include "kestrova/networking/Networking.hpp"
#include "kestrova/networking/URLSessionBackport.hpp"
#include "platform/runtime/foundation/http/URLError.hpp"
#include "platform/runtime/foundation/http/URLRequest.hpp"
#include "platform/runtime/foundation/http/URLSession.hpp"

#include <cstdio>
#include <string>

namespace pellicor {
namespace {

constexpr double requestTimeout = 60.0;

void printFailure(const std::exception& error) {
    const auto* urlError = dynamic_cast<const foundation::URLError*>(&error);
    const std::string line = urlError != nullptr
                                 ? "URLError(" + std::to_string(urlError->errorCode()) + "): " + error.what() + "\n"
                                 : std::string(error.what()) + "\n";
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
}

}  // namespace

concurrency::Task<kestrova::Journal> getJournal(std::int64_t id, std::optional<std::string> token) {
    const std::string path = "/journals/" + std::to_string(id);
    auto request = token ? kestrova::Networking::makeRequest(path, *token) : kestrova::Networking::makeRequest(path);
    co_return co_await kestrova::Networking::send<kestrova::Journal>(std::move(request));
}

concurrency::Task<std::optional<foundation::Data>> fetchData(foundation::URL url) {
    foundation::URLRequest request(std::move(url), foundation::URLRequest::CachePolicy::useProtocolCachePolicy,
                                   requestTimeout);
    std::optional<foundation::Data> body;
    try {
        // The session call would start a transfer for a task cancelled before it.
        concurrency::CurrentTask::checkCancellation();
        auto reply = co_await kestrova::data(foundation::URLSession::shared(), std::move(request));
        body = std::move(reply.data);
    } catch (const std::exception& error) {
        printFailure(error);
    }
    co_return body;
}

concurrency::Task<kestrova::Journal> withDownloadedIcon(kestrova::Journal journal) {
    const auto url = journal.iconLink ? foundation::URL::fromString(journal.iconLink->view()) : std::nullopt;
    if (url) {
        journal.iconImageData = co_await fetchData(*url);
    }
    co_return journal;
}

}  // namespace pellicor
