#pragma once

namespace webkit {

enum class NavigationActionPolicy { cancel, allow, download };

}  // namespace webkit
