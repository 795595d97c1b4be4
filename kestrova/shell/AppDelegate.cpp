#include "kestrova/shell/AppDelegate.hpp"

#include "platform/kits/appkit/Application.hpp"
#include "platform/kits/appkit/MenuItem.hpp"
#include "platform/kits/appkit/Workspace.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"
#include "platform/runtime/foundation/core/ProcessInfo.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "platform/kits/intents/UserActivity.hpp"
#include "platform/kits/usernotifications/UserNotificationCenter.hpp"
#include "platform/kits/webkit/WebsiteDataStore.hpp"
#include "kestrova/intents/OpenPublishViewIntent.hpp"
#include "kestrova/model/DecimalInteger.hpp"
#include "kestrova/model/AppGroupDefaults.hpp"
#include "kestrova/model/StoreLoginToken.hpp"
#include "kestrova/networking/Networking.hpp"
#include "kestrova/networking/ServiceHosts.hpp"
#include "kestrova/state/AppState.hpp"
#include "kestrova/links/OpenInApp.hpp"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <optional>

namespace kestrova {
namespace {

using usernotifications::AuthorizationOptions;
using usernotifications::PresentationOptions;
using usernotifications::UserNotificationCenter;

void printLine(const std::string& line) {
    std::puts(line.c_str());
    std::fflush(stdout);
}

void startUserRefresh() {
    static_cast<void>(
        concurrency::spawn(concurrency::MainActor::shared(), [] { return AppState::shared().fetchAuthData(); }));
}

// The journals of the cached user; none when it cannot be read, is absent or has no journals.
std::optional<std::vector<Journal>> cachedJournals() {
    std::optional<User> user;
    try {
        user = AppGroupDefaults::shared().loadUser();
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (!user || user->journals.get() == nullptr) {
        return std::nullopt;
    }
    return *user->journals;
}

// Hands the create-entry link of the cached user's journal with `id` to the desktop, which brings it
// back to the application's link handling; nothing when the journal or its link is missing.
void openCreateEntryPage(std::int64_t id) {
    const auto journals = cachedJournals();
    if (!journals) {
        return;
    }
    const auto journal = std::find_if(journals->begin(), journals->end(), [id](const Journal& j) { return j.id == id; });
    if (journal == journals->end()) {
        return;
    }
    if (const auto link = journal->createEntryURL()) {
        static_cast<void>(appkit::Workspace::shared().open(*link));
    }
}

// The journal that an open-the-publish-view intent names, by its identifier.
std::optional<std::int64_t> publishViewJournalId(const intents::UserActivity& activity) {
    const auto& interaction = activity.interaction();
    if (!interaction) {
        return std::nullopt;
    }
    const auto intent = std::dynamic_pointer_cast<OpenPublishViewIntent>(interaction->intent());
    if (!intent) {
        return std::nullopt;
    }
    const auto journal = intent->journal();
    if (!journal || !journal->identifier()) {
        return std::nullopt;
    }
    return decimalInteger(*journal->identifier());
}

// The Dock items go up the responder chain: to the application's delegate of the moment.
void dockItemChosen(appkit::MenuItem& item) {
    if (auto* delegate = dynamic_cast<AppDelegate*>(appkit::Application::shared().delegate())) {
        delegate->openJournalFromDock(&item);
    }
}

concurrency::Task<void> uploadDeviceToken(std::string deviceToken, std::string token) {
    try {
        co_await Networking::registerDeviceToken(std::move(deviceToken), std::move(token));
    } catch (const std::exception& error) {
        printLine(error.what());
    }
}

}  // namespace

AppDelegate::AppDelegate() : menu(std::make_shared<appkit::Menu>("Journals")) {}

AppDelegate::~AppDelegate() {
    if (UserNotificationCenter::current().delegate() == this) {
        UserNotificationCenter::current().setDelegate(nullptr);
    }
}

void AppDelegate::applicationDidFinishLaunching() {
    // The launcher shows the menu from now on and follows its rebuilds.
    appkit::Application::shared().setDockMenu(menu);
    static_cast<void>(concurrency::spawn(concurrency::MainActor::shared(), [this] { return launch(); }));
    // The main actor is busy until this returns, so the controller exists before the task's first step.
    statusBarController = std::make_unique<StatusBarController>();
}

concurrency::Task<void> AppDelegate::launch() {
    co_await AppState::shared().fetchAuthData();
    updateDockMenu();
    UserNotificationCenter::current().setDelegate(this);
    try {
        constexpr AuthorizationOptions options{AuthorizationOptions::badge | AuthorizationOptions::sound |
                                               AuthorizationOptions::alert | AuthorizationOptions::provisional};
        if (co_await UserNotificationCenter::current().requestAuthorization(options)) {
            appkit::Application::shared().registerForRemoteNotifications();
        }
    } catch (const std::exception& error) {
        printLine(error.what());
    }
}

std::string AppDelegate::deviceTokenText(const foundation::Data& deviceToken) {
    std::string text;
    text.reserve(deviceToken.size() * 2);
    for (const std::uint8_t byte : deviceToken.bytes()) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%.2hhx", byte);
        text.append(digits, 2);
    }
    return text;
}

void AppDelegate::didRegisterForRemoteNotifications(const foundation::Data& deviceToken) {
    std::optional<std::string> token;
    try {
        token = AppGroupDefaults::shared().token();
    } catch (const std::exception& error) {
        printLine(error.what());
        return;
    }
    // Without a login token the server cannot tell whose device it is; the next launch tries again.
    if (!token) {
        return;
    }
    auto text = deviceTokenText(deviceToken);
    static_cast<void>(concurrency::spawn(concurrency::MainActor::shared(),
                                         [text = std::move(text), token = std::move(*token)] {
                                             return uploadDeviceToken(text, token);
                                         }));
}

void AppDelegate::willPresent(const usernotifications::Notification& /*notification*/,
                              std::function<void(PresentationOptions)> completionHandler) {
    completionHandler(PresentationOptions{PresentationOptions::badge | PresentationOptions::sound |
                                          PresentationOptions::list | PresentationOptions::banner});
}

void AppDelegate::didReceive(const usernotifications::NotificationResponse& response,
                             std::function<void()> completionHandler) {
    const auto& userInfo = response.notification.request.content.userInfo;
    const auto urlIn = [&userInfo](const std::string& key) -> std::optional<std::pair<std::string, foundation::URL>> {
        const auto found = userInfo.find(key);
        const auto* text = found == userInfo.end() ? nullptr : std::get_if<std::string>(&found->second);
        if (text == nullptr) {
            return std::nullopt;
        }
        auto url = foundation::URL::fromString(*text);
        if (!url) {
            return std::nullopt;
        }
        return std::pair{*text, std::move(*url)};
    };
    if (const auto page = urlIn("url")) {
        printLine(page->first);
        openInApp(page->second);
    } else if (const auto file = urlIn("fileURL")) {
        appkit::Workspace::shared().activateFileViewerSelectingURLs({file->second});
    }
    completionHandler();
}

void AppDelegate::applicationWillBecomeActive() {
    startUserRefresh();
    std::vector<std::shared_ptr<appkit::Window>> keyCapable;
    for (auto& window : appkit::Application::shared().windows()) {
        if (window->canBecomeKey()) {
            keyCapable.push_back(std::move(window));
        }
    }
    const auto shown = [](const auto& window) { return !window->isMiniaturized(); };
    if (keyCapable.empty() || std::any_of(keyCapable.begin(), keyCapable.end(), shown)) {
        return;
    }
    const auto& window = keyCapable.front();
    if (window->isMiniaturized()) {
        window->deminiaturize();
    }
    window->makeKeyAndOrderFront();
}

void AppDelegate::applicationDidResignActive() {
    // The answer comes later, on the main thread, after the menu below has been rebuilt.
    webkit::WebsiteDataStore::defaultDataStore().httpCookieStore().getAllCookies(
        [](const std::vector<foundation::HTTPCookie>& cookies) { storeLoginToken(cookies); });
    updateDockMenu();
}

void AppDelegate::updateDockMenu() {
    const auto journals = cachedJournals();
    if (!journals) {
        return;
    }
    menu->removeAllItems();
    for (const auto& journal : *journals) {
        if (!journal.isDue.value_or(false) && !journal.isDaily.value_or(false)) {
            continue;
        }
        // An empty emoji is still an emoji: the title then starts with the blank.
        auto title = journal.iconEmoji ? journal.iconEmoji->str() + " " + journal.title.str() : journal.title.str();
        auto item = std::make_shared<appkit::MenuItem>(std::move(title), dockItemChosen, "");
        item->setTag(static_cast<long>(journal.id));
        menu->addItem(std::move(item));
    }
}

void AppDelegate::openJournalFromDock(const appkit::MenuItem* sender) {
    if (sender == nullptr) {
        return;
    }
    openCreateEntryPage(sender->tag());
}

bool AppDelegate::continueUserActivity(const intents::UserActivity& activity) {
    if (activity.activityType() == intents::UserActivity::browsingWebActivityType && activity.webpageURL()) {
        openInApp(webHostURL(*activity.webpageURL(), AppState::shared().isBeta.get()));
        return true;
    }
    // Intents reach the application in activities from release 12 on.
    if (!foundation::ProcessInfo::processInfo().isOperatingSystemAtLeast({12, 0, 0})) {
        return true;
    }
    if (const auto id = publishViewJournalId(activity)) {
        openCreateEntryPage(*id);
    }
    return true;
}

}  // namespace kestrova
