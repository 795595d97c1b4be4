#include "kestrova/networking/EntryUpload.hpp"

#include "platform/runtime/foundation/core/StreamError.hpp"
#include "platform/runtime/foundation/core/SystemVersionOverride.hpp"
#include "platform/runtime/foundation/http/URLError.hpp"
#include "platform/runtime/foundation/http/URLSession.hpp"
#include "tests/kestrova/networking/APIServer.hpp"
#include "kestrova/networking/Networking.hpp"
#include "kestrova/networking/UploadProgressDelegate.hpp"
#include "tests/support/LoopbackServer.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/MultipartForm.hpp"
#include "tests/support/ResidentMemory.hpp"
#include "tests/support/ScopedEnvironment.hpp"
#include "tests/support/ScopedFileSizeLimit.hpp"
#include "tests/support/ScratchDirectory.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <mutex>
#include <optional>
#include <thread>

namespace kestrova {
namespace {

using testsupport::boundaryOf;
using testsupport::encodedForm;
using testsupport::FormPart;
using testsupport::MainLoop;
using testsupport::RecordedRequest;
using testsupport::Reply;
using Block = Networking::EntryUpload::Block;
using apitest::api;
using apitest::lastRequest;

constexpr const char* entryJSON = R"({"id":7,"createdAt":"2023-04-05T06:07:08.123Z","journal_id":12})";

std::vector<FormPart> fieldParts(std::string journalId, std::string streakDate, std::string isPrivate,
                                 std::string isPartOfStreak) {
    return {{"journal_id", std::move(journalId)},
            {"streakDate", std::move(streakDate)},
            {"private", std::move(isPrivate)},
            {"isPartOfStreak", std::move(isPartOfStreak)}};
}

KestrovaEntry createEntry(Networking::EntryUpload upload, std::function<void(double)> progress = [](double) {}) {
    return MainLoop::runOnMainActor([&]() -> concurrency::Task<KestrovaEntry> {
        co_return co_await Networking::createEntry(std::move(upload), "t0k", std::move(progress));
    });
}

// Runs the upload and gives what it threw.
std::exception_ptr failureOf(Networking::EntryUpload upload) {
    try {
        createEntry(std::move(upload));
    } catch (...) {
        return std::current_exception();
    }
    ADD_FAILURE() << "the upload succeeded";
    return nullptr;
}

std::size_t uploadsReceived() {
    std::size_t count = 0;
    for (const auto& request : api().requests()) {
        count += request.target == "/entries/create" ? 1 : 0;
    }
    return count;
}

// Every test gets a temporary directory of its own, so that whatever an
// upload leaves behind can be seen, and files to attach kept apart from it.
class CreateEntryTest : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        system_.emplace(*foundation::OperatingSystemVersion::fromString(GetParam()));
        environment_.set("TMPDIR", temporary_.path().string());
    }

    [[nodiscard]] std::vector<std::string> leftovers() const {
        std::vector<std::string> names;
        for (const auto& item : std::filesystem::directory_iterator(temporary_.path())) {
            names.push_back(item.path().filename().string());
        }
        return names;
    }

    testsupport::ScratchDirectory files_;
    testsupport::ScratchDirectory temporary_;
    testsupport::ScopedEnvironment environment_;
    std::optional<foundation::SystemVersionOverride> system_;
};

INSTANTIATE_TEST_SUITE_P(Systems, CreateEntryTest, testing::Values("14.0", "11.7.0"));

TEST_P(CreateEntryTest, SendsFieldsAndBlocksAsOneFormFromAPrivateFile) {
    const auto note = files_.write("note.txt", "a note\r\n--not a boundary");
    std::filesystem::create_directory(files_ / "folder");
    const auto fileURL = [](const std::filesystem::path& path) { return foundation::URL::fileURL(path.string()); };

    // What the body file looks like while the server is receiving it.
    struct Seen {
        std::mutex mutex;
        std::vector<std::pair<std::string, std::uintmax_t>> files;
        std::vector<mode_t> modes;
    } seen;
    api().handle("POST", "/entries/create", [&](const RecordedRequest&) {
        const std::lock_guard lock(seen.mutex);
        for (const auto& item : std::filesystem::directory_iterator(temporary_.path())) {
            struct stat status {};
            ::stat(item.path().c_str(), &status);
            seen.files.emplace_back(item.path().filename().string(), item.file_size());
            seen.modes.push_back(status.st_mode & 07777);
        }
        return Reply{.status = 201, .body = entryJSON};
    });

    const std::string binary("\0\x01\xff" "bin", 6);
    const KestrovaEntry entry = createEntry({.journalId = 12,
                                             .streakDate = "2024-03-01",
                                             .isPrivate = true,
                                             .isPartOfStreak = false,
                                             .blocks = {Block::text("héllo wörld"),
                                                        Block::fileURL(fileURL(files_ / "missing"), "m", "text/plain"),
                                                        Block::fileData(foundation::Data(binary), "a.bin",
                                                                        "application/octet-stream"),
                                                        Block::fileURL(fileURL(note), "note.txt", "text/plain"),
                                                        Block::fileURL(fileURL(files_ / "folder"), "f", "text/plain"),
                                                        Block::text("")}});

    EXPECT_EQ(entry.id, 7);
    EXPECT_EQ(entry.journalId, 12);
    ASSERT_TRUE(entry.createdAt);
    EXPECT_DOUBLE_EQ(entry.createdAt->timeIntervalSinceReferenceDate(), 702367628.123);

    const auto request = lastRequest();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.target, "/entries/create");
    EXPECT_EQ(request.headerValues("Cookie"), std::vector<std::string>{"token=t0k"});
    const std::string boundary = boundaryOf(request);
    EXPECT_EQ(boundary.size(), 36u);
    auto parts = fieldParts("12", "2024-03-01", "true", "false");
    // The missing file and the directory leave their numbers unused.
    parts.push_back({"block0", "héllo wörld"});
    parts.push_back({"block2", binary, "a.bin", "application/octet-stream"});
    parts.push_back({"block3", "a note\r\n--not a boundary", "note.txt", "text/plain"});
    parts.push_back({"block5", ""});
    EXPECT_EQ(request.body, encodedForm(boundary, parts));
    EXPECT_EQ(request.header("Content-Length"), std::to_string(request.body.size()));

    const std::lock_guard lock(seen.mutex);
    using Files = std::vector<std::pair<std::string, std::uintmax_t>>;
    EXPECT_EQ(seen.files, (Files{{boundary + ".tmp", request.body.size()}}));
    EXPECT_EQ(seen.modes, std::vector<mode_t>{0600});
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

TEST_P(CreateEntryTest, FieldsAreWrittenAsTexts) {
    api().reply("POST", "/entries/create", {.status = 200, .body = entryJSON});
    struct Row {
        std::int64_t journalId;
        const char* streakDate;
        bool isPrivate;
        bool isPartOfStreak;
        std::vector<FormPart> parts;
    };
    const Row rows[] = {
        {0, "", false, false, fieldParts("0", "", "false", "false")},
        {-7, "2024-01-02", true, true, fieldParts("-7", "2024-01-02", "true", "true")},
        {std::numeric_limits<std::int64_t>::min(), "x", false, true,
         fieldParts("-9223372036854775808", "x", "false", "true")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.journalId);
        createEntry({.journalId = row.journalId,
                     .streakDate = row.streakDate,
                     .isPrivate = row.isPrivate,
                     .isPartOfStreak = row.isPartOfStreak});
        const auto request = lastRequest();
        EXPECT_EQ(request.body, encodedForm(boundaryOf(request), row.parts));
    }
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

TEST_P(CreateEntryTest, FailedTransfersPassTheirErrorOnAndLeaveNoFile) {
    using Case = KestrovaAPIError::Case;
    struct Row {
        const char* name;
        Reply reply;
        std::optional<Case> apiError;  // none: the transfer's own URLError
    };
    const Row rows[] = {
        {"unauthorized", {.status = 401, .body = R"({"message":"Session expired"})"}, Case::unauthorized},
        {"server error", {.status = 500}, Case::serverError},
        {"undecodable", {.status = 200, .body = R"({"id":"seven"})"}, Case::decodingError},
        {"connection lost", Reply::closingMidBody("{", 100), std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        api().reply("POST", "/entries/create", row.reply);
        const auto failure = failureOf({.journalId = 1, .blocks = {Block::text("t")}});
        try {
            std::rethrow_exception(failure);
        } catch (const KestrovaAPIError& error) {
            EXPECT_EQ(error.kind(), row.apiError);
            if (error.kind() == Case::serverError) {
                EXPECT_EQ(error.code(), 500);
            }
        } catch (const foundation::URLError&) {
            EXPECT_FALSE(row.apiError);
        }
        EXPECT_EQ(leftovers(), std::vector<std::string>{});
    }
}

TEST_P(CreateEntryTest, CancellingTheCallerCancelsTheUploadAndRemovesTheFile) {
    api().handle("POST", "/entries/create", [](const RecordedRequest&) {
        concurrency::MainActor::shared().enqueue([] {});  // wakes the test's loop up to see the request
        return Reply::stalling();
    });
    const auto before = uploadsReceived();
    auto handle = concurrency::spawn(concurrency::MainActor::shared(), []() -> concurrency::Task<KestrovaEntry> {
        // Named, not a braced temporary: GCC 12 destroys such a temporary a
        // second time when the awaited call throws.
        Networking::EntryUpload upload{.journalId = 1};
        co_return co_await Networking::createEntry(std::move(upload), "t", [](double) {});
    });
    // The server has the whole body and holds back its answer.
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return uploadsReceived() > before; }));
    EXPECT_EQ(leftovers().size(), 1u);
    handle.cancel();
    try {
        MainLoop::runUntilFinished(handle);
        FAIL() << "a cancelled upload succeeded";
    } catch (const foundation::URLError& error) {
        EXPECT_EQ(error.code(), foundation::URLError::Code::cancelled);
    }
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

TEST_P(CreateEntryTest, AFormThatCannotBeWrittenIsNotSentAndLeavesNoFile) {
    const auto before = uploadsReceived();
    {
        // A full disk half-way through the form.
        const testsupport::ScopedFileSizeLimit limit(4096);
        const auto failure = failureOf({.blocks = {Block::fileData(foundation::Data(std::string(65536, 'x')), "big",
                                                                   "application/octet-stream")}});
        EXPECT_THROW(std::rethrow_exception(failure), foundation::StreamError);
    }
    EXPECT_EQ(leftovers(), std::vector<std::string>{});

    environment_.set("TMPDIR", (temporary_ / "gone").string());
    EXPECT_THROW(std::rethrow_exception(failureOf({.journalId = 1})), foundation::StreamError);
    EXPECT_EQ(uploadsReceived(), before);
}

TEST_P(CreateEntryTest, ProgressIsReportedOffTheMainThreadOnlyWhereSessionsTakeDelegates) {
    const apitest::CountingBodies counting;
    api().reply("POST", "/entries/create", {.status = 201, .body = entryJSON});
    const auto big = files_ / "big.bin";
    std::filesystem::resize_file(files_.write("big.bin", ""), 16 << 20);

    struct Reports {
        std::mutex mutex;
        std::vector<double> fractions;
        bool onMainThread = false;
    } reports;
    const auto mainThread = std::this_thread::get_id();
    createEntry({.blocks = {Block::fileURL(foundation::URL::fileURL(big.string()), "big.bin", "video/mp4")}},
                [&](double fraction) {
                    const std::lock_guard lock(reports.mutex);
                    reports.fractions.push_back(fraction);
                    reports.onMainThread = reports.onMainThread || std::this_thread::get_id() == mainThread;
                });
    EXPECT_GT(lastRequest().bodyLength, std::size_t{16} << 20);

    const std::lock_guard lock(reports.mutex);
    if (std::string_view(GetParam()) != "14.0") {
        EXPECT_EQ(reports.fractions, std::vector<double>{});
        return;
    }
    EXPECT_FALSE(reports.onMainThread);
    ASSERT_GT(reports.fractions.size(), 1u);
    EXPECT_TRUE(std::is_sorted(reports.fractions.begin(), reports.fractions.end()));
    EXPECT_GT(reports.fractions.front(), 0.0);
    EXPECT_DOUBLE_EQ(reports.fractions.back(), 1.0);
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

// The attachment goes from its file into the form's file and from there to
// the socket in pieces: neither copy holds it in memory.
TEST_P(CreateEntryTest, NeverHoldsAnAttachmentInMemory) {
    constexpr std::uintmax_t attachmentSize = std::uintmax_t{64} << 20;
    const apitest::CountingBodies counting;
    api().reply("POST", "/entries/create", {.status = 201, .body = entryJSON});
    const auto attachment = files_ / "video.mp4";
    std::filesystem::resize_file(files_.write("video.mp4", ""), attachmentSize);
    ASSERT_TRUE(testsupport::restartPeakResident());
    const auto before = testsupport::peakResidentKilobytes();
    createEntry({.blocks = {Block::fileURL(foundation::URL::fileURL(attachment.string()), "video.mp4", "video/mp4")}});
    // Holding the attachment would add all of its 64 MiB; the buffers of the
    // copies add a few, and a sanitizer's shadow of them some more.
    EXPECT_LT(testsupport::peakResidentKilobytes() - before, static_cast<std::int64_t>(attachmentSize / 1024 / 2));
    EXPECT_GT(lastRequest().bodyLength, attachmentSize);
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

// The callback runs on the session's thread, where a call of an empty one
// would throw and end the whole process.
TEST_P(CreateEntryTest, AnEmptyProgressCallbackIsNotCalled) {
    api().reply("POST", "/entries/create", {.status = 201, .body = entryJSON});
    const auto big = files_ / "big.bin";
    std::filesystem::resize_file(files_.write("big.bin", ""), 4 << 20);
    const auto entry = createEntry(
        {.blocks = {Block::fileURL(foundation::URL::fileURL(big.string()), "big.bin", "video/mp4")}}, {});
    EXPECT_EQ(entry.id, 7);
    EXPECT_GT(lastRequest().bodyLength, std::size_t{4} << 20);
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

TEST(UploadProgressDelegate, PassesTheQuotientOnUnchanged) {
    auto& session = foundation::URLSession::shared();
    const auto task = session.dataTask(foundation::URLRequest(*foundation::URL::fromString(api().url("/"))), {});
    const double infinity = std::numeric_limits<double>::infinity();
    struct Row {
        std::int64_t sent;
        std::int64_t expected;
        double fraction;
    };
    for (const Row row : {Row{50, 100, 0.5}, Row{150, 100, 1.5}, Row{5, 0, infinity}, Row{10, -1, -10.0}}) {
        std::optional<double> reported;
        Networking::UploadProgressDelegate delegate([&](double fraction) { reported = fraction; });
        delegate.didSendBodyData(session, *task, 1, row.sent, row.expected);
        EXPECT_EQ(reported, row.fraction) << row.sent << "/" << row.expected;
    }
    std::optional<double> reported;
    Networking::UploadProgressDelegate([&](double fraction) { reported = fraction; })
        .didSendBodyData(session, *task, 0, 0, 0);
    EXPECT_TRUE(reported && std::isnan(*reported));
    EXPECT_NO_THROW(Networking::UploadProgressDelegate({}).didSendBodyData(session, *task, 1, 1, 2));
}

}  // namespace
}  // namespace kestrova
