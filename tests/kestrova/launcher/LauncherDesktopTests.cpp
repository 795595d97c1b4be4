// The installed kestrova, the launcher, on a display and a session bus of their own: a second launch is
// handed to the running instance exactly as the application's own program hands it (the same call with
// the same URIs and platform data), while the launcher has loaded neither the toolkit nor the web
// engine; any other launch becomes the application's program, with its arguments and environment.
#include "tests/support/ApplicationSandbox.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/ScratchDirectory.hpp"
#include "tests/support/SessionProgram.hpp"

#include <gio/gio.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::HasSubstr;
using testing::Not;
using testsupport::MainLoop;

constexpr const char* applicationId = KESTROVA_APPLICATION_ID;
constexpr auto bound = 60s;

std::string objectPath() {
    std::string path = "/" + std::string(applicationId);
    std::replace(path.begin(), path.end(), '.', '/');
    return path;
}

std::string readWhole(const fs::path& file) {
    std::ifstream stream(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

// A call that reached the running instance, its parameters in GVariant text.
struct Call {
    std::string method;
    std::string parameters;
    bool operator==(const Call&) const = default;
};
std::ostream& operator<<(std::ostream& stream, const Call& call) {
    return stream << call.method << call.parameters;
}

// A started program whose outcome the main loop collects, so that the instance in this process answers
// it meanwhile.
class Launch {
public:
    struct Outcome {
        int exitStatus = -1;
        std::string output;
        std::string errors;
    };

    Launch(const std::vector<std::string>& arguments, const std::vector<std::pair<std::string, std::string>>& environment) {
        g_autoptr(GSubprocessLauncher) launcher = g_subprocess_launcher_new(
            static_cast<GSubprocessFlags>(G_SUBPROCESS_FLAGS_STDOUT_PIPE | G_SUBPROCESS_FLAGS_STDERR_PIPE));
        for (const auto& [name, value] : environment) {
            g_subprocess_launcher_setenv(launcher, name.c_str(), value.c_str(), TRUE);
        }
        std::vector<const gchar*> argv;
        for (const auto& argument : arguments) {
            argv.push_back(argument.c_str());
        }
        argv.push_back(nullptr);
        g_autoptr(GError) error = nullptr;
        process_ = g_subprocess_launcher_spawnv(launcher, argv.data(), &error);
        if (process_ == nullptr) {
            ADD_FAILURE() << arguments.front() << ": " << error->message;
            return;
        }
        pid_ = std::stoi(g_subprocess_get_identifier(process_));
        g_subprocess_communicate_utf8_async(
            process_, nullptr, nullptr,
            +[](GObject* source, GAsyncResult* result, gpointer data) {
                auto* self = static_cast<Launch*>(data);
                gchar* output = nullptr;
                gchar* errors = nullptr;
                g_subprocess_communicate_utf8_finish(G_SUBPROCESS(source), result, &output, &errors, nullptr);
                self->outcome_.output = output != nullptr ? output : "";
                self->outcome_.errors = errors != nullptr ? errors : "";
                g_free(output);
                g_free(errors);
                g_subprocess_wait_async(
                    G_SUBPROCESS(source), nullptr,
                    +[](GObject* process, GAsyncResult* waited, gpointer launch) {
                        auto* ended = static_cast<Launch*>(launch);
                        g_subprocess_wait_finish(G_SUBPROCESS(process), waited, nullptr);
                        ended->outcome_.exitStatus = g_subprocess_get_if_exited(G_SUBPROCESS(process))
                                                         ? g_subprocess_get_exit_status(G_SUBPROCESS(process))
                                                         : -1;
                        ended->ended_ = true;
                    },
                    self);
            },
            this);
    }
    ~Launch() {
        if (process_ != nullptr && !ended_) {
            g_subprocess_force_exit(process_);
            MainLoop::iterateUntil([this] { return ended_; }, bound);
        }
        g_clear_object(&process_);
    }
    Launch(const Launch&) = delete;
    Launch& operator=(const Launch&) = delete;

    [[nodiscard]] pid_t pid() const noexcept { return pid_; }

    Outcome outcome() {
        EXPECT_TRUE(MainLoop::iterateUntil([this] { return ended_; }, bound)) << "the program did not end";
        return outcome_;
    }

    static Outcome run(const std::vector<std::string>& arguments,
                       const std::vector<std::pair<std::string, std::string>>& environment = {}) {
        return Launch(arguments, environment).outcome();
    }

private:
    GSubprocess* process_ = nullptr;
    pid_t pid_ = -1;
    Outcome outcome_;
    bool ended_ = false;
};

// Plays the application's running instance: owns its id and serves what GApplication serves a remote
// instance (its actions, none here, and the launch calls), keeping every launch call, or refusing it.
// While a call waits for its answer it reads which libraries the calling program has mapped.
class RecordedInstance {
public:
    explicit RecordedInstance(std::optional<std::string> refusal = std::nullopt) : refusal_(std::move(refusal)) {
        bus_ = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
        node_ = g_dbus_node_info_new_for_xml(R"(<node>
              <interface name="org.gtk.Application">
                <method name="Activate"><arg type="a{sv}" direction="in"/></method>
                <method name="Open">
                  <arg type="as" direction="in"/><arg type="s" direction="in"/><arg type="a{sv}" direction="in"/>
                </method>
                <method name="CommandLine">
                  <arg type="o" direction="in"/><arg type="aay" direction="in"/><arg type="a{sv}" direction="in"/>
                  <arg type="i" direction="out"/>
                </method>
              </interface>
              <interface name="org.gtk.Actions">
                <method name="DescribeAll"><arg type="a{s(bgav)}" direction="out"/></method>
              </interface>
            </node>)",
                                             nullptr);
        static const GDBusInterfaceVTable vtable{
            +[](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method, GVariant* parameters,
                GDBusMethodInvocation* invocation, gpointer self) {
                static_cast<RecordedInstance*>(self)->answer(method, parameters, invocation);
            },
            nullptr, nullptr, {}};
        for (int index = 0; index < 2; ++index) {
            registrations_.push_back(g_dbus_connection_register_object(bus_, objectPath().c_str(), node_->interfaces[index],
                                                                       &vtable, this, nullptr, nullptr));
        }
        g_autoptr(GVariant) owned = g_dbus_connection_call_sync(
            bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
            g_variant_new("(su)", applicationId, 4u /* do not queue */), G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE,
            -1, nullptr, nullptr);
        guint32 result = 0;
        if (owned != nullptr) {
            g_variant_get(owned, "(u)", &result);
        }
        EXPECT_EQ(result, 1u) << "the test could not take " << applicationId;
    }
    ~RecordedInstance() {
        if (GVariant* released = g_dbus_connection_call_sync(
                bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "ReleaseName",
                g_variant_new("(s)", applicationId), nullptr, G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr)) {
            g_variant_unref(released);
        }
        for (const guint registration : registrations_) {
            g_dbus_connection_unregister_object(bus_, registration);
        }
        g_dbus_node_info_unref(node_);
        g_object_unref(bus_);
    }
    RecordedInstance(const RecordedInstance&) = delete;
    RecordedInstance& operator=(const RecordedInstance&) = delete;

    // The libraries that `program` has mapped while its next launch call is answered.
    void watch(pid_t program) { watched_ = program; }
    [[nodiscard]] const std::string& mappedByCaller() const noexcept { return mappedByCaller_; }

    // Runs the main loop until a launch call has come, and takes it.
    std::optional<Call> nextCall() {
        if (!MainLoop::iterateUntil([this] { return !calls_.empty(); }, bound)) {
            return std::nullopt;
        }
        Call call = calls_.front();
        calls_.erase(calls_.begin());
        return call;
    }

private:
    void answer(const std::string& method, GVariant* parameters, GDBusMethodInvocation* invocation) {
        if (method == "DescribeAll") {
            g_dbus_method_invocation_return_value(invocation, g_variant_new("(@a{s(bgav)})", g_variant_new_array(
                                                                                  G_VARIANT_TYPE("{s(bgav)}"), nullptr, 0)));
            return;
        }
        g_autofree gchar* text = g_variant_print(parameters, TRUE);
        calls_.push_back({method, text});
        if (watched_ > 0) {
            mappedByCaller_ = readWhole("/proc/" + std::to_string(watched_) + "/maps");
        }
        if (refusal_) {
            g_dbus_method_invocation_return_dbus_error(invocation, "org.example.Error.Refused", refusal_->c_str());
        } else {
            g_dbus_method_invocation_return_value(invocation, nullptr);
        }
    }

    std::optional<std::string> refusal_;
    GDBusConnection* bus_ = nullptr;
    GDBusNodeInfo* node_ = nullptr;
    std::vector<guint> registrations_;
    std::vector<Call> calls_;
    pid_t watched_ = -1;
    std::string mappedByCaller_;
};

// The application that a launch becomes loads its start page through the proxy, from the loopback server.
class LauncherDesktopTest : public testing::Test, protected testsupport::ApplicationSandbox {
protected:
    LauncherDesktopTest() {
        // Relative paths on a command line are read against the working directory.
        environment.set("PWD", scratch.path().string());
        fs::current_path(scratch.path());
    }
    ~LauncherDesktopTest() override { fs::current_path(startedIn); }

    const fs::path startedIn = fs::current_path();
};

// Libraries of the toolkit, the web engine and the application's storage and transfers.
const std::vector<std::string> heavyLibraries{"libgtk-3", "libgdk-3", "libwebkit2gtk", "libjavascriptcoregtk", "libsqlite3",
                                              "libcurl"};

TEST_F(LauncherDesktopTest, HandsASecondLaunchOverAsTheApplicationDoesWithoutLoadingTheToolkit) {
    const std::string link = "kestrova:///open?url=https%3A%2F%2Fkestrova.example%2Fann";
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        std::vector<std::pair<std::string, std::string>> environment;
    };
    const std::vector<Case> cases{
        {"a link", {link}, {}},
        {"nothing: an activation, with the startup notification id", {}, {{"DESKTOP_STARTUP_ID", "launcher-test_TIME1"}}},
        {"a link and a relative path, with the startup notification id",
         {link, "notes/today.txt"},
         {{"DESKTOP_STARTUP_ID", "launcher-test_TIME2"}}},
        {"an empty startup notification id", {link}, {{"DESKTOP_STARTUP_ID", ""}}},
        {"a startup notification id that is no UTF-8", {link}, {{"DESKTOP_STARTUP_ID", "id-\xff\xfe"}}},
    };
    RecordedInstance instance;
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        std::vector<std::string> byApplication{KESTROVA_APPLICATION_PROGRAM};
        byApplication.insert(byApplication.end(), test.arguments.begin(), test.arguments.end());
        const auto applicationOutcome = Launch::run(byApplication, test.environment);
        EXPECT_EQ(applicationOutcome.exitStatus, 0) << applicationOutcome.errors;
        const auto expected = instance.nextCall();
        ASSERT_TRUE(expected) << "the application's program handed nothing over";

        std::vector<std::string> byLauncher{KESTROVA_PROGRAM};
        byLauncher.insert(byLauncher.end(), test.arguments.begin(), test.arguments.end());
        Launch launcher(byLauncher, test.environment);
        instance.watch(launcher.pid());
        const auto launcherOutcome = launcher.outcome();
        EXPECT_EQ(launcherOutcome.exitStatus, 0) << launcherOutcome.errors;
        EXPECT_EQ(instance.nextCall(), expected);

        EXPECT_THAT(instance.mappedByCaller(), HasSubstr("libgio-2.0"));
        for (const auto& library : heavyLibraries) {
            EXPECT_THAT(instance.mappedByCaller(), Not(HasSubstr(library)));
        }
        instance.watch(-1);
    }
}

TEST_F(LauncherDesktopTest, AnInstanceThatRefusesTheLaunchFailsItWithItsReason) {
    RecordedInstance instance("the window is gone");
    const auto outcome = Launch::run({KESTROVA_PROGRAM, "kestrova:///open?url=https%3A%2F%2Fkestrova.example%2Fann"});
    EXPECT_EQ(outcome.exitStatus, 1);
    EXPECT_THAT(outcome.errors, HasSubstr("kestrova: the running instance of " + std::string(applicationId) +
                                          " did not take the launch: "));
    EXPECT_THAT(outcome.errors, HasSubstr("the window is gone"));
}

// Options are the application's to read: its help and its refusal of an unknown one come from its
// program, word for word.
TEST_F(LauncherDesktopTest, ACommandLineWithOptionsIsTheApplicationsOwn) {
    for (const char* option : {"--help", "--help-all", "--no-such-option"}) {
        SCOPED_TRACE(option);
        const auto expected = Launch::run({KESTROVA_APPLICATION_PROGRAM, option});
        const auto outcome = Launch::run({KESTROVA_PROGRAM, option});
        EXPECT_EQ(outcome.exitStatus, expected.exitStatus);
        EXPECT_EQ(outcome.output, expected.output);
        EXPECT_EQ(outcome.errors, expected.errors);
    }
}

// Without a running instance the launcher becomes the application's program itself, in the same
// process, with the command line and the environment it was given; that program then takes the id.
TEST_F(LauncherDesktopTest, WithoutARunningInstanceALaunchBecomesTheApplication) {
    const std::vector<std::vector<std::string>> commandLines{
        {KESTROVA_PROGRAM, "kestrova:///open?url=https%3A%2F%2Fkestrova.example%2Fann"},
        {KESTROVA_PROGRAM, "--gapplication-service"},
    };
    server.reply("GET", "https://kestrova.example/ann",
                 {.status = 200, .headers = {{"Content-Type", "text/html"}}, .body = "<title>page</title>"});
    for (const auto& commandLine : commandLines) {
        SCOPED_TRACE(commandLine.back());
        ASSERT_FALSE(testsupport::ownerOf(applicationId));
        bool owned = false;
        const guint watch = g_bus_watch_name(
            G_BUS_TYPE_SESSION, applicationId, G_BUS_NAME_WATCHER_FLAGS_NONE,
            +[](GDBusConnection*, const gchar*, const gchar*, gpointer flag) { *static_cast<bool*>(flag) = true; }, nullptr,
            &owned, nullptr);
        Launch launch(commandLine, {{"KESTROVA_LAUNCHER_TEST", "kept"}});
        EXPECT_TRUE(MainLoop::iterateUntil([&owned] { return owned; }, bound)) << "nobody took " << applicationId;
        g_bus_unwatch_name(watch);
        EXPECT_EQ(testsupport::ownerOf(applicationId), launch.pid());

        const fs::path process = "/proc/" + std::to_string(launch.pid());
        EXPECT_EQ(fs::canonical(process / "exe"), fs::canonical(KESTROVA_APPLICATION_PROGRAM));
        std::string expectedCommandLine;
        for (const auto& argument : commandLine) {
            expectedCommandLine += argument + '\0';
        }
        EXPECT_EQ(readWhole(process / "cmdline"), expectedCommandLine);
        EXPECT_THAT(readWhole(process / "environ"), HasSubstr(std::string("\0KESTROVA_LAUNCHER_TEST=kept\0", 29)));

        g_autoptr(GDBusConnection) bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
        g_autoptr(GVariant) quit = g_dbus_connection_call_sync(
            bus, applicationId, objectPath().c_str(), "org.gtk.Actions", "Activate",
            g_variant_new_parsed("('quit', @av [], @a{sv} {})"), nullptr, G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
        EXPECT_NE(quit, nullptr);
        const auto outcome = launch.outcome();
        EXPECT_EQ(outcome.exitStatus, 0) << outcome.errors;
        EXPECT_TRUE(testsupport::waitUntilUnowned(applicationId, bound));
    }
}

}  // namespace
