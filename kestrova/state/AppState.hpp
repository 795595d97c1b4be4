#pragma once

#include "platform/runtime/combine/ObservableObject.hpp"
#include "platform/runtime/combine/Published.hpp"
#include "platform/runtime/concurrency/Task.hpp"
#include "platform/kits/appstorage/AppStorage.hpp"
#include "kestrova/model/User.hpp"

#include <optional>

namespace kestrova {

// The application's settings and session: the user's five settings, kept in the shared app-group
// defaults, and the signed-in user as last fetched. Every part of the application uses the one shared
// instance, on the main actor; observers hear objectWillChange before any field changes.
class AppState final : public combine::ObservableObject {
public:
    // Made on first use, once per process, from any thread.
    static AppState& shared();

    // Reads "statusBarIcon" from the shared defaults, and nothing else; a suite that cannot be read
    // gives false, as every setting reads as its default then. Any other instance than the shared one
    // is for tests: it reads and writes the same suite.
    AppState();

    // A published Boolean that is written back to the shared defaults by hand: assigning stores the
    // value in the property first (its subscribers get it), then under "statusBarIcon".
    class StatusBarIcon {
    public:
        StatusBarIcon(AppState& owner, bool initial) : value_(owner, initial) {}

        [[nodiscard]] bool get() const noexcept { return value_.get(); }
        // Throws UserDefaultsError when the suite cannot be written; the property has the value then.
        StatusBarIcon& operator=(bool value);
        // The current value at once, then every later one.
        [[nodiscard]] combine::Publisher<bool> publisher() const { return value_.publisher(); }

    private:
        combine::Published<bool> value_;
    };

    // Fields in the order they are made; each setting's key and default are AppGroupDefaults' setting of
    // the same name (isBeta's is `beta`).
    StatusBarIcon statusBarIcon;
    ui::AppStorage<bool> statusBarIconMonochrome;
    ui::AppStorage<bool> isBeta;
    ui::AppStorage<double> pageZoom;
    ui::AppStorage<bool> soundFX;
    combine::Published<std::optional<User>> user;  // not stored; the cache for the extensions is "user"

    // Refreshes `user` from the server with the stored login token and caches it under "user" for the
    // extensions. Without a token it does nothing. Never throws: a failed fetch prints "Error when
    // fetching auth data." and keeps `user`; a failed store prints "Could not store user." and keeps
    // the new `user` while the cache keeps its previous content.
    concurrency::Task<void> fetchAuthData();

    // Signs out on this machine: forgets the token and the cached user, clears the web views' data,
    // tells the server (only with a token), reloads the widgets, closes every window and opens the
    // login page in the application. Never throws; a failed server request prints "Error when trying
    // to log out" and the rest goes on.
    concurrency::Task<void> logout();
};

}  // namespace kestrova
