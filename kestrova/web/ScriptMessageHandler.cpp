#include "kestrova/web/ScriptMessageHandler.hpp"

#include "platform/concurrency/MainActor.hpp"
#include "platform/concurrency/Spawn.hpp"

#include <cstdio>
#include <string>

namespace kestrova {
namespace {

concurrency::Task<void> perform(WebWrapperView::JSMethod method) {
    method.handle();
    co_return;
}

}  // namespace

std::vector<std::string> ScriptMessageHandler::registeredNames() {
    std::vector<std::string> names;
    for (const auto method : WebWrapperView::JSMethod::allCases()) {
        names.emplace_back(method.rawValue());
    }
    return names;
}

void ScriptMessageHandler::didReceive(std::string_view name) const {
    const auto method = WebWrapperView::JSMethod::fromRawValue(name);
    if (!method) {
        // The text is the application's own, spelling included.
        const std::string line = "Unkown JSMethod: " + std::string(name) + "\n";
        std::fputs(line.c_str(), stdout);
        std::fflush(stdout);
        return;
    }
    static_cast<void>(concurrency::spawn(concurrency::MainActor::shared(), perform(*method)));
}

}  // namespace kestrova
