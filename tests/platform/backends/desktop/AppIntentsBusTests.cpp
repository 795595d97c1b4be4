// The application's actions on the session bus, as a runner reaches them: the test is the runner,
// and this same program, started by the client with --gapplication-service, is the application
// with the actions of a notebook application. ctest runs it under Xvfb with a session bus of its
// own; the test watches the display for any window the application maps.
#include "platform/backends/desktop/DesktopApplication.hpp"
#include "platform/backends/desktop/DesktopBackend.hpp"
#include "platform/backends/desktop/DesktopIntentClient.hpp"
#include "platform/kits/appintents/IntentService.hpp"
#include "platform/kits/appkit/Application.hpp"
#include "platform/kits/ui/TextView.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/MappedWindows.hpp"
#include "tests/support/SampleIntents.hpp"
#include "tests/support/SessionProgram.hpp"

#include <gio/gio.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <cstring>
#include <filesystem>
#include <iostream>

namespace {

using namespace appintents;
using namespace std::chrono_literals;
using testing::ElementsAre;
using testing::HasSubstr;

constexpr const char* applicationId = "org.example.KestrovaIntentsTest";

// Far beyond the application's idle bound, for a machine under load.
constexpr std::chrono::milliseconds idleEndBound =
    std::chrono::milliseconds(desktop::DesktopApplication::serviceIdleBoundMilliseconds) + 60s;

std::string programPath;

class Page final : public ui::SceneContent {
public:
    ui::View body() override { return ui::View(ui::Text("Notebook")); }
};

ui::App notebooks() {
    ui::App app;
    app.identifier = applicationId;
    app.name = "Notebooks";
    app.version = "1.0";
    app.windowGroup.content = [](const std::map<std::string, std::string>&) { return std::make_unique<Page>(); };
    app.windowGroup.minimumSize = {240, 200};
    app.windowGroup.idealSize = {400, 300};
    app.commands = [] { return std::vector<ui::CommandGroup>{}; };
    return app;
}

EntityValue notebook(const std::string& identifier, const std::string& title) {
    return {"Notebook", identifier, {title, std::nullopt}, {}};
}

class AppIntentsBusTest : public testing::Test {
protected:
    desktop::DesktopIntentClient client_{applicationId, programPath};
};

// First, on a session where the application has not run.
TEST_F(AppIntentsBusTest, TheFirstCallStartsTheApplicationWithoutAWindowAndItEndsWhenIdle) {
    testsupport::MappedWindows windows;
    ASSERT_FALSE(testsupport::ownerOf(applicationId));

    std::vector<std::string> titles;
    for (const auto& intent : client_.intents()) {
        titles.push_back(intent.metadata.title);
    }
    EXPECT_THAT(titles, ElementsAre("Write Page", "Tag Page", "Fail Loudly", "Show Notebook"));
    const auto served = testsupport::ownerOf(applicationId);
    ASSERT_TRUE(served);

    const auto result = client_.perform("Write Page", {{"notebook", notebook("7", "Workout")}, {"text", std::string("x")}});
    ASSERT_TRUE(result.value);
    EXPECT_EQ(result.value->display.title, "Page #345");
    EXPECT_EQ(result.value->property<std::int64_t>("notebookId"), 7);
    EXPECT_EQ(testsupport::ownerOf(applicationId), served) << "one application answers every call";

    EXPECT_TRUE(testsupport::waitUntilUnowned(applicationId, idleEndBound));
    EXPECT_TRUE(testsupport::waitForEnd(*served, idleEndBound));
    EXPECT_FALSE(windows.anyMapped());
}

TEST_F(AppIntentsBusTest, RefusalsComeBackAsTheActionsAndTheCatalogueMadeThem) {
    try {
        client_.perform("Fail Loudly", {});
        ADD_FAILURE() << "Fail Loudly succeeded";
    } catch (const IntentFailure& failure) {
        EXPECT_STREQ(failure.what(), "The notebook is closed.");
    }
    try {
        client_.perform("Write Page", {{"text", std::string("x")}});
        ADD_FAILURE() << "Write Page ran without a notebook";
    } catch (const MissingParameter& missing) {
        EXPECT_EQ(missing.parameter(), "notebook");
        EXPECT_EQ(missing.requestDialog(), "Which notebook?");
        EXPECT_STREQ(missing.what(), "\"Write Page\" needs a value for Notebook: Which notebook?");
    }
    EXPECT_THROW(client_.perform("Nope", {}), std::invalid_argument);
    EXPECT_THROW(client_.perform("Write Page", {{"notebook", std::string("7")}}), std::invalid_argument);
    EXPECT_THROW(static_cast<void>(client_.entities("Page", {"345"})), std::invalid_argument);

    // A caller that sends anything but the JSON of values.
    g_autoptr(GDBusConnection) bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    g_autoptr(GError) error = nullptr;
    g_autoptr(GVariant) reply = g_dbus_connection_call_sync(
        bus, applicationId, "/org/example/KestrovaIntentsTest", "org.example.KestrovaIntentsTest.AppIntents", "Perform",
        g_variant_new("(ss)", "Write Page", "{\"notebook\""), G_VARIANT_TYPE("(s)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr, &error);
    ASSERT_EQ(reply, nullptr);
    g_autofree gchar* name = g_dbus_error_get_remote_error(error);
    EXPECT_STREQ(name, "org.example.KestrovaIntentsTest.AppIntents.BadRequest");
    EXPECT_THAT(error->message, HasSubstr("not the JSON expected"));
}

TEST_F(AppIntentsBusTest, EntityQueriesSummariesAndPredictionsComeBack) {
    const auto found = client_.entities("Notebook", {"7", "99", "3"});
    EXPECT_EQ(found, (std::vector<EntityValue>{notebook("3", "Music"), notebook("7", "Workout")}));
    const auto suggested = client_.suggestedEntities("Notebook");
    ASSERT_EQ(suggested.size(), 2u);
    EXPECT_EQ(suggested[0].title, "Today");
    EXPECT_EQ(suggested[0].items, std::vector<EntityValue>{notebook("7", "Workout")});
    EXPECT_EQ(suggested[1].title, "Not Today");
    const auto matching = client_.entitiesMatching("Notebook", "work");
    ASSERT_EQ(matching.size(), 1u);
    EXPECT_EQ(matching[0].title, std::nullopt);
    EXPECT_EQ(matching[0].items.size(), 2u);

    EXPECT_EQ(client_.summary("Write Page", {{"text", std::string("Ran")}}), "Write Ran in [Notebook].");
    EXPECT_EQ(client_.predictions("Write Page", {{"text", std::string("Ran")}, {"notebook", notebook("3", "Music")}}),
              (std::vector<DisplayRepresentation>{{"Write Ran in Music", std::nullopt}}));
}

TEST(AppIntentsClientTest, AnApplicationThatCannotBeStartedOrEndsBeforeItIsOnTheBusIsATransportError) {
    const struct {
        const char* executable;
        const char* reason;
    } cases[] = {
        {"/nonexistent/notebooks", "cannot start /nonexistent/notebooks"},
        {"/bin/false", "/bin/false ended with the status 1 before it was on the bus as org.example.Nobody"},
    };
    for (const auto& each : cases) {
        desktop::DesktopIntentClient client("org.example.Nobody", each.executable);
        try {
            static_cast<void>(client.intents());
            ADD_FAILURE() << each.executable << " answered";
        } catch (const IntentTransportError& error) {
            EXPECT_THAT(error.what(), HasSubstr(each.reason));
        }
    }
}

TEST(AppIntentsClientTest, AProgramThatHasTheNameWithoutOfferingActionsIsATransportError) {
    g_autoptr(GDBusConnection) bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    bool owned = false;
    const guint name = g_bus_own_name_on_connection(
        bus, "org.example.Squatter", G_BUS_NAME_OWNER_FLAGS_NONE,
        +[](GDBusConnection*, const gchar*, gpointer data) { *static_cast<bool*>(data) = true; }, nullptr, &owned, nullptr);
    ASSERT_TRUE(testsupport::MainLoop::iterateUntil([&owned] { return owned; }));
    desktop::DesktopIntentClient client("org.example.Squatter", "/bin/false");
    try {
        static_cast<void>(client.intents());
        ADD_FAILURE() << "the squatter answered";
    } catch (const IntentTransportError& error) {
        EXPECT_STREQ(error.what(), "org.example.Squatter runs but offers no actions");
    }
    g_bus_unown_name(name);
}

// Last: the window keeps the application running until the test ends it.
TEST_F(AppIntentsBusTest, AnActionThatOpensTheApplicationMapsAWindow) {
    testsupport::MappedWindows windows;
    EXPECT_FALSE(client_.perform("Show Notebook", {}).value);
    EXPECT_TRUE(windows.waitForOne(30s));
    if (const auto served = testsupport::ownerOf(applicationId)) {
        kill(*served, SIGTERM);
        EXPECT_TRUE(testsupport::waitForEnd(*served, 30s));
    }
}

}  // namespace

int main(int argc, char** argv) {
    programPath = std::filesystem::canonical("/proc/self/exe").string();
    const bool served = std::any_of(argv, argv + argc, [](const char* each) {
        return std::strcmp(each, "--gapplication-service") == 0;
    });
    if (served) {
        try {
            desktop::installAll(desktop::ApplicationIdentity{applicationId, "notebooks"});
        } catch (const std::exception& error) {
            std::cerr << error.what() << '\n';
            return 1;
        }
        static IntentCatalogue catalogue;
        testsupport::addSampleIntents(catalogue);
        IntentService::installed().serve(catalogue);
        return appkit::Application::shared().run(notebooks(), argc, argv);
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
