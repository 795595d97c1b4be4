#include "platform/backend/Backend.hpp"
#include "platform/desktop/DesktopBackend.hpp"
#include "kestrova/intents/IntentSchema.hpp"
#include "kestrova/shell/Kestrova.hpp"

#include <exception>
#include <iostream>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    // Activities handed over on the bus carry intents, which decode only by their class names.
    kestrova::registerIntentSchema();
    try {
        backend::Backend::install(std::make_unique<desktop::DesktopBackend>(
            desktop::ApplicationIdentity{kestrova::Kestrova::applicationIdentifier(), "kestrova"}));
    } catch (const std::exception& error) {
        std::cerr << "kestrova: " << error.what() << '\n';
        return 1;
    }
    return kestrova::Kestrova::main(argc, argv);
}
