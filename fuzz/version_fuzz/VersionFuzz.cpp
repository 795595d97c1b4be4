// Reads arbitrary bytes as release versions, one a line, as an update feed and
// the running build name them, and checks that comparing them is a total
// order on what it sees: each version equals itself, swapping two turns the
// answer round, and the order is transitive, equality included, so that the
// newest release of a feed does not depend on the order of its items.

#include "fuzz/support/FuzzFailure.hpp"
#include "platform/kits/updater/Version.hpp"

#include <cstdint>
#include <string_view>
#include <vector>

namespace {

std::string_view input;

void check(bool holds, std::string_view what) {
    if (!holds) {
        fuzzsupport::fail("version_fuzz", what, input);
    }
}

int sign(int order) { return (order > 0) - (order < 0); }

// Enough versions for every kind of triple, few enough that checking all of
// them stays fast.
constexpr std::size_t mostVersions = 12;

std::vector<std::string_view> versions() {
    std::vector<std::string_view> found;
    std::string_view rest = input;
    while (found.size() < mostVersions) {
        const auto end = rest.find('\n');
        found.push_back(rest.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(end + 1);
    }
    return found;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    input = std::string_view(reinterpret_cast<const char*>(bytes), size);
    const auto seen = versions();
    const std::size_t count = seen.size();
    std::vector<int> order(count * count);
    for (std::size_t a = 0; a < count; ++a) {
        for (std::size_t b = 0; b < count; ++b) {
            order[a * count + b] = sign(updater::compareVersions(seen[a], seen[b]));
        }
    }
    const auto at = [&](std::size_t a, std::size_t b) { return order[a * count + b]; };
    for (std::size_t a = 0; a < count; ++a) {
        check(at(a, a) == 0, "a version is not equal to itself");
        for (std::size_t b = 0; b < count; ++b) {
            check(at(a, b) == -at(b, a), "swapping two versions does not turn their order round");
            for (std::size_t c = 0; c < count; ++c) {
                if (at(a, b) <= 0 && at(b, c) <= 0) {
                    check(at(a, c) <= 0, "the order of versions is not transitive");
                    check(at(a, c) < 0 || (at(a, b) == 0 && at(b, c) == 0),
                          "versions below one another compare equal");
                }
            }
        }
    }
    return 0;
}
