#include "platform/webkit/HTTPCookieStore.hpp"

#include "platform/backend/Backend.hpp"

namespace webkit {

void HTTPCookieStore::getAllCookies(WebsiteDataService::CookiesHandler completion) const {
    backend::Backend::installed().websiteData().getAllCookies(std::move(completion));
}

}  // namespace webkit
