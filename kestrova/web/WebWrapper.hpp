#pragma once

#include "platform/combine/PassthroughSubject.hpp"
#include "platform/foundation/URL.hpp"
#include "kestrova/web/WebWrapperView.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kestrova {

class AppState;
class ConnectivityController;

// The content of every main window: the web view with its loading and offline screens, the window's
// remembered page, and the links the application is opened with.
class WebWrapper {
public:
    // The application passes the shared state, true and "Kestrova". The window's page starts at the
    // start URL.
    WebWrapper(AppState& appState, bool isLoading, std::string title);
    WebWrapper(const WebWrapper&) = delete;
    WebWrapper& operator=(const WebWrapper&) = delete;

    // Fields in their order.
    AppState& appState;
    bool isLoading;
    std::string title;
    foundation::URL url;  // the window's current page, kept with the window
    std::shared_ptr<ConnectivityController> connectivity;
    combine::PassthroughSubject<void> reloadSubject;

    // The web content of the window, bound to this state, with the current beta and zoom settings.
    [[nodiscard]] WebWrapperView webContent();
    // The window's reload action for the Reload command: one value into reloadSubject.
    [[nodiscard]] std::function<void()> viewToReload();

    // The window's reactions, in their order: a URL opened with the application goes to the link
    // rules; losing the network shows the loading screen again once it is back; switching beta goes
    // to the root of the chosen front end, whatever page was shown.
    void openURL(const foundation::URL& link);
    void connectivityChanged(bool isConnected);
    void betaChanged(bool isBeta);

    // The page a new window opens when it has no remembered one: "home" under the production web
    // base URL when a user is signed in, "login" otherwise, moved to the chosen front end.
    static foundation::URL startURL();

    // The page that a URL opened with the application shows in the window, or none when the window
    // keeps its page:
    // - a page on a host that contains the service's domain, moved to the chosen front end;
    // - "kestrova:///create-entry?journalId=ID": the cached user's journal of that id, as
    //   <user name>/<journal slug> under the web base URL on the chosen front end;
    // - "kestrova:///open?url=URL": that page on the chosen front end, when it is an http or https
    //   URL. Any program can open such a link, and a script, file or data URL must never be shown in
    //   the window where the user is signed in.
    static std::optional<foundation::URL> linkTarget(const foundation::URL& url, bool isBeta);
};

}  // namespace kestrova
