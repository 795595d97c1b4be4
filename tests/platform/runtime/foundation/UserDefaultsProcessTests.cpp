// Several processes on one suite, as the application and its two extensions
// use it: the peers are real processes (defaults_peer) on the same file.

#include "tests/platform/runtime/foundation/PeerValue.hpp"

#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "tests/support/ScopedAppGroupDirectory.hpp"
#include "tests/support/Subprocess.hpp"

#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace foundation {
namespace {

using defaults_test::PeerValue;
using testsupport::Subprocess;

const std::string peer = KESTROVA_DEFAULTS_PEER;
const std::string suite = "group.test.shared";

class UserDefaultsProcessTest : public ::testing::Test {
protected:
    testsupport::ScopedAppGroupDirectory directory_;
};

void expectSucceeded(Subprocess& process, const char* name) {
    const auto outcome = process.wait();
    EXPECT_EQ(outcome.exitCode, 0) << name << ": " << outcome.errors;
}

TEST_F(UserDefaultsProcessTest, ConcurrentWritersAndReadersSeeOnlyWholeValues) {
    constexpr std::uint32_t writes = 60;
    // Started together on a suite that does not exist yet, so that creating it
    // races as well.
    Subprocess first({peer, suite, "write", "1", std::to_string(writes)});
    Subprocess second({peer, suite, "write", "2", std::to_string(writes)});
    Subprocess reader({peer, suite, "read", "400"});

    const UserDefaults defaults(suite);
    std::map<std::uint32_t, std::uint32_t> lastSequence;
    std::set<PeerValue::Identity> seen;
    bool writing = true;
    while (writing) {
        writing = first.running() || second.running();
        const auto data = defaults.data(PeerValue::sharedKey);
        if (!data) {
            continue;
        }
        const auto identity = PeerValue::identify(*data);
        ASSERT_TRUE(identity.has_value()) << "a damaged value of " << data->size() << " bytes";
        EXPECT_GE(identity->sequence, lastSequence[identity->tag])
            << "writer " << identity->tag << " went back";
        lastSequence[identity->tag] = identity->sequence;
        seen.insert(*identity);
    }

    expectSucceeded(first, "first writer");
    expectSucceeded(second, "second writer");
    expectSucceeded(reader, "reader");
    const auto last = PeerValue::identify(defaults.data(PeerValue::sharedKey).value_or(Data()));
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->sequence, writes);
    RecordProperty("distinct values read", static_cast<int>(seen.size()));
}

// With a second object of this process open on the file, as a fault there
// once took the first one's locks: the writers then took themselves for the
// file's last users, removed the log at their exit, and the first object saw
// none of the later writes.
TEST_F(UserDefaultsProcessTest, EveryWriteByAnotherProcessMovesTheVersion) {
    const UserDefaults defaults(suite);
    const UserDefaults neighbour(suite);
    auto last = defaults.version(PeerValue::sharedKey);
    ASSERT_TRUE(last.has_value());
    for (std::uint32_t tag = 1; tag <= 4; ++tag) {
        SCOPED_TRACE("writer " + std::to_string(tag));
        Subprocess writer({peer, suite, "write", std::to_string(tag), "1"});
        expectSucceeded(writer, "writer");
        const auto now = defaults.version(PeerValue::sharedKey);
        EXPECT_NE(now, last);
        EXPECT_EQ(defaults.version(PeerValue::sharedKey), now);
        const PeerValue::Identity written{tag, 1};
        EXPECT_EQ(PeerValue::identify(defaults.data(PeerValue::sharedKey).value_or(Data())), written);
        last = now;
    }
}

// The application and both extensions start together at first launch, and
// each may be the one that creates the suite: none may fail, or lose its
// write, because a neighbour was creating it at the same moment.
TEST_F(UserDefaultsProcessTest, ProcessesCreatingTheSuiteTogetherAllSucceed) {
    constexpr int rounds = 12;
    constexpr std::uint32_t peers = 8;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::string fresh = "group.test.fresh-" + std::to_string(round);
        const auto go = directory_.path() / ("go-" + std::to_string(round));
        std::vector<std::unique_ptr<Subprocess>> creators;
        for (std::uint32_t tag = 1; tag <= peers; ++tag) {
            creators.push_back(std::make_unique<Subprocess>(
                std::vector<std::string>{peer, fresh, "create", std::to_string(tag), go.string()}));
        }
        for (auto& creator : creators) {
            ASSERT_EQ(creator->readLine(), "ready") << creator->wait().errors;
        }
        std::ofstream(go).put('\n');
        for (std::uint32_t tag = 1; tag <= peers; ++tag) {
            expectSucceeded(*creators[tag - 1], ("creator " + std::to_string(tag)).c_str());
        }
        const UserDefaults defaults(fresh);
        for (std::uint32_t tag = 1; tag <= peers; ++tag) {
            EXPECT_EQ(defaults.object(PeerValue::writerKey(tag)), DefaultsValue(std::int64_t{tag}))
                << "creator " << tag;
        }
    }
}

TEST_F(UserDefaultsProcessTest, AWriterKilledMidStreamLeavesEveryCommittedValue) {
    // Different pauses between a report and the kill move the kill to
    // different points of the next write.
    const std::chrono::microseconds pauses[] = {std::chrono::microseconds(0), std::chrono::microseconds(300),
                                                std::chrono::microseconds(1700)};
    std::uint32_t tag = 0;
    for (const auto pause : pauses) {
        ++tag;
        SCOPED_TRACE("writer " + std::to_string(tag));
        Subprocess writer({peer, suite, "stream", std::to_string(tag)});
        std::uint32_t reported = 0;
        while (reported < 5) {
            const auto line = writer.readLine();
            ASSERT_TRUE(line.has_value()) << writer.wait().errors;
            reported = static_cast<std::uint32_t>(std::stoul(*line));
        }
        std::this_thread::sleep_for(pause);
        writer.kill(SIGKILL);
        while (const auto line = writer.readLine()) {
            reported = static_cast<std::uint32_t>(std::stoul(*line));
        }
        const auto outcome = writer.wait();
        ASSERT_EQ(outcome.signal, SIGKILL) << outcome.errors;

        // Opened after the crash, by a process that never wrote.
        const UserDefaults defaults(suite);
        for (std::uint32_t sequence = 1; sequence <= reported; ++sequence) {
            const PeerValue::Identity identity{tag, sequence};
            const auto data = defaults.data(PeerValue::ownKey(identity));
            ASSERT_TRUE(data.has_value()) << "lost committed value " << sequence;
            EXPECT_EQ(PeerValue::identify(*data), identity);
        }
        EXPECT_EQ(defaults.object(PeerValue::ownKey({tag, reported + 2})), std::nullopt);
        // The kill may land after the next value was committed but before it
        // was reported.
        const auto shared = PeerValue::identify(defaults.data(PeerValue::sharedKey).value_or(Data()));
        ASSERT_TRUE(shared.has_value());
        EXPECT_EQ(shared->tag, tag);
        EXPECT_GE(shared->sequence, reported);
        EXPECT_LE(shared->sequence, reported + 1);
    }
}

}  // namespace
}  // namespace foundation
