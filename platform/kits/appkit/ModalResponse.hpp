#pragma once

namespace appkit {

// How a panel or an alert ended.
enum class ModalResponse {
    cancel = 0,
    ok = 1,
    alertFirstButtonReturn = 1000,
    alertSecondButtonReturn = 1001,
    alertThirdButtonReturn = 1002,
};

}  // namespace appkit
