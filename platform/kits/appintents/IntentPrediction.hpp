#pragma once

#include "platform/kits/appintents/DisplayRepresentation.hpp"

#include <functional>
#include <string>
#include <vector>

namespace appintents {

// A suggestion the system may make after a run: the parameters it keeps of that run, and how it
// shows, made from the run's values.
struct IntentPrediction {
    std::vector<std::string> parameters;
    std::function<DisplayRepresentation()> display;
};

}  // namespace appintents
