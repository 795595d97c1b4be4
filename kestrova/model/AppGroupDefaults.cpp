#include "kestrova/model/AppGroupDefaults.hpp"

#include "kestrova/model/SharedDefaults.hpp"

#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/runtime/foundation/coding/JSONEncoder.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"

#include <mutex>

namespace kestrova {
namespace {

// Stored files of every user hold these keys: they never change.
constexpr std::string_view tokenKey = "token";
constexpr std::string_view userKey = "user";

// The last user decoded, with the version of the stored value it came from.
// One for the process: it has one shared suite, and a version names its
// database, so a user of another suite is never taken for it. The lock is
// held while decoding, as the threads waiting would only decode the same.
class DecodedUserCache {
public:
    std::shared_ptr<const User> user(const foundation::UserDefaults& suite) {
        const std::lock_guard lock(mutex_);
        // Before the value: see DefaultsDatabase::version.
        const auto version = suite.version(userKey);
        if (version.has_value() && version == version_) {
            return user_;
        }
        const auto json = suite.data(userKey);
        // A decoding that throws leaves the cache as it was, so the same
        // bytes throw again at the next call.
        auto decoded = json ? std::make_shared<const User>(foundation::JSONDecoder().decode<User>(*json)) : nullptr;
        version_ = version;
        user_ = decoded;
        return decoded;
    }

private:
    std::mutex mutex_;
    std::optional<foundation::DefaultsVersion> version_;
    std::shared_ptr<const User> user_;
};

DecodedUserCache& decodedUserCache() {
    static DecodedUserCache cache;
    return cache;
}

}  // namespace

AppGroupDefaults AppGroupDefaults::shared() {
    return AppGroupDefaults(sharedDefaults());
}

std::optional<std::string> AppGroupDefaults::token() const {
    return suite_->string(tokenKey);
}

void AppGroupDefaults::setToken(const std::string& token) {
    suite_->set(token, tokenKey);
}

void AppGroupDefaults::removeToken() {
    suite_->removeObject(tokenKey);
}

std::optional<foundation::Data> AppGroupDefaults::cachedUserJSON() const {
    return suite_->data(userKey);
}

void AppGroupDefaults::saveUser(const User& user) {
    const foundation::Data json = foundation::JSONEncoder().encode(user);
    suite_->set(json, userKey);
}

std::optional<User> AppGroupDefaults::loadUser() const {
    const auto user = sharedUser();
    if (!user) {
        return std::nullopt;
    }
    return *user;
}

std::shared_ptr<const User> AppGroupDefaults::sharedUser() const {
    return decodedUserCache().user(*suite_);
}

void AppGroupDefaults::removeUser() {
    suite_->removeObject(userKey);
}

}  // namespace kestrova
