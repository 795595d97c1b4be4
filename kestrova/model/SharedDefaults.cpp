#include "kestrova/model/SharedDefaults.hpp"

#include "platform/runtime/foundation/defaults/AppGroup.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "platform/runtime/foundation/defaults/UserDefaultsError.hpp"

#include <cstdio>
#include <cstdlib>

namespace kestrova {

foundation::UserDefaults& openSharedDefaults() {
    // Never destroyed: extension processes and background threads may still
    // read it while the process exits. A constructor that throws leaves the
    // static unset, so the next call opens the file again.
    static auto* const suite = new foundation::UserDefaults(foundation::AppGroup::identifier());
    return *suite;
}

foundation::UserDefaults& sharedDefaults() {
    try {
        return openSharedDefaults();
    } catch (const foundation::UserDefaultsError& error) {
        std::fprintf(stderr, "kestrova: cannot open the shared defaults: %s\n", error.what());
        std::fflush(stderr);
        // Exit without running destructors: other threads may be using
        // what they would tear down.
        std::_Exit(EXIT_FAILURE);
    }
}

}  // namespace kestrova
