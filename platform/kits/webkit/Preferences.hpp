#pragma once

namespace webkit {

struct Preferences {
    // Page elements may go full screen (videos, the editor).
    bool elementFullscreenEnabled = false;
};

}  // namespace webkit
