#include "platform/runtime/foundation/core/Date.hpp"
#include "platform/runtime/foundation/core/Hasher.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

namespace foundation {
namespace {

TEST(Date, ConvertsBetweenReferenceDateAndUnixTime) {
    EXPECT_EQ(Date::fromTimeIntervalSince1970(978307200.0).timeIntervalSinceReferenceDate(), 0.0);
    EXPECT_EQ(Date::fromTimeIntervalSinceReferenceDate(60.5).timeIntervalSince1970(), 978307260.5);
}

TEST(Date, NowIsTheSystemClock) {
    const double unixNow = static_cast<double>(std::time(nullptr));
    EXPECT_LT(std::fabs(Date::now().timeIntervalSince1970() - unixNow), 2.0);
}

TEST(Date, ComparesAsInstants) {
    const auto zero = Date::fromTimeIntervalSinceReferenceDate(0.0);
    const auto negativeZero = Date::fromTimeIntervalSinceReferenceDate(-0.0);
    EXPECT_EQ(zero, negativeZero);
    EXPECT_EQ(hashValue(zero), hashValue(negativeZero));
    EXPECT_LT(zero, zero.addingTimeInterval(0.001));
}

}  // namespace
}  // namespace foundation
