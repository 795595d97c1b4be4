#include "platform/backends/desktop/ApplicationWebContext.hpp"

#include <glib/gstdio.h>
#include <webkit2/webkit2.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace desktop {
namespace {

// The application's folder under each XDG base folder, named like the application's other state.
constexpr const char* folderName = "kestrova";

// The folder under `base`, made when missing; the session's cookies are in it, so it is the user's
// alone even when an earlier run or another tool made it with the default mode.
std::string privateFolder(const char* base) {
    const std::string folder = std::string(base) + "/" + folderName;
    if (g_mkdir_with_parents(folder.c_str(), 0700) != 0 || g_chmod(folder.c_str(), 0700) != 0) {
        // The engine then keeps what it can in memory: the session lasts until the application quits.
        std::fprintf(stderr, "kestrova: cannot make the folder %s for the web views' data: %s\n", folder.c_str(),
                     std::strerror(errno));
    }
    return folder;
}

}  // namespace

WebKitWebContext* applicationWebContext() {
    static WebKitWebContext* const context = [] {
        const std::string data = privateFolder(g_get_user_data_dir());
        const std::string cache = privateFolder(g_get_user_cache_dir());
        g_autoptr(WebKitWebsiteDataManager) manager = WEBKIT_WEBSITE_DATA_MANAGER(webkit_website_data_manager_new(
            "base-data-directory", data.c_str(), "base-cache-directory", cache.c_str(), nullptr));
        WebKitWebContext* made = webkit_web_context_new_with_website_data_manager(manager);
        webkit_cookie_manager_set_persistent_storage(webkit_website_data_manager_get_cookie_manager(manager),
                                                     (data + "/cookies.sqlite").c_str(),
                                                     WEBKIT_COOKIE_PERSISTENT_STORAGE_SQLITE);
        return made;
    }();
    return context;
}

}  // namespace desktop
