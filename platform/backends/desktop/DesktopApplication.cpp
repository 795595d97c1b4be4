#include "platform/backends/desktop/DesktopApplication.hpp"

#include "platform/backends/desktop/ApplicationIcon.hpp"
#include "platform/backends/desktop/ContinueActivityAction.hpp"
#include "platform/backends/desktop/DesktopIntentService.hpp"
#include "platform/backends/desktop/DesktopSettingsWindow.hpp"
#include "platform/backends/desktop/EditingActions.hpp"
#include "platform/backends/desktop/FocusTracker.hpp"
#include "platform/backends/desktop/LaterSteps.hpp"
#include "platform/backends/desktop/MainWindow.hpp"
#include "platform/backends/desktop/MenuBar.hpp"
#include "platform/backends/desktop/OpenWindows.hpp"
#include "platform/backends/desktop/Tab.hpp"
#include "platform/backends/desktop/internal/ApplicationAction.hpp"

#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif

#include <iostream>
#include <optional>

namespace desktop {
namespace {

// The window manager (and, without one, the X server) lets a window take the focus from another
// application only for a request stamped no earlier than the user's latest interaction elsewhere.
// An activation the user asked for through another program, such as a click on the tray that comes
// over the bus, arrives with no input event of its own: the X server's time now stands for it, and
// the windows presented from now on carry it.
void takeTheFocusFromOtherApplications() {
#ifdef GDK_WINDOWING_X11
    GdkDisplay* display = gdk_display_get_default();
    if (display == nullptr || !GDK_IS_X11_DISPLAY(display)) {
        return;
    }
    GdkWindow* leader = gdk_display_get_default_group(display);
    gdk_x11_window_set_user_time(leader, gdk_x11_get_server_time(leader));
#endif
}

// A GtkApplication that exports the application's actions on its connection before it asks for its
// name, and takes them off when it leaves the bus: GApplication offers those moments only to a
// subclass.
struct BusGtkApplication {
    GtkApplication parent;
    DesktopIntentService* intents;
};
struct BusGtkApplicationClass {
    GtkApplicationClass parent;
};

G_DEFINE_TYPE(BusGtkApplication, bus_gtk_application, GTK_TYPE_APPLICATION)

void bus_gtk_application_init(BusGtkApplication* self) {
    self->intents = nullptr;
}

void bus_gtk_application_class_init(BusGtkApplicationClass* type) {
    auto* application = G_APPLICATION_CLASS(type);
    application->dbus_register = +[](GApplication* self, GDBusConnection* connection, const gchar* path, GError** error) -> gboolean {
        if (G_APPLICATION_CLASS(bus_gtk_application_parent_class)->dbus_register(self, connection, path, error) == FALSE) {
            return FALSE;
        }
        DesktopIntentService* intents = reinterpret_cast<BusGtkApplication*>(self)->intents;
        return intents == nullptr || intents->exportOn(self, connection, path, error) ? TRUE : FALSE;
    };
    application->dbus_unregister = +[](GApplication* self, GDBusConnection* connection, const gchar* path) {
        if (DesktopIntentService* intents = reinterpret_cast<BusGtkApplication*>(self)->intents) {
            intents->unexport();
        }
        G_APPLICATION_CLASS(bus_gtk_application_parent_class)->dbus_unregister(self, connection, path);
    };
}

GtkApplication* newBusGtkApplication(const std::string& identifier, DesktopIntentService& intents) {
    auto* made = static_cast<BusGtkApplication*>(g_object_new(bus_gtk_application_get_type(), "application-id",
                                                              identifier.c_str(), "flags", G_APPLICATION_HANDLES_OPEN, nullptr));
    made->intents = &intents;
    return GTK_APPLICATION(made);
}

}  // namespace

// Owns the parts of the application and wires them to the GtkApplication's signals and the standard
// items of the main menu.
class DesktopApplication::Implementation {
public:
    Implementation(ui::App app, DesktopWindowRealizer& realizer, DesktopIntentService& intents)
        : app_(std::move(app)),
          gtk_(newBusGtkApplication(app_.identifier, intents)),
          focus_(gtk_, steps_, [this] { windows_.saveScenes(); }),
          windows_(app_, realizer, gtk_, focus_, steps_, [this] { terminate(); }),
          settings_(app_, realizer, gtk_, focus_) {
        // The name the desktop shows for the application where a window names none; the program
        // keeps its own, lower-case name.
        if (const gchar* shown = g_get_application_name(); shown == nullptr || app_.name != shown) {
            g_set_application_name(app_.name.c_str());
        }
        g_signal_connect(gtk_, "startup", G_CALLBACK(+[](GApplication*, gpointer self) {
                             static_cast<Implementation*>(self)->startup();
                         }),
                         this);
        g_signal_connect(gtk_, "activate", G_CALLBACK(+[](GApplication*, gpointer self) {
                             static_cast<Implementation*>(self)->windows_.bringForward();
                         }),
                         this);
        g_signal_connect(gtk_, "open", G_CALLBACK(+[](GApplication*, GFile** files, gint count, gchar*, gpointer self) {
                             static_cast<Implementation*>(self)->opened(files, count);
                         }),
                         this);
        g_signal_connect(gtk_, "window-added", G_CALLBACK(+[](GtkApplication*, GtkWindow*, gpointer self) {
                             static_cast<Implementation*>(self)->inUse();
                         }),
                         this);
        g_signal_connect(gtk_, "shutdown", G_CALLBACK(+[](GApplication*, gpointer self) {
                             static_cast<Implementation*>(self)->shutdown();
                         }),
                         this);
    }

    ~Implementation() {
        windows_.closeAll();
        g_clear_object(&gtk_);
    }
    Implementation(const Implementation&) = delete;
    Implementation& operator=(const Implementation&) = delete;

    int run(int argc, char** argv) { return g_application_run(G_APPLICATION(gtk_), argc, argv); }

    bool launch() {
        g_autoptr(GError) error = nullptr;
        if (g_application_register(G_APPLICATION(gtk_), nullptr, &error) == FALSE) {
            std::cerr << "cannot register the application: " << error->message << '\n';
            return false;
        }
        g_application_activate(G_APPLICATION(gtk_));
        return g_application_get_is_remote(G_APPLICATION(gtk_)) == FALSE;
    }

    [[nodiscard]] std::vector<std::shared_ptr<appkit::Window>> windows() const { return windows_.windows(); }

    [[nodiscard]] std::shared_ptr<appkit::Window> keyWindow() const { return focus_.keyWindow(); }

    // The application's own activation, as a launcher's: the first windows when none is open, else
    // the key window in front.
    void activate(bool ignoringOtherApps) {
        if (g_application_get_is_registered(G_APPLICATION(gtk_)) == FALSE) {
            return;
        }
        if (ignoringOtherApps) {
            takeTheFocusFromOtherApplications();
        }
        g_application_activate(G_APPLICATION(gtk_));
    }

    void terminate() {
        if (windows_.keepForRelaunch()) {
            g_application_quit(G_APPLICATION(gtk_));
        }
    }

    bool openOwnLink(const foundation::URL& url) {
        auto* application = G_APPLICATION(gtk_);
        if (g_application_get_is_registered(application) == FALSE || g_application_get_is_remote(application) != FALSE) {
            return false;
        }
        windows_.openInNewWindow(url);
        return true;
    }

private:
    void opened(GFile** files, gint count) {
        std::vector<foundation::URL> urls;
        for (gint index = 0; index < count; ++index) {
            g_autofree gchar* uri = g_file_get_uri(files[index]);
            if (auto url = foundation::URL::fromString(uri)) {
                urls.push_back(std::move(*url));
            }
        }
        windows_.open(urls);
    }

    void startup() {
        if ((g_application_get_flags(G_APPLICATION(gtk_)) & G_APPLICATION_IS_SERVICE) != 0) {
            // Each call holds it for as long as it runs.
            g_application_set_inactivity_timeout(G_APPLICATION(gtk_), serviceIdleBoundMilliseconds);
        } else {
            inUse();
        }
        g_object_set(gtk_settings_get_default(), "gtk-application-prefer-dark-theme",
                     app_.windowGroup.colorScheme == ui::ColorScheme::dark ? TRUE : FALSE, nullptr);
        installApplicationIcon(app_.identifier);
        addStandardActions();
        addEditingActions(gtk_);
        addContinueActivityAction(gtk_);
        menuBar_.emplace(gtk_, app_);
    }

    // Held from then until it quits: whether the last window closing ends it is the delegate's answer.
    void inUse() {
        if (!held_) {
            held_ = true;
            g_application_hold(G_APPLICATION(gtk_));
        }
    }

    void shutdown() {
        windows_.keepForRelaunch();
        menuBar_.reset();
        windows_.closeAll();
    }

    void addAction(const char* name, void (*onActivate)(GSimpleAction*, GVariant*, gpointer)) {
        addApplicationAction(G_ACTION_MAP(gtk_), name, G_CALLBACK(onActivate), this);
    }

    // The standard items of the main menu that act on the application and its windows.
    void addStandardActions() {
        addAction("about", +[](GSimpleAction*, GVariant*, gpointer self) { static_cast<Implementation*>(self)->showAbout(); });
        addAction("settings", +[](GSimpleAction*, GVariant*, gpointer self) { static_cast<Implementation*>(self)->settings_.open(); });
        addAction("quit", +[](GSimpleAction*, GVariant*, gpointer self) { static_cast<Implementation*>(self)->terminate(); });
        addAction("new-window", +[](GSimpleAction*, GVariant*, gpointer self) { static_cast<Implementation*>(self)->windows_.openNewWindow(); });
        addAction("close", +[](GSimpleAction*, GVariant*, gpointer self) {
            if (const auto key = static_cast<Implementation*>(self)->windows_.keyOrFrontTab()) {
                key->close();
            }
        });
        addAction("minimize", +[](GSimpleAction*, GVariant*, gpointer self) {
            if (const auto key = static_cast<Implementation*>(self)->windows_.keyOrFrontTab(); key && key->owner()) {
                key->owner()->iconify();
            }
        });
    }

    // Its logo is the windows' icon.
    void showAbout() {
        GtkWindow* parent = gtk_application_get_active_window(gtk_);
        gtk_show_about_dialog(parent, "program-name", app_.name.c_str(), "version", app_.version.c_str(), nullptr);
    }

    ui::App app_;
    LaterSteps steps_;  // before the parts: it goes last, with the steps their closing left waiting
    GtkApplication* gtk_;
    FocusTracker focus_;
    OpenWindows windows_;
    DesktopSettingsWindow settings_;
    std::optional<MenuBar> menuBar_;  // from startup to shutdown
    bool held_ = false;
};

DesktopApplication::DesktopApplication(ui::App app, DesktopWindowRealizer& realizer, DesktopIntentService& intents)
    : implementation_(std::make_unique<Implementation>(std::move(app), realizer, intents)) {}

DesktopApplication::~DesktopApplication() = default;

int DesktopApplication::run(int argc, char** argv) {
    return implementation_->run(argc, argv);
}

bool DesktopApplication::launch() {
    return implementation_->launch();
}

std::vector<std::shared_ptr<appkit::Window>> DesktopApplication::windows() const {
    return implementation_->windows();
}

std::shared_ptr<appkit::Window> DesktopApplication::keyWindow() const {
    return implementation_->keyWindow();
}

void DesktopApplication::activate(bool ignoringOtherApps) {
    implementation_->activate(ignoringOtherApps);
}

void DesktopApplication::terminate() {
    implementation_->terminate();
}

bool DesktopApplication::openOwnLink(const foundation::URL& url) {
    return implementation_->openOwnLink(url);
}

}  // namespace desktop
