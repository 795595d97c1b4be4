#pragma once

namespace testsupport {

// A socket listening on 127.0.0.1, on a port the kernel chose, for the
// servers of the tests and benches that speak to their clients themselves.
struct LoopbackListener {
    int descriptor = -1;  // -1, with errno saying why, when none could be made
    int port = 0;
};

[[nodiscard]] LoopbackListener listenOnLoopback(int backlog);

}  // namespace testsupport
