#pragma once

#include "kestrova/web/WebWrapperView.hpp"
#include "platform/runtime/combine/PassthroughSubject.hpp"
#include "platform/runtime/foundation/core/URL.hpp"
#include "platform/kits/ui/Binding.hpp"

#include <string>
#include <utility>

namespace kestrova::webtest {

// What a window binds its web view to, held by a test in place of the window.
struct WindowState {
    explicit WindowState(foundation::URL start) : url(std::move(start)) {}

    foundation::URL url;
    std::string title = "Kestrova";
    bool isLoading = true;
    combine::PassthroughSubject<void> reloadSubject;
    bool isBeta = false;
    double pageZoom = 1.0;

    [[nodiscard]] WebWrapperView view() {
        return WebWrapperView(ui::Binding<foundation::URL>([this] { return url; }, [this](foundation::URL u) { url = u; }),
                              ui::Binding<std::string>([this] { return title; }, [this](std::string t) { title = t; }),
                              ui::Binding<bool>([this] { return isLoading; }, [this](bool l) { isLoading = l; }),
                              reloadSubject, isBeta, pageZoom);
    }
};

}  // namespace kestrova::webtest
