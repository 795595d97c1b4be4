#pragma once

#include "orvane/KestrovaJournal.hpp"

#include <vector>

namespace foundation {
class UserDefaults;
}

namespace orvane {

// The extension's view of the shared defaults: the journals of the user the
// application cached under "user", and, through userDefaults(), the login
// token. It caches nothing: every list reads and decodes the stored user
// again, so what the application wrote a moment ago is what it sees.
//
// Stored bytes that are no user print the decoding error and read as no
// journals, as when nothing is stored; they are left as they are.
class Store {
public:
    // Over the shared app-group defaults.
    Store();
    explicit Store(foundation::UserDefaults& userDefaults) : userDefaults_(userDefaults) {}

    [[nodiscard]] foundation::UserDefaults& userDefaults() const noexcept { return userDefaults_; }

    // In stored order.
    [[nodiscard]] std::vector<KestrovaJournal> journals() const;
    // Those whose isDaily is true, in stored order.
    [[nodiscard]] std::vector<KestrovaJournal> dailyJournals() const;
    // Those whose isDaily is false, in stored order.
    [[nodiscard]] std::vector<KestrovaJournal> otherJournals() const;

private:
    foundation::UserDefaults& userDefaults_;
};

}  // namespace orvane
