#pragma once

#include "platform/runtime/base/Installable.hpp"
#include "platform/kits/appkit/AlertStyle.hpp"
#include "platform/runtime/foundation/core/URL.hpp"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace appkit {

// How the installed backend shows alerts and file panels. On the main thread.
class PanelService : public base::Installable<PanelService> {
public:
    static constexpr std::string_view serviceName = "appkit::PanelService";

    struct AlertRequest {
        std::string messageText;
        std::string informativeText;
        AlertStyle style = AlertStyle::warning;
        std::vector<std::string> buttons;
        // A one-line text field under the texts, of this size in points, starting with this text.
        struct TextField {
            double width = 0;
            double height = 0;
            std::string initialText;
        };
        std::optional<TextField> textField;
    };
    struct AlertAnswer {
        // The button that ended the alert, from 0 in the order they were added; -1 when it was
        // dismissed without one.
        int buttonIndex = -1;
        std::string fieldText;
    };
    struct OpenPanelRequest {
        bool canChooseFiles = true;
        bool canChooseDirectories = false;
        bool allowsMultipleSelection = false;
    };
    struct SavePanelRequest {
        bool canCreateDirectories = false;
        std::string nameFieldStringValue;
        std::optional<foundation::URL> directoryURL;
    };
    // The chosen file URLs, or none when the user cancelled.
    using OpenPanelHandler = std::function<void(std::optional<std::vector<foundation::URL>>)>;
    using SavePanelHandler = std::function<void(std::optional<foundation::URL>)>;

    virtual ~PanelService() = default;

    // Blocks the caller in a modal loop until the user answers.
    virtual AlertAnswer runAlertModal(const AlertRequest& request) = 0;
    // Return at once; the handler runs later, on the main thread, once.
    virtual void beginOpenPanel(const OpenPanelRequest& request, OpenPanelHandler completion) = 0;
    virtual void beginSavePanel(const SavePanelRequest& request, SavePanelHandler completion) = 0;

protected:
    PanelService() = default;
};

}  // namespace appkit
