#include "kestrova/web/WebWrapper.hpp"

#include "platform/foundation/URLComponents.hpp"
#include "kestrova/connectivity/ConnectivityController.hpp"
#include "kestrova/model/DecimalInteger.hpp"
#include "kestrova/model/SharedDefaults.hpp"
#include "kestrova/networking/ServiceHosts.hpp"
#include "kestrova/state/AppState.hpp"

#include <cstdint>
#include <exception>
#include <string>

namespace kestrova {
namespace {

std::optional<std::string> firstItem(const foundation::URL& url, std::string_view name) {
    const foundation::URLComponents components(url);
    const auto item = components.queryItem(name);
    if (!item || !item->value) {
        return std::nullopt;
    }
    return item->value;
}

std::optional<foundation::URL> createEntryTarget(const foundation::URL& link, bool isBeta) {
    const auto journalId = firstItem(link, "journalId");
    if (!journalId) {
        return std::nullopt;
    }
    std::optional<User> user;
    try {
        user = loadUser();
    } catch (const std::exception&) {
        return std::nullopt;  // a cache that cannot be read opens nothing
    }
    if (!user || user->journals.get() == nullptr) {
        return std::nullopt;
    }
    const auto id = decimalInteger(*journalId);
    if (!id) {
        return std::nullopt;
    }
    for (const auto& journal : *user->journals) {
        if (journal.id == *id) {
            return webHostURL(webBaseURL().appendingPathComponent(user->username.str() + "/" + journal.slug.str()),
                              isBeta);
        }
    }
    return std::nullopt;
}

std::optional<foundation::URL> openTarget(const foundation::URL& link, bool isBeta) {
    const auto inner = firstItem(link, "url");
    if (!inner) {
        return std::nullopt;
    }
    const auto url = foundation::URL::fromString(*inner);
    if (!url) {
        return std::nullopt;
    }
    const auto scheme = url->scheme();
    if (scheme != "http" && scheme != "https") {
        return std::nullopt;
    }
    return webHostURL(*url, isBeta);
}

}  // namespace

WebWrapper::WebWrapper(AppState& appState_, bool isLoading_, std::string title_)
    : appState(appState_),
      isLoading(isLoading_),
      title(std::move(title_)),
      url(startURL()),
      connectivity(ConnectivityController::make()) {}

WebWrapperView WebWrapper::webContent() {
    return WebWrapperView(ui::Binding<foundation::URL>([this] { return url; }, [this](foundation::URL value) { url = value; }),
                          ui::Binding<std::string>([this] { return title; }, [this](std::string value) { title = value; }),
                          ui::Binding<bool>([this] { return isLoading; }, [this](bool value) { isLoading = value; }),
                          reloadSubject, appState.isBeta.get(), appState.pageZoom.get());
}

std::function<void()> WebWrapper::viewToReload() {
    return [subject = reloadSubject] { subject.send(); };
}

void WebWrapper::openURL(const foundation::URL& link) {
    if (auto target = linkTarget(link, appState.isBeta.get())) {
        url = std::move(*target);
    }
}

void WebWrapper::connectivityChanged(bool isConnected) {
    if (!isConnected) {
        isLoading = true;
    }
}

void WebWrapper::betaChanged(bool isBeta) { url = isBeta ? betaWebBaseURL() : webBaseURL(); }

foundation::URL WebWrapper::startURL() {
    auto& state = AppState::shared();
    const bool signedIn = state.user.get().has_value();
    return webHostURL(webBaseURL().appendingPathComponent(signedIn ? "home" : "login"), state.isBeta.get());
}

std::optional<foundation::URL> WebWrapper::linkTarget(const foundation::URL& url, bool isBeta) {
    const auto target = webHostURL(url, isBeta);
    if (const auto host = target.host(); host && host->find(webHost()) != std::string::npos) {
        return target;
    }
    if (target.scheme() != "kestrova") {
        return std::nullopt;
    }
    const auto path = target.path();
    if (path == "/create-entry") {
        return createEntryTarget(target, isBeta);
    }
    if (path == "/open") {
        return openTarget(target, isBeta);
    }
    return std::nullopt;
}

}  // namespace kestrova
