#pragma once

#include <functional>
#include <string>

namespace testsupport {

// Runs `body` in a forked child that is not root (root reads any file, so a
// child that is root first becomes nobody) and gives back the text it
// returned; an exception in the child comes back as its message. The child
// cannot enter directories that only root may, so it makes its own files.
class UnprivilegedChild {
public:
    static std::string run(const std::function<std::string()>& body);
};

}  // namespace testsupport
