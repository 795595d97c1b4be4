#pragma once

#include "platform/kits/webkit/WebsiteDataService.hpp"

namespace webkit {

// The cookies of a website data store.
class HTTPCookieStore {
public:
    // Every cookie, in the store's order; `completion` runs later, on the main thread.
    void getAllCookies(WebsiteDataService::CookiesHandler completion) const;

private:
    friend class WebsiteDataStore;
    HTTPCookieStore() = default;
};

}  // namespace webkit
