#pragma once

#include "platform/kits/webkit/WebsiteDataService.hpp"

#include <map>
#include <mutex>

namespace webkit {

// Website data kept in the process: what a backend without a web engine holds, and what the headless
// backend's tests fill. Thread-safe; answers are posted to the main queue.
class InMemoryWebsiteData : public WebsiteDataService {
public:
    void getAllCookies(CookiesHandler completion) override;
    void removeData(const std::set<std::string>& types, foundation::Date since,
                    std::function<void()> completion) override;

    // Adds a cookie after the others, or replaces the one with the same name, domain and path in place.
    void setCookie(foundation::HTTPCookie cookie, foundation::Date modified);
    // Stores one item of data of another type (a cache entry, a local-storage value).
    void addRecord(const std::string& type, foundation::Date modified);

    [[nodiscard]] std::vector<foundation::HTTPCookie> cookies() const;
    // How many items of each type are kept, cookies under "cookies".
    [[nodiscard]] std::map<std::string, std::size_t> recordCounts() const;

private:
    struct StoredCookie {
        foundation::HTTPCookie cookie;
        foundation::Date modified;
    };

    mutable std::mutex mutex_;
    std::vector<StoredCookie> cookies_;
    std::multimap<std::string, foundation::Date> records_;
};

}  // namespace webkit
