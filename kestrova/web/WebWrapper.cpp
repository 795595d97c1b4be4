#include "kestrova/web/WebWrapper.hpp"

#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/foundation/core/ProcessInfo.hpp"
#include "platform/runtime/foundation/core/URLComponents.hpp"
#include "platform/kits/ui/Image.hpp"
#include "platform/kits/ui/NativeView.hpp"
#include "platform/kits/ui/Stacks.hpp"
#include "platform/kits/ui/TextView.hpp"
#include "kestrova/connectivity/ConnectivityController.hpp"
#include "kestrova/model/DecimalInteger.hpp"
#include "kestrova/model/AppGroupDefaults.hpp"
#include "kestrova/networking/ServiceHosts.hpp"
#include "kestrova/state/AppState.hpp"
#include "kestrova/web/HostedWebView.hpp"
#include "kestrova/web/ViewToReloadValueKey.hpp"

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
        user = AppGroupDefaults::shared().loadUser();
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
    return servicePage(webHostURL(*url, isBeta));
}

ui::Transition fade() { return ui::Transition::opacity().withAnimation(ui::Animation::standard()); }

ui::View loadingScreen() {
    return ui::VStack({ui::Image::named("AppIcon")
                           .resizable()
                           .view()
                           .scaledToFill()
                           .clipped()
                           .frame({.minWidth = std::nullopt,
                                   .idealWidth = std::nullopt,
                                   .maxWidth = 56,
                                   .minHeight = std::nullopt,
                                   .idealHeight = std::nullopt,
                                   .maxHeight = 56,
                                   .alignment = ui::Alignment::center()}),
                       ui::Text("Loading...").foregroundColor(ui::Color("LightGrey")).view()})
        .transition(fade());
}

ui::View offlineScreen() {
    return ui::VStack({ui::Image::systemName("antenna.radiowaves.left.and.right.slash").resizable().view().scaledToFit().frame(32, 32),
                       ui::Text("The Internet connection appears to be offline.")
                           .view()
                           .multilineTextAlignment(ui::TextAlignment::center)
                           .foregroundColor(ui::Color("LightGrey"))
                           .padding()})
        .transition(fade());
}

}  // namespace

WebWrapper::WebWrapper(AppState& appState_, bool isLoading_, std::string title_)
    : appState(appState_),
      isLoading(isLoading_),
      title(std::move(title_)),
      url(startURL()),
      connectivity(ConnectivityController::make()),
      wasConnected_(connectivity->isConnected.get()),
      wasBeta_(appState.isBeta.get()) {
    concurrency::MainActor::preconditionIsolated();
}

WebWrapper::~WebWrapper() = default;

ui::View WebWrapper::body() {
    concurrency::MainActor::preconditionIsolated();
    // The reactions run when the body sees a value change, before it shows the new state; the body
    // observes both objects, so it sees every change.
    if (const bool isConnected = connectivity->isConnected.get(); isConnected != wasConnected_) {
        wasConnected_ = isConnected;
        connectivityChanged(isConnected);
    }
    if (const bool isBeta = appState.isBeta.get(); isBeta != wasBeta_) {
        wasBeta_ = isBeta;
        betaChanged(isBeta);
    }
    // Each layer keeps its place in the stack, so that a screen that comes or goes fades while the
    // web content stays the same view.
    ui::View loading;
    ui::View web;
    ui::View offline;
    if (connectivity->isConnected.get()) {
        if (isLoading) {
            loading = loadingScreen();
        }
        web = webContentView();
    } else {
        hosted_.reset();
        offline = offlineScreen();
    }
    return ui::ZStack({ui::ColorView(ui::Color::black()).ignoresSafeArea(), loading, web, offline})
        .observing(*this)
        .observing(connectivity)
        .observing(appState);
}

ui::View WebWrapper::webContentView() {
    const auto content = webContent();
    if (hosted_) {
        hosted_->update(content);
    } else {
        hosted_ = std::make_shared<HostedWebView>(content);
    }
    auto view = ui::NativeView::view(hosted_)
                    .annotation("ignoresSafeArea", "horizontal bottom")
                    .opacity(isLoading ? 0 : 1)
                    .animation(ui::Animation::standard(), isLoading ? 1 : 0)
                    .annotation("navigationTitle", title);
    // Older systems offer no focused scene values: the Reload command has no target there.
    if (foundation::ProcessInfo::processInfo().isOperatingSystemAtLeast({12, 0, 0})) {
        view = view.focusedSceneValue(ViewToReloadValueKey::name, ViewToReloadValueKey::Value(viewToReload()));
    }
    return view;
}

WebWrapperView WebWrapper::webContent() {
    concurrency::MainActor::preconditionIsolated();
    return WebWrapperView(
        ui::Binding<foundation::URL>([this] { return url; }, [this](foundation::URL value) { change(url, std::move(value)); }),
        ui::Binding<std::string>([this] { return title; }, [this](std::string value) { change(title, std::move(value)); }),
        ui::Binding<bool>([this] { return isLoading; }, [this](bool value) { change(isLoading, value); }),
        reloadSubject, appState.isBeta.get(), appState.pageZoom.get());
}

std::function<void()> WebWrapper::viewToReload() {
    concurrency::MainActor::preconditionIsolated();
    return [subject = reloadSubject] { subject.send(); };
}

bool WebWrapper::openURL(const foundation::URL& link) {
    concurrency::MainActor::preconditionIsolated();
    auto target = linkTarget(link, appState.isBeta.get());
    if (!target) {
        return false;
    }
    change(url, std::move(*target));
    return true;
}

void WebWrapper::connectivityChanged(bool isConnected) {
    concurrency::MainActor::preconditionIsolated();
    if (!isConnected) {
        change(isLoading, true);
    }
}

void WebWrapper::betaChanged(bool isBeta) {
    concurrency::MainActor::preconditionIsolated();
    change(url, isBeta ? betaWebBaseURL() : webBaseURL());
}

foundation::URL WebWrapper::startURL() {
    auto& state = AppState::shared();
    const bool signedIn = state.user.get().has_value();
    return webHostURL(webBaseURL().appendingPathComponent(signedIn ? "home" : "login"), state.isBeta.get());
}

std::optional<foundation::URL> WebWrapper::linkTarget(const foundation::URL& url, bool isBeta) {
    const auto target = webHostURL(url, isBeta);
    if (target.scheme() != "kestrova") {
        return servicePage(target);
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
