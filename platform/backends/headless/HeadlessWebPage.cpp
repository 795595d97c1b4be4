#include "platform/backends/headless/HeadlessWebPage.hpp"

#include "platform/runtime/base/Verify.hpp"

#include <cstdio>
#include <fstream>

namespace headless {
namespace {

std::string typeName(webkit::NavigationType type) {
    switch (type) {
    case webkit::NavigationType::linkActivated:
        return "link";
    case webkit::NavigationType::formSubmitted:
        return "form";
    case webkit::NavigationType::backForward:
        return "back-forward";
    case webkit::NavigationType::reload:
        return "reload";
    case webkit::NavigationType::formResubmitted:
        return "form-resubmit";
    case webkit::NavigationType::other:
        return "other";
    }
    return "?";
}

std::string policyName(webkit::NavigationActionPolicy policy) {
    switch (policy) {
    case webkit::NavigationActionPolicy::cancel:
        return "cancel";
    case webkit::NavigationActionPolicy::allow:
        return "allow";
    case webkit::NavigationActionPolicy::download:
        return "download";
    }
    return "?";
}

std::string policyName(webkit::NavigationResponsePolicy policy) {
    switch (policy) {
    case webkit::NavigationResponsePolicy::cancel:
        return "cancel";
    case webkit::NavigationResponsePolicy::allow:
        return "allow";
    case webkit::NavigationResponsePolicy::download:
        return "download";
    }
    return "?";
}

std::string text(const std::optional<foundation::URL>& url) { return url ? url->absoluteString() : "none"; }

// The last path component, or "download" when there is none.
std::string filenameOf(const std::optional<foundation::URL>& url) {
    if (url) {
        const auto path = url->path();
        const auto slash = path.rfind('/');
        auto name = slash == std::string::npos ? path : path.substr(slash + 1);
        if (!name.empty()) {
            return name;
        }
    }
    return "download";
}

}  // namespace

HeadlessWebPage::HeadlessWebPage(webkit::WebView& owner, HeadlessEffects& effects) : owner_(owner), effects_(effects) {}

HeadlessWebPage::~HeadlessWebPage() { *alive_ = false; }

void HeadlessWebPage::load(const foundation::URLRequest& request) {
    char timeout[32];
    std::snprintf(timeout, sizeof timeout, "%g", request.timeoutInterval());
    effects_.record("web load: " + request.url().absoluteString() + " (timeout " + timeout + ", cache protocol)");
    webkit::NavigationAction action;
    action.navigationType = webkit::NavigationType::other;
    action.requestURL = request.url();
    startNavigation(action);
}

void HeadlessWebPage::reload() {
    effects_.record("web reload");
    if (committed_) {
        navigate(committed_, webkit::NavigationType::reload);
    }
}

void HeadlessWebPage::stopLoading() {
    effects_.record("web stop");
    provisional_.reset();
    loading_ = false;
    showURL(committed_);
}

void HeadlessWebPage::showURL(const std::optional<foundation::URL>& url) {
    if (url_ != url) {
        url_ = url;
        owner_.engineDidChangeURL();
    }
}

void HeadlessWebPage::makeFirstResponder() {
    if (inWindow_) {
        effects_.record("web first responder");
    }
}

void HeadlessWebPage::clickLink(const std::optional<foundation::URL>& url, webkit::EventModifierFlags modifiers,
                                int buttonNumber, bool mainFrame, bool shouldPerformDownload) {
    webkit::NavigationAction action;
    action.navigationType = webkit::NavigationType::linkActivated;
    action.buttonNumber = buttonNumber;
    action.modifierFlags = modifiers;
    action.targetFrame = webkit::FrameInfo{mainFrame};
    action.requestURL = url;
    action.shouldPerformDownload = shouldPerformDownload;
    action.isUserGesture = true;
    startNavigation(action);
}

void HeadlessWebPage::navigate(const std::optional<foundation::URL>& url, webkit::NavigationType type, bool mainFrame) {
    webkit::NavigationAction action;
    action.navigationType = type;
    action.targetFrame = webkit::FrameInfo{mainFrame};
    action.requestURL = url;
    startNavigation(action);
}

void HeadlessWebPage::startNavigation(const webkit::NavigationAction& action) {
    auto decided = [this, alive = std::weak_ptr<bool>(alive_), action](webkit::NavigationActionPolicy policy) {
        const auto isAlive = alive.lock();
        if (!isAlive || !*isAlive) {
            return;
        }
        effects_.record("web action: " + typeName(action.navigationType) + " " + text(action.requestURL) + " -> " +
                        policyName(policy));
        if (policy == webkit::NavigationActionPolicy::download) {
            startDownload(action.requestURL, {}, filenameOf(action.requestURL), [this, &action](webkit::Download& d) {
                if (auto* delegate = owner_.navigationDelegate()) {
                    delegate->navigationActionDidBecomeDownload(owner_, action, d);
                }
            });
            return;
        }
        if (policy != webkit::NavigationActionPolicy::allow || !action.requestURL) {
            return;
        }
        if (action.targetFrame && !action.targetFrame->isMainFrame) {
            return;  // an inner frame's document: the window's page stays as it is
        }
        provisional_ = PendingNavigation{action, *action.requestURL};
        loading_ = true;
        if (auto* delegate = owner_.navigationDelegate()) {
            delegate->didStartProvisionalNavigation(owner_);
        }
        // As with an engine, the address changes when the navigation starts.
        showURL(*action.requestURL);
    };
    if (auto* delegate = owner_.navigationDelegate()) {
        delegate->decidePolicyForNavigationAction(owner_, action, std::move(decided));
    } else {
        decided(webkit::NavigationActionPolicy::allow);
    }
}

void HeadlessWebPage::respond(std::optional<std::string> mimeType, bool canShowMIMEType, std::string body,
                              std::optional<std::string> suggestedFilename) {
    VERIFY(provisional_.has_value(), "no navigation is waiting for the server's answer");
    const auto pending = *provisional_;
    webkit::NavigationResponse response;
    response.url = pending.url;
    response.mimeType = std::move(mimeType);
    response.canShowMIMEType = canShowMIMEType;
    response.isForMainFrame = true;
    response.suggestedFilename = suggestedFilename;
    auto decided = [this, alive = std::weak_ptr<bool>(alive_), pending, response,
                    body = std::move(body)](webkit::NavigationResponsePolicy policy) mutable {
        const auto isAlive = alive.lock();
        if (!isAlive || !*isAlive) {
            return;
        }
        effects_.record("web response: " + response.mimeType.value_or("none") + " -> " + policyName(policy));
        provisional_.reset();
        if (policy == webkit::NavigationResponsePolicy::allow) {
            committed_ = pending.url;
            effects_.record("web committed: " + pending.url.absoluteString());
            showURL(pending.url);
            loading_ = false;
            if (auto* delegate = owner_.navigationDelegate()) {
                delegate->didFinishNavigation(owner_);
            }
            return;
        }
        // A navigation that becomes a download, or is cancelled, ends without finishing, and the
        // address goes back to the page shown.
        loading_ = false;
        showURL(committed_);
        if (policy == webkit::NavigationResponsePolicy::download) {
            startDownload(pending.url, std::move(body), response.suggestedFilename.value_or(filenameOf(pending.url)),
                          [this, &response](webkit::Download& d) {
                              if (auto* delegate = owner_.navigationDelegate()) {
                                  delegate->navigationResponseDidBecomeDownload(owner_, response, d);
                              }
                          });
        }
    };
    if (auto* delegate = owner_.navigationDelegate()) {
        delegate->decidePolicyForNavigationResponse(owner_, response, std::move(decided));
    } else {
        decided(canShowMIMEType ? webkit::NavigationResponsePolicy::allow : webkit::NavigationResponsePolicy::download);
    }
}

void HeadlessWebPage::fail() {
    VERIFY(provisional_.has_value(), "no navigation is under way");
    effects_.record("web failed: " + provisional_->url.absoluteString());
    provisional_.reset();
    loading_ = false;
    showURL(committed_);
    if (auto* delegate = owner_.navigationDelegate()) {
        delegate->didFailNavigation(owner_);
    }
}

void HeadlessWebPage::startDownload(std::optional<foundation::URL> url, std::string body,
                                    const std::string& suggestedFilename,
                                    const std::function<void(webkit::Download&)>& handOff) {
    const auto index = downloads_.size();
    downloads_.push_back({std::make_unique<webkit::Download>(url), std::move(body), true});
    auto& download = *downloads_.back().download;
    handOff(download);
    auto* delegate = download.delegate();
    if (delegate == nullptr) {
        downloads_[index].running = false;
        effects_.record("web download cancelled: " + text(url));
        return;
    }
    delegate->decideDestination(
        download, suggestedFilename,
        [this, alive = std::weak_ptr<bool>(alive_), index](std::optional<foundation::URL> destination) {
            const auto isAlive = alive.lock();
            if (!isAlive || !*isAlive) {
                return;
            }
            auto& record = downloads_[index];
            const auto source = text(record.download->originalURL());
            if (!destination) {
                record.running = false;
                effects_.record("web download cancelled: " + source);
                return;
            }
            std::ofstream file(destination->path(), std::ios::binary | std::ios::trunc);
            file << record.body;
            file.close();
            if (!file) {
                record.running = false;
                effects_.record("web download failed: " + source);
                if (auto* downloadDelegate = record.download->delegate()) {
                    downloadDelegate->didFail(*record.download,
                                              {"WebKitDownloadError", 499, "The file could not be written."});
                }
                return;
            }
            record.running = false;
            effects_.record("web download: " + source + " to " + destination->path());
            if (auto* downloadDelegate = record.download->delegate()) {
                downloadDelegate->didFinish(*record.download, *destination);
            }
        });
}

void HeadlessWebPage::failDownload(std::size_t index, const webkit::DownloadError& error) {
    VERIFY(index < downloads_.size() && downloads_[index].running, "no such download is running");
    auto& record = downloads_[index];
    record.running = false;
    effects_.record("web download failed: " + text(record.download->originalURL()));
    if (auto* delegate = record.download->delegate()) {
        delegate->didFail(*record.download, error);
    }
}

void HeadlessWebPage::setTitle(std::optional<std::string> title) {
    title_ = std::move(title);
    owner_.engineDidChangeTitle();
}

void HeadlessWebPage::requestNewWindow(const std::optional<foundation::URL>& url, bool targetIsMainFrame,
                                       bool userGesture) {
    effects_.record("web new window: " + text(url) + " -> no window");
    webkit::NavigationAction action;
    action.navigationType = webkit::NavigationType::other;
    action.isUserGesture = userGesture;
    action.targetFrame = targetIsMainFrame ? std::optional<webkit::FrameInfo>(webkit::FrameInfo{true}) : std::nullopt;
    action.requestURL = url;
    if (auto* delegate = owner_.uiDelegate()) {
        delegate->createWebView(owner_, action);
    }
}

void HeadlessWebPage::postMessage(const std::string& name, const std::string& body) {
    auto* handler = owner_.configuration().userContentController->handler(name);
    if (handler == nullptr) {
        // The page finds no messageHandlers.NAME and its call throws inside the page.
        effects_.record("web message unregistered: " + name);
        return;
    }
    effects_.record("web message: " + name);
    handler->didReceiveScriptMessage({name, body});
}

std::optional<bool> HeadlessWebPage::confirm(const std::string& message) {
    std::optional<bool> answer;
    auto* delegate = owner_.uiDelegate();
    if (delegate == nullptr) {
        return false;
    }
    delegate->runJavaScriptConfirmPanel(owner_, message, webkit::FrameInfo{true},
                                        [&answer](bool value) { answer = value; });
    return answer;
}

std::optional<std::optional<std::string>> HeadlessWebPage::prompt(const std::string& message,
                                                                  std::optional<std::string> defaultText) {
    std::optional<std::optional<std::string>> answer;
    auto* delegate = owner_.uiDelegate();
    if (delegate == nullptr) {
        return std::optional<std::string>{};
    }
    delegate->runJavaScriptTextInputPanel(owner_, message, defaultText, webkit::FrameInfo{true},
                                          [&answer](std::optional<std::string> value) { answer = std::move(value); });
    return answer;
}

void HeadlessWebPage::chooseFiles(webkit::OpenPanelParameters parameters) {
    chosenFiles_.reset();
    auto* delegate = owner_.uiDelegate();
    if (delegate == nullptr) {
        chosenFiles_ = std::optional<std::vector<foundation::URL>>{};
        return;
    }
    delegate->runOpenPanel(owner_, parameters, webkit::FrameInfo{true},
                           [this, alive = std::weak_ptr<bool>(alive_)](auto files) {
                               if (const auto isAlive = alive.lock(); isAlive && *isAlive) {
                                   chosenFiles_ = std::move(files);
                               }
                           });
}

}  // namespace headless
