#pragma once

#include <compare>
#include <optional>
#include <string_view>

namespace foundation {

struct OperatingSystemVersion {
    int majorVersion = 0;
    int minorVersion = 0;
    int patchVersion = 0;

    friend auto operator<=>(const OperatingSystemVersion&, const OperatingSystemVersion&) = default;

    // "12", "12.1" or "12.1.3"; no value for anything else.
    static std::optional<OperatingSystemVersion> fromString(std::string_view text);
};

// The running system as the application's code asks about it. The code was
// written for a platform whose older releases lack some calls, and it keeps
// both branches; here the running "system" is the newest release, unless
// KESTROVA_SYSTEM_VERSION names another (read once, at the first question;
// a value that is no version stops the process with a message), or a
// SystemVersionOverride in force does (tests run the older branches so).
class ProcessInfo {
public:
    static constexpr OperatingSystemVersion newest{14, 0, 0};

    static ProcessInfo& processInfo();

    [[nodiscard]] OperatingSystemVersion operatingSystemVersion() const;
    [[nodiscard]] bool isOperatingSystemAtLeast(OperatingSystemVersion version) const {
        return operatingSystemVersion() >= version;
    }
};

}  // namespace foundation
