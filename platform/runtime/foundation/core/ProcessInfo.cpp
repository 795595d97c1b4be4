#include "platform/runtime/foundation/core/ProcessInfo.hpp"

#include "platform/runtime/foundation/core/SystemVersionOverride.hpp"

#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace foundation {

std::optional<OperatingSystemVersion> OperatingSystemVersion::fromString(std::string_view text) {
    int parts[3] = {0, 0, 0};
    std::size_t count = 0;
    const char* cursor = text.data();
    const char* end = text.data() + text.size();
    while (count < 3) {
        if (cursor == end || *cursor < '0' || *cursor > '9') {
            return std::nullopt;
        }
        const auto [next, error] = std::from_chars(cursor, end, parts[count]);
        if (error != std::errc()) {
            return std::nullopt;
        }
        ++count;
        cursor = next;
        if (cursor == end) {
            break;
        }
        if (*cursor != '.' || count == 3) {
            return std::nullopt;
        }
        ++cursor;
    }
    return OperatingSystemVersion{parts[0], parts[1], parts[2]};
}

ProcessInfo& ProcessInfo::processInfo() {
    static ProcessInfo shared;
    return shared;
}

namespace {

OperatingSystemVersion versionFromEnvironment() {
    const char* chosen = std::getenv("KESTROVA_SYSTEM_VERSION");
    if (chosen == nullptr) {
        return ProcessInfo::newest;
    }
    const auto version = OperatingSystemVersion::fromString(chosen);
    if (!version) {
        std::fprintf(stderr, "kestrova: KESTROVA_SYSTEM_VERSION is set to \"%s\", which is no version such as 12.0\n",
                     chosen);
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    }
    return *version;
}

}  // namespace

OperatingSystemVersion ProcessInfo::operatingSystemVersion() const {
    if (const auto chosen = SystemVersionOverride::current()) {
        return *chosen;
    }
    static const OperatingSystemVersion fromEnvironment = versionFromEnvironment();
    return fromEnvironment;
}

}  // namespace foundation
