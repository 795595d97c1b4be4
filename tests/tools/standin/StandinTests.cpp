// The stand-in of the service, over loopback HTTPS, asked by the client's own
// code: what the application sends must be answered as the service answers.

#include "kestrova/networking/APIBaseURLOverride.hpp"
#include "kestrova/networking/EntryUpload.hpp"
#include "kestrova/networking/Networking.hpp"
#include "kestrova/networking/ServiceHosts.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/foundation/core/DevelopmentCertificateOverride.hpp"
#include "platform/runtime/foundation/http/HTTPURLResponse.hpp"
#include "platform/runtime/foundation/http/URLError.hpp"
#include "platform/runtime/foundation/http/URLSession.hpp"
#include "platform/kits/httpclient/Session.hpp"
#include "tests/kestrova/networking/APICall.hpp"
#include "tests/support/ForkedChild.hpp"
#include "tests/support/LocalDayText.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/ScratchDirectory.hpp"
#include "tests/support/StandinProcess.hpp"
#include "tools/standin/Certificate.hpp"
#include "tools/standin/ServiceAddresses.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

namespace {

using kestrova::KestrovaAPIError;
using kestrova::Networking;
using kestrova::User;
using testsupport::MainLoop;
using testsupport::ScratchDirectory;
using testsupport::StandinProcess;

template <typename Operation>
auto run(Operation operation) {
    return testsupport::runAPICall(std::move(operation));
}

using testsupport::apiErrorOf;

// What the stand-in answered: status, body and the response's fields.
struct Answer {
    int status = 0;
    std::string body;
    std::shared_ptr<const foundation::HTTPURLResponse> response;
};

Answer fetch(const std::string& url, std::string method = "GET", std::string body = "",
             std::string contentType = "") {
    return run([=]() -> concurrency::Task<Answer> {
        foundation::URLRequest request(*foundation::URL::fromString(url));
        request.setHTTPMethod(method);
        if (!body.empty()) {
            request.setHTTPBody(foundation::Data(body));
            request.setValue(contentType, "Content-Type");
        }
        const auto reply = co_await foundation::URLSession::shared().data(std::move(request));
        auto response = std::dynamic_pointer_cast<const foundation::HTTPURLResponse>(reply.response);
        co_return Answer{response->statusCode(), std::string(reply.data.view()), response};
    });
}

std::string localDay() {
    return testsupport::todayText();
}

const kestrova::Journal& journalNamed(const User& user, std::string_view slug) {
    const auto& journals = *user.journals;
    const auto found = std::ranges::find(journals, foundation::Text(slug), &kestrova::Journal::slug);
    EXPECT_NE(found, journals.end()) << slug;
    return *found;
}

// The calls as coroutines of their own; values are made outside them, which
// GCC 12 needs for braced initialisers.
Networking::EntryUpload textUpload(std::int64_t journalId, bool isPrivate) {
    Networking::EntryUpload upload;
    upload.journalId = journalId;
    upload.streakDate = localDay();
    upload.isPrivate = isPrivate;
    upload.blocks.push_back(Networking::EntryUpload::Block::text("x"));
    return upload;
}

concurrency::Task<void> publishText(std::int64_t journalId, bool isPrivate, std::string token) {
    co_await Networking::createEntry(textUpload(journalId, isPrivate), std::move(token), [](double) {});
}

kestrova::MetricData metricValue(foundation::UUID metricId, std::int64_t entryId) {
    kestrova::MetricData value;
    value.unit = "km";
    value.value = 7;
    value.metricId = metricId;
    value.entryId = entryId;
    return value;
}

concurrency::Task<void> storeMetricValue(foundation::UUID metricId, std::int64_t entryId, std::string token) {
    co_await Networking::createMetricData(metricValue(metricId, entryId), std::move(token));
}

// A stand-in of its own per test, trusted through the development setting,
// with the API client pointed at it and the demo user signed in.
class StandinTest : public testing::Test {
protected:
    StandinTest()
        : standin_({.stateDirectory = state_.path()}),
          trust_(standin_.certificate(), standin_.hosts()),
          api_(*foundation::URL::fromString(standin_.apiBase())) {}

    // Signs in on the web host as the login page does and gives the session
    // token from the cookie it sets.
    std::string signIn(const std::string& password = "demo") {
        const auto answer = fetch(standin_.origin() + "/login", "POST",
                                  "username=demo&password=" + password, "application/x-www-form-urlencoded");
        const auto cookie = answer.response->value("Set-Cookie").value_or("");
        EXPECT_NE(cookie.find("Domain=" + standin_.domain()), std::string::npos) << cookie;
        const auto start = cookie.find("token=");
        return start == std::string::npos ? "" : cookie.substr(start + 6, cookie.find(';') - start - 6);
    }

    User getUser(const std::string& token) {
        return run([token]() -> concurrency::Task<User> { co_return co_await Networking::getUser(token); });
    }

    ScratchDirectory state_;
    StandinProcess standin_;
    foundation::DevelopmentCertificateOverride trust_;
    kestrova::APIBaseURLOverride api_;
};

TEST_F(StandinTest, TheDemoUserSignsInAndGetsJournalsOfEveryKind) {
    EXPECT_EQ(fetch(standin_.origin() + "/login", "POST", "username=demo&password=nope",
                    "application/x-www-form-urlencoded")
                  .status,
              401);
    const auto token = signIn();
    ASSERT_FALSE(token.empty());
    const User user = getUser(token);
    EXPECT_EQ(user.username, foundation::Text("demo"));
    ASSERT_EQ(user.journals->size(), 6u);
    EXPECT_TRUE(journalNamed(user, "workout").isDue.value_or(false));
    // Done today and still due today.
    EXPECT_TRUE(journalNamed(user, "reading").isDue.value_or(false));
    EXPECT_EQ(journalNamed(user, "reading").streakDate, foundation::Text(localDay()));
    EXPECT_EQ(journalNamed(user, "reading").entriesToday, 1);
    EXPECT_TRUE(journalNamed(user, "music").isScheduled.value_or(false));
    EXPECT_TRUE(journalNamed(user, "dreams").isPrivate);
    EXPECT_FALSE(journalNamed(user, "music").iconEmoji.has_value());
    EXPECT_TRUE(journalNamed(user, "music").iconLink.has_value());
    EXPECT_TRUE(journalNamed(user, "workout").lastEntryAt.has_value());
    EXPECT_EQ(user.metrics->size(), 3u);

    // One journal, as the "Journal" widget asks for it.
    const auto music = run([&]() -> concurrency::Task<kestrova::Journal> {
        co_return co_await Networking::send<kestrova::Journal>(Networking::makeRequest("/journals/3", token));
    });
    EXPECT_EQ(music, journalNamed(user, "music"));
    EXPECT_EQ(apiErrorOf([&]() -> concurrency::Task<kestrova::Journal> {
                  co_return co_await Networking::send<kestrova::Journal>(Networking::makeRequest("/journals/99", token));
              }).kind(),
              KestrovaAPIError::Case::forbidden);

    const auto icon = fetch(journalNamed(user, "music").iconLink->str());
    EXPECT_EQ(icon.status, 200);
    EXPECT_EQ(icon.response->value("Content-Type"), "image/svg+xml");
}

TEST_F(StandinTest, ARefusedCallCarriesTheStatusAndMessageTheClientMaps) {
    const auto token = signIn();
    struct Case {
        std::string what;
        std::function<concurrency::Task<void>()> call;
        KestrovaAPIError::Case expected;
        std::string message;
    };
    // Free coroutines taking their arguments by value: nothing they use lives in a lambda.
    const auto upload = [token](std::int64_t journalId, bool isPrivate) {
        return [=] { return publishText(journalId, isPrivate, token); };
    };
    const std::vector<Case> cases = {
        {"no token", [] { return Networking::logout(""); }, KestrovaAPIError::Case::unauthorized,
         "You are not signed in."},
        {"unknown token", [] { return Networking::registerDeviceToken("ab", "nobody"); },
         KestrovaAPIError::Case::unauthorized, "You are not signed in."},
        {"device token not hexadecimal", [token] { return Networking::registerDeviceToken("XYZ", token); },
         KestrovaAPIError::Case::badRequest, "The device token is no lower-case hexadecimal text."},
        {"foreign journal", upload(999, false), KestrovaAPIError::Case::forbidden,
         "You have no journal with the id 999."},
        {"private entry without Kestrova+", upload(1, true), KestrovaAPIError::Case::paymentRequired,
         "Private entries in a public journal need Kestrova+."},
        {"unknown metric", [token] { return storeMetricValue(foundation::UUID(), 1, token); },
         KestrovaAPIError::Case::badRequest, ""},
    };
    for (const auto& c : cases) {
        const auto error = apiErrorOf(c.call);
        EXPECT_EQ(error.kind(), c.expected) << c.what;
        if (!c.message.empty()) {
            EXPECT_STREQ(error.what(), c.message.c_str()) << c.what;
        }
    }
    // Nothing there: the client sees the status as a server error.
    const auto missing = fetch(standin_.apiBase() + "/nothing");
    EXPECT_EQ(missing.status, 404);
    EXPECT_NE(missing.body.find("\"message\""), std::string::npos);
}

TEST_F(StandinTest, APublishedEntryShowsOnTheNextAuth) {
    const auto token = signIn();
    const User before = getUser(token);
    const auto& workout = journalNamed(before, "workout");
    ASSERT_TRUE(workout.isDue.value_or(false));

    Networking::EntryUpload upload{
        .journalId = workout.id,
        .streakDate = localDay(),
        .isPartOfStreak = true,
        .blocks = {Networking::EntryUpload::Block::text("Ran 7 km."),
                   Networking::EntryUpload::Block::fileData(foundation::Data(std::string_view("GPS track")),
                                                            "track.gpx", "application/gpx+xml")}};
    const auto entry = run([&]() -> concurrency::Task<kestrova::KestrovaEntry> {
        co_return co_await Networking::createEntry(std::move(upload), token, [](double) {});
    });
    EXPECT_EQ(entry.journalId, workout.id);
    ASSERT_EQ(entry.blocks->size(), 2u);
    EXPECT_EQ((*entry.blocks)[0].text, foundation::Text("Ran 7 km."));
    const auto& file = (*entry.blocks)[1].originalFile;
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(file->mimeType, foundation::Text("application/gpx+xml"));
    EXPECT_EQ(fetch(file->url.str()).body, "GPS track");

    const User after = getUser(token);
    const auto& done = journalNamed(after, "workout");
    EXPECT_TRUE(done.isDue.value_or(false));
    EXPECT_EQ(done.entriesToday, 1);
    EXPECT_EQ(done.streak, *workout.streak + 1);
    EXPECT_EQ(done.streakDate, foundation::Text(localDay()));
    EXPECT_EQ(*after.numberOfEntriesToday, *before.numberOfEntriesToday + 1);

    // The metric value goes onto the new entry; quiet mode and the device token are kept.
    const auto value = metricValue((*after.metrics)[0].id, entry.id);
    EXPECT_EQ(run([&]() -> concurrency::Task<kestrova::MetricData> {
                  co_return co_await Networking::createMetricData(value, token);
              }),
              value);
    const User quiet = run([&]() -> concurrency::Task<User> { co_return co_await Networking::setQuietMode(true, token); });
    EXPECT_EQ(quiet.quietMode, true);
    run([&]() -> concurrency::Task<void> { co_await Networking::registerDeviceToken("00ff10", token); });
    EXPECT_EQ(getUser(token).quietMode, true);
}

// What someone types shows as typed on the journal's page: no markup, and no hole of the page
// filled into it.
TEST_F(StandinTest, AnEntrysTextShowsOnItsJournalsPageAsTyped) {
    const auto token = signIn();
    const User user = getUser(token);
    const auto& workout = journalNamed(user, "workout");
    Networking::EntryUpload upload{.journalId = workout.id,
                                   .streakDate = localDay(),
                                   .isPartOfStreak = true,
                                   .blocks = {Networking::EntryUpload::Block::text("<b>{{journal-id}}</b>")}};
    run([&]() -> concurrency::Task<void> { co_await Networking::createEntry(std::move(upload), token, [](double) {}); });
    const auto page = run([&]() -> concurrency::Task<Answer> {
        foundation::URLRequest request(*foundation::URL::fromString(standin_.origin() + "/demo/workout"));
        request.setValue("token=" + token, "Cookie");
        const auto reply = co_await foundation::URLSession::shared().data(std::move(request));
        co_return Answer{200, std::string(reply.data.view()), nullptr};
    });
    EXPECT_EQ(page.body.find("<b>"), std::string::npos);
    EXPECT_EQ(page.body.find("&lt;b&gt;" + std::to_string(workout.id)), std::string::npos) << page.body;
    EXPECT_NE(page.body.find("&lt;b&gt;&#123;&#123;journal-id}}&lt;/b&gt;"), std::string::npos) << page.body;
}

// The application's actions send no day of their own: the entry counts for the service's today.
TEST_F(StandinTest, AnEntryWithoutAStreakDateCountsForTheServicesToday) {
    const auto token = signIn();
    const auto before = journalNamed(getUser(token), "workout");
    Networking::EntryUpload upload{.journalId = before.id,
                                   .streakDate = "",
                                   .isPartOfStreak = true,
                                   .blocks = {Networking::EntryUpload::Block::text("Ran 5 km")}};
    run([&]() -> concurrency::Task<void> { co_await Networking::createEntry(std::move(upload), token, [](double) {}); });
    const auto after = journalNamed(getUser(token), "workout");
    EXPECT_EQ(after.entriesToday.value_or(0), before.entriesToday.value_or(0) + 1);
    EXPECT_EQ(after.streakDate, foundation::Text(localDay()));
}

TEST_F(StandinTest, TheIntentsExtensionsFormIsAnEntryToo) {
    const auto token = signIn();
    foundation::URLRequest request(*foundation::URL::fromString(standin_.apiBase() + "/entries"));
    request.setHTTPMethod("POST");
    request.setValue("token=" + token, "Cookie");
    const std::string day = localDay();
    std::optional<httpclient::DataResponse> delivered;
    auto subscription =
        httpclient::Session::shared()
            .upload(
                [&](httpclient::MultipartFormData& form) {
                    form.append(foundation::Data(std::string_view("Swam 1 km")), "notes");
                    form.append(foundation::Data(day), "streakDate");
                    form.append(foundation::Data(std::string_view("5")), "journal_id");
                    form.append(foundation::Data(std::string_view("false")), "private");
                },
                request)
            ->publishData(concurrency::MainActor::shared())
            .sink([&](const httpclient::DataResponse& response) { delivered = response; });
    MainLoop::iterateUntil([&] { return delivered.has_value(); });
    ASSERT_TRUE(delivered.has_value());
    ASSERT_TRUE(delivered->isSuccess());
    EXPECT_EQ(delivered->statusCode, 200);
    const User user = getUser(token);
    const auto& gratitude = journalNamed(user, "gratitude");
    EXPECT_EQ(gratitude.entriesToday, 1);
    // Its last day was the day before yesterday: the streak starts again.
    EXPECT_EQ(gratitude.streak, 1);
}

TEST_F(StandinTest, SigningOutEndsTheSession) {
    const auto token = signIn();
    run([&]() -> concurrency::Task<void> { co_await Networking::logout(token); });
    const auto error = apiErrorOf([&]() -> concurrency::Task<User> { co_return co_await Networking::getUser(token); });
    EXPECT_EQ(error.kind(), KestrovaAPIError::Case::unauthorized);
    // Signing in again makes a new session.
    EXPECT_NE(signIn(), token);
}

TEST_F(StandinTest, TheWebHostsServeThePagesAndTheBetaOneSaysSo) {
    const auto production = fetch(standin_.origin() + "/login");
    const auto beta = fetch(standin_.origin("beta") + "/login");
    EXPECT_EQ(production.status, 200);
    EXPECT_EQ(production.body.find("badge beta"), std::string::npos);
    EXPECT_NE(beta.body.find("badge beta"), std::string::npos);
    // Without a session the journals are behind the sign-in page.
    EXPECT_NE(fetch(standin_.origin() + "/home").body.find("<h1>Sign in</h1>"), std::string::npos);
    // The application's Help menu opens these two.
    for (const auto& [path, heading] : std::vector<std::pair<std::string, std::string>>{
             {"/requests", "<h1>Requests and Bugs</h1>"}, {"/meta", "<h1>macOS Meta</h1>"}}) {
        const auto help = fetch(standin_.origin() + path);
        EXPECT_EQ(help.status, 200) << path;
        EXPECT_NE(help.body.find(heading), std::string::npos) << path;
    }

    const auto token = signIn();
    const auto home = run([&]() -> concurrency::Task<Answer> {
        foundation::URLRequest request(*foundation::URL::fromString(standin_.origin("beta") + "/home"));
        request.setValue("token=" + token, "Cookie");
        const auto reply = co_await foundation::URLSession::shared().data(std::move(request));
        co_return Answer{200, std::string(reply.data.view()), nullptr};
    });
    for (const char* link : {"href=\"/demo/workout\"", "href=\"/demo/field-notes\"", "https://example.org/",
                             "/kestrova-sample.pdf"}) {
        EXPECT_NE(home.body.find(link), std::string::npos) << link;
    }
    // The pages publish and sign out with calls from their own origin, with the session's cookie;
    // other origins get no leave to read the replies.
    for (const auto& [origin, allowed] : std::vector<std::pair<std::string, bool>>{
             {standin_.origin(), true},
             {standin_.origin("beta"), true},
             {standin_.origin("www"), false},
             {"https://example.org", false}}) {
        const auto cors = run([&, origin = origin]() -> concurrency::Task<Answer> {
            foundation::URLRequest request(*foundation::URL::fromString(standin_.apiBase() + "/auth"));
            request.setValue(origin, "Origin");
            request.setValue("token=" + token, "Cookie");
            const auto reply = co_await foundation::URLSession::shared().data(std::move(request));
            auto response = std::dynamic_pointer_cast<const foundation::HTTPURLResponse>(reply.response);
            co_return Answer{response->statusCode(), std::string(reply.data.view()), response};
        });
        EXPECT_EQ(cors.status, 200);
        EXPECT_EQ(cors.response->value("Access-Control-Allow-Origin"),
                  allowed ? std::optional(origin) : std::nullopt);
        EXPECT_EQ(cors.response->value("Access-Control-Allow-Credentials"),
                  allowed ? std::optional<std::string>("true") : std::nullopt);
    }
    const auto pdf = fetch(standin_.origin() + "/kestrova-sample.pdf");
    EXPECT_EQ(pdf.response->value("Content-Type"), "application/pdf");
    EXPECT_TRUE(pdf.body.starts_with("%PDF-"));
    // A name it does not serve, though the connection is to its port.
    const auto misdirected = run([&]() -> concurrency::Task<int> {
        foundation::URLRequest request(*foundation::URL::fromString(standin_.origin() + "/login"));
        request.setValue("elsewhere." + standin_.domain(), "Host");
        const auto reply = co_await foundation::URLSession::shared().data(std::move(request));
        co_return std::dynamic_pointer_cast<const foundation::HTTPURLResponse>(reply.response)->statusCode();
    });
    EXPECT_EQ(misdirected, 421);
}

// Links and frames that leave the service go to the foreign host, which is this machine too.
TEST_F(StandinTest, TheForeignHostIsAnotherSiteThatThePlaygroundFrames) {
    const auto playground = fetch(standin_.origin() + "/playground");
    EXPECT_NE(playground.body.find("<iframe src=\"" + standin_.origin("www") + "/embed\""), std::string::npos)
        << playground.body;
    for (const std::string path : {"/embed", "/", "/some/where?x=1"}) {
        const auto page = fetch(standin_.origin("www") + path);
        EXPECT_EQ(page.status, 200) << path;
        EXPECT_EQ(page.response->value("Content-Type"), "text/html; charset=utf-8") << path;
        EXPECT_NE(page.body.find("<title>Another site</title>"), std::string::npos) << path;
        EXPECT_EQ(page.body.find("Kestrova"), std::string::npos) << path;
    }
    // In the stand-in's style, from its own host.
    EXPECT_EQ(fetch(standin_.origin("www") + "/style.css").response->value("Content-Type"), "text/css");
    const auto typed = fetch(standin_.origin("www") + "/%3Cb%3E%7B%7Bpath%7D%7D");
    EXPECT_EQ(typed.body.find("<b>"), std::string::npos) << typed.body;
    EXPECT_NE(typed.body.find("&lt;b&gt;&#123;&#123;path}}"), std::string::npos) << typed.body;
}

// Restarts, damaged files and trust: what is kept in the state directory.
class StandinDataTest : public testing::Test {
protected:
    ScratchDirectory state_;
};

foundation::URLError::Code tlsErrorOf(const std::string& url) {
    try {
        fetch(url);
    } catch (const foundation::URLError& error) {
        return error.code();
    }
    ADD_FAILURE() << "the connection to " << url << " was trusted";
    return foundation::URLError::Code::unknown;
}

TEST_F(StandinDataTest, TheSessionTrustsItOnlyWithTheDevelopmentCertificate) {
    StandinProcess standin({.stateDirectory = state_.path()});
    const auto auth = standin.apiBase() + "/auth";
    EXPECT_EQ(tlsErrorOf(auth), foundation::URLError::Code::serverCertificateUntrusted);
    {
        const foundation::DevelopmentCertificateOverride trust(standin.certificate(), standin.hosts());
        EXPECT_EQ(fetch(auth).status, 401);
        EXPECT_EQ(fetch(standin.origin("beta") + "/login").status, 200);
    }
    // Verification stays on: another stand-in's certificate is no anchor for this one.
    ScratchDirectory otherState;
    StandinProcess other({.stateDirectory = otherState.path()});
    const foundation::DevelopmentCertificateOverride wrong(other.certificate(), other.hosts());
    EXPECT_EQ(tlsErrorOf(auth), foundation::URLError::Code::serverCertificateUntrusted);
}

TEST_F(StandinDataTest, WhatWasPostedSurvivesARestart) {
    std::string token;
    {
        StandinProcess standin({.stateDirectory = state_.path()});
        const foundation::DevelopmentCertificateOverride trust(standin.certificate(), standin.hosts());
        const kestrova::APIBaseURLOverride api(*foundation::URL::fromString(standin.apiBase()));
        const auto answer = fetch(standin.origin() + "/login", "POST", "username=demo&password=demo",
                                  "application/x-www-form-urlencoded");
        const auto cookie = *answer.response->value("Set-Cookie");
        token = cookie.substr(6, cookie.find(';') - 6);
        Networking::EntryUpload upload{.journalId = 6, .streakDate = localDay(),
                                       .blocks = {Networking::EntryUpload::Block::text("Kept.")}};
        run([&]() -> concurrency::Task<void> {
            co_await Networking::createEntry(std::move(upload), token, [](double) {});
        });
        const auto outcome = standin.stop();
        EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    }
    const auto certificate = ScratchDirectory::read(state_ / "certificate.pem");
    StandinProcess again({.stateDirectory = state_.path()});
    // The same certificate, so that a trust setting stays valid.
    EXPECT_EQ(ScratchDirectory::read(state_ / "certificate.pem"), certificate);
    EXPECT_EQ(std::filesystem::status(state_ / "key.pem").permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    const foundation::DevelopmentCertificateOverride trust(again.certificate(), again.hosts());
    const kestrova::APIBaseURLOverride api(*foundation::URL::fromString(again.apiBase()));
    const User user = run([&]() -> concurrency::Task<User> { co_return co_await Networking::getUser(token); });
    EXPECT_EQ(journalNamed(user, "field-notes").entryNumber, 1);
}

TEST_F(StandinDataTest, ADamagedDataFileStopsItAndIsLeftAsItWas) {
    const std::string damaged = R"({"nextEntryId":3,"accounts":[{"id":1,)";
    const auto data = state_.write("mine.json", damaged);
    const auto outcome = testsupport::Subprocess::run(
        StandinProcess::arguments({.stateDirectory = state_.path(), .dataFile = data}));
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.errors.find(data.string() + ": the data file is damaged and was left as it is"),
              std::string::npos)
        << outcome.errors;
    EXPECT_EQ(ScratchDirectory::read(data), damaged);
    EXPECT_FALSE(std::filesystem::exists(data.string() + ".partial"));
}

// Gone, or a zombie that nobody reaps.
bool hasEnded(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) {
        return true;
    }
    const auto state = line.rfind(')');
    return state != std::string::npos && line.substr(state + 2, 1) == "Z";
}

TEST_F(StandinDataTest, ItStopsWhenTheProcessThatStartedItDies) {
    const auto pid = std::stoi(testsupport::ForkedChild::run([&] {
        // Never stopped: the child ends without it, as a crashing test would.
        auto* standin = new StandinProcess({.stateDirectory = state_.path()});
        return std::to_string(standin->pid());
    }));
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return hasEnded(pid); }));
}

TEST_F(StandinDataTest, APortInUseStopsASecondOneWithTheReason) {
    StandinProcess first({.stateDirectory = state_.path()});
    ScratchDirectory otherState;
    const auto outcome = testsupport::Subprocess::run(
        StandinProcess::arguments({.stateDirectory = otherState.path(), .port = first.port()}));
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.errors.find("cannot listen on 127.0.0.1 port " + std::to_string(first.port())),
              std::string::npos)
        << outcome.errors;
}

TEST_F(StandinDataTest, WhatAClientSendsCannotForgeALineOfItsOutput) {
    StandinProcess standin({.stateDirectory = state_.path(), .logRequests = true, .loadBeacon = true});
    const foundation::DevelopmentCertificateOverride trust(standin.certificate(), standin.hosts());
    // A page path that ends the line early and writes a load of its own.
    EXPECT_EQ(fetch(standin.origin() + "/loaded?path=%2Fhome%0Aloaded%20%2Fforged%0D", "POST").status, 204);
    std::vector<std::string> lines;
    while (const auto line = standin.readLine(std::chrono::milliseconds(500))) {
        lines.push_back(*line);
    }
    EXPECT_NE(std::ranges::find(lines, "loaded /home?loaded /forged?"), lines.end());
    EXPECT_EQ(std::ranges::find(lines, "loaded /forged"), lines.end());
}

// A stand-in that serves a name its stored certificate lacks would be refused for that name.
TEST_F(StandinDataTest, AStoredCertificateThatCannotServeEveryNameIsMadeAnewWithItsKey) {
    const standin::ServiceAddresses names;
    struct Case {
        std::string what;
        std::function<void(const std::filesystem::path&)> store;
        std::string fault;
    };
    const std::vector<Case> cases = {
        {"made when the stand-in served three names",
         [&](const std::filesystem::path& state) {
             standin::Certificate::ensure(state, {names.domain, names.betaHost(), names.apiHost()});
         },
         "does not cover " + names.foreignHost()},
        {"damaged",
         [&](const std::filesystem::path& state) {
             const auto pair = standin::Certificate::ensure(state, names.hostNames());
             std::ofstream(pair.certificateFile, std::ios::trunc) << "-----BEGIN CERTIFICATE-----\nMIIB\n";
         },
         "cannot be read"},
    };
    for (const auto& c : cases) {
        ScratchDirectory state;
        c.store(state.path());
        const auto certificateFile = state / "certificate.pem";
        const auto storedCertificate = ScratchDirectory::read(certificateFile);
        const auto storedKey = ScratchDirectory::read(state / "key.pem");
        std::string certificate;
        {
            StandinProcess standin({.stateDirectory = state.path()});
            certificate = ScratchDirectory::read(certificateFile);
            EXPECT_NE(certificate, storedCertificate) << c.what;
            EXPECT_NE(ScratchDirectory::read(state / "key.pem"), storedKey) << c.what;
            EXPECT_EQ(std::filesystem::status(state / "key.pem").permissions() & std::filesystem::perms::all,
                      std::filesystem::perms::owner_read | std::filesystem::perms::owner_write)
                << c.what;
            for (const auto& file : std::filesystem::directory_iterator(state.path())) {
                EXPECT_NE(file.path().extension(), ".partial") << c.what;
            }
            const foundation::DevelopmentCertificateOverride trust(standin.certificate(), standin.hosts());
            EXPECT_EQ(fetch(standin.origin("www") + "/").status, 200) << c.what;
            EXPECT_EQ(fetch(standin.apiBase() + "/auth").status, 401) << c.what;
            EXPECT_EQ(standin.stop().errors, "kestrova-standin: the certificate " + certificateFile.string() + " " +
                                                 c.fault + "; making a new one and its key\n")
                << c.what;
        }
        // The new one covers every name, so the next run keeps it and says nothing.
        StandinProcess again({.stateDirectory = state.path()});
        EXPECT_EQ(ScratchDirectory::read(certificateFile), certificate) << c.what;
        EXPECT_EQ(again.stop().errors, "") << c.what;
    }
}

// The default port is the build's, where the build's application looks for the service.
TEST_F(StandinDataTest, ItsHelpNamesTheBuildsPortAsTheDefault) {
    const std::string buildPort = KESTROVA_SERVICE_PORT;
    const auto outcome = testsupport::Subprocess::run({StandinProcess::program(), "--help"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_TRUE(outcome.output.starts_with("usage: kestrova-standin")) << outcome.output;
    EXPECT_NE(outcome.output.find("(N " + (buildPort.empty() ? "8443" : buildPort) + " unless given;"),
              std::string::npos)
        << outcome.output;
}

TEST_F(StandinDataTest, ABadCommandLineIsAUsageError) {
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"--port", "70000"}, {"--port"}, {"--colour", "red"}}) {
        std::vector<std::string> command{StandinProcess::program()};
        command.insert(command.end(), arguments.begin(), arguments.end());
        const auto outcome = testsupport::Subprocess::run(command);
        EXPECT_EQ(outcome.exitCode, 2) << arguments[0];
        EXPECT_NE(outcome.errors.find("usage: kestrova-standin"), std::string::npos);
    }
}

// The client's compiled addresses carry the deployment's port when it has one (the local preset's
// 8443), and none otherwise.
TEST(StandinDeployment, TheBuildsAddressesNameTheDeploymentsPort) {
    const std::string domain = KESTROVA_SERVICE_DOMAIN;
    const std::string port = KESTROVA_SERVICE_PORT;
    const std::string suffix = port.empty() ? "" : ":" + port;
    EXPECT_EQ(kestrova::apiBaseURL().absoluteString(), "https://api." + domain + suffix);
    EXPECT_EQ(kestrova::webBaseURL().absoluteString(), "https://" + domain + suffix + "/");
    EXPECT_EQ(kestrova::betaWebBaseURL().absoluteString(), "https://beta." + domain + suffix + "/");
    EXPECT_EQ(kestrova::webHost(), domain);
    const auto page = *foundation::URL::fromString("https://" + domain + suffix + "/demo/workout?x=1");
    EXPECT_EQ(kestrova::webHostURL(page, true).absoluteString(), "https://beta." + domain + suffix + "/demo/workout?x=1");
}

}  // namespace
