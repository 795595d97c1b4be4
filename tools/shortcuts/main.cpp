#include "tools/shortcuts/ShortcutsRunner.hpp"

#include "platform/backends/desktop/DesktopIntentClient.hpp"

#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const char* extension = std::getenv("KESTROVA_INTENTS_EXTENSION");
    const char* application = std::getenv("KESTROVA_APPLICATION");
    const auto connect = [application]() -> std::unique_ptr<appintents::IntentClient> {
        return std::make_unique<desktop::DesktopIntentClient>(KESTROVA_APPLICATION_ID,
                                                              application ? application : KESTROVA_APPLICATION_PATH);
    };
    return shortcuts_tool::ShortcutsRunner(std::cout, std::cerr, extension ? extension : KESTROVA_ORVANE_PATH, connect,
                                           std::cin, isatty(STDIN_FILENO) == 1)
        .run(arguments);
}
