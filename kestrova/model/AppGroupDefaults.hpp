#pragma once

#include "kestrova/model/User.hpp"
#include "platform/runtime/foundation/core/Data.hpp"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {
class UserDefaults;
}

namespace kestrova {

// One of the application's settings in the app group's suite: where it is
// stored, and what it reads as while nothing of its kind is stored there.
template <typename T>
struct AppGroupSetting {
    std::string_view key;
    T defaultValue;
};

// What the application and its extensions agree on in the app group's
// defaults suite: the keys, and how each value is stored. The application
// writes the login token and the cached user; the extensions only read them,
// the widget extension both, the intents extension the token and, through its
// own reduced records, the cached user's JSON. Every read goes to the suite,
// so a value another process wrote a moment ago is the one read; only the
// decoded user is kept, and only for as long as the suite says its stored
// value is unchanged. Every member throws UserDefaultsError when the suite
// cannot be read or written.
class AppGroupDefaults {
public:
    // The application's settings; the stored forms are those of ui::AppStorage.
    static constexpr AppGroupSetting<bool> statusBarIcon{"statusBarIcon", false};
    static constexpr AppGroupSetting<bool> statusBarIconMonochrome{"statusBarIconMonochrome", true};
    static constexpr AppGroupSetting<bool> beta{"beta", false};
    static constexpr AppGroupSetting<double> pageZoom{"pageZoom", 1.0};
    static constexpr AppGroupSetting<bool> soundFX{"soundFX", true};

    explicit AppGroupDefaults(foundation::UserDefaults& suite) noexcept : suite_(&suite) {}

    // The contract over the process's own suite, sharedDefaults().
    [[nodiscard]] static AppGroupDefaults shared();

    [[nodiscard]] foundation::UserDefaults& suite() const noexcept { return *suite_; }

    // The login token, stored as text under "token"; none when signed out.
    [[nodiscard]] std::optional<std::string> token() const;
    void setToken(const std::string& token);
    void removeToken();

    // The bytes of the cached user's JSON under "user", as they are stored;
    // none when nothing, or a value that is no data, is stored there.
    [[nodiscard]] std::optional<foundation::Data> cachedUserJSON() const;

    // Caches the user under "user" as JSON with the default coding (dates as
    // numbers), replacing what was there. Throws the encoder's error, in
    // which case the previous value stays.
    void saveUser(const User& user);

    // The cached user, decoded with the default coding; none as for
    // cachedUserJSON(). Throws the decoder's error for bytes that are no
    // user, and leaves them as they are.
    [[nodiscard]] std::optional<User> loadUser() const;
    // The same user, not copied: decoded once per stored value and shared by
    // every reader of the process until any process writes or removes it.
    // Null where loadUser() gives none; throws as it does, at every call
    // while the stored bytes are no user.
    [[nodiscard]] std::shared_ptr<const User> sharedUser() const;

    void removeUser();

private:
    foundation::UserDefaults* suite_;
};

}  // namespace kestrova
