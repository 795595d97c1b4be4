#pragma once

#include <filesystem>
#include <string>

namespace desktop {

// The program a desktop launches for the application: it hands a second launch to the instance that
// runs already and ends, having loaded GIO alone, or else becomes the application's own program, which
// brings up the toolkit and the web engine and settles, as GtkApplication, which instance is primary.
class ApplicationLauncher {
public:
    // `program`: the application's own program, relative to the folder of the running launcher (so that
    // the build tree and an installed tree both work).
    ApplicationLauncher(std::string applicationId, std::filesystem::path program);

    // 0 once the running instance has the launch. Otherwise it does not return but as the application's
    // program, with the same arguments and environment; 1, the reason on standard error, when it can
    // be neither.
    int run(int argc, char** argv) const;

private:
    // Replaces this process with the application's program; only returns to say why it could not.
    int becomeApplication(char** argv) const;

    std::string applicationId_;
    std::filesystem::path program_;
};

}  // namespace desktop
