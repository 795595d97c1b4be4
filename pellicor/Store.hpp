#pragma once

#include "kestrova/model/User.hpp"

#include <optional>
#include <string>

namespace foundation {
class UserDefaults;
}

namespace pellicor {

// What the widgets read of the shared app-group defaults: the login token, read once when the
// store is made, and the user the application cached, read afresh at every call. The widgets never
// write there. A suite that cannot be opened or read counts as signed out with no cached user and is
// said once per process on standard error: a widget always gets an entry.
class Store {
public:
    // Over that suite with that token, as the shared store would have read it.
    Store(std::optional<std::string> token, foundation::UserDefaults& suite);

    // The extension's one store over the shared suite, made at the first call from any thread.
    [[nodiscard]] static const Store& shared();

    [[nodiscard]] const std::optional<std::string>& token() const noexcept { return token_; }

    // None when nothing is stored or the stored bytes are no user.
    [[nodiscard]] std::optional<kestrova::User> cachedUser() const;

private:
    Store() = default;

    std::optional<std::string> token_;
    // None when the shared suite could not be opened.
    foundation::UserDefaults* suite_ = nullptr;
};

}  // namespace pellicor
