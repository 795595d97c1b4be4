#pragma once

#include "platform/kits/appintents/IntentService.hpp"

#include <memory>
#include <string>

using GApplication = struct _GApplication;
using GDBusConnection = struct _GDBusConnection;
using GError = struct _GError;

namespace desktop {

// The application's actions on the session bus: the interface "<application id>.AppIntents" at the
// application's object path, on the application's own connection, exported before it takes its
// name so that whoever sees the name can call. Every method carries JSON (see IntentWire.hpp):
//
//   Intents() -> s                        the actions
//   Summary(s title, s values) -> s       the summary's sentence for those values
//   Predictions(s title, s values) -> s   the displays of the predictions
//   Entities(s type, s identifiers) -> s  SuggestedEntities(s type) -> s
//   EntitiesMatching(s type, s text) -> s
//   Perform(s title, s values) -> s       the result, once the action has ended
//
// A refusal is a D-Bus error whose message is the text for the user: "<interface>.Failed" for an
// action that failed, "<interface>.MissingParameter" for a required parameter without a value
// (the message says the parameter's request dialog) and "<interface>.BadRequest" for a call that
// names no action, parameter or entity type, or carries a value it cannot take. The application is
// held while a call runs, so that a service started for it does not end under it.
class DesktopIntentService final : public appintents::IntentService {
public:
    DesktopIntentService();
    ~DesktopIntentService() override;
    DesktopIntentService(const DesktopIntentService&) = delete;
    DesktopIntentService& operator=(const DesktopIntentService&) = delete;

    void serve(appintents::IntentCatalogue& catalogue) override;

    // Called as the application registers on the bus; exports nothing while no catalogue is served.
    // False, with the bus's error, when the object cannot be exported.
    bool exportOn(GApplication* application, GDBusConnection* connection, const char* objectPath, GError** error);
    void unexport();

    class Export;

private:
    appintents::IntentCatalogue* catalogue_ = nullptr;
    std::unique_ptr<Export> export_;
};

}  // namespace desktop
