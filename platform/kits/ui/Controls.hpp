#pragma once

#include "platform/kits/ui/Binding.hpp"
#include "platform/kits/ui/TextView.hpp"
#include "platform/kits/ui/View.hpp"

#include <functional>
#include <string>
#include <vector>

namespace ui {

// A switch with its title, bound to a Boolean.
View Toggle(const LocalizedStringKey& title, Binding<bool> isOn);
// A push button; the action runs on the main thread when it is clicked.
View Button(const LocalizedStringKey& title, std::function<void()> action);
View Button(View label, std::function<void()> action);
// Opens the destination when clicked.
View Link(std::string destination, View label);
// A title with a symbol before it.
View Label(const LocalizedStringKey& title, const std::string& systemImage);
// Tabs, each a view with a tabItem().
View TabView(std::vector<View> tabs);
// A circular progress indicator.
View ProgressView(double value, double total = 1.0);

}  // namespace ui
