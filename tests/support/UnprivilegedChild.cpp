#include "tests/support/UnprivilegedChild.hpp"

#include "tests/support/ForkedChild.hpp"

#include <grp.h>
#include <unistd.h>

namespace testsupport {
namespace {

constexpr uid_t nobody = 65534;

}  // namespace

std::string UnprivilegedChild::run(const std::function<std::string()>& body) {
    return ForkedChild::run([&body] {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0)) {
            return std::string("cannot drop root's privileges");
        }
        return body();
    });
}

}  // namespace testsupport
