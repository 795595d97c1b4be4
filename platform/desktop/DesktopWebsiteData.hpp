#pragma once

#include "platform/webkit/WebsiteDataService.hpp"

namespace desktop {

// The web engine's own store of the default web context: the cookies the pages set, caches and
// storage, kept under the user's data folder.
class DesktopWebsiteData final : public webkit::WebsiteDataService {
public:
    void getAllCookies(CookiesHandler completion) override;
    void removeData(const std::set<std::string>& types, foundation::Date since,
                    std::function<void()> completion) override;
};

}  // namespace desktop
