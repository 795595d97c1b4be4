#pragma once

#include "platform/appkit/WorkspaceService.hpp"

namespace desktop {

// Hands URLs to GIO's default handler of their scheme: the user's browser for web pages, the
// application itself for its "kestrova:" links (through its desktop file).
class DesktopWorkspaceService final : public appkit::WorkspaceService {
public:
    bool open(const foundation::URL& url) override;
};

}  // namespace desktop
