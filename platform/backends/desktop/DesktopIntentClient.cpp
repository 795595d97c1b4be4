#include "platform/backends/desktop/DesktopIntentClient.hpp"

#include "platform/kits/appintents/IntentWire.hpp"

#include <gio/gio.h>

#include <algorithm>
#include <array>
#include <functional>

namespace desktop {
namespace {

using appintents::fromWire;
using appintents::IntentTransportError;
using appintents::toWire;

// The object path GApplication exports an application id at.
std::string objectPathOf(const std::string& applicationId) {
    std::string path = "/" + applicationId;
    std::replace(path.begin(), path.end(), '.', '/');
    std::replace(path.begin(), path.end(), '-', '_');
    return path;
}

int milliseconds(std::chrono::seconds bound) {
    return static_cast<int>(std::chrono::milliseconds(bound).count());
}

// The application refused a call: the kind of refusal (the last part of the error's name) and the
// text for the user.
struct Refusal {
    std::string kind;
    std::string message;
};

}  // namespace

class DesktopIntentClient::Connection {
public:
    Connection(std::string applicationId, std::string executable)
        : applicationId_(std::move(applicationId)),
          executable_(std::move(executable)),
          objectPath_(objectPathOf(applicationId_)),
          interface_(applicationId_ + ".AppIntents") {
        g_autoptr(GError) error = nullptr;
        bus_ = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
        if (bus_ == nullptr) {
            throw IntentTransportError("cannot reach the session bus: " + std::string(error->message));
        }
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() { g_object_unref(bus_); }

    // The method's JSON answer. Throws Refusal for the application's refusal, IntentTransportError
    // when it cannot be reached or started.
    std::string call(const char* method, GVariant* arguments, std::chrono::seconds bound) {
        g_autoptr(GVariant) kept = g_variant_ref_sink(arguments);
        for (bool started = false;; started = true) {
            g_autoptr(GError) error = nullptr;
            g_autoptr(GVariant) reply = g_dbus_connection_call_sync(
                bus_, applicationId_.c_str(), objectPath_.c_str(), interface_.c_str(), method, kept,
                G_VARIANT_TYPE("(s)"), G_DBUS_CALL_FLAGS_NO_AUTO_START, milliseconds(bound), nullptr, &error);
            if (reply != nullptr) {
                const gchar* json = nullptr;
                g_variant_get(reply, "(&s)", &json);
                return json;
            }
            const bool nobodyThere = g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_SERVICE_UNKNOWN) ||
                                     g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_NAME_HAS_NO_OWNER);
            if (nobodyThere && !started) {
                start();
                continue;
            }
            refused(error);
        }
    }

    [[noreturn]] void refused(GError* error) const {
        g_autofree gchar* name = g_dbus_error_get_remote_error(error);
        const std::string prefix = interface_ + ".";
        if (name != nullptr && std::string_view(name).starts_with(prefix)) {
            g_dbus_error_strip_remote_error(error);
            throw Refusal{std::string(name).substr(prefix.size()), error->message};
        }
        if (g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_METHOD) ||
            g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_OBJECT) ||
            g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_INTERFACE)) {
            throw IntentTransportError(applicationId_ + " runs but offers no actions");
        }
        throw IntentTransportError("no answer from " + applicationId_ + ": " + error->message);
    }

private:
    // What the wait for the started application saw.
    struct Start {
        bool appeared = false;
        bool ended = false;
        bool waited = false;
        bool timedOut = false;
        int status = 0;
    };

    void start() {
        GMainContext* context = g_main_context_new();
        g_main_context_push_thread_default(context);
        try {
            startIn(context);
        } catch (...) {
            g_main_context_pop_thread_default(context);
            g_main_context_unref(context);
            throw;
        }
        g_main_context_pop_thread_default(context);
        g_main_context_unref(context);
    }

    void startIn(GMainContext* context) {
        const std::array<const gchar*, 3> argv{executable_.c_str(), "--gapplication-service", nullptr};
        g_autoptr(GError) error = nullptr;
        // Its output goes nowhere: it outlives the runner, and would keep whoever reads the runner's
        // streams waiting for their end.
        g_autoptr(GSubprocess) child = g_subprocess_newv(
            argv.data(), static_cast<GSubprocessFlags>(G_SUBPROCESS_FLAGS_STDOUT_SILENCE | G_SUBPROCESS_FLAGS_STDERR_SILENCE), &error);
        if (child == nullptr) {
            throw IntentTransportError("cannot start " + executable_ + ": " + error->message);
        }
        Start seen;
        const guint watch = g_bus_watch_name_on_connection(
            bus_, applicationId_.c_str(), G_BUS_NAME_WATCHER_FLAGS_NONE,
            +[](GDBusConnection*, const gchar*, const gchar*, gpointer data) { static_cast<Start*>(data)->appeared = true; },
            nullptr, &seen, nullptr);
        g_autoptr(GCancellable) stopWaiting = g_cancellable_new();
        g_subprocess_wait_async(
            child, stopWaiting,
            +[](GObject* source, GAsyncResult* result, gpointer data) {
                auto* waiting = static_cast<Start*>(data);
                waiting->waited = true;
                if (g_subprocess_wait_finish(G_SUBPROCESS(source), result, nullptr) != FALSE) {
                    waiting->ended = true;
                    waiting->status = g_subprocess_get_exit_status(G_SUBPROCESS(source));
                }
            },
            &seen);
        GSource* bound = g_timeout_source_new_seconds(static_cast<guint>(startBound.count()));
        g_source_set_callback(
            bound, +[](gpointer data) -> gboolean {
                static_cast<Start*>(data)->timedOut = true;
                return G_SOURCE_REMOVE;
            },
            &seen, nullptr);
        g_source_attach(bound, context);
        while (!seen.appeared && !seen.ended && !seen.timedOut) {
            g_main_context_iteration(context, TRUE);
        }
        g_source_destroy(bound);
        g_source_unref(bound);
        g_bus_unwatch_name(watch);
        if (seen.timedOut && !seen.appeared) {
            g_subprocess_force_exit(child);
        }
        // The wait ends, cancelled or not, before `seen` goes.
        g_cancellable_cancel(stopWaiting);
        while (!seen.waited) {
            g_main_context_iteration(context, TRUE);
        }
        if (seen.appeared) {
            return;
        }
        if (seen.ended) {
            throw IntentTransportError(executable_ + " ended with the status " + std::to_string(seen.status) +
                                       " before it was on the bus as " + applicationId_);
        }
        throw IntentTransportError(executable_ + " was not on the bus as " + applicationId_ + " within " +
                                   std::to_string(startBound.count()) + " s");
    }

    std::string applicationId_;
    std::string executable_;
    std::string objectPath_;
    std::string interface_;
    GDBusConnection* bus_ = nullptr;
};

namespace {

// The client's error for a refusal of the application, but a missing parameter's.
[[noreturn]] void rethrow(const Refusal& refusal) {
    if (refusal.kind == "Failed") {
        throw appintents::IntentFailure(refusal.message);
    }
    if (refusal.kind == "BadRequest") {
        throw std::invalid_argument(refusal.message);
    }
    throw IntentTransportError("the application refused the call (" + refusal.kind + "): " + refusal.message);
}

GVariant* texts(const std::string& one, const std::string& other) {
    return g_variant_new("(ss)", one.c_str(), other.c_str());
}

}  // namespace

DesktopIntentClient::DesktopIntentClient(std::string applicationId, std::string executable)
    : connection_(std::make_unique<Connection>(std::move(applicationId), std::move(executable))) {}

DesktopIntentClient::~DesktopIntentClient() = default;

namespace {

template <typename T>
T answered(const std::function<std::string()>& call) {
    try {
        return fromWire<T>(call());
    } catch (const Refusal& refusal) {
        rethrow(refusal);
    } catch (const appintents::IntentWireError& error) {
        throw IntentTransportError("the application's answer cannot be read: " + std::string(error.what()));
    }
}

}  // namespace

std::vector<appintents::IntentDescription> DesktopIntentClient::intents() {
    return answered<std::vector<appintents::IntentDescription>>(
        [&] { return connection_->call("Intents", g_variant_new("()"), answerBound); });
}

std::string DesktopIntentClient::summary(const std::string& title, const appintents::IntentValues& values) {
    try {
        return connection_->call("Summary", texts(title, toWire(values)), answerBound);
    } catch (const Refusal& refusal) {
        rethrow(refusal);
    }
}

std::vector<appintents::DisplayRepresentation> DesktopIntentClient::predictions(const std::string& title,
                                                                                const appintents::IntentValues& values) {
    return answered<std::vector<appintents::DisplayRepresentation>>(
        [&] { return connection_->call("Predictions", texts(title, toWire(values)), answerBound); });
}

std::vector<appintents::EntityValue> DesktopIntentClient::entities(const std::string& typeName,
                                                                   const std::vector<std::string>& identifiers) {
    return answered<std::vector<appintents::EntityValue>>(
        [&] { return connection_->call("Entities", texts(typeName, toWire(identifiers)), answerBound); });
}

appintents::EntityCollection DesktopIntentClient::suggestedEntities(const std::string& typeName) {
    return answered<appintents::EntityCollection>(
        [&] { return connection_->call("SuggestedEntities", g_variant_new("(s)", typeName.c_str()), answerBound); });
}

appintents::EntityCollection DesktopIntentClient::entitiesMatching(const std::string& typeName, const std::string& text) {
    return answered<appintents::EntityCollection>(
        [&] { return connection_->call("EntitiesMatching", texts(typeName, text), answerBound); });
}

appintents::IntentResult DesktopIntentClient::perform(const std::string& title, const appintents::IntentValues& values) {
    std::string result;
    try {
        result = connection_->call("Perform", texts(title, toWire(values)), performBound);
    } catch (const Refusal& refusal) {
        if (refusal.kind == "MissingParameter") {
            throw missingParameter(title, refusal.message);
        }
        rethrow(refusal);
    }
    return answered<appintents::IntentResult>([&] { return result; });
}

// The parameter whose request the application's text is: the message says the parameter by its
// title and request dialog, as the catalogue words it.
appintents::MissingParameter DesktopIntentClient::missingParameter(const std::string& title, const std::string& message) {
    for (const auto& intent : intents()) {
        if (intent.metadata.title != title) {
            continue;
        }
        for (const auto& parameter : intent.parameters) {
            appintents::MissingParameter missing(title, parameter);
            if (missing.what() == message) {
                return missing;
            }
        }
    }
    throw IntentTransportError("the application asks for a value \"" + title + "\" does not take: " + message);
}

}  // namespace desktop
