#pragma once

#include "platform/kits/appintents/IntentClient.hpp"

#include <chrono>
#include <memory>
#include <string>

namespace desktop {

// The actions of an application on the session bus (see DesktopIntentService.hpp), for a program
// of the command line. When nobody owns the application's name, or the application is ending as a
// call goes out, the application's executable is started in its windowless service mode
// (--gapplication-service) and waited for, until it owns the name, ends, or `startBound` has
// passed. An ending application is given `endingBound` to leave the bus first; one that stays
// without offering actions is an error. A call other than Perform waits at most `answerBound` for
// its answer, Perform at most `performBound`, since an action may wait on a server.
class DesktopIntentClient final : public appintents::IntentClient {
public:
    static constexpr std::chrono::seconds startBound{30};
    static constexpr std::chrono::seconds endingBound{5};
    static constexpr std::chrono::seconds answerBound{30};
    static constexpr std::chrono::seconds performBound{300};

    // Throws IntentTransportError when the session bus cannot be reached.
    DesktopIntentClient(std::string applicationId, std::string executable);
    ~DesktopIntentClient() override;
    DesktopIntentClient(const DesktopIntentClient&) = delete;
    DesktopIntentClient& operator=(const DesktopIntentClient&) = delete;

    [[nodiscard]] std::vector<appintents::IntentDescription> intents() override;
    [[nodiscard]] std::string summary(const std::string& title, const appintents::IntentValues& values) override;
    [[nodiscard]] std::vector<appintents::DisplayRepresentation> predictions(const std::string& title,
                                                                             const appintents::IntentValues& values) override;
    [[nodiscard]] std::vector<appintents::EntityValue> entities(const std::string& typeName,
                                                                const std::vector<std::string>& identifiers) override;
    [[nodiscard]] appintents::EntityCollection suggestedEntities(const std::string& typeName) override;
    [[nodiscard]] appintents::EntityCollection entitiesMatching(const std::string& typeName, const std::string& text) override;
    appintents::IntentResult perform(const std::string& title, const appintents::IntentValues& values) override;

    class Connection;

private:
    appintents::MissingParameter missingParameter(const std::string& title, const std::string& message);

    std::unique_ptr<Connection> connection_;
};

}  // namespace desktop
