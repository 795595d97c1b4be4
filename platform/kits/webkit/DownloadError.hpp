#pragma once

#include <string>

namespace webkit {

// Why a download stopped: the engine's error domain and code, and its message for people.
struct DownloadError {
    std::string domain;
    int code = 0;
    std::string localizedDescription;

    // The whole error on one line, as errors print themselves: domain, code and message.
    [[nodiscard]] std::string description() const {
        return "Error Domain=" + domain + " Code=" + std::to_string(code) + " \"" + localizedDescription + "\"";
    }
};

}  // namespace webkit
