#pragma once

namespace webkit {

enum class NavigationResponsePolicy { cancel, allow, download };

}  // namespace webkit
