#pragma once

#include "platform/kits/appintents/IntentCatalogue.hpp"
#include "platform/runtime/base/Installable.hpp"

#include <string_view>

namespace appintents {

// How the installed backend offers the application's actions to other programs.
class IntentService : public base::Installable<IntentService> {
public:
    static constexpr std::string_view serviceName = "appintents::IntentService";

    virtual ~IntentService() = default;

    // The actions served while the application runs; an action that opens the application brings
    // it forward, opening a window when it has none. Given once, before the application runs; the
    // catalogue lives as long as the process.
    virtual void serve(IntentCatalogue& catalogue) = 0;

protected:
    IntentService() = default;
};

}  // namespace appintents
