#pragma once

#include "platform/kits/scenes/Commands.hpp"

namespace kestrova {

// The Help menu, in place of the standard one: the service's page for requests and bug reports and
// the page for feedback on this application, both opened in an application window.
struct HelpCommands {
    [[nodiscard]] ui::CommandGroup body() const;
};

}  // namespace kestrova
