#include "platform/backends/desktop/DesktopWebEngine.hpp"

#include "platform/backends/desktop/ApplicationWebContext.hpp"
#include "platform/runtime/foundation/core/DevelopmentCertificate.hpp"
#include "platform/kits/webkit/DownloadDelegate.hpp"
#include "platform/kits/webkit/WebView.hpp"

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace desktop {
namespace {

std::optional<foundation::URL> urlOf(const char* uri) {
    if (uri == nullptr || *uri == '\0') {
        return std::nullopt;
    }
    return foundation::URL::fromString(uri);
}

webkit::NavigationType navigationType(WebKitNavigationType type) {
    switch (type) {
    case WEBKIT_NAVIGATION_TYPE_LINK_CLICKED:
        return webkit::NavigationType::linkActivated;
    case WEBKIT_NAVIGATION_TYPE_FORM_SUBMITTED:
        return webkit::NavigationType::formSubmitted;
    case WEBKIT_NAVIGATION_TYPE_BACK_FORWARD:
        return webkit::NavigationType::backForward;
    case WEBKIT_NAVIGATION_TYPE_RELOAD:
        return webkit::NavigationType::reload;
    case WEBKIT_NAVIGATION_TYPE_FORM_RESUBMITTED:
        return webkit::NavigationType::formResubmitted;
    case WEBKIT_NAVIGATION_TYPE_OTHER:
        break;
    }
    return webkit::NavigationType::other;
}

// GDK numbers the buttons 1 left, 2 middle, 3 right; the web view kit uses 1 left, 2 right, 4 middle.
int buttonNumber(guint button) {
    switch (button) {
    case 1:
        return 1;
    case 2:
        return webkit::NavigationAction::middleButton;
    case 3:
        return 2;
    default:
        return 0;
    }
}

webkit::EventModifierFlags modifierFlags(guint state) {
    webkit::EventModifierFlags flags;
    if ((state & GDK_SHIFT_MASK) != 0) {
        flags.bits |= webkit::EventModifierFlags::shift;
    }
    if ((state & GDK_CONTROL_MASK) != 0) {
        flags.bits |= webkit::EventModifierFlags::control;
    }
    if ((state & GDK_MOD1_MASK) != 0) {
        flags.bits |= webkit::EventModifierFlags::option;
    }
    if ((state & (GDK_SUPER_MASK | GDK_MOD4_MASK)) != 0) {
        flags.bits |= webkit::EventModifierFlags::super;
    }
    if ((state & GDK_LOCK_MASK) != 0) {
        flags.bits |= webkit::EventModifierFlags::capsLock;
    }
    return flags;
}

// The engine's API tells no target frame of a navigation, only the name of a frame that a link
// targets, and an inner frame's own loads come with none: a named target counts as an inner frame,
// and any other navigation's frame is unknown, for its response to tell.
webkit::NavigationAction actionOf(WebKitNavigationAction* action, bool newWindow) {
    webkit::NavigationAction result;
    result.navigationType = navigationType(webkit_navigation_action_get_navigation_type(action));
    result.buttonNumber = buttonNumber(webkit_navigation_action_get_mouse_button(action));
    result.modifierFlags = modifierFlags(webkit_navigation_action_get_modifiers(action));
    result.isUserGesture = webkit_navigation_action_is_user_gesture(action) != FALSE;
    if (newWindow) {
        result.targetFrame.reset();
    } else {
        const char* frameName = webkit_navigation_action_get_frame_name(action);
        const bool named = frameName != nullptr && *frameName != '\0';
        result.targetFrame = webkit::FrameInfo{!named};
        result.targetFrameIsKnown = named;
    }
    if (auto* request = webkit_navigation_action_get_request(action)) {
        result.requestURL = urlOf(webkit_uri_request_get_uri(request));
    }
    return result;
}

class DesktopWebPage;

// One engine download with the kit's download object that the delegate sees, and where it goes.
struct DownloadRecord {
    WebKitDownload* engine = nullptr;
    std::unique_ptr<webkit::Download> download;
    std::optional<foundation::URL> destination;
    // The engine says "finished" after a failure too.
    bool failed = false;
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

class DesktopWebPage final : public webkit::WebPage {
public:
    DesktopWebPage(webkit::WebView& owner, const webkit::WebViewConfiguration& configuration) : owner_(owner) {
        auto* manager = webkit_user_content_manager_new();
        for (const auto& registration : configuration.userContentController->registrations()) {
            const std::string signal = "script-message-received::" + registration.name;
            g_signal_connect(manager, signal.c_str(), G_CALLBACK(&DesktopWebPage::onScriptMessage), this);
            webkit_user_content_manager_register_script_message_handler(manager, registration.name.c_str());
        }
        view_ = WEBKIT_WEB_VIEW(g_object_ref_sink(
            g_object_new(WEBKIT_TYPE_WEB_VIEW, "user-content-manager", manager, "web-context",
                         applicationWebContext(), nullptr)));
        manager_ = manager;
        auto* settings = webkit_web_view_get_settings(view_);
        webkit_settings_set_enable_fullscreen(settings, configuration.preferences.elementFullscreenEnabled);
        g_signal_connect(view_, "decide-policy", G_CALLBACK(&DesktopWebPage::onDecidePolicy), this);
        g_signal_connect(view_, "create", G_CALLBACK(&DesktopWebPage::onCreate), this);
        g_signal_connect(view_, "load-changed", G_CALLBACK(&DesktopWebPage::onLoadChanged), this);
        g_signal_connect(view_, "load-failed", G_CALLBACK(&DesktopWebPage::onLoadFailed), this);
        g_signal_connect(view_, "load-failed-with-tls-errors", G_CALLBACK(&DesktopWebPage::onLoadFailedWithTLSErrors),
                         this);
        g_signal_connect(view_, "notify::uri", G_CALLBACK(&DesktopWebPage::onNotifyURI), this);
        g_signal_connect(view_, "notify::title", G_CALLBACK(&DesktopWebPage::onNotifyTitle), this);
        g_signal_connect(view_, "script-dialog", G_CALLBACK(&DesktopWebPage::onScriptDialog), this);
        g_signal_connect(view_, "run-file-chooser", G_CALLBACK(&DesktopWebPage::onRunFileChooser), this);
        downloadStarted_ = g_signal_connect(applicationWebContext(), "download-started",
                                            G_CALLBACK(&DesktopWebPage::onDownloadStarted), this);
    }

    ~DesktopWebPage() override {
        *alive_ = false;
        g_signal_handler_disconnect(applicationWebContext(), downloadStarted_);
        for (auto& record : downloads_) {
            *record->alive = false;
            g_signal_handlers_disconnect_by_data(record->engine, record.get());
            g_clear_object(&record->engine);
        }
        g_signal_handlers_disconnect_by_data(manager_, this);
        g_signal_handlers_disconnect_by_data(view_, this);
        // A view still in a window is destroyed with the window; the reference is ours either way.
        g_clear_object(&view_);
        g_clear_object(&manager_);
    }

    DesktopWebPage(const DesktopWebPage&) = delete;
    DesktopWebPage& operator=(const DesktopWebPage&) = delete;

    void load(const foundation::URLRequest& request) override {
        // The engine has no per-request time-out nor cache policy: its own defaults are the protocol's.
        g_autoptr(WebKitURIRequest) engineRequest = webkit_uri_request_new(request.url().absoluteString().c_str());
        webkit_web_view_load_request(view_, engineRequest);
    }
    void reload() override { webkit_web_view_reload(view_); }
    void stopLoading() override { webkit_web_view_stop_loading(view_); }
    [[nodiscard]] std::optional<foundation::URL> url() const override { return urlOf(webkit_web_view_get_uri(view_)); }
    [[nodiscard]] std::optional<std::string> title() const override {
        const char* title = webkit_web_view_get_title(view_);
        return title == nullptr ? std::nullopt : std::optional<std::string>(title);
    }
    [[nodiscard]] bool isLoading() const override { return webkit_web_view_is_loading(view_) != FALSE; }
    [[nodiscard]] double pageZoom() const override { return webkit_web_view_get_zoom_level(view_); }
    void setPageZoom(double zoom) override { webkit_web_view_set_zoom_level(view_, zoom); }
    void setAllowsBackForwardNavigationGestures(bool allows) override {
        webkit_settings_set_enable_back_forward_navigation_gestures(webkit_web_view_get_settings(view_), allows);
    }
    // The engine has one background colour: it shows under the page and, when transparent, lets the
    // window show through.
    void setUnderPageBackgroundColor(double red, double green, double blue, double alpha) override {
        background_ = {red, green, blue, alpha};
        applyBackground();
    }
    void setDrawsBackground(bool draws) override {
        drawsBackground_ = draws;
        applyBackground();
    }
    [[nodiscard]] void* nativeView() const override { return view_; }
    void makeFirstResponder() override { gtk_widget_grab_focus(GTK_WIDGET(view_)); }
    [[nodiscard]] bool isInWindow() const override {
        auto* top = gtk_widget_get_toplevel(GTK_WIDGET(view_));
        return top != nullptr && gtk_widget_is_toplevel(top) != FALSE;
    }

private:
    enum class HandOff { action, response };
    struct PendingDownload {
        HandOff kind;
        webkit::NavigationAction action;
        webkit::NavigationResponse response;
    };

    void applyBackground() {
        GdkRGBA colour{background_[0], background_[1], background_[2], drawsBackground_ ? background_[3] : 0.0};
        webkit_web_view_set_background_color(view_, &colour);
    }

    static void onScriptMessage(WebKitUserContentManager* /*manager*/, WebKitJavascriptResult* result,
                                DesktopWebPage* self) {
        // The signal's detail is the handler's name; the engine gives it only through the detail, so
        // each name was connected on its own and the name is found from the signal's invocation.
        const auto* hint = g_signal_get_invocation_hint(self->manager_);
        const std::string name = hint != nullptr && hint->detail != 0 ? g_quark_to_string(hint->detail) : "";
        std::string body = "null";
        if (auto* value = webkit_javascript_result_get_js_value(result)) {
            g_autofree char* json = jsc_value_to_json(value, 0);
            if (json != nullptr) {
                body = json;
            }
        }
        if (auto* handler = self->owner_.configuration().userContentController->handler(name)) {
            handler->didReceiveScriptMessage({name, body});
        }
    }

    // The completion that settles one of the engine's decisions once the delegate has answered: use
    // it, ignore it, or let it become a download noted with what it came from. A page that is gone by
    // then ignores it. The decision is held until the answer comes.
    template <typename Policy>
    static auto answering(DesktopWebPage* self, WebKitPolicyDecision* decision, PendingDownload handOff) {
        g_object_ref(decision);
        return [self, alive = std::weak_ptr<bool>(self->alive_), decision, handOff = std::move(handOff)](Policy policy) {
            if (const auto isAlive = alive.lock(); isAlive && *isAlive) {
                switch (policy) {
                case Policy::allow:
                    webkit_policy_decision_use(decision);
                    break;
                case Policy::cancel:
                    webkit_policy_decision_ignore(decision);
                    break;
                case Policy::download:
                    self->pending_.push_back(handOff);
                    webkit_policy_decision_download(decision);
                    break;
                }
            } else {
                webkit_policy_decision_ignore(decision);
            }
            g_object_unref(decision);
        };
    }

    static gboolean onDecidePolicy(WebKitWebView* /*view*/, WebKitPolicyDecision* decision,
                                   WebKitPolicyDecisionType type, DesktopWebPage* self) {
        auto* delegate = self->owner_.navigationDelegate();
        if (delegate == nullptr) {
            return FALSE;
        }
        if (type == WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION) {
            auto* engineAction =
                webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
            const auto action = actionOf(engineAction, false);
            delegate->decidePolicyForNavigationAction(
                self->owner_, action,
                answering<webkit::NavigationActionPolicy>(self, decision, {HandOff::action, action, {}}));
            return TRUE;
        }
        if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
            auto* responseDecision = WEBKIT_RESPONSE_POLICY_DECISION(decision);
            auto* engineResponse = webkit_response_policy_decision_get_response(responseDecision);
            webkit::NavigationResponse response;
            response.url = urlOf(webkit_uri_response_get_uri(engineResponse));
            if (const char* mime = webkit_uri_response_get_mime_type(engineResponse); mime != nullptr && *mime != '\0') {
                response.mimeType = mime;
            }
            if (const char* name = webkit_uri_response_get_suggested_filename(engineResponse); name != nullptr) {
                response.suggestedFilename = name;
            }
            response.canShowMIMEType = webkit_response_policy_decision_is_mime_type_supported(responseDecision) != FALSE;
            response.isForMainFrame =
                webkit_response_policy_decision_is_main_frame_main_resource(responseDecision) != FALSE;
            delegate->decidePolicyForNavigationResponse(
                self->owner_, response,
                answering<webkit::NavigationResponsePolicy>(self, decision, {HandOff::response, {}, response}));
            return TRUE;
        }
        // A new-window action goes on to "create", where the delegate sees it.
        return FALSE;
    }

    static GtkWidget* onCreate(WebKitWebView* /*view*/, WebKitNavigationAction* engineAction, DesktopWebPage* self) {
        if (auto* delegate = self->owner_.uiDelegate()) {
            delegate->createWebView(self->owner_, actionOf(engineAction, true));
        }
        return nullptr;  // the page never gets a window
    }

    static void onLoadChanged(WebKitWebView* /*view*/, WebKitLoadEvent event, DesktopWebPage* self) {
        auto* delegate = self->owner_.navigationDelegate();
        if (delegate == nullptr) {
            return;
        }
        if (event == WEBKIT_LOAD_STARTED) {
            self->failed_ = false;
            delegate->didStartProvisionalNavigation(self->owner_);
        } else if (event == WEBKIT_LOAD_FINISHED) {
            // The engine ends a failed load as finished too; the delegate heard of the failure.
            if (!std::exchange(self->failed_, false)) {
                delegate->didFinishNavigation(self->owner_);
            }
        }
    }

    // A load that became a download, went to another handler or was stopped for the next one is no
    // failure: the page shown before stays, and the load ends as finished. Any other failure is
    // reported, and the engine's own error page never shows in the window.
    static gboolean onLoadFailed(WebKitWebView* /*view*/, WebKitLoadEvent /*event*/, const char* /*uri*/,
                                 GError* error, DesktopWebPage* self) {
        if (g_error_matches(error, WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE) ||
            g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED)) {
            return TRUE;
        }
        self->failed();
        return TRUE;
    }

    static gboolean onLoadFailedWithTLSErrors(WebKitWebView* /*view*/, const char* /*uri*/,
                                              GTlsCertificate* /*certificate*/, GTlsCertificateFlags /*errors*/,
                                              DesktopWebPage* self) {
        self->failed();
        return TRUE;
    }

    void failed() {
        failed_ = true;
        if (auto* delegate = owner_.navigationDelegate()) {
            delegate->didFailNavigation(owner_);
        }
    }

    static void onNotifyURI(GObject* /*object*/, GParamSpec* /*spec*/, DesktopWebPage* self) {
        self->owner_.engineDidChangeURL();
    }
    static void onNotifyTitle(GObject* /*object*/, GParamSpec* /*spec*/, DesktopWebPage* self) {
        self->owner_.engineDidChangeTitle();
    }

    static gboolean onScriptDialog(WebKitWebView* /*view*/, WebKitScriptDialog* dialog, DesktopWebPage* self) {
        auto* delegate = self->owner_.uiDelegate();
        const auto type = webkit_script_dialog_get_dialog_type(dialog);
        if (delegate == nullptr || (type != WEBKIT_SCRIPT_DIALOG_CONFIRM && type != WEBKIT_SCRIPT_DIALOG_PROMPT)) {
            return FALSE;  // plain alerts and leave-page questions get the engine's own dialog
        }
        const std::string message = webkit_script_dialog_get_message(dialog);
        if (type == WEBKIT_SCRIPT_DIALOG_CONFIRM) {
            delegate->runJavaScriptConfirmPanel(self->owner_, message, webkit::FrameInfo{true}, [dialog](bool confirmed) {
                webkit_script_dialog_confirm_set_confirmed(dialog, confirmed ? TRUE : FALSE);
            });
            return TRUE;
        }
        const char* defaultText = webkit_script_dialog_prompt_get_default_text(dialog);
        delegate->runJavaScriptTextInputPanel(
            self->owner_, message, defaultText == nullptr ? std::nullopt : std::optional<std::string>(defaultText),
            webkit::FrameInfo{true}, [dialog](std::optional<std::string> text) {
                // Without an answer the page's prompt() returns null.
                if (text) {
                    webkit_script_dialog_prompt_set_text(dialog, text->c_str());
                }
            });
        return TRUE;
    }

    static gboolean onRunFileChooser(WebKitWebView* /*view*/, WebKitFileChooserRequest* request, DesktopWebPage* self) {
        auto* delegate = self->owner_.uiDelegate();
        if (delegate == nullptr) {
            return FALSE;
        }
        webkit::OpenPanelParameters parameters;
        // The engine does not tell whether the input takes folders.
        parameters.allowsMultipleSelection = webkit_file_chooser_request_get_select_multiple(request) != FALSE;
        g_object_ref(request);
        delegate->runOpenPanel(self->owner_, parameters, webkit::FrameInfo{true},
                               [request](std::optional<std::vector<foundation::URL>> files) {
                                   if (!files) {
                                       webkit_file_chooser_request_cancel(request);
                                   } else {
                                       std::vector<std::string> paths;
                                       for (const auto& file : *files) {
                                           paths.push_back(file.path());
                                       }
                                       std::vector<const char*> list;
                                       for (const auto& path : paths) {
                                           list.push_back(path.c_str());
                                       }
                                       list.push_back(nullptr);
                                       webkit_file_chooser_request_select_files(request, list.data());
                                   }
                                   g_object_unref(request);
                               });
        return TRUE;
    }

    static void onDownloadStarted(WebKitWebContext* /*context*/, WebKitDownload* engine, DesktopWebPage* self) {
        if (webkit_download_get_web_view(engine) != self->view_ || self->pending_.empty()) {
            return;  // another web view's download
        }
        const auto handOff = self->pending_.front();
        self->pending_.pop_front();
        auto record = std::make_unique<DownloadRecord>();
        record->engine = WEBKIT_DOWNLOAD(g_object_ref(engine));
        std::optional<foundation::URL> original;
        if (auto* request = webkit_download_get_request(engine)) {
            original = urlOf(webkit_uri_request_get_uri(request));
        }
        record->download = std::make_unique<webkit::Download>(original);
        auto& download = *record->download;
        if (auto* delegate = self->owner_.navigationDelegate()) {
            if (handOff.kind == HandOff::action) {
                delegate->navigationActionDidBecomeDownload(self->owner_, handOff.action, download);
            } else {
                delegate->navigationResponseDidBecomeDownload(self->owner_, handOff.response, download);
            }
        }
        g_signal_connect(engine, "decide-destination", G_CALLBACK(&DesktopWebPage::onDecideDestination), record.get());
        g_signal_connect(engine, "failed", G_CALLBACK(&DesktopWebPage::onDownloadFailed), record.get());
        g_signal_connect(engine, "finished", G_CALLBACK(&DesktopWebPage::onDownloadFinished), record.get());
        self->downloads_.push_back(std::move(record));
    }

    static gboolean onDecideDestination(WebKitDownload* engine, const char* suggestedFilename, DownloadRecord* record) {
        auto* delegate = record->download->delegate();
        if (delegate == nullptr) {
            webkit_download_cancel(engine);
            return TRUE;
        }
        g_object_ref(engine);
        delegate->decideDestination(
            *record->download, suggestedFilename == nullptr ? "" : suggestedFilename,
            [engine, record, alive = std::weak_ptr<bool>(record->alive)](std::optional<foundation::URL> destination) {
                if (const auto isAlive = alive.lock(); isAlive && *isAlive) {
                    if (destination) {
                        record->destination = destination;
                        webkit_download_set_allow_overwrite(engine, TRUE);
                        webkit_download_set_destination(engine, destination->path().c_str());
                    } else {
                        webkit_download_cancel(engine);
                    }
                }
                g_object_unref(engine);
            });
        return TRUE;
    }

    static void onDownloadFailed(WebKitDownload* /*engine*/, GError* error, DownloadRecord* record) {
        record->failed = true;
        // A download the user cancelled in the save panel is no failure to report.
        if (error != nullptr && g_error_matches(error, WEBKIT_DOWNLOAD_ERROR, WEBKIT_DOWNLOAD_ERROR_CANCELLED_BY_USER)) {
            return;
        }
        if (auto* delegate = record->download->delegate()) {
            webkit::DownloadError failure;
            failure.domain = error != nullptr ? g_quark_to_string(error->domain) : "WebKitDownloadError";
            failure.code = error != nullptr ? error->code : 0;
            failure.localizedDescription = error != nullptr ? error->message : "The download failed.";
            delegate->didFail(*record->download, failure);
        }
    }

    static void onDownloadFinished(WebKitDownload* /*engine*/, DownloadRecord* record) {
        if (record->failed || !record->destination) {
            return;
        }
        if (auto* delegate = record->download->delegate()) {
            delegate->didFinish(*record->download, *record->destination);
        }
    }

    webkit::WebView& owner_;
    WebKitWebView* view_ = nullptr;
    WebKitUserContentManager* manager_ = nullptr;
    gulong downloadStarted_ = 0;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    bool failed_ = false;  // the load under way has failed
    std::array<double, 4> background_{1.0, 1.0, 1.0, 1.0};
    bool drawsBackground_ = true;
    std::deque<PendingDownload> pending_;
    std::vector<std::unique_ptr<DownloadRecord>> downloads_;
};

// The development setting's certificate, accepted for those of its hosts that
// it names, and for no other name in it; every other certificate is still
// verified against the system's authorities. Done once, before the first
// page loads.
void allowDevelopmentCertificate() {
    static const bool done = [] {
        const auto setting = foundation::DevelopmentCertificate::current();
        if (!setting) {
            return true;
        }
        g_autoptr(GError) error = nullptr;
        g_autoptr(GTlsCertificate) certificate = g_tls_certificate_new_from_pem(setting->pem().c_str(), -1, &error);
        if (certificate == nullptr) {
            std::fprintf(stderr, "kestrova: KESTROVA_DEV_CERTIFICATE is set to \"%s\", which the web engine cannot read: %s\n",
                         setting->path().c_str(), error->message);
            std::fflush(stderr);
            std::_Exit(EXIT_FAILURE);
        }
        for (const auto& host : setting->hosts()) {
            // The engine takes an allowed certificate whatever it names, so
            // the name is checked here.
            g_autoptr(GSocketConnectable) identity = g_network_address_new(host.c_str(), 0);
            const GTlsCertificateFlags problems = g_tls_certificate_verify(certificate, identity, nullptr);
            if ((problems & G_TLS_CERTIFICATE_BAD_IDENTITY) == 0) {
                webkit_web_context_allow_tls_certificate_for_host(applicationWebContext(), certificate,
                                                                  host.c_str());
            }
        }
        return true;
    }();
    (void)done;
}

}  // namespace

void DesktopWebEngine::useHTTPProxy(const std::string& proxyURI) {
    auto* settings = webkit_network_proxy_settings_new(proxyURI.c_str(), nullptr);
    webkit_website_data_manager_set_network_proxy_settings(
        webkit_web_context_get_website_data_manager(applicationWebContext()), WEBKIT_NETWORK_PROXY_MODE_CUSTOM,
        settings);
    webkit_network_proxy_settings_free(settings);
}

std::unique_ptr<webkit::WebPage> DesktopWebEngine::makePage(webkit::WebView& owner,
                                                            const webkit::WebViewConfiguration& configuration) {
    allowDevelopmentCertificate();
    return std::make_unique<DesktopWebPage>(owner, configuration);
}

}  // namespace desktop
