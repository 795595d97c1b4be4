#pragma once

namespace webkit {

// The frame in which a navigation happens or from which a page asks for something.
struct FrameInfo {
    bool isMainFrame = true;
};

}  // namespace webkit
