#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// Every widget below `root`, root included, that `match` accepts, in depth-first order.
std::vector<GtkWidget*> widgetsMatching(GtkWidget* root, const std::function<bool(GtkWidget*)>& match);

// The first button below `root` (check boxes included) whose label is `label`, or null.
GtkWidget* buttonLabelled(GtkWidget* root, const std::string& label);

}  // namespace testsupport
