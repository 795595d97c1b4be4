#pragma once

#include "platform/runtime/combine/PassthroughSubject.hpp"
#include "platform/runtime/foundation/core/URL.hpp"
#include "platform/kits/ui/Binding.hpp"

#include <memory>
#include <string>

namespace webkit {
class WebView;
}

namespace kestrova {

class WebWrapperViewCoordinator;

// The web view of a main window, between the window's state and the engine: it is rebuilt with
// every change of the window's state, while its coordinator, made once, owns the one web view and
// brings it in line with the fields at each update. The page reaches the application through script
// messages named by JSMethod (kestrova/web/JSMethod.hpp).
class WebWrapperView {
public:
    WebWrapperView(ui::Binding<foundation::URL> url, ui::Binding<std::string> title, ui::Binding<bool> isLoading,
                   combine::PassthroughSubject<void> reloadSubject, bool isBeta, double pageZoom);

    // Fields in their order.
    ui::Binding<foundation::URL> url;        // the page the window should show
    ui::Binding<std::string> title;          // the window title
    ui::Binding<bool> isLoading;             // true while a navigation is in progress
    combine::PassthroughSubject<void> reloadSubject;  // each value reloads the page
    bool isBeta;                             // show the beta web front end
    double pageZoom;                         // the page zoom factor

    // Made once per window, with the three bindings themselves.
    [[nodiscard]] std::shared_ptr<WebWrapperViewCoordinator> makeCoordinator() const;
    // The first time the view is shown: observes the web view, applies the zoom, becomes its delegates
    // and loads the bound page on the chosen front end. Returns the web view to show.
    webkit::WebView& makeView(WebWrapperViewCoordinator& coordinator) const;
    // After every change of the window's state: applies the zoom when it changed, loads the bound URL
    // when it is not the page shown (stopping a load in progress first), and last hands the coordinator
    // the current beta setting. Before the web view has shown a page, the page shown is the one it
    // was asked for: a first page that failed or became a download is not asked for again at every
    // update. While the first page is still loading, the bound URL waits for it instead: stopping the
    // first load made the engine report its address a moment later, which came back into the binding
    // and replaced the URL that had just arrived.
    void updateView(WebWrapperViewCoordinator& coordinator) const;
};

}  // namespace kestrova
