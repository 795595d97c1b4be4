#include "platform/kits/webkit/HTTPCookieStore.hpp"

#include "platform/kits/webkit/WebsiteDataService.hpp"

namespace webkit {

void HTTPCookieStore::getAllCookies(WebsiteDataService::CookiesHandler completion) const {
    WebsiteDataService::installed().getAllCookies(std::move(completion));
}

}  // namespace webkit
