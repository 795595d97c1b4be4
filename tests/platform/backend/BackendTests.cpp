#include "platform/backend/Backend.hpp"
#include "platform/base/Verify.hpp"
#include "platform/headless/HeadlessBackend.hpp"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(BackendTest, TestsRunOnTheHeadlessBackendThatTheirMainInstalled) {
    EXPECT_EQ(backend::Backend::installed().name(), "headless");
}

TEST(BackendTest, ASecondInstallStopsTheProcessNamingTheFault) {
    EXPECT_DEATH(backend::Backend::install(std::make_unique<headless::HeadlessBackend>()),
                 "VERIFY\\(.*\\) failed: a backend is installed already");
}

TEST(VerifyTest, AFailedInvariantStopsTheProcessWithWhereAndWhy) {
    const int stored = 2;
    EXPECT_DEATH(VERIFY(stored == 3, "the count must match the store"),
                 "BackendTests.cpp:[0-9]+: .*VERIFY\\(stored == 3\\) failed: the count must match the store");
}

}  // namespace
