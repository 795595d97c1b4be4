#pragma once

#include "kestrova/web/JSMethod.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// Receives the web page's script messages: the web view registers one handler under each name of
// registeredNames(). Only a message's name counts; its body is never read.
class ScriptMessageHandler {
public:
    // The raw values of every JSMethod, in their order.
    static std::vector<std::string> registeredNames();

    // On the main thread. A known name starts a main-actor task that performs its action; any other
    // name prints "Unkown JSMethod: " and the name, and nothing else happens.
    void didReceive(std::string_view name) const;
};

}  // namespace kestrova
