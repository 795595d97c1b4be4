#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace headless {

// What the headless backend did in place of a desktop, one line per effect in the order they
// happened ("window closed: Kestrova", "workspace opened: kestrova:///open?url=..."), so that a test
// can check what happened and in which order. A test may add lines of its own (a request its server
// saw) to see them in the same order. Thread-safe.
class HeadlessEffects {
public:
    void record(std::string line);
    [[nodiscard]] std::vector<std::string> lines() const;
    // Only the lines that start with `prefix`.
    [[nodiscard]] std::vector<std::string> linesStartingWith(const std::string& prefix) const;
    void clear();

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

}  // namespace headless
