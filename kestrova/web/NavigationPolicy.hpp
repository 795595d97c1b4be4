#pragma once

#include "platform/foundation/URL.hpp"
#include "platform/webkit/EventModifierFlags.hpp"
#include "platform/webkit/NavigationAction.hpp"
#include "platform/webkit/NavigationActionPolicy.hpp"
#include "platform/webkit/NavigationResponse.hpp"
#include "platform/webkit/NavigationResponsePolicy.hpp"

#include <optional>
#include <string_view>

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

    friend bool operator==(const ActionDecision&, const ActionDecision&) = default;
};

// The production and beta web front ends and the API server, compared whole and case-sensitively.
bool isOwnHost(std::string_view host);

// The click that asks for a new window: a link clicked with Control alone held. Control is what
// the desktop's browsers use for it; together with Shift, Alt or Super it is no such click.
bool isCommandClick(const webkit::NavigationAction& action);

// The first matching rule wins: a foreign host in the main frame goes to the browser; anything in an
// inner frame is allowed; a middle click or a Control click opens an application window; a link
// click is loaded afresh in place on the chosen front end; anything else is allowed, or downloaded
// when the page asked for that. A foreign host in a frame the engine cannot name is allowed here
// and decided at its response, which knows the frame.
ActionDecision decideAction(const webkit::NavigationAction& action, bool isBeta);

struct ResponseDecision {
    webkit::NavigationResponsePolicy policy = webkit::NavigationResponsePolicy::allow;
    Effect effect = Effect::none;
    std::optional<foundation::URL> url;

    friend bool operator==(const ResponseDecision&, const ResponseDecision&) = default;
};

// A foreign page in the main frame goes to the browser. Otherwise only an HTML page that the view
// can show is shown; everything else is downloaded.
ResponseDecision decideResponse(const webkit::NavigationResponse& response);

// What comes of a page's request for a new window; the page itself never gets one.
struct NewWindowDecision {
    Effect effect = Effect::none;
    std::optional<foundation::URL> url;

    friend bool operator==(const NewWindowDecision&, const NewWindowDecision&) = default;
};
NewWindowDecision decideNewWindow(const webkit::NavigationAction& action);

}  // namespace NavigationPolicy
}  // namespace kestrova
