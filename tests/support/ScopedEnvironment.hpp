#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// Sets and unsets environment variables for as long as it lives and restores
// every one it touched afterwards, so a test can try configurations (a time
// zone, a locale, an app-group directory) without leaking them into the next
// test.
class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    // No value (or a null pointer) unsets the variable. TZ is reread at once,
    // since the C library caches the zone.
    void set(const std::string& name, const std::optional<std::string>& value);
    void set(const std::string& name, const char* value) {
        set(name, value ? std::optional<std::string>(value) : std::nullopt);
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace testsupport
