#include "kestrova/shell/HelpCommands.hpp"

#include "platform/runtime/foundation/core/URL.hpp"
#include "kestrova/links/OpenInApp.hpp"

namespace kestrova {
namespace {

// The build checks that both settings are absolute URLs.
ui::CommandButton pageButton(const char* title, const char* address) {
    return {.title = title, .action = [address] { openInApp(*foundation::URL::fromString(address)); }, .shortcut = std::nullopt, .disabled = false};
}

}  // namespace

ui::CommandGroup HelpCommands::body() const {
    return {ui::CommandGroupPosition::replacing,
            ui::CommandGroupPlacement::help,
            {pageButton("Requests and Bugs", KESTROVA_REQUESTS_URL), pageButton("macOS Meta", KESTROVA_META_URL)}};
}

}  // namespace kestrova
