#pragma once

#include "platform/runtime/base/Installable.hpp"
#include "platform/kits/scenes/App.hpp"

#include <string_view>

namespace appkit {

// How the installed backend acts on the application as a whole.
class ApplicationService : public base::Installable<ApplicationService> {
public:
    static constexpr std::string_view serviceName = "appkit::ApplicationService";

    virtual ~ApplicationService() = default;

    virtual void activate(bool ignoringOtherApps) = 0;
    virtual void terminate() = 0;
    // Shows the application's scenes and runs until it ends; the process's exit status.
    virtual int run(ui::App app, int argc, char** argv) = 0;

protected:
    ApplicationService() = default;
};

}  // namespace appkit
