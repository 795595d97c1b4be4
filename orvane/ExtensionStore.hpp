#pragma once

#include "orvane/KestrovaJournal.hpp"

#include <optional>
#include <string>
#include <vector>

namespace foundation {
class UserDefaults;
}

namespace orvane {

// The extension's view of the shared defaults: the journals of the user the
// application cached under "user", read through the extension's own reduced
// records, and the login token, both as kestrova::AppGroupDefaults stores
// them. It caches nothing: every list reads and decodes the stored user
// again, so what the application wrote a moment ago is what it sees.
//
// Stored bytes that are no user print the decoding error and read as no
// journals, as when nothing is stored; they are left as they are. A suite
// that cannot be opened or read throws StoreError from every member below,
// and is never written to.
class ExtensionStore {
public:
    // Over the shared app-group defaults, opened at the first read, so that
    // making a store (and a handler that keeps one) cannot fail.
    ExtensionStore() = default;
    explicit ExtensionStore(foundation::UserDefaults& userDefaults) : userDefaults_(&userDefaults) {}

    [[nodiscard]] foundation::UserDefaults& userDefaults() const;

    // The text stored under "token"; none when signed out. A token holding a
    // line break or a NUL throws StoreError: it would end the request's
    // Cookie header and forge what follows.
    [[nodiscard]] std::optional<std::string> token() const;

    // In stored order.
    [[nodiscard]] std::vector<KestrovaJournal> journals() const;
    // Those whose isDaily is true, in stored order.
    [[nodiscard]] std::vector<KestrovaJournal> dailyJournals() const;
    // Those whose isDaily is false, in stored order.
    [[nodiscard]] std::vector<KestrovaJournal> otherJournals() const;

private:
    // None: the shared suite.
    foundation::UserDefaults* userDefaults_ = nullptr;
};

}  // namespace orvane
