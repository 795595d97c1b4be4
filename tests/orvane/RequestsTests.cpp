// The extension's two API calls against the loopback server; the entry form
// read byte for byte.

#include "orvane/Requests.hpp"

#include "kestrova/networking/KestrovaAPIError.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "tests/orvane/ExtensionFixture.hpp"
#include "tests/support/LocalDayText.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/MultipartForm.hpp"
#include "tests/support/ResidentMemory.hpp"
#include "tests/support/ScratchDirectory.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

namespace orvane {
namespace {

using kestrova::apitest::api;
using kestrova::apitest::lastRequest;
using testing::ExtensionTest;
using testsupport::FormPart;
using testsupport::MainLoop;
using testsupport::todayText;

httpclient::DataResponse awaitResponse(const std::shared_ptr<httpclient::UploadRequest>& request,
                                       std::chrono::milliseconds bound = MainLoop::defaultBound) {
    std::optional<httpclient::DataResponse> response;
    auto subscription = request->publishData(concurrency::MainActor::shared()).sink([&](const auto& r) { response = r; });
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return response.has_value(); }, bound)) << "no response came";
    return response.value_or(httpclient::DataResponse{});
}

ReducedUser updated(concurrency::Task<ReducedUser> task) {
    return MainLoop::runOnMainActor([&]() -> concurrency::Task<ReducedUser> { co_return co_await std::move(task); });
}

class RequestsTest : public ExtensionTest {
protected:
    testsupport::ScratchDirectory files_;
};

TEST_F(RequestsTest, PostsTheEntryFormPartByPart) {
    api().reply("POST", "/entries", {.status = 201, .body = R"({"id":5})"});
    struct Case {
        std::string label;
        std::string notes;
        std::int64_t journalId;
        std::optional<UploadFile> file;
        bool isPrivate;
        FormPart filePart;
    };
    const std::vector<Case> cases = {
        {"one word, journal 42, private, no file", "Hello", 42, std::nullopt, true, {"file", ""}},
        {"a file with an empty content type", "", -7,
         UploadFile{.name = "scan.pdf", .data = foundation::Data("%PDF"), .mimeType = ""}, false,
         {"file", "%PDF", "scan.pdf", ""}},
        {"a file with its type", "two\r\nlines", 0,
         UploadFile{.name = "a.jpg",
                    .data = foundation::Data(std::string("\xff\xd8\0", 3)),
                    .mimeType = "public.jpeg"},
         false,
         {"file", std::string("\xff\xd8\0", 3), "a.jpg", "public.jpeg"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto response = awaitResponse(createEntry("t0k", c.notes, c.journalId, c.file, c.isPrivate));
        EXPECT_FALSE(response.error);
        EXPECT_EQ(response.statusCode, 201);
        const auto request = lastRequest();
        EXPECT_EQ(request.method, "POST");
        EXPECT_EQ(request.target, "/entries");
        EXPECT_EQ(request.header("Cookie"), "token=t0k");
        EXPECT_EQ(request.header("User-Agent"), "App");
        EXPECT_EQ(request.body, testsupport::encodedForm(testsupport::boundaryOf(request),
                                                         {{"notes", c.notes},
                                                          {"streakDate", todayText()},
                                                          {"journal_id", std::to_string(c.journalId)},
                                                          {"private", c.isPrivate ? "true" : "false"},
                                                          c.filePart}));
    }
}

TEST_F(RequestsTest, StreamsAFileAboveTheThresholdFromDisk) {
    constexpr std::int64_t fileSize = 128LL * 1024 * 1024;
    const auto path = files_ / "film.mov";
    {
        std::ofstream(path, std::ios::binary).put('\0');
    }
    std::filesystem::resize_file(path, fileSize);
    const kestrova::apitest::CountingBodies counting;
    api().reply("POST", "/entries", {.status = 201});

    ASSERT_TRUE(testsupport::restartPeakResident());
    const auto before = testsupport::peakResidentKilobytes();
    // Bounded by the upload's own time-out, which ends a transfer that stops
    // moving; a loaded machine may take long for the whole file.
    const auto response = awaitResponse(createEntry("t0k", "", 1,
                                                    UploadFile{.name = "film.mov",
                                                               .data = {},
                                                               .mimeType = "video/quicktime",
                                                               .fileURL = foundation::URL::fileURL(path.string())},
                                                    false),
                                        std::chrono::minutes(5));
    // Threads, TLS and a sanitizer's shadow cost some MiB; a file held in
    // memory would cost all of it.
    EXPECT_LT(testsupport::peakResidentKilobytes() - before, fileSize / 1024 / 4);
    EXPECT_FALSE(response.error) << response.error->what();
    EXPECT_EQ(response.statusCode, 201);
    EXPECT_GT(lastRequest().bodyLength, static_cast<std::size_t>(fileSize));
}

TEST_F(RequestsTest, UpdatesOnlyTheSettingsGiven) {
    api().reply("POST", "/users", {.status = 200, .body = R"({"id":1,"quietMode":true})"});
    struct Case {
        std::function<concurrency::Task<ReducedUser>()> call;
        std::string body;
    };
    const std::vector<Case> cases = {
        {[] { return updateUser("t0k", {}, {}, {}, {}, {}, {}, {}, true); }, R"({"quietMode":true})"},
        {[] { return updateUser("t0k", {}, {}, {}, std::string()); }, R"({"website":null})"},
        {[] { return updateUser("t0k", false, true, {}, "https://a.example", "ann"); },
         R"({"weeklySummary":false,"emailNotifications":true,"website":"https:\/\/a.example","username":"ann"})"},
        {[] { return updateUser("t0k"); }, R"({})"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        EXPECT_EQ(updated(c.call()).id, 1);
        const auto request = lastRequest();
        EXPECT_EQ(request.method, "POST");
        EXPECT_EQ(request.target, "/users");
        EXPECT_EQ(request.header("Content-Type"), "application/json");
        EXPECT_EQ(request.header("Cookie"), "token=t0k");
        EXPECT_EQ(request.body, c.body);
    }
}

TEST_F(RequestsTest, AnUpdateTheServerRefusesFailsWhateverItsBody) {
    struct Case {
        int status;
        std::string body;
        bool succeeds;
    };
    const std::vector<Case> cases = {
        {200, R"({"id":1})", true},
        {500, R"({"id":1,"journals":[]})", false},
        {401, R"({"id":1})", false},
        {200, R"({"message":"no user"})", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.status) + " " + c.body);
        api().reply("POST", "/users", {.status = c.status, .body = c.body});
        bool succeeded = false;
        try {
            (void)updated(updateUser("t0k", {}, {}, {}, {}, {}, {}, {}, false));
            succeeded = true;
        } catch (const std::exception&) {
        }
        EXPECT_EQ(succeeded, c.succeeds);
    }
}

}  // namespace
}  // namespace orvane
