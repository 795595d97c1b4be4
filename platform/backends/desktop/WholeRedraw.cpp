#include "platform/backends/desktop/WholeRedraw.hpp"

#include <gtk/gtk.h>

namespace desktop {
namespace {

constexpr const char* redrawnWhole = "kestrova-redrawn-whole";

struct Invalidation {
    GtkWidget* toplevel;
    cairo_region_t* region;  // in the toplevel's window
};

void widen(GtkWidget* widget, gpointer data) {
    if (!gtk_widget_is_drawable(widget)) {
        return;
    }
    auto* invalidation = static_cast<Invalidation*>(data);
    if (g_object_get_data(G_OBJECT(widget), redrawnWhole) == nullptr) {
        if (GTK_IS_CONTAINER(widget)) {
            gtk_container_forall(GTK_CONTAINER(widget), widen, data);
        }
        return;
    }
    int x = 0;
    int y = 0;
    if (gtk_widget_translate_coordinates(widget, invalidation->toplevel, 0, 0, &x, &y) == FALSE) {
        return;
    }
    const cairo_rectangle_int_t whole{x, y, gtk_widget_get_allocated_width(widget), gtk_widget_get_allocated_height(widget)};
    if (cairo_region_contains_rectangle(invalidation->region, &whole) == CAIRO_REGION_OVERLAP_PART) {
        cairo_region_union_rectangle(invalidation->region, &whole);
    }
}

// GDK asks a window's handler before it takes in what is to be drawn again: uncovered by another
// window, or a widget's own request.
void widenInvalidation(GdkWindow* window, cairo_region_t* region) {
    gpointer owner = nullptr;
    gdk_window_get_user_data(window, &owner);
    if (GTK_IS_WIDGET(owner)) {
        Invalidation invalidation{GTK_WIDGET(owner), region};
        widen(GTK_WIDGET(owner), &invalidation);
    }
}

void watchToplevelOf(GtkWidget* widget) {
    GtkWidget* toplevel = gtk_widget_get_toplevel(widget);
    if (gtk_widget_is_toplevel(toplevel) && gtk_widget_get_realized(toplevel)) {
        gdk_window_set_invalidate_handler(gtk_widget_get_window(toplevel), widenInvalidation);
    }
}

}  // namespace

void redrawWhole(GtkWidget* widget) {
    if (g_object_get_data(G_OBJECT(widget), redrawnWhole) == nullptr) {
        g_object_set_data(G_OBJECT(widget), redrawnWhole, GINT_TO_POINTER(TRUE));
        // Realized anew in every window it comes into.
        g_signal_connect(widget, "realize", G_CALLBACK(+[](GtkWidget* realized, gpointer) { watchToplevelOf(realized); }), nullptr);
    }
    watchToplevelOf(widget);
}

}  // namespace desktop
