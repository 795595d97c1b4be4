#include "kestrova/shell/MainWindowContent.hpp"

#include "kestrova/networking/ServiceHosts.hpp"
#include "kestrova/state/AppState.hpp"

namespace kestrova {
namespace {

constexpr const char* urlKey = "url";

}  // namespace

MainWindowContent::MainWindowContent(const std::map<std::string, std::string>& restored)
    : wrapper(AppState::shared(), true, "Kestrova") {
    // The file of open windows is the user's to edit or damage: a kept page is shown only when it is
    // a page of the service, else the window starts on its start page.
    if (const auto found = restored.find(urlKey); found != restored.end()) {
        if (const auto url = foundation::URL::fromString(found->second)) {
            if (auto page = servicePage(*url)) {
                wrapper.url = std::move(*page);
            }
        }
    }
}

ui::View MainWindowContent::body() {
    return wrapper.body();
}

bool MainWindowContent::openURL(const foundation::URL& url) {
    return wrapper.openURL(url);
}

std::map<std::string, std::string> MainWindowContent::sceneStorage() const {
    return {{urlKey, wrapper.url.absoluteString()}};
}

}  // namespace kestrova
