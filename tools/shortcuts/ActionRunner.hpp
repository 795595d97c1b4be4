#pragma once

#include "platform/kits/appintents/IntentClient.hpp"

#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace shortcuts_tool {

// Plays the part of Shortcuts for the application's own actions, over a client of the application:
//
//   action list
//   action run NAME [--PARAMETER VALUE]... [then NAME [--PARAMETER VALUE]...]...
//
// A parameter goes by its declared name. A Boolean takes true or false, a number a decimal number,
// an entity its identifier (looked up with the entity type's query), or with --PARAMETER-search
// TEXT the first entity that matches the text; a file takes a path, typed by a --type UTI right
// after it or else by what its name and contents look like. In a step after the first, @previous
// stands for the entity the step before gave back, whole. The steps run in order; the first that
// fails ends the run. A required parameter left without a value is asked for with the action's
// request dialog when the input is a terminal, else the run fails naming that dialog. What each
// step gives back is printed by its display ("Entry #345").
class ActionRunner {
public:
    using Connect = std::function<std::unique_ptr<appintents::IntentClient>()>;

    // `connect` reaches the application, once and only for a command line that was read.
    ActionRunner(Connect connect, std::ostream& output, std::istream& input, bool interactive)
        : connect_(std::move(connect)), output_(output), input_(input), interactive_(interactive) {}

    // The arguments after "action". Throws UsageError for a command line it cannot read, before it
    // reaches the application for anything but the actions' descriptions; anything else thrown is a
    // failure whose message is for the user.
    void run(std::span<const std::string_view> arguments);

private:
    struct Given;
    struct Step;

    void list(appintents::IntentClient& client);
    [[nodiscard]] static std::vector<Step> plan(std::span<const std::string_view> arguments,
                                                const std::vector<appintents::IntentDescription>& intents);
    void play(appintents::IntentClient& client, const std::vector<Step>& steps);
    [[nodiscard]] appintents::IntentValue resolve(appintents::IntentClient& client, const Given& given,
                                                  const std::optional<appintents::EntityValue>& previous);
    [[nodiscard]] appintents::IntentValue asked(appintents::IntentClient& client,
                                                const appintents::ParameterDescription& parameter,
                                                const appintents::MissingParameter& missing);

    Connect connect_;
    std::ostream& output_;
    std::istream& input_;
    bool interactive_;
};

}  // namespace shortcuts_tool
