#include "platform/kits/widgetkit/WidgetBundle.hpp"

#include "platform/kits/widgetkit/WidgetRuntime.hpp"

namespace widgetkit {

int WidgetBundle::main() const {
    return WidgetRuntime::run(*this);
}

}  // namespace widgetkit
