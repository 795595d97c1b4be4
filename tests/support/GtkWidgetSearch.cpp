#include "tests/support/GtkWidgetSearch.hpp"

namespace testsupport {

namespace {

void collect(GtkWidget* widget, const std::function<bool(GtkWidget*)>& match, std::vector<GtkWidget*>& found) {
    if (match(widget)) {
        found.push_back(widget);
    }
    if (GTK_IS_CONTAINER(widget)) {
        GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
        for (GList* each = children; each != nullptr; each = each->next) {
            collect(static_cast<GtkWidget*>(each->data), match, found);
        }
        g_list_free(children);
    }
}

}  // namespace

std::vector<GtkWidget*> widgetsMatching(GtkWidget* root, const std::function<bool(GtkWidget*)>& match) {
    std::vector<GtkWidget*> found;
    collect(root, match, found);
    return found;
}

GtkWidget* buttonLabelled(GtkWidget* root, const std::string& label) {
    const auto found = widgetsMatching(root, [&](GtkWidget* widget) {
        return GTK_IS_BUTTON(widget) && gtk_button_get_label(GTK_BUTTON(widget)) != nullptr &&
               label == gtk_button_get_label(GTK_BUTTON(widget));
    });
    return found.empty() ? nullptr : found.front();
}

}  // namespace testsupport
