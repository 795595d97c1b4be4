#pragma once

#include "platform/runtime/combine/ObservableObject.hpp"
#include "platform/runtime/combine/PassthroughSubject.hpp"
#include "platform/runtime/foundation/core/URL.hpp"
#include "platform/kits/ui/View.hpp"
#include "kestrova/web/WebWrapperView.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kestrova {

class AppState;
class ConnectivityController;
class HostedWebView;

// The content of every main window: the web view with its loading and offline screens, the window's
// remembered page, and the links the application is opened with. It announces every change of the
// window's state (loading, title, page) to the views that observe it, its body among them.
class WebWrapper final : public combine::ObservableObject {
public:
    // The application passes the shared state, true and "Kestrova". The window's page starts at the
    // start URL.
    WebWrapper(AppState& appState, bool isLoading, std::string title);
    ~WebWrapper();
    WebWrapper(const WebWrapper&) = delete;
    WebWrapper& operator=(const WebWrapper&) = delete;

    // Fields in their order.
    AppState& appState;
    bool isLoading;
    std::string title;
    foundation::URL url;  // the window's current page, kept with the window
    std::shared_ptr<ConnectivityController> connectivity;
    combine::PassthroughSubject<void> reloadSubject;

    // The window's content, from back to front: black; while connected, the loading screen while
    // loading and in front of it the web content, hidden while loading; while offline, only the
    // offline screen. The screens fade in and out and the web content fades with the loading state.
    // The web view is made the first time the content shows it and kept across evaluations; going
    // offline takes it out, and the connection's return builds it anew at the current page.
    [[nodiscard]] ui::View body();

    // The web content of the window, bound to this state, with the current beta and zoom settings.
    [[nodiscard]] WebWrapperView webContent();
    // The window's reload action for the Reload command: one value into reloadSubject.
    [[nodiscard]] std::function<void()> viewToReload();

    // The window's reactions, in their order: a URL opened with the application goes to the link
    // rules; losing the network shows the loading screen again once it is back; switching beta goes
    // to the root of the chosen front end, whatever page was shown. The window delivers the URLs;
    // the body runs the other two when it sees the value change.
    // Whether the link changed the window's page.
    bool openURL(const foundation::URL& link);
    void connectivityChanged(bool isConnected);
    void betaChanged(bool isBeta);

    // The page a new window opens when it has no remembered one: "home" under the production web
    // base URL when a user is signed in, "login" otherwise, moved to the chosen front end.
    static foundation::URL startURL();

    // The page that a URL opened with the application shows in the window, or none when the window
    // keeps its page:
    // - a page of the service (servicePage: https on its origin, or http on its hosts taken over
    //   https), moved to the chosen front end;
    // - "kestrova:///create-entry?journalId=ID": the cached user's journal of that id, as
    //   <user name>/<journal slug> under the web base URL on the chosen front end;
    // - "kestrova:///open?url=URL": that page of the service on the chosen front end.
    // Any program and any web page can hand the application such a link, and the window is where the
    // user is signed in and the page reaches the application's script messages: no other page, no
    // script, file or data URL, no other port of the service's hosts, is ever shown in it.
    static std::optional<foundation::URL> linkTarget(const foundation::URL& url, bool isBeta);

private:
    // Every write of the window's state goes through here, so that its views re-evaluate.
    template <typename T>
    void change(T& field, T value) {
        objectWillChange().send();
        field = std::move(value);
    }

    [[nodiscard]] ui::View webContentView();

    std::shared_ptr<HostedWebView> hosted_;  // while the content shows the web view
    // What the body last saw, for its reactions to changes.
    bool wasConnected_;
    bool wasBeta_;
};

}  // namespace kestrova
