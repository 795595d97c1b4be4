#pragma once

#include "platform/kits/widgetkit/WidgetConfiguration.hpp"

#include <vector>

namespace widgetkit {

// The widgets an extension offers, in the order the gallery lists them. The bundle's main() is the
// whole of the extension process's main(): it hands control to the widget runtime
// (WidgetRuntime), which answers the host until the host goes away.
class WidgetBundle {
public:
    virtual ~WidgetBundle() = default;

    [[nodiscard]] virtual std::vector<WidgetConfiguration> body() const = 0;

    // Runs the extension; returns its exit status.
    [[nodiscard]] int main() const;

protected:
    WidgetBundle() = default;
};

}  // namespace widgetkit
