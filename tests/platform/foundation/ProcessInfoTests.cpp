#include "platform/foundation/ProcessInfo.hpp"

#include "tests/support/ScopedEnvironment.hpp"

#include <gtest/gtest.h>

namespace foundation {
namespace {

TEST(ProcessInfo, ReadsVersionsStrictly) {
    struct Case {
        const char* text;
        std::optional<OperatingSystemVersion> version;
    };
    const Case cases[] = {
        {"12", OperatingSystemVersion{12, 0, 0}},  {"11.7", OperatingSystemVersion{11, 7, 0}},
        {"11.7.10", OperatingSystemVersion{11, 7, 10}}, {"", std::nullopt},
        {"12.", std::nullopt},  {".12", std::nullopt},  {"12.0.0.1", std::nullopt},
        {"12a", std::nullopt},  {"-1", std::nullopt},   {"twelve", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OperatingSystemVersion::fromString(c.text), c.version) << c.text;
    }
}

TEST(ProcessInfo, AnswersTheNewestUnlessTheEnvironmentChoosesAnother) {
    testsupport::ScopedEnvironment environment;
    environment.set("KESTROVA_SYSTEM_VERSION", nullptr);
    EXPECT_TRUE(ProcessInfo::processInfo().isOperatingSystemAtLeast({12, 0, 0}));
    environment.set("KESTROVA_SYSTEM_VERSION", "11.7.0");
    EXPECT_FALSE(ProcessInfo::processInfo().isOperatingSystemAtLeast({12, 0, 0}));
    EXPECT_TRUE(ProcessInfo::processInfo().isOperatingSystemAtLeast({11, 5, 0}));
    environment.set("KESTROVA_SYSTEM_VERSION", "12.0");
    EXPECT_TRUE(ProcessInfo::processInfo().isOperatingSystemAtLeast({12, 0, 0}));
}

TEST(ProcessInfoDeathTest, AMalformedVersionStopsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("KESTROVA_SYSTEM_VERSION", "twelve", 1);
            (void)ProcessInfo::processInfo().operatingSystemVersion();
        },
        testing::ExitedWithCode(1), "KESTROVA_SYSTEM_VERSION");
}

}  // namespace
}  // namespace foundation
