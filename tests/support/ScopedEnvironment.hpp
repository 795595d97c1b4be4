#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// Sets and unsets environment variables for as long as it lives and restores
// every one it touched afterwards, so a test can try configurations without
// leaking them into the next test.
class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    // No value unsets the variable.
    void set(const std::string& name, const std::optional<std::string>& value);

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace testsupport
