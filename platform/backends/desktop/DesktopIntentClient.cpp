#include "platform/backends/desktop/DesktopIntentClient.hpp"

#include "platform/backends/desktop/ApplicationObjectPath.hpp"
#include "platform/kits/appintents/IntentWire.hpp"

#include <gio/gio.h>

#include <exception>
#include <array>
#include <functional>

namespace desktop {
namespace {

using appintents::fromWire;
using appintents::IntentTransportError;
using appintents::toWire;

int milliseconds(std::chrono::seconds bound) {
    return static_cast<int>(std::chrono::milliseconds(bound).count());
}

// Nothing ran: nobody had the name, or its owner had no such object, as an application that is
// ending has taken its actions off the bus already.
bool notDelivered(const GError* error) {
    return g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_SERVICE_UNKNOWN) ||
           g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_NAME_HAS_NO_OWNER) ||
           g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_METHOD) ||
           g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_OBJECT) ||
           g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_INTERFACE);
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
          objectPath_(applicationObjectPath(applicationId_)),
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
    // when it cannot be reached or started. A call that is `repeatable` (it changes nothing) is sent
    // again to a started application also when the one that had the name left without answering.
    std::string call(const char* method, GVariant* arguments, std::chrono::seconds bound, bool repeatable) {
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
            if (!started && (notDelivered(error) || (repeatable && g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_NO_REPLY)))) {
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
        throw IntentTransportError("no answer from " + applicationId_ + ": " + error->message);
    }

private:
    // What the wait for the name, and then for the started application, saw.
    struct Seen {
        bool known = false;  // whether the name has an owner
        bool owned = false;
        bool ended = false;
        bool waited = false;
        bool timedOut = false;
        std::string how;  // how the started application ended
    };

    void start() {
        GMainContext* context = g_main_context_new();
        g_main_context_push_thread_default(context);
        Seen seen;
        const guint watch = g_bus_watch_name_on_connection(
            bus_, applicationId_.c_str(), G_BUS_NAME_WATCHER_FLAGS_NONE,
            +[](GDBusConnection*, const gchar*, const gchar*, gpointer data) {
                static_cast<Seen*>(data)->known = static_cast<Seen*>(data)->owned = true;
            },
            +[](GDBusConnection*, const gchar*, gpointer data) {
                static_cast<Seen*>(data)->known = true;
                static_cast<Seen*>(data)->owned = false;
            },
            &seen, nullptr);
        std::exception_ptr failure;
        try {
            startIn(context, seen);
        } catch (...) {
            failure = std::current_exception();
        }
        g_bus_unwatch_name(watch);
        g_main_context_pop_thread_default(context);
        g_main_context_unref(context);
        if (failure) {
            std::rethrow_exception(failure);
        }
    }

    // Iterates the context until `done` holds or `bound` has passed; whether it holds.
    template <typename Done>
    static bool waitFor(GMainContext* context, Seen& seen, std::chrono::seconds bound, const Done& done) {
        seen.timedOut = false;
        GSource* timer = g_timeout_source_new_seconds(static_cast<guint>(bound.count()));
        g_source_set_callback(
            timer, +[](gpointer data) -> gboolean {
                static_cast<Seen*>(data)->timedOut = true;
                return G_SOURCE_REMOVE;
            },
            &seen, nullptr);
        g_source_attach(timer, context);
        while (!done() && !seen.timedOut) {
            g_main_context_iteration(context, TRUE);
        }
        g_source_destroy(timer);
        g_source_unref(timer);
        return done();
    }

    // An application that is ending is let go before another is started.
    void startIn(GMainContext* context, Seen& seen) {
        if (!waitFor(context, seen, endingBound, [&seen] { return seen.known && !seen.owned; })) {
            throw IntentTransportError(applicationId_ + " runs but offers no actions");
        }
        const std::array<const gchar*, 3> argv{executable_.c_str(), "--gapplication-service", nullptr};
        g_autoptr(GError) error = nullptr;
        // Its output goes nowhere: it outlives the runner, and would keep whoever reads the runner's
        // streams waiting for their end.
        g_autoptr(GSubprocess) child = g_subprocess_newv(
            argv.data(), static_cast<GSubprocessFlags>(G_SUBPROCESS_FLAGS_STDOUT_SILENCE | G_SUBPROCESS_FLAGS_STDERR_SILENCE), &error);
        if (child == nullptr) {
            throw IntentTransportError("cannot start " + executable_ + ": " + error->message);
        }
        g_autoptr(GCancellable) stopWaiting = g_cancellable_new();
        g_subprocess_wait_async(
            child, stopWaiting,
            +[](GObject* source, GAsyncResult* result, gpointer data) {
                auto* waiting = static_cast<Seen*>(data);
                waiting->waited = true;
                auto* ended = G_SUBPROCESS(source);
                if (g_subprocess_wait_finish(ended, result, nullptr) != FALSE) {
                    waiting->ended = true;
                    waiting->how = g_subprocess_get_if_exited(ended) != FALSE
                                       ? "ended with the status " + std::to_string(g_subprocess_get_exit_status(ended))
                                       : "was killed by the signal " + std::to_string(g_subprocess_get_term_sig(ended));
                }
            },
            &seen);
        const bool cameOrEnded = waitFor(context, seen, startBound, [&seen] { return seen.owned || seen.ended; });
        if (!cameOrEnded) {
            g_subprocess_force_exit(child);
        }
        // The wait ends, cancelled or not, before `seen` goes.
        g_cancellable_cancel(stopWaiting);
        while (!seen.waited) {
            g_main_context_iteration(context, TRUE);
        }
        if (seen.owned) {
            return;
        }
        if (cameOrEnded) {
            throw IntentTransportError(executable_ + " " + seen.how + " before it was on the bus as " + applicationId_);
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
        [&] { return connection_->call("Intents", g_variant_new("()"), answerBound, true); });
}

std::string DesktopIntentClient::summary(const std::string& title, const appintents::IntentValues& values) {
    try {
        return connection_->call("Summary", texts(title, toWire(values)), answerBound, true);
    } catch (const Refusal& refusal) {
        rethrow(refusal);
    }
}

std::vector<appintents::DisplayRepresentation> DesktopIntentClient::predictions(const std::string& title,
                                                                                const appintents::IntentValues& values) {
    return answered<std::vector<appintents::DisplayRepresentation>>(
        [&] { return connection_->call("Predictions", texts(title, toWire(values)), answerBound, true); });
}

std::vector<appintents::EntityValue> DesktopIntentClient::entities(const std::string& typeName,
                                                                   const std::vector<std::string>& identifiers) {
    return answered<std::vector<appintents::EntityValue>>(
        [&] { return connection_->call("Entities", texts(typeName, toWire(identifiers)), answerBound, true); });
}

appintents::EntityCollection DesktopIntentClient::suggestedEntities(const std::string& typeName) {
    return answered<appintents::EntityCollection>(
        [&] { return connection_->call("SuggestedEntities", g_variant_new("(s)", typeName.c_str()), answerBound, true); });
}

appintents::EntityCollection DesktopIntentClient::entitiesMatching(const std::string& typeName, const std::string& text) {
    return answered<appintents::EntityCollection>(
        [&] { return connection_->call("EntitiesMatching", texts(typeName, text), answerBound, true); });
}

appintents::IntentResult DesktopIntentClient::perform(const std::string& title, const appintents::IntentValues& values) {
    std::string result;
    try {
        result = connection_->call("Perform", texts(title, toWire(values)), performBound, false);
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
