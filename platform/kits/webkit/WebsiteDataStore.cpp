#include "platform/kits/webkit/WebsiteDataStore.hpp"

#include "platform/runtime/concurrency/WithCheckedThrowingContinuation.hpp"
#include "platform/kits/webkit/WebsiteDataService.hpp"

namespace webkit {

WebsiteDataStore& WebsiteDataStore::defaultDataStore() {
    static WebsiteDataStore* const store = new WebsiteDataStore;
    return *store;
}

const std::set<std::string>& WebsiteDataStore::allWebsiteDataTypes() {
    // The kinds of data the web engine keeps per site.
    static const std::set<std::string>* const types = new std::set<std::string>{
        std::string(cookiesType),
        "device-id-hash-salts",
        "disk-cache",
        "dom-cache",
        "hsts-cache",
        "indexeddb-databases",
        "itp",
        "local-storage",
        "memory-cache",
        "offline-application-cache",
        "service-worker-registrations",
        "session-storage",
    };
    return *types;
}

void WebsiteDataStore::removeData(const std::set<std::string>& ofTypes, foundation::Date modifiedSince,
                                  std::function<void()> completion) {
    WebsiteDataService::installed().removeData(ofTypes, modifiedSince, std::move(completion));
}

concurrency::Task<void> WebsiteDataStore::removeData(std::set<std::string> ofTypes, foundation::Date modifiedSince) {
    co_await concurrency::withCheckedThrowingContinuation<void>(
        "WebsiteDataStore.removeData", [&](const concurrency::CheckedContinuation<void>& continuation) {
            removeData(ofTypes, modifiedSince, [continuation] { continuation.resume(); });
        });
}

}  // namespace webkit
