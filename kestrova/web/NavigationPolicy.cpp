#include "kestrova/web/NavigationPolicy.hpp"

#include "kestrova/networking/ServiceHosts.hpp"

namespace kestrova::NavigationPolicy {

bool isCommandClick(const webkit::NavigationAction& action) {
    return action.navigationType == webkit::NavigationType::linkActivated &&
           action.modifierFlags.isExactly(webkit::EventModifierFlags::control);
}

namespace {

// A page of another origin than the service's: the main frame never shows it as it is.
bool isOtherOrigin(const std::optional<foundation::URL>& url) {
    return url && url->host() && !isServiceOrigin(*url);
}

}  // namespace

ActionDecision decideAction(const webkit::NavigationAction& action, bool isBeta) {
    const bool inSubFrame = action.targetFrame.has_value() && !action.targetFrame->isMainFrame;
    auto url = action.requestURL;
    bool upgraded = false;

    if (isOtherOrigin(url) && !inSubFrame) {
        if (action.targetFrame && !action.targetFrameIsKnown) {
            // Perhaps an inner frame's document: its response tells.
            return {webkit::NavigationActionPolicy::allow, Effect::none, std::nullopt, true};
        }
        auto page = servicePage(*url);
        if (!page) {
            return {webkit::NavigationActionPolicy::cancel, Effect::openInWorkspace, url};
        }
        // The service's page over http: loaded over https instead, whatever asked for it.
        url = std::move(page);
        upgraded = true;
    }
    if (inSubFrame) {
        return {webkit::NavigationActionPolicy::allow, Effect::none, std::nullopt};
    }
    if (url && (action.buttonNumber == webkit::NavigationAction::middleButton || isCommandClick(action))) {
        return {webkit::NavigationActionPolicy::cancel, Effect::openInApp, webHostURL(*url, isBeta)};
    }
    if (url && (upgraded || action.navigationType == webkit::NavigationType::linkActivated)) {
        return {webkit::NavigationActionPolicy::cancel, Effect::loadInPlace, webHostURL(*url, isBeta)};
    }
    return {action.shouldPerformDownload ? webkit::NavigationActionPolicy::download
                                         : webkit::NavigationActionPolicy::allow,
            Effect::none, std::nullopt};
}

ResponseDecision decideResponse(const webkit::NavigationResponse& response, bool isBeta) {
    if (response.isForMainFrame && isOtherOrigin(response.url)) {
        if (const auto page = servicePage(*response.url)) {
            return {webkit::NavigationResponsePolicy::cancel, Effect::loadInPlace, webHostURL(*page, isBeta)};
        }
        return {webkit::NavigationResponsePolicy::cancel, Effect::openInWorkspace, response.url};
    }
    if (response.canShowMIMEType && response.mimeType == "text/html") {
        return {webkit::NavigationResponsePolicy::allow, Effect::none, std::nullopt};
    }
    return {webkit::NavigationResponsePolicy::download, Effect::none, std::nullopt};
}

NewWindowDecision decideNewWindow(const webkit::NavigationAction& action) {
    if (action.targetFrame && action.targetFrame->isMainFrame) {
        return {};
    }
    if (!action.requestURL) {
        return {};
    }
    if (const auto page = servicePage(*action.requestURL)) {
        return {Effect::openInApp, page};
    }
    return {Effect::openInWorkspace, action.requestURL};
}

bool mayOpenOnDesktop(const foundation::URL& url, bool userStarted) {
    const auto scheme = url.scheme();
    return userStarted && (scheme == "http" || scheme == "https" || scheme == "mailto");
}

}  // namespace kestrova::NavigationPolicy
