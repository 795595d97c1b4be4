#include "platform/kits/webkit/InMemoryWebsiteData.hpp"

#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/kits/webkit/WebsiteDataStore.hpp"

#include <algorithm>

namespace webkit {

void InMemoryWebsiteData::getAllCookies(CookiesHandler completion) {
    concurrency::MainActor::shared().enqueue(
        [completion = std::move(completion), cookies = cookies()]() mutable { completion(std::move(cookies)); });
}

void InMemoryWebsiteData::removeData(const std::set<std::string>& types, foundation::Date since,
                                     std::function<void()> completion) {
    {
        const std::lock_guard lock(mutex_);
        if (types.contains(std::string(WebsiteDataStore::cookiesType))) {
            std::erase_if(cookies_, [since](const StoredCookie& stored) { return !(stored.modified < since); });
        }
        std::erase_if(records_, [&](const auto& record) {
            return types.contains(record.first) && !(record.second < since);
        });
    }
    concurrency::MainActor::shared().enqueue(std::move(completion));
}

void InMemoryWebsiteData::setCookie(foundation::HTTPCookie cookie, foundation::Date modified) {
    const std::lock_guard lock(mutex_);
    const auto same = std::find_if(cookies_.begin(), cookies_.end(), [&](const StoredCookie& stored) {
        return stored.cookie.name == cookie.name && stored.cookie.domain == cookie.domain &&
               stored.cookie.path == cookie.path;
    });
    if (same != cookies_.end()) {
        *same = {std::move(cookie), modified};
    } else {
        cookies_.push_back({std::move(cookie), modified});
    }
}

void InMemoryWebsiteData::addRecord(const std::string& type, foundation::Date modified) {
    const std::lock_guard lock(mutex_);
    records_.emplace(type, modified);
}

std::vector<foundation::HTTPCookie> InMemoryWebsiteData::cookies() const {
    const std::lock_guard lock(mutex_);
    std::vector<foundation::HTTPCookie> all;
    all.reserve(cookies_.size());
    for (const auto& stored : cookies_) {
        all.push_back(stored.cookie);
    }
    return all;
}

std::map<std::string, std::size_t> InMemoryWebsiteData::recordCounts() const {
    const std::lock_guard lock(mutex_);
    std::map<std::string, std::size_t> counts;
    if (!cookies_.empty()) {
        counts[std::string(WebsiteDataStore::cookiesType)] = cookies_.size();
    }
    for (const auto& record : records_) {
        ++counts[record.first];
    }
    return counts;
}

}  // namespace webkit
