#pragma once

namespace kestrova {

// The web view of a main window. The page reaches the application through script messages named by
// JSMethod (kestrova/web/JSMethod.hpp).
struct WebWrapperView {
    class JSMethod;
};

}  // namespace kestrova
