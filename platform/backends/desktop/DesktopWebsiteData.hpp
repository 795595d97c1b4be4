#pragma once

#include "platform/kits/webkit/WebsiteDataService.hpp"

namespace desktop {

// The web engine's store of the application's web context: the cookies the pages set, caches and
// storage, kept under the user's data and cache folders.
class DesktopWebsiteData final : public webkit::WebsiteDataService {
public:
    void getAllCookies(CookiesHandler completion) override;
    void removeData(const std::set<std::string>& types, foundation::Date since,
                    std::function<void()> completion) override;
};

}  // namespace desktop
