#pragma once

namespace webkit {

// What a page's file input accepts.
struct OpenPanelParameters {
    bool allowsDirectories = false;
    bool allowsMultipleSelection = false;
};

}  // namespace webkit
