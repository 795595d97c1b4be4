// Runs the kestrova program itself as the desktop would (ctest runs this under Xvfb with a session
// bus of its own), with every directory it writes in a scratch directory and its servers on
// loopback: a second launch with a link, an activity handed over on the bus, quitting, and the
// relaunch that restores the window; and an intent handed over in an activity, which the program must
// know by its class name. The service's https pages come from a loopback server through a proxy that
// holds TLS for them with a certificate the program is told to trust.
#include "platform/runtime/foundation/defaults/AppGroup.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "platform/kits/intents/Interaction.hpp"
#include "platform/kits/intents/KeyedArchiver.hpp"
#include "platform/kits/intents/UserActivity.hpp"
#include "kestrova/intents/IntentJournal.hpp"
#include "kestrova/intents/OpenPublishViewIntent.hpp"
#include "tests/support/ApplicationSandbox.hpp"
#include "tests/support/GtkPixels.hpp"
#include "tests/support/ScratchDirectory.hpp"
#include "tests/support/Subprocess.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <utility>
#include <vector>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;
using testing::Not;
using testsupport::ScratchDirectory;
using testsupport::Subprocess;

constexpr const char* applicationId = KESTROVA_APPLICATION_ID;

// Looks again every tenth of a second until `done` holds, for at most a minute; whether it held.
bool eventually(const std::function<bool()>& done) {
    for (int attempt = 0; attempt < 600; ++attempt) {
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return done();
}

std::string objectPath() {
    std::string path = "/" + std::string(applicationId);
    std::replace(path.begin(), path.end(), '.', '/');
    return path;
}

// Activates an action of the running application over the bus; the parameter is in GVariant text.
Subprocess::Outcome activate(const std::string& action, const std::string& parameter = "[]") {
    return Subprocess::run({"/usr/bin/gdbus", "call", "--session", "--dest", applicationId, "--object-path", objectPath(),
                            "--method", "org.gtk.Actions.Activate", action, parameter, "{}"});
}

// The activity as GVariant text: its archive between single quotes.
std::string activityParameter(const intents::UserActivity& activity) {
    const foundation::Data archive = intents::KeyedArchiver::archivedData(activity);
    std::string quoted = "[<'";
    for (const char c : archive.view()) {
        if (c == '\'' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "'>]";
}

// The screen for a person to look at when KESTROVA_PICTURES_DIR is set.
void screenshot(const std::string& name) {
    if (std::getenv("KESTROVA_PICTURES_DIR") != nullptr) {
        // The program draws on its own time: give it a moment.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        testsupport::saveScreen(name);
    }
}

// No handler of "kestrova:" links is installed, as under `make run`: the program handles its own.
class KestrovaDesktopTest : public testing::Test, protected testsupport::ApplicationSandbox {
protected:
    [[nodiscard]] std::string scenes() const {
        const auto file = scratch / "state" / "kestrova" / "scenes";
        return fs::exists(file) ? ScratchDirectory::read(file) : std::string();
    }

    // Starts the program and waits until it answers on the bus: its first windows open before it
    // takes any call.
    [[nodiscard]] static std::unique_ptr<Subprocess> launch() {
        auto program = std::make_unique<Subprocess>(std::vector<std::string>{KESTROVA_PROGRAM});
        EXPECT_TRUE(eventually([&] {
            const auto owned = Subprocess::run({"/usr/bin/gdbus", "call", "--session", "--dest", "org.freedesktop.DBus",
                                                "--object-path", "/org/freedesktop/DBus", "--method",
                                                "org.freedesktop.DBus.NameHasOwner", applicationId});
            return owned.output.find("true") != std::string::npos || !program->running();
        }));
        return program;
    }
};

TEST_F(KestrovaDesktopTest, LinksAndHandedOverPagesReachTheWindowWhichComesBackAfterQuittingButNotAfterClosing) {
    // Pages that the window shows for good; anything else would be a download, and the window
    // would go back to the page before.
    for (const char* page : {"https://kestrova.example/ann", "https://kestrova.example/bob"}) {
        server.reply("GET", page,
                     {.status = 200, .headers = {{"Content-Type", "text/html"}}, .body = "<title>page</title>"});
    }
    auto first = launch();
    ASSERT_TRUE(first->running());
    ASSERT_TRUE(eventually([&] { return !scenes().empty(); }));

    const auto second = Subprocess::run({KESTROVA_PROGRAM, "kestrova:///open?url=https%3A%2F%2Fkestrova.example%2Fann"});
    EXPECT_EQ(second.exitCode, 0) << second.errors;
    EXPECT_TRUE(eventually([&] { return scenes().find("value.url=https://kestrova.example/ann\n") != std::string::npos; })) << scenes();
    screenshot("kestrova-main-window");

    // A page handed over from another device opens in a new tab of the window: the application opens
    // its own link itself, and the page that was shown stays.
    const std::string activity =
        R"({"$archiver":"KeyedArchive","$version":1,"$top":{"$class":"NSUserActivity","activityType":"NSUserActivityTypeBrowsingWeb","webpageURL":"https://kestrova.example/bob"}})";
    const auto handedOver = activate("continue-activity", "[<'" + activity + "'>]");
    EXPECT_EQ(handedOver.exitCode, 0) << handedOver.errors;
    EXPECT_TRUE(eventually([&] { return scenes().find("value.url=https://kestrova.example/bob\n") != std::string::npos; })) << scenes();
    EXPECT_THAT(scenes(), HasSubstr("value.url=https://kestrova.example/ann\n"));

    ASSERT_EQ(activate("quit").exitCode, 0);
    const auto ended = first->wait();
    EXPECT_EQ(ended.exitCode, 0) << ended.errors;
    const std::string kept = scenes();
    EXPECT_THAT(kept, HasSubstr("value.url=https://kestrova.example/bob\n"));

    // The next launch opens the kept window again, on its page.
    auto again = launch();
    ASSERT_TRUE(again->running());
    EXPECT_EQ(scenes(), kept);

    // "New Tab", the second group's item, opens a tab that is kept too.
    ASSERT_EQ(activate("command-1-0").exitCode, 0);
    ASSERT_TRUE(eventually([&] {
        const std::string now = scenes();
        return std::count(now.begin(), now.end(), '[') == 3;
    })) << scenes();
    screenshot("kestrova-three-tabs");

    // Closing every tab closes the last window, which ends the application; closed windows are
    // forgotten.
    for (int tab = 0; tab < 3; ++tab) {
        ASSERT_EQ(activate("close").exitCode, 0);
    }
    const auto closed = again->wait();
    EXPECT_EQ(closed.exitCode, 0) << closed.errors;
    EXPECT_EQ(scenes().find('['), std::string::npos) << scenes();
}

// Shortcuts hands the application an open-the-publish-view intent in an activity; the program opens
// the publish page of the intent's journal, through that journal's create-entry link, in a new tab.
TEST_F(KestrovaDesktopTest, AnIntentHandedOverInAnActivityOpensThePublishPageOfItsJournal) {
    // The signed-in user as the application cached it, with the journal the intent names.
    foundation::UserDefaults(foundation::AppGroup::identifier())
        .set(foundation::Data(std::string_view(R"({"id":1,"username":"ann","journals":[{"id":42,"title":"Notes",)"
                                               R"("description":"","slug":"notes","private":false}]})")),
             "user");

    auto program = launch();
    ASSERT_TRUE(program->running());
    auto intent = std::make_shared<kestrova::OpenPublishViewIntent>();
    intent->setJournal(std::make_shared<kestrova::IntentJournal>("42", "Notes", std::nullopt));
    intents::UserActivity activity("OpenPublishViewIntent");
    activity.setInteraction(std::make_shared<intents::Interaction>(intent));
    const auto handedOver = activate("continue-activity", activityParameter(activity));
    ASSERT_EQ(handedOver.exitCode, 0) << handedOver.errors;
    EXPECT_TRUE(eventually([&] { return scenes().find("/ann/notes\n") != std::string::npos; })) << scenes();
    ASSERT_EQ(activate("quit").exitCode, 0);
    const auto ended = program->wait();
    EXPECT_EQ(ended.exitCode, 0);
    // The program says so when it refuses an archive of classes it does not know.
    EXPECT_THAT(ended.errors, Not(HasSubstr("continue-activity"))) << ended.errors;
}

}  // namespace
