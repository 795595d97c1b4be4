#include "platform/backends/desktop/DesktopIntentService.hpp"

#include "platform/kits/appintents/IntentWire.hpp"
#include "platform/kits/appkit/ApplicationService.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"

#include <gio/gio.h>

#include <exception>
#include <utility>

namespace desktop {
namespace {

using appintents::fromWire;
using appintents::toWire;

std::string introspection(const std::string& interface) {
    return "<node><interface name='" + interface +
           "'>"
           "<method name='Intents'><arg type='s' name='intents' direction='out'/></method>"
           "<method name='Summary'><arg type='s' name='title' direction='in'/><arg type='s' name='values' direction='in'/>"
           "<arg type='s' name='summary' direction='out'/></method>"
           "<method name='Predictions'><arg type='s' name='title' direction='in'/><arg type='s' name='values' direction='in'/>"
           "<arg type='s' name='displays' direction='out'/></method>"
           "<method name='Entities'><arg type='s' name='type' direction='in'/><arg type='s' name='identifiers' direction='in'/>"
           "<arg type='s' name='entities' direction='out'/></method>"
           "<method name='SuggestedEntities'><arg type='s' name='type' direction='in'/>"
           "<arg type='s' name='sections' direction='out'/></method>"
           "<method name='EntitiesMatching'><arg type='s' name='type' direction='in'/><arg type='s' name='text' direction='in'/>"
           "<arg type='s' name='sections' direction='out'/></method>"
           "<method name='Perform'><arg type='s' name='title' direction='in'/><arg type='s' name='values' direction='in'/>"
           "<arg type='s' name='result' direction='out'/></method>"
           "</interface></node>";
}

// One call being answered: holds the application until its reply has gone.
class Call {
public:
    Call(GApplication* application, GDBusMethodInvocation* invocation, std::string interface)
        : application_(G_APPLICATION(g_object_ref(application))),
          invocation_(G_DBUS_METHOD_INVOCATION(g_object_ref(invocation))),
          interface_(std::move(interface)) {
        g_application_hold(application_);
    }
    Call(Call&& other) noexcept
        : application_(std::exchange(other.application_, nullptr)),
          invocation_(std::exchange(other.invocation_, nullptr)),
          interface_(std::move(other.interface_)) {}
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;
    Call& operator=(Call&&) = delete;
    ~Call() {
        if (invocation_ != nullptr) {
            fail("Failed", "the application ended the call without an answer");
        }
        if (application_ != nullptr) {
            g_application_release(application_);
            g_object_unref(application_);
        }
    }

    void answer(const std::string& json) {
        g_dbus_method_invocation_return_value(std::exchange(invocation_, nullptr), g_variant_new("(s)", json.c_str()));
    }

    // The error the exception stands for, by the kind of refusal it is.
    void refuse(const std::exception_ptr& error) {
        try {
            std::rethrow_exception(error);
        } catch (const appintents::MissingParameter& missing) {
            fail("MissingParameter", missing.what());
        } catch (const appintents::IntentWireError& malformed) {
            fail("BadRequest", malformed.what());
        } catch (const std::invalid_argument& unknown) {
            fail("BadRequest", unknown.what());
        } catch (const std::exception& failure) {
            fail("Failed", failure.what());
        } catch (...) {
            fail("Failed", "the action failed for an unknown reason");
        }
    }

private:
    void fail(const char* name, const char* message) {
        if (invocation_ == nullptr) {
            return;
        }
        const std::string error = interface_ + "." + name;
        // Takes the invocation's reference.
        g_dbus_method_invocation_return_dbus_error(std::exchange(invocation_, nullptr), error.c_str(), message);
    }

    GApplication* application_;
    GDBusMethodInvocation* invocation_;
    std::string interface_;
};

template <typename T>
concurrency::Task<std::string> wired(concurrency::Task<T> task) {
    co_return toWire(co_await std::move(task));
}

concurrency::Task<std::string> ready(std::string json) {
    co_return json;
}

concurrency::Task<void> answerWhenDone(Call call, concurrency::Task<std::string> reply) {
    std::exception_ptr failure;
    try {
        call.answer(co_await std::move(reply));
    } catch (...) {
        failure = std::current_exception();
    }
    if (failure) {
        call.refuse(failure);
    }
}

std::string argument(GVariant* parameters, gsize index) {
    g_autoptr(GVariant) child = g_variant_get_child_value(parameters, index);
    return g_variant_get_string(child, nullptr);
}

}  // namespace

class DesktopIntentService::Export {
public:
    Export(GApplication* application, GDBusConnection* connection, appintents::IntentCatalogue& catalogue)
        : application_(application),
          connection_(G_DBUS_CONNECTION(g_object_ref(connection))),
          catalogue_(catalogue),
          interface_(std::string(g_application_get_application_id(application)) + ".AppIntents") {}
    Export(const Export&) = delete;
    Export& operator=(const Export&) = delete;
    ~Export() {
        if (registration_ != 0) {
            g_dbus_connection_unregister_object(connection_, registration_);
        }
        g_object_unref(connection_);
    }

    bool start(const char* objectPath, GError** error) {
        g_autoptr(GDBusNodeInfo) node = g_dbus_node_info_new_for_xml(introspection(interface_).c_str(), error);
        if (node == nullptr) {
            return false;
        }
        static const GDBusInterfaceVTable vtable{
            +[](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method, GVariant* parameters,
                GDBusMethodInvocation* invocation, gpointer self) {
                static_cast<Export*>(self)->handle(method, parameters, invocation);
            },
            nullptr,
            nullptr,
            {}};
        registration_ = g_dbus_connection_register_object(connection_, objectPath, node->interfaces[0], &vtable, this,
                                                          nullptr, error);
        return registration_ != 0;
    }

private:
    void handle(const std::string& method, GVariant* parameters, GDBusMethodInvocation* invocation) {
        Call call(application_, invocation, interface_);
        try {
            auto answer = reply(method, parameters);
            // The reply goes when the task has ended; the call holds the application until then.
            static_cast<void>(concurrency::spawn(concurrency::MainActor::shared(),
                                                 answerWhenDone(std::move(call), std::move(answer))));
        } catch (...) {
            call.refuse(std::current_exception());
        }
    }

    // What answers the method; a request that cannot be read throws before anything runs.
    concurrency::Task<std::string> reply(const std::string& method, GVariant* parameters) {
        using appintents::IntentValues;
        if (method == "Intents") {
            return ready(toWire(catalogue_.intents()));
        }
        if (method == "Summary") {
            return ready(catalogue_.summary(argument(parameters, 0), fromWire<IntentValues>(argument(parameters, 1))));
        }
        if (method == "Predictions") {
            return ready(toWire(catalogue_.predictions(argument(parameters, 0), fromWire<IntentValues>(argument(parameters, 1)))));
        }
        if (method == "Entities") {
            return wired(catalogue_.entities(argument(parameters, 0), fromWire<std::vector<std::string>>(argument(parameters, 1))));
        }
        if (method == "SuggestedEntities") {
            return wired(catalogue_.suggestedEntities(argument(parameters, 0)));
        }
        if (method == "EntitiesMatching") {
            return wired(catalogue_.entitiesMatching(argument(parameters, 0), argument(parameters, 1)));
        }
        if (method == "Perform") {
            return wired(catalogue_.perform(argument(parameters, 0), fromWire<IntentValues>(argument(parameters, 1))));
        }
        throw std::invalid_argument("no method is called " + method);
    }

    GApplication* application_;
    GDBusConnection* connection_;
    appintents::IntentCatalogue& catalogue_;
    std::string interface_;
    guint registration_ = 0;
};

DesktopIntentService::DesktopIntentService() = default;

DesktopIntentService::~DesktopIntentService() = default;

void DesktopIntentService::serve(appintents::IntentCatalogue& catalogue) {
    catalogue.setOpenApplication([] { appkit::ApplicationService::installed().activate(true); });
    catalogue_ = &catalogue;
}

bool DesktopIntentService::exportOn(GApplication* application, GDBusConnection* connection, const char* objectPath,
                                    GError** error) {
    if (catalogue_ == nullptr) {
        return true;
    }
    auto made = std::make_unique<Export>(application, connection, *catalogue_);
    if (!made->start(objectPath, error)) {
        return false;
    }
    export_ = std::move(made);
    return true;
}

void DesktopIntentService::unexport() {
    export_.reset();
}

}  // namespace desktop
