#include "kestrova/web/NavigationPolicy.hpp"

#include "kestrova/networking/ServiceHosts.hpp"

namespace kestrova::NavigationPolicy {

bool isOwnHost(std::string_view host) { return host == webHost() || host == betaWebHost() || host == apiHost(); }

bool isCommandClick(const webkit::NavigationAction& action) {
    return action.navigationType == webkit::NavigationType::linkActivated &&
           action.modifierFlags.isExactly(webkit::EventModifierFlags::control);
}

ActionDecision decideAction(const webkit::NavigationAction& action, bool isBeta) {
    const auto& url = action.requestURL;
    const bool inSubFrame = action.targetFrame.has_value() && !action.targetFrame->isMainFrame;

    if (url) {
        if (const auto host = url->host(); host && !isOwnHost(*host) && !inSubFrame) {
            return {webkit::NavigationActionPolicy::cancel, Effect::openInWorkspace, url};
        }
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

webkit::NavigationResponsePolicy decideResponse(const webkit::NavigationResponse& response) {
    if (response.canShowMIMEType && response.mimeType == "text/html") {
        return webkit::NavigationResponsePolicy::allow;
    }
    return webkit::NavigationResponsePolicy::download;
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
