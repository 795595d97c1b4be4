#pragma once

#include "platform/runtime/concurrency/Task.hpp"
#include "platform/runtime/foundation/core/Date.hpp"
#include "platform/kits/webkit/HTTPCookieStore.hpp"

#include <functional>
#include <set>
#include <string>
#include <string_view>

namespace webkit {

// The persistent website data that the application's web views share: cookies, caches, storage.
class WebsiteDataStore {
public:
    // The store of every web view of the application.
    static WebsiteDataStore& defaultDataStore();

    static constexpr std::string_view cookiesType = "cookies";
    // Every type of data a web view keeps.
    static const std::set<std::string>& allWebsiteDataTypes();

    [[nodiscard]] const HTTPCookieStore& httpCookieStore() const noexcept { return cookies_; }

    // Removes the data of these types modified at or after `since`; `completion` runs later, on the
    // main thread, once the data is gone.
    void removeData(const std::set<std::string>& ofTypes, foundation::Date modifiedSince,
                    std::function<void()> completion);
    // The same, awaited: the awaiting task goes on, on its own executor, once the data is gone.
    concurrency::Task<void> removeData(std::set<std::string> ofTypes, foundation::Date modifiedSince);

    WebsiteDataStore(const WebsiteDataStore&) = delete;
    WebsiteDataStore& operator=(const WebsiteDataStore&) = delete;

private:
    WebsiteDataStore() = default;
    HTTPCookieStore cookies_;
};

}  // namespace webkit
