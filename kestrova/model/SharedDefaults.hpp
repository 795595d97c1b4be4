#pragma once

#include "kestrova/model/User.hpp"

#include <optional>

namespace foundation {
class UserDefaults;
}

namespace kestrova {

// The defaults suite of the app group, shared by the application and both
// extensions: the login token under "token", the signed-in user under
// "user", and the application's settings. Opened on first use, once per
// process, from any thread. A suite that cannot be opened stops the process
// with a message naming the file and the cause: nothing can work without it,
// and it is never replaced behind the user's back.
foundation::UserDefaults& sharedDefaults();

// The same suite for a process that goes on without it (an extension answers
// that it cannot work): throws UserDefaultsError, naming the file and the
// cause, when the suite cannot be opened, and tries again at the next call.
foundation::UserDefaults& openSharedDefaults();

// The same suite, the handle the sign-in code reads and writes the token
// and the cached user through.
foundation::UserDefaults& accountDefaults();

// Caches the user under "user" as JSON with the default coding (dates as
// numbers), replacing what was there. Throws the encoder's error, in which
// case the previous value stays.
void saveUser(const User& user);

// The cached user; no value when nothing (or no data) is stored under
// "user". Throws the decoder's error for bytes that are no user, and leaves
// them as they are.
std::optional<User> loadUser();

}  // namespace kestrova
