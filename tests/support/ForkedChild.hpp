#pragma once

#include <functional>
#include <string>

namespace testsupport {

// Runs `body` in a forked child and gives back the text it returned, for
// what must not touch the test process itself (its privileges, its
// file-size limit). An exception in the child comes back as its message.
class ForkedChild {
public:
    static std::string run(const std::function<std::string()>& body);
};

}  // namespace testsupport
