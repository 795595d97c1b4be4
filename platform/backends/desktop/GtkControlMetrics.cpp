#include "platform/backends/desktop/GtkControlMetrics.hpp"

#include "platform/backends/desktop/GtkStyle.hpp"

#include <gtk/gtk.h>

#include <algorithm>

namespace desktop {

namespace {

ui::Size natural(GtkWidget* widget) {
    g_autoptr(GtkWidget) owned = GTK_WIDGET(g_object_ref_sink(widget));
    GtkRequisition size{};
    gtk_widget_get_preferred_size(owned, nullptr, &size);
    gtk_widget_destroy(owned);
    return {double(size.width), double(size.height)};
}

}  // namespace

GtkControlMetrics::GtkControlMetrics() {
    GtkStyle::install();
    const ui::Size label = natural(gtk_label_new("Sound FX"));
    GtkWidget* checkBox = gtk_check_button_new_with_label("Sound FX");
    GtkStyle::compact(checkBox);
    const ui::Size check = natural(checkBox);
    GtkWidget* button = gtk_button_new_with_label("Sound FX");
    GtkStyle::compact(button);
    const ui::Size pushButton = natural(button);
    toggleChrome_ = {std::max(0.0, check.width - label.width), 0};
    buttonChrome_ = {std::max(0.0, pushButton.width - label.width), std::max(0.0, pushButton.height - label.height)};
    toggleHeight_ = check.height;
    buttonHeight_ = pushButton.height;
}

ui::Size GtkControlMetrics::toggle(ui::Size title) const {
    return {title.width + toggleChrome_.width, std::max(toggleHeight_, title.height)};
}

ui::Size GtkControlMetrics::button(ui::Size label) const {
    return {label.width + buttonChrome_.width, std::max(buttonHeight_, label.height + buttonChrome_.height)};
}

}  // namespace desktop
