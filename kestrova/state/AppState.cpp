#include "kestrova/state/AppState.hpp"

#include "platform/kits/appkit/Application.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/foundation/coding/EncodingError.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "platform/runtime/foundation/defaults/UserDefaultsError.hpp"
#include "platform/kits/webkit/WebsiteDataStore.hpp"
#include "platform/kits/widgetkit/WidgetCenter.hpp"
#include "kestrova/model/AppGroupDefaults.hpp"
#include "kestrova/model/SharedDefaults.hpp"
#include "kestrova/networking/Networking.hpp"
#include "kestrova/networking/ServiceHosts.hpp"
#include "kestrova/links/OpenInApp.hpp"

#include <cstdio>
#include <exception>
#include <string>

namespace kestrova {
namespace {

void printLine(const char* line) {
    std::puts(line);
    std::fflush(stdout);
}

bool storedStatusBarIcon() {
    constexpr const auto& setting = AppGroupDefaults::statusBarIcon;
    return ui::settingOrDefault(setting.key, setting.defaultValue,
                                [] { return sharedDefaults().boolean(setting.key); });
}

template <typename T>
ui::AppStorage<T> storage(AppState& owner, const AppGroupSetting<T>& setting) {
    return ui::AppStorage<T>(owner, sharedDefaults(), std::string(setting.key), setting.defaultValue);
}

}  // namespace

AppState& AppState::shared() {
    // Never destroyed: main-actor work may still use it while the process exits.
    static AppState* const instance = new AppState;
    return *instance;
}

AppState::AppState()
    : statusBarIcon(*this, storedStatusBarIcon()),
      statusBarIconMonochrome(storage(*this, AppGroupDefaults::statusBarIconMonochrome)),
      isBeta(storage(*this, AppGroupDefaults::beta)),
      pageZoom(storage(*this, AppGroupDefaults::pageZoom)),
      soundFX(storage(*this, AppGroupDefaults::soundFX)),
      user(*this, std::nullopt) {}

AppState::StatusBarIcon& AppState::StatusBarIcon::operator=(bool value) {
    value_ = value;
    sharedDefaults().set(value, AppGroupDefaults::statusBarIcon.key);
    return *this;
}

concurrency::Task<void> AppState::fetchAuthData() {
    co_await concurrency::MainActor::run();
    std::optional<std::string> token;
    try {
        token = AppGroupDefaults::shared().token();
    } catch (const foundation::UserDefaultsError&) {
        printLine("Error when fetching auth data.");
        co_return;
    }
    if (!token) {
        co_return;
    }
    try {
        User fetched = co_await Networking::getUser(*token);
        user = fetched;
        AppGroupDefaults::shared().saveUser(fetched);
    } catch (const foundation::EncodingError&) {
        printLine("Could not store user.");
    } catch (const foundation::UserDefaultsError&) {
        // Only the cache of the user writes to the suite here: it refused to store it.
        printLine("Could not store user.");
    } catch (...) {
        printLine("Error when fetching auth data.");
    }
}

concurrency::Task<void> AppState::logout() {
    co_await concurrency::MainActor::run();

    // 1. The token goes to the server below, after it has been forgotten here.
    std::optional<std::string> token;
    try {
        token = AppGroupDefaults::shared().token();
    } catch (const foundation::UserDefaultsError&) {
        // An unreadable suite: there is no token to send; the rest still signs out.
    }

    // 2. Whatever fails to be removed, the next steps still sign out of the web front end.
    for (const auto remove : {&AppGroupDefaults::removeToken, &AppGroupDefaults::removeUser}) {
        try {
            (AppGroupDefaults::shared().*remove)();
        } catch (const foundation::UserDefaultsError&) {
        }
    }

    // 3.
    user = std::nullopt;

    // 4 and 5: every kind of website data since 1970; the awaiting task goes on on the main actor.
    co_await webkit::WebsiteDataStore::defaultDataStore().removeData(
        webkit::WebsiteDataStore::allWebsiteDataTypes(), foundation::Date::fromTimeIntervalSince1970(0));

    // 6.
    if (token) {
        try {
            co_await Networking::logout(*token);
        } catch (...) {
            printLine("Error when trying to log out");
        }
    }

    // 7 to 9, whatever the server said.
    widgetkit::WidgetCenter::shared().reloadAllTimelines();
    for (const auto& window : appkit::Application::shared().windows()) {
        window->close();
    }
    openInApp(webHostURL(webBaseURL().appendingPathComponent("login"), AppState::shared().isBeta.get()));
}

}  // namespace kestrova
