#pragma once

#include "platform/backends/headless/HeadlessEffects.hpp"
#include "platform/kits/webkit/InMemoryWebsiteData.hpp"

#include <functional>
#include <mutex>
#include <vector>

namespace headless {

// Website data in memory that tests fill (cookies, records) and whose removals are recorded as
// "website data removed: <types> since <seconds since 1970>". A test can hold removals back, to
// see what the code under test does while it waits for one, then let them finish.
class HeadlessWebsiteData final : public webkit::InMemoryWebsiteData {
public:
    explicit HeadlessWebsiteData(HeadlessEffects& effects) : effects_(effects) {}

    void removeData(const std::set<std::string>& types, foundation::Date since,
                    std::function<void()> completion) override;

    // While held, removals are recorded and done but their completions wait.
    void holdRemovals();
    // Lets the held completions run (later, on the main thread) and stops holding.
    void releaseRemovals();

private:
    HeadlessEffects& effects_;
    std::mutex mutex_;
    bool holding_ = false;
    std::vector<std::function<void()>> held_;
};

}  // namespace headless
