#include "kestrova/web/NavigationPolicy.hpp"

#include "kestrova/networking/ServiceHosts.hpp"

namespace kestrova::NavigationPolicy {

bool isOwnHost(std::string_view host) { return host == webHost() || host == betaWebHost() || host == apiHost(); }

bool isCommandClick(const webkit::NavigationAction& action) {
    return action.navigationType == webkit::NavigationType::linkActivated &&
           action.modifierFlags.isExactly(webkit::EventModifierFlags::control);
}

namespace {

bool isForeign(const std::optional<foundation::URL>& url) {
    if (!url) {
        return false;
    }
    const auto host = url->host();
    return host && !isOwnHost(*host);
}

}  // namespace

ActionDecision decideAction(const webkit::NavigationAction& action, bool isBeta) {
    const auto& url = action.requestURL;
    const bool inSubFrame = action.targetFrame.has_value() && !action.targetFrame->isMainFrame;

    if (isForeign(url) && !inSubFrame) {
        if (action.targetFrame && !action.targetFrameIsKnown) {
            // Perhaps an inner frame's document: its response tells.
            return {webkit::NavigationActionPolicy::allow, Effect::none, std::nullopt};
        }
        return {webkit::NavigationActionPolicy::cancel, Effect::openInWorkspace, url};
    }
    if (inSubFrame) {
        return {webkit::NavigationActionPolicy::allow, Effect::none, std::nullopt};
    }
    if (url && (action.buttonNumber == webkit::NavigationAction::middleButton || isCommandClick(action))) {
        return {webkit::NavigationActionPolicy::cancel, Effect::openInApp, webHostURL(*url, isBeta)};
    }
    if (url && action.navigationType == webkit::NavigationType::linkActivated) {
        return {webkit::NavigationActionPolicy::cancel, Effect::loadInPlace, webHostURL(*url, isBeta)};
    }
    return {action.shouldPerformDownload ? webkit::NavigationActionPolicy::download
                                         : webkit::NavigationActionPolicy::allow,
            Effect::none, std::nullopt};
}

ResponseDecision decideResponse(const webkit::NavigationResponse& response) {
    if (response.isForMainFrame && isForeign(response.url)) {
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
    const auto host = action.requestURL->host();
    if (host && host->find(webHost()) != std::string::npos) {
        return {Effect::openInApp, action.requestURL};
    }
    return {Effect::openInWorkspace, action.requestURL};
}

}  // namespace kestrova::NavigationPolicy
