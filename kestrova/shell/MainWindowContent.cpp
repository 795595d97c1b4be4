#include "kestrova/shell/MainWindowContent.hpp"

#include "kestrova/state/AppState.hpp"

namespace kestrova {
namespace {

constexpr const char* urlKey = "url";

}  // namespace

MainWindowContent::MainWindowContent(const std::map<std::string, std::string>& restored)
    : wrapper(AppState::shared(), true, "Kestrova") {
    if (const auto found = restored.find(urlKey); found != restored.end()) {
        if (auto url = foundation::URL::fromString(found->second)) {
            wrapper.url = std::move(*url);
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
