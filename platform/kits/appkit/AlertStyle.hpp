#pragma once

namespace appkit {

enum class AlertStyle { warning, informational, critical };

}  // namespace appkit
