#pragma once

namespace foundation {
class UserDefaults;
}

namespace kestrova {

// The defaults suite of the app group, shared by the application and both
// extensions; AppGroupDefaults says what it holds. Opened on first use, once
// per process, from any thread. A suite that cannot be opened stops the
// process with a message naming the file and the cause: nothing can work
// without it, and it is never replaced behind the user's back.
foundation::UserDefaults& sharedDefaults();

// The same suite for a process that goes on without it (an extension answers
// that it cannot work): throws UserDefaultsError, naming the file and the
// cause, when the suite cannot be opened, and tries again at the next call.
foundation::UserDefaults& openSharedDefaults();

}  // namespace kestrova
