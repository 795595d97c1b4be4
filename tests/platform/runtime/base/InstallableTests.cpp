#include "platform/runtime/base/Installable.hpp"

#include "platform/runtime/base/Verify.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

namespace {

class ProbeService : public base::Installable<ProbeService> {
public:
    static constexpr std::string_view serviceName = "probe::ProbeService";
};

TEST(InstallableTest, AskingBeforeInstallInstallingNoneOrInstallingTwiceStopsTheProcessNamingTheService) {
    EXPECT_DEATH(static_cast<void>(ProbeService::installed()),
                 "VERIFY\\(.*\\) failed: no probe::ProbeService is installed: main\\(\\) installs one first");
    EXPECT_DEATH(ProbeService::install(nullptr), "VERIFY\\(.*\\) failed: install\\(\\) of probe::ProbeService needs an implementation");

    auto& installed = base::installNew<ProbeService>();
    EXPECT_EQ(&ProbeService::installed(), &installed);
    EXPECT_DEATH(ProbeService::install(std::make_unique<ProbeService>()),
                 "VERIFY\\(.*\\) failed: probe::ProbeService is installed already");
    EXPECT_EQ(&ProbeService::installed(), &installed);
}

TEST(VerifyTest, AFailedInvariantStopsTheProcessWithWhereAndWhy) {
    const int stored = 2;
    EXPECT_DEATH(VERIFY(stored == 3, "the count must match the store"),
                 "InstallableTests.cpp:[0-9]+: .*VERIFY\\(stored == 3\\) failed: the count must match the store");
}

}  // namespace
