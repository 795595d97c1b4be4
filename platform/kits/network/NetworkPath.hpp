#pragma once

namespace network {

// What a path monitor reports: whether the machine's network can be used now.
struct Path {
    enum class Status {
        // A route to the network is up.
        satisfied,
        // No usable network.
        unsatisfied,
        // Not usable yet, but would be once a connection is made (a captive portal to sign in to).
        requiresConnection,
    };

    Status status = Status::satisfied;

    friend bool operator==(const Path&, const Path&) = default;
};

}  // namespace network
