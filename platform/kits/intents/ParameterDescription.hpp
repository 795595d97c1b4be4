#pragma once

#include <string>

namespace intents {

// What the platform knows of one parameter of an intent class: its name and
// whether handlers resolve it, so that a host can ask for each resolution,
// for the options of a parameter with a dynamic option list and for its
// default, without knowing the class.
struct ParameterDescription {
    std::string name;
    bool resolvable = false;
    bool hasDynamicOptions = false;
};

}  // namespace intents
