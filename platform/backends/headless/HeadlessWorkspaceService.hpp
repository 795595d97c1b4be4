#pragma once

#include "platform/kits/appkit/WorkspaceService.hpp"
#include "platform/backends/headless/HeadlessEffects.hpp"

namespace headless {

// Opens nothing: records "workspace opened: <url>" and answers that a handler took it, and
// "workspace revealed: <url>" for each file shown in the file manager.
class HeadlessWorkspaceService final : public appkit::WorkspaceService {
public:
    explicit HeadlessWorkspaceService(HeadlessEffects& effects) : effects_(effects) {}

    bool open(const foundation::URL& url) override {
        effects_.record("workspace opened: " + url.absoluteString());
        return true;
    }

    void activateFileViewerSelectingURLs(const std::vector<foundation::URL>& urls) override {
        for (const auto& url : urls) {
            effects_.record("workspace revealed: " + url.absoluteString());
        }
    }

private:
    HeadlessEffects& effects_;
};

}  // namespace headless
