#pragma once

#include <string>

namespace standin {

// A request the stand-in turns down: the status and the "message" of the
// reply's body.
struct Refusal {
    int status = 400;
    std::string message;
};

}  // namespace standin
