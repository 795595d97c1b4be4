#include "platform/backends/desktop/DesktopWebsiteData.hpp"

#include "platform/backends/desktop/ApplicationWebContext.hpp"
#include "platform/kits/webkit/WebsiteDataStore.hpp"

#include <webkit2/webkit2.h>

#include <memory>
#include <utility>

namespace desktop {
namespace {

WebKitWebsiteDataManager* dataManager() {
    return webkit_web_context_get_website_data_manager(applicationWebContext());
}

// The kit's names of the kinds of data, as the engine numbers them.
WebKitWebsiteDataTypes engineTypes(const std::set<std::string>& types) {
    static const std::pair<const char*, WebKitWebsiteDataTypes> table[] = {
        {"cookies", WEBKIT_WEBSITE_DATA_COOKIES},
        {"device-id-hash-salts", WEBKIT_WEBSITE_DATA_DEVICE_ID_HASH_SALT},
        {"disk-cache", WEBKIT_WEBSITE_DATA_DISK_CACHE},
        {"dom-cache", WEBKIT_WEBSITE_DATA_DOM_CACHE},
        {"hsts-cache", WEBKIT_WEBSITE_DATA_HSTS_CACHE},
        {"indexeddb-databases", WEBKIT_WEBSITE_DATA_INDEXEDDB_DATABASES},
        {"itp", WEBKIT_WEBSITE_DATA_ITP},
        {"local-storage", WEBKIT_WEBSITE_DATA_LOCAL_STORAGE},
        {"memory-cache", WEBKIT_WEBSITE_DATA_MEMORY_CACHE},
        {"offline-application-cache", WEBKIT_WEBSITE_DATA_OFFLINE_APPLICATION_CACHE},
        {"service-worker-registrations", WEBKIT_WEBSITE_DATA_SERVICE_WORKER_REGISTRATIONS},
        {"session-storage", WEBKIT_WEBSITE_DATA_SESSION_STORAGE},
    };
    unsigned bits = 0;
    for (const auto& [name, bit] : table) {
        if (types.contains(name)) {
            bits |= bit;
        }
    }
    return static_cast<WebKitWebsiteDataTypes>(bits);
}

}  // namespace

void DesktopWebsiteData::getAllCookies(CookiesHandler completion) {
    auto* manager = webkit_website_data_manager_get_cookie_manager(dataManager());
    webkit_cookie_manager_get_all_cookies(
        manager, nullptr,
        +[](GObject* source, GAsyncResult* result, gpointer data) {
            std::unique_ptr<CookiesHandler> handler(static_cast<CookiesHandler*>(data));
            GList* list = webkit_cookie_manager_get_all_cookies_finish(WEBKIT_COOKIE_MANAGER(source), result, nullptr);
            std::vector<foundation::HTTPCookie> cookies;
            for (GList* item = list; item != nullptr; item = item->next) {
                auto* cookie = static_cast<SoupCookie*>(item->data);
                const char* domain = soup_cookie_get_domain(cookie);
                const char* path = soup_cookie_get_path(cookie);
                cookies.push_back({soup_cookie_get_name(cookie), soup_cookie_get_value(cookie),
                                   domain == nullptr ? "" : domain, path == nullptr ? "/" : path});
            }
            g_list_free_full(list, reinterpret_cast<GDestroyNotify>(soup_cookie_free));
            (*handler)(std::move(cookies));
        },
        new CookiesHandler(std::move(completion)));
}

void DesktopWebsiteData::removeData(const std::set<std::string>& types, foundation::Date since,
                                    std::function<void()> completion) {
    // The engine clears what changed within a span before now; a span of 0 clears everything, which
    // is what a date at or before 1970 asks for.
    const double ago = g_get_real_time() / 1e6 - since.timeIntervalSince1970();
    const GTimeSpan span = since.timeIntervalSince1970() <= 0 ? 0 : static_cast<GTimeSpan>(ago * G_TIME_SPAN_SECOND);
    webkit_website_data_manager_clear(
        dataManager(), engineTypes(types), span, nullptr,
        +[](GObject* source, GAsyncResult* result, gpointer data) {
            std::unique_ptr<std::function<void()>> done(static_cast<std::function<void()>*>(data));
            webkit_website_data_manager_clear_finish(WEBKIT_WEBSITE_DATA_MANAGER(source), result, nullptr);
            (*done)();
        },
        new std::function<void()>(std::move(completion)));
}

}  // namespace desktop
