#pragma once

#include "platform/kits/appkit/PushService.hpp"
#include "platform/backends/headless/HeadlessEffects.hpp"

#include <functional>
#include <vector>

namespace headless {

// A push provider that the test plays: registering is recorded as "remote notifications registered",
// and the test hands out device tokens with deliverToken().
class HeadlessPushService final : public appkit::PushService {
public:
    explicit HeadlessPushService(HeadlessEffects& effects) : effects_(effects) {}

    void registerForRemoteNotifications(std::function<void(const foundation::Data&)> onToken) override {
        effects_.record("remote notifications registered");
        registrations_.push_back(std::move(onToken));
    }

    // Hands `token` to every registration so far, as the provider does once it has one.
    void deliverToken(const foundation::Data& token) {
        const auto registrations = registrations_;
        for (const auto& onToken : registrations) {
            onToken(token);
        }
    }
    void forgetRegistrations() { registrations_.clear(); }

private:
    HeadlessEffects& effects_;
    std::vector<std::function<void(const foundation::Data&)>> registrations_;
};

}  // namespace headless
