#include "kestrova/model/AppGroupDefaults.hpp"

#include "kestrova/model/SharedDefaults.hpp"

#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/runtime/foundation/coding/JSONEncoder.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"

namespace kestrova {
namespace {

// Stored files of every user hold these keys: they never change.
constexpr std::string_view tokenKey = "token";
constexpr std::string_view userKey = "user";

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
    const auto json = cachedUserJSON();
    if (!json) {
        return std::nullopt;
    }
    return foundation::JSONDecoder().decode<User>(*json);
}

void AppGroupDefaults::removeUser() {
    suite_->removeObject(userKey);
}

}  // namespace kestrova
