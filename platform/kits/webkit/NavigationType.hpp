#pragma once

namespace webkit {

// What started a navigation.
enum class NavigationType {
    linkActivated,
    formSubmitted,
    backForward,
    reload,
    formResubmitted,
    other,  // a script, a typed address, the application's own load
};

}  // namespace webkit
