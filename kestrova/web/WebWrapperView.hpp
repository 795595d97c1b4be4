#pragma once

#include "platform/combine/PassthroughSubject.hpp"
#include "platform/foundation/URL.hpp"
#include "platform/foundation/URLRequest.hpp"
#include "platform/ui/Binding.hpp"

#include <memory>
#include <string>

namespace webkit {
class WebView;
}

namespace kestrova {

// The web view of a main window, between the window's state and the engine: it is rebuilt with
// every change of the window's state, while its coordinator, made once, owns the one web view and
// brings it in line with the fields at each update. The page reaches the application through script
// messages named by JSMethod (kestrova/web/JSMethod.hpp).
class WebWrapperView {
public:
    class JSMethod;
    class Coordinator;

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
    [[nodiscard]] std::shared_ptr<Coordinator> makeCoordinator() const;
    // The first time the view is shown: observes the web view, applies the zoom, becomes its delegates
    // and loads the bound page on the chosen front end. Returns the web view to show.
    webkit::WebView& makeView(Coordinator& coordinator) const;
    // After every change of the window's state: applies the zoom when it changed, loads the bound URL
    // when it is not the page shown (stopping a load in progress first), and last hands the coordinator
    // the current beta setting. Before the web view has shown a page, the page shown is the one it
    // was asked for: a first page that failed or became a download is not asked for again at every
    // update. While the first page is still loading, the bound URL waits for it instead: stopping the
    // first load made the engine report its address a moment later, which came back into the binding
    // and replaced the URL that had just arrived.
    void updateView(Coordinator& coordinator) const;

    // The request of a page of the window: the protocol's cache policy and a time-out of 60 seconds.
    [[nodiscard]] static foundation::URLRequest pageRequest(const foundation::URL& url);

    // The configured web view: one script-message handler under every JSMethod name in order, element
    // full screen on (from release 12.3), gestures off, black under the page (from release 12.0), no
    // background of its own.
    static std::unique_ptr<webkit::WebView> makeWebView();
};

}  // namespace kestrova
