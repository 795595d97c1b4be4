#include "platform/backends/desktop/ContinueActivityAction.hpp"

#include "platform/kits/appkit/Application.hpp"
#include "platform/backends/desktop/internal/ApplicationAction.hpp"
#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/kits/intents/KeyedUnarchiver.hpp"
#include "platform/kits/intents/UserActivity.hpp"

#include <gtk/gtk.h>

#include <exception>
#include <iostream>
#include <string>

namespace desktop {

void addContinueActivityAction(GtkApplication* gtk) {
    addApplicationAction(G_ACTION_MAP(gtk), "continue-activity", G_CALLBACK(+[](GSimpleAction*, GVariant* parameter, gpointer) {
        gsize length = 0;
        const gchar* text = g_variant_get_string(parameter, &length);
        try {
            const auto activity = intents::KeyedUnarchiver::unarchivedObject<intents::UserActivity>(
                foundation::Data(std::string(text, length)));
            if (auto* delegate = appkit::Application::shared().delegate()) {
                delegate->continueUserActivity(*activity);
            }
        } catch (const std::exception& error) {
            std::cerr << "continue-activity: not an archived user activity: " << error.what() << '\n';
        }
    }), nullptr, G_VARIANT_TYPE_STRING);
}

}  // namespace desktop
