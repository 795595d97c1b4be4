#include "platform/backends/headless/HeadlessEffects.hpp"

namespace headless {

void HeadlessEffects::record(std::string line) {
    const std::lock_guard lock(mutex_);
    lines_.push_back(std::move(line));
}

std::vector<std::string> HeadlessEffects::lines() const {
    const std::lock_guard lock(mutex_);
    return lines_;
}

std::vector<std::string> HeadlessEffects::linesStartingWith(const std::string& prefix) const {
    const std::lock_guard lock(mutex_);
    std::vector<std::string> matching;
    for (const auto& line : lines_) {
        if (line.starts_with(prefix)) {
            matching.push_back(line);
        }
    }
    return matching;
}

void HeadlessEffects::clear() {
    const std::lock_guard lock(mutex_);
    lines_.clear();
}

}  // namespace headless
