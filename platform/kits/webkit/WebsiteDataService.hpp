#pragma once

#include "platform/runtime/base/Installable.hpp"
#include "platform/runtime/foundation/core/Date.hpp"
#include "platform/runtime/foundation/http/HTTPCookie.hpp"

#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace webkit {

// What the installed backend keeps of the web views' website data: cookies, caches, storage.
class WebsiteDataService : public base::Installable<WebsiteDataService> {
public:
    static constexpr std::string_view serviceName = "webkit::WebsiteDataService";

    using CookiesHandler = std::function<void(std::vector<foundation::HTTPCookie>)>;

    virtual ~WebsiteDataService() = default;

    // Every cookie, in the store's order. The answer comes later, on the main thread.
    virtual void getAllCookies(CookiesHandler completion) = 0;
    // Removes the data of these types modified at or after `since`; `completion` runs later, on the
    // main thread, once it is gone.
    virtual void removeData(const std::set<std::string>& types, foundation::Date since,
                            std::function<void()> completion) = 0;

protected:
    WebsiteDataService() = default;
};

}  // namespace webkit
