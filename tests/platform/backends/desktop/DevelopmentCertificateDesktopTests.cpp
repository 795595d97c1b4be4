// The development certificate in the real web engine, on a virtual display: accepted for the hosts
// the process names that it names too, and for no other name in it.
#include "platform/backends/desktop/DesktopBackend.hpp"
#include "platform/runtime/foundation/core/DevelopmentCertificate.hpp"
#include "platform/kits/webkit/NavigationDelegate.hpp"
#include "platform/kits/webkit/WebView.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/ScratchDirectory.hpp"
#include "tests/support/TLSIdentity.hpp"
#include "tests/support/TLSServer.hpp"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace {

using testsupport::MainLoop;
using testsupport::TLSIdentity;
using testsupport::TLSServer;

// The certificate names the web host and bank.localhost; the process names the web host and the
// beta host as the service's.
const TLSIdentity& developmentIdentity() {
    static const TLSIdentity identity({.alternativeNames = "DNS:kestrova.localhost,DNS:bank.localhost"});
    return identity;
}

// Counts the loads that have ended, whether they finished or failed.
class FinishCounter final : public webkit::NavigationDelegate {
public:
    void didFinishNavigation(webkit::WebView& /*webView*/) override { ++ended; }
    void didFailNavigation(webkit::WebView& /*webView*/) override { ++ended; }
    int ended = 0;
};

// Loads the URL in a web view of its own, in a window, and runs the main loop until `done` holds.
bool loadUntil(const std::string& url, const std::function<bool(const webkit::WebView&, const FinishCounter&)>& done) {
    webkit::WebView view{webkit::WebViewConfiguration()};
    FinishCounter counter;
    view.setNavigationDelegate(&counter);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_container_add(GTK_CONTAINER(window), static_cast<GtkWidget*>(view.page().nativeView()));
    gtk_widget_show_all(window);
    view.load(foundation::URLRequest(*foundation::URL::fromString(url)));
    const bool happened = MainLoop::iterateUntil([&] { return done(view, counter); });
    view.setNavigationDelegate(nullptr);
    gtk_widget_destroy(window);
    return happened;
}

TEST(DevelopmentCertificateDesktop, TheEngineAcceptsItOnlyForTheNamedHostsThatItNames) {
    const TLSServer server(developmentIdentity(), "Reached");
    EXPECT_TRUE(loadUntil(server.url("kestrova.localhost"), [](const webkit::WebView& view, const FinishCounter&) {
        return view.title() == "Reached";
    }));
    const int answered = server.requests();
    for (const auto& refused : {
             // Named by the certificate, but no host of the service.
             std::string("bank.localhost"),
             // A host of the service that the certificate does not name.
             std::string("beta.kestrova.localhost"),
         }) {
        EXPECT_TRUE(loadUntil(server.url(refused), [](const webkit::WebView& view, const FinishCounter& counter) {
            return counter.ended > 0 && !view.isLoading();
        })) << refused;
        // A refused certificate ends the connection before any request.
        EXPECT_EQ(server.requests(), answered) << refused;
    }
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // A home of the test's own for the engine's data, and the development setting as the
    // application's main and scripts/run-local make it.
    testsupport::ScratchDirectory home;
    setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    setenv("XDG_CACHE_HOME", (home / "cache").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    const auto certificate = home.write("development.pem", developmentIdentity().pem());
    setenv("KESTROVA_DEV_CERTIFICATE", certificate.c_str(), 1);
    foundation::DevelopmentCertificate::limitToHosts({"kestrova.localhost", "beta.kestrova.localhost"});
    desktop::installAll();
    return RUN_ALL_TESTS();
}
