#pragma once

#include "platform/backends/desktop/HandedOverLaunch.hpp"

#include <stdexcept>
#include <string>

namespace desktop {

// The running instance of an application refused a launch handed to it; what() says why.
class HandOverRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The instance of an application that owns its id on the session bus, reached with GIO alone: a
// second launch hands it its launch as GApplication's own remote instance would (the same call,
// URIs and platform data, the startup notification id among them so that its window may take the
// focus), without bringing up a toolkit first.
class RunningInstance {
public:
    enum class HandOver {
        delivered,
        // Nobody owns the id (or the session bus cannot be reached): the launch is the application's own.
        noInstance,
    };

    explicit RunningInstance(std::string applicationId);

    // Delivers the launch and waits for the instance to have taken it. Never starts the application
    // through the bus: an instance that was not running, or that ended before it took the call, is
    // `noInstance`. Throws HandOverRefused when the instance answers with an error.
    HandOver handOver(const HandedOverLaunch& launch) const;

private:
    std::string applicationId_;
};

}  // namespace desktop
