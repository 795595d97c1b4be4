#include "platform/runtime/foundation/core/ProcessInfo.hpp"

#include "platform/runtime/foundation/core/SystemVersionOverride.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

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

TEST(ProcessInfo, OverridesAnswerForTheirScopeAndRestoreWhatWasBefore) {
    const auto before = ProcessInfo::processInfo().operatingSystemVersion();
    {
        const SystemVersionOverride older({11, 7, 0});
        EXPECT_FALSE(ProcessInfo::processInfo().isOperatingSystemAtLeast({12, 0, 0}));
        EXPECT_TRUE(ProcessInfo::processInfo().isOperatingSystemAtLeast({11, 5, 0}));
        {
            const SystemVersionOverride inner({12, 0, 0});
            EXPECT_TRUE(ProcessInfo::processInfo().isOperatingSystemAtLeast({12, 0, 0}));
        }
        EXPECT_EQ(ProcessInfo::processInfo().operatingSystemVersion(), (OperatingSystemVersion{11, 7, 0}));
    }
    EXPECT_EQ(ProcessInfo::processInfo().operatingSystemVersion(), before);
}

// The environment is read once per process, so each case runs in a process of its own.
TEST(ProcessInfoDeathTest, TheEnvironmentChoosesTheVersionOnceUnderAnyOverride) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            unsetenv("KESTROVA_SYSTEM_VERSION");
            std::_Exit(ProcessInfo::processInfo().operatingSystemVersion() == ProcessInfo::newest ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            setenv("KESTROVA_SYSTEM_VERSION", "11.7", 1);
            const bool first = !ProcessInfo::processInfo().isOperatingSystemAtLeast({12, 0, 0});
            setenv("KESTROVA_SYSTEM_VERSION", "12.0", 1);
            const bool unchanged = !ProcessInfo::processInfo().isOperatingSystemAtLeast({12, 0, 0});
            bool overridden = false;
            {
                const SystemVersionOverride newer({13, 0, 0});
                overridden = ProcessInfo::processInfo().isOperatingSystemAtLeast({13, 0, 0});
            }
            const bool restored = !ProcessInfo::processInfo().isOperatingSystemAtLeast({12, 0, 0});
            std::_Exit(first && unchanged && overridden && restored ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
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
