#include "kestrova/web/ScriptMessageBridge.hpp"

#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"
#include "kestrova/web/JSMethod.hpp"

#include <cstdio>

namespace kestrova {
namespace {

concurrency::Task<void> perform(JSMethod method) {
    method.handle();
    co_return;
}

}  // namespace

std::vector<std::string> ScriptMessageBridge::registeredNames() {
    std::vector<std::string> names;
    for (const auto method : JSMethod::allCases()) {
        names.emplace_back(method.rawValue());
    }
    return names;
}

void ScriptMessageBridge::didReceiveScriptMessage(const webkit::ScriptMessage& message) {
    const auto method = JSMethod::fromRawValue(message.name);
    if (!method) {
        // The text is the application's own, spelling included.
        const std::string line = "Unkown JSMethod: " + message.name + "\n";
        std::fputs(line.c_str(), stdout);
        std::fflush(stdout);
        return;
    }
    static_cast<void>(concurrency::spawn(concurrency::MainActor::shared(), perform(*method)));
}

}  // namespace kestrova
