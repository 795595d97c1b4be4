#include "platform/backends/headless/HeadlessWebsiteData.hpp"

#include "platform/runtime/concurrency/MainActor.hpp"

#include <cmath>

namespace headless {

void HeadlessWebsiteData::removeData(const std::set<std::string>& types, foundation::Date since,
                                     std::function<void()> completion) {
    std::string line = "website data removed:";
    for (const auto& type : types) {
        line += ' ';
        line += type;
    }
    line += " since " + std::to_string(std::llround(since.timeIntervalSince1970()));
    effects_.record(std::move(line));
    {
        const std::lock_guard lock(mutex_);
        if (holding_) {
            InMemoryWebsiteData::removeData(types, since, [] {});
            held_.push_back(std::move(completion));
            return;
        }
    }
    InMemoryWebsiteData::removeData(types, since, std::move(completion));
}

void HeadlessWebsiteData::holdRemovals() {
    const std::lock_guard lock(mutex_);
    holding_ = true;
}

void HeadlessWebsiteData::releaseRemovals() {
    std::vector<std::function<void()>> held;
    {
        const std::lock_guard lock(mutex_);
        holding_ = false;
        held.swap(held_);
    }
    for (auto& completion : held) {
        concurrency::MainActor::shared().enqueue(std::move(completion));
    }
}

}  // namespace headless
