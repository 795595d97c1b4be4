#pragma once

#include <functional>

namespace kestrova {

// The focused value under which the window with the focus offers its page's reload action.
struct ViewToReloadValueKey {
    using Value = std::function<void()>;
    static constexpr const char* name = "viewToReload";
};

}  // namespace kestrova
