#pragma once

#include "platform/runtime/foundation/core/URL.hpp"
#include "platform/kits/webkit/EventModifierFlags.hpp"
#include "platform/kits/webkit/NavigationAction.hpp"
#include "platform/kits/webkit/NavigationActionPolicy.hpp"
#include "platform/kits/webkit/NavigationResponse.hpp"
#include "platform/kits/webkit/NavigationResponsePolicy.hpp"

#include <optional>

namespace kestrova {

// Which navigations stay in a window, which go to the default browser and which open another
// window of the application. Plain functions: the coordinator carries out what they decide.
namespace NavigationPolicy {

// What to do besides answering the engine.
enum class Effect {
    none,
    openInWorkspace,  // hand `url` to the desktop: the default browser for web pages
    openInApp,        // show `url` in an application window
    loadInPlace,      // load `url` in this web view, as a fresh request
};

struct ActionDecision {
    webkit::NavigationActionPolicy policy = webkit::NavigationActionPolicy::allow;
    Effect effect = Effect::none;
    std::optional<foundation::URL> url;
    // Allowed for now: its response decides, once it says which frame the navigation is for.
    bool decidedAtResponse = false;

    friend bool operator==(const ActionDecision&, const ActionDecision&) = default;
};

// The click that asks for a new window: a link clicked with Control alone held. Control is what
// the desktop's browsers use for it; together with Shift, Alt or Super it is no such click.
bool isCommandClick(const webkit::NavigationAction& action);

// The first matching rule wins: a page of another origin than the service's (https, its three
// hosts, the deployment's port) goes to the browser from the main frame, but an http page of the
// service's hosts is upgraded to https; anything in an inner frame is allowed; a middle click or a
// Control click opens an application window; a link click (or an upgraded page) is loaded afresh
// in place on the chosen front end; anything else is allowed, or downloaded when the page asked for
// that. A page of another origin in a frame the engine cannot name is allowed here and decided at
// its response, which knows the frame.
ActionDecision decideAction(const webkit::NavigationAction& action, bool isBeta);

struct ResponseDecision {
    webkit::NavigationResponsePolicy policy = webkit::NavigationResponsePolicy::allow;
    Effect effect = Effect::none;
    std::optional<foundation::URL> url;

    friend bool operator==(const ResponseDecision&, const ResponseDecision&) = default;
};

// A page of another origin in the main frame goes to the browser, or, when it is the service's page
// over http, is loaded over https on the chosen front end. Otherwise only an HTML page that the view
// can show is shown; everything else is downloaded.
ResponseDecision decideResponse(const webkit::NavigationResponse& response, bool isBeta);

// What comes of a page's request for a new window; the page itself never gets one.
struct NewWindowDecision {
    Effect effect = Effect::none;
    std::optional<foundation::URL> url;

    friend bool operator==(const NewWindowDecision&, const NewWindowDecision&) = default;
};
// The service's pages open in an application window (an http one over https), anything else in the
// browser.
NewWindowDecision decideNewWindow(const webkit::NavigationAction& action);

// Whether a page may hand the URL to the desktop's handler of its scheme: only web and mail links,
// and only from a navigation that the person started (a click, a key), never from a script alone.
bool mayOpenOnDesktop(const foundation::URL& url, bool userStarted);

}  // namespace NavigationPolicy
}  // namespace kestrova
