#include "platform/backends/desktop/GtkStyle.hpp"

namespace desktop {

void GtkStyle::install() {
    static bool installed = false;
    if (installed) {
        return;
    }
    installed = true;
    g_autoptr(GtkCssProvider) provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider,
                                    "button.kestrova-compact { min-height: 0; padding: 2px 10px; }\n"
                                    "checkbutton.kestrova-compact { padding: 0; }\n"
                                    "checkbutton.kestrova-compact check { margin-left: 0; }\n",
                                    -1, nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

void GtkStyle::compact(GtkWidget* button) {
    gtk_style_context_add_class(gtk_widget_get_style_context(button), "kestrova-compact");
}

}  // namespace desktop
