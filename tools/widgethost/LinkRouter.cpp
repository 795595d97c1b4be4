#include "tools/widgethost/LinkRouter.hpp"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <iostream>
#include <thread>
#include <vector>

extern char** environ;

namespace widgethost {

void LinkRouter::open(const std::string& link) const {
    const auto url = foundation::URL::fromString(link);
    if (!url) {
        std::cerr << "widgethost: the widget's link \"" << link << "\" is no URL\n";
        return;
    }
    if (workspace_(*url)) {
        return;
    }
    if (url->scheme() == "kestrova") {
        application_(link);
        return;
    }
    std::cerr << "widgethost: nothing opened the widget's link " << link << '\n';
}

LinkRouter::Launch LinkRouter::startingApplication(std::string applicationExecutable) {
    return [executable = std::move(applicationExecutable)](const std::string& link) {
                          std::vector<std::string> arguments{executable, link};
                          std::vector<char*> argv{arguments[0].data(), arguments[1].data(), nullptr};
                          pid_t child = -1;
                          if (::posix_spawn(&child, executable.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
                              std::cerr << "widgethost: cannot start " << executable << " for " << link << '\n';
                              return;
                          }
                          // The application may live long after the click: reap it aside.
                          std::thread([child] { ::waitpid(child, nullptr, 0); }).detach();
    };
}

}  // namespace widgethost
