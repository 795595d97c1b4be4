#pragma once

#include "platform/appkit/WorkspaceService.hpp"
#include "platform/headless/HeadlessEffects.hpp"

namespace headless {

// Opens nothing: records "workspace opened: <url>" and answers that a handler took it.
class HeadlessWorkspaceService final : public appkit::WorkspaceService {
public:
    explicit HeadlessWorkspaceService(HeadlessEffects& effects) : effects_(effects) {}

    bool open(const foundation::URL& url) override {
        effects_.record("workspace opened: " + url.absoluteString());
        return true;
    }

private:
    HeadlessEffects& effects_;
};

}  // namespace headless
