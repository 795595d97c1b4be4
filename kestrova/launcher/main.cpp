#include "platform/backends/desktop/ApplicationLauncher.hpp"

int main(int argc, char** argv) {
    return desktop::ApplicationLauncher(KESTROVA_APPLICATION_ID, KESTROVA_APPLICATION_PROGRAM).run(argc, argv);
}
