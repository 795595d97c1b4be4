#include "pellicor/Store.hpp"

#include "kestrova/model/AppGroupDefaults.hpp"
#include "kestrova/model/SharedDefaults.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "platform/runtime/foundation/defaults/UserDefaultsError.hpp"
#include "platform/runtime/foundation/http/URLRequest.hpp"

#include <atomic>
#include <cstdio>

namespace pellicor {
namespace {

void sayUnreadableOnce(const char* what) {
    static std::atomic<bool> said{false};
    if (!said.exchange(true)) {
        std::fprintf(stderr, "pellicor: cannot read the shared defaults, showing the widgets signed out: %s\n", what);
        std::fflush(stderr);
    }
}

// A token that would end the Cookie header and forge what follows is no token.
std::optional<std::string> sendable(std::optional<std::string> token) {
    if (token && !foundation::URLRequest::isValidHeaderValue(*token)) {
        sayUnreadableOnce("the stored token holds a line break or NUL character");
        return std::nullopt;
    }
    return token;
}

}  // namespace

Store::Store(std::optional<std::string> token, foundation::UserDefaults& suite)
    : token_(sendable(std::move(token))), suite_(&suite) {}

const Store& Store::shared() {
    static const Store store = [] {
        Store opened;
        try {
            opened.suite_ = &kestrova::openSharedDefaults();
            opened.token_ = sendable(kestrova::AppGroupDefaults(*opened.suite_).token());
        } catch (const foundation::UserDefaultsError& error) {
            sayUnreadableOnce(error.what());
            opened.token_ = std::nullopt;
        }
        return opened;
    }();
    return store;
}

std::optional<kestrova::User> Store::cachedUser() const {
    if (suite_ == nullptr) {
        return std::nullopt;
    }
    try {
        return kestrova::AppGroupDefaults(*suite_).loadUser();
    } catch (const foundation::UserDefaultsError& error) {
        sayUnreadableOnce(error.what());
        return std::nullopt;
    } catch (const std::exception&) {
        // Bytes that are no user count as none; the application replaces them at its next refresh.
        return std::nullopt;
    }
}

}  // namespace pellicor
