#include "tests/platform/runtime/foundation/CompletionProbe.hpp"

#include "platform/runtime/foundation/http/URLSession.hpp"
#include "tests/support/LoopbackServer.hpp"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <memory>

namespace foundation {
namespace {

using testsupport::LoopbackServer;
using testsupport::Reply;

// A transfer that never gets its reply, for a probe whose task does not complete by itself.
class StalledProbe : public testing::Test {
protected:
    StalledProbe() {
        server_.reply("GET", "/stall", Reply::stalling());
        server_.reply("GET", "/settle", {.status = 200});
    }

    URLRequest requestTo(const std::string& path) { return URLRequest(*URL::fromString(server_.url(path))); }

    // A later request has passed through the session's thread once it completes.
    void settleTheSession() {
        CompletionProbe later;
        later.dataTask(URLSession::shared(), requestTo("/settle"))->resume();
        ASSERT_FALSE(later.wait().error);
    }

    LoopbackServer server_;
};

// A test that has given up on a task must not leave it running: it would hold up the session for the
// tests after it, and complete into whatever the test left behind.
TEST_F(StalledProbe, AWaitThatGivesUpCancelsTheTaskAndSeesItComplete) {
    CompletionProbe probe;
    probe.dataTask(URLSession::shared(), requestTo("/stall"))->resume();
    CompletionProbe::Outcome outcome;
    EXPECT_NONFATAL_FAILURE(outcome = probe.wait(std::chrono::seconds(0)), "did not complete within 0 s");
    ASSERT_EQ(probe.calls(), 1);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->code(), URLError::Code::cancelled);
}

// A test that returns early, at a failed assertion before its wait, leaves the task to complete later.
TEST_F(StalledProbe, AProbeMayGoBeforeItsTaskCompletes) {
    auto probe = std::make_unique<CompletionProbe>();
    const auto task = probe->dataTask(URLSession::shared(), requestTo("/stall"));
    task->resume();
    probe.reset();
    task->cancel();
    settleTheSession();
}

}  // namespace
}  // namespace foundation
