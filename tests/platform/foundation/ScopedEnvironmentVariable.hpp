#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <time.h>

namespace foundation {

// Changes one environment variable for the length of a test and then puts
// back what the process had, so that no test depends on the machine's zone or
// locale, nor leaves its own to the tests after it. The C library rereads TZ
// at every change, since it caches the zone.
class ScopedEnvironmentVariable {
public:
    explicit ScopedEnvironmentVariable(std::string name) : name_(std::move(name)) {
        if (const char* value = std::getenv(name_.c_str())) {
            saved_ = value;
        }
    }

    ~ScopedEnvironmentVariable() {
        if (saved_) {
            setenv(name_.c_str(), saved_->c_str(), 1);
        } else {
            unsetenv(name_.c_str());
        }
        tzset();
    }

    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

    // No value unsets the variable.
    void set(const char* value) {
        if (value != nullptr) {
            setenv(name_.c_str(), value, 1);
        } else {
            unsetenv(name_.c_str());
        }
        tzset();
    }

private:
    std::string name_;
    std::optional<std::string> saved_;
};

}  // namespace foundation
