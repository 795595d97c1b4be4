#pragma once

#include "platform/foundation/URL.hpp"

#include <optional>

namespace kestrova {

// The content of every main window: the web view with its loading and offline screens, the window's
// remembered page, and the links the application is opened with.
class WebWrapper {
public:
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
