#pragma once

#include <string>

namespace appintents {

// An error whose message is the text shown to the user when an action fails, made anew when asked.
class CustomLocalizedStringResourceConvertible {
public:
    virtual ~CustomLocalizedStringResourceConvertible() = default;
    [[nodiscard]] virtual std::string localizedStringResource() const = 0;
};

}  // namespace appintents
