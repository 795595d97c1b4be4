#include "tests/support/LocalDayText.hpp"

namespace testsupport {

std::string localDayText(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

std::string todayText() {
    return localDayText(std::time(nullptr));
}

}  // namespace testsupport
