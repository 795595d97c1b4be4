#include "platform/backends/headless/HeadlessPanelService.hpp"

#include "platform/runtime/base/Verify.hpp"

#include <cstdio>

namespace headless {
namespace {

std::string styleName(appkit::AlertStyle style) {
    switch (style) {
    case appkit::AlertStyle::warning:
        return "warning";
    case appkit::AlertStyle::informational:
        return "informational";
    case appkit::AlertStyle::critical:
        return "critical";
    }
    return "?";
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

}  // namespace

appkit::PanelService::AlertAnswer HeadlessPanelService::runAlertModal(const AlertRequest& request) {
    std::string line = "alert: " + styleName(request.style) + " \"" + request.messageText + "\" \"" +
                       request.informativeText + "\" buttons";
    for (const auto& button : request.buttons) {
        line += " [" + button + "]";
    }
    if (request.textField) {
        line += " field " + number(request.textField->width) + "x" + number(request.textField->height) + " \"" +
                request.textField->initialText + "\"";
    }
    AlertAnswer answer;
    if (!alertAnswers_.empty()) {
        answer = alertAnswers_.front();
        alertAnswers_.pop_front();
    } else if (request.textField) {
        answer.fieldText = request.textField->initialText;
    }
    line += answer.buttonIndex >= 0 && answer.buttonIndex < static_cast<int>(request.buttons.size())
                ? " -> [" + request.buttons[static_cast<std::size_t>(answer.buttonIndex)] + "]"
                : " -> dismissed";
    effects_.record(std::move(line));
    return answer;
}

void HeadlessPanelService::beginOpenPanel(const OpenPanelRequest& request, OpenPanelHandler completion) {
    effects_.record(std::string("open panel:") + (request.canChooseFiles ? " files" : "") +
                    (request.canChooseDirectories ? " directories" : "") +
                    (request.allowsMultipleSelection ? " multiple" : ""));
    openPanels_.push_back(std::move(completion));
}

void HeadlessPanelService::beginSavePanel(const SavePanelRequest& request, SavePanelHandler completion) {
    effects_.record("save panel: \"" + request.nameFieldStringValue + "\" in " +
                    (request.directoryURL ? request.directoryURL->path() : std::string("no folder")) +
                    (request.canCreateDirectories ? ", can create folders" : ""));
    saveRequests_.push_back(request);
    savePanels_.push_back(std::move(completion));
}

void HeadlessPanelService::answerNextAlert(int buttonIndex, std::string fieldText) {
    alertAnswers_.push_back({buttonIndex, std::move(fieldText)});
}

void HeadlessPanelService::endOpenPanel(std::size_t index, std::optional<std::vector<foundation::URL>> chosen) {
    VERIFY(index < openPanels_.size(), "no such open panel is pending");
    auto completion = std::move(openPanels_[index]);
    openPanels_.erase(openPanels_.begin() + static_cast<std::ptrdiff_t>(index));
    completion(std::move(chosen));
}

void HeadlessPanelService::endSavePanel(std::size_t index, std::optional<foundation::URL> chosen) {
    VERIFY(index < savePanels_.size(), "no such save panel is pending");
    auto completion = std::move(savePanels_[index]);
    savePanels_.erase(savePanels_.begin() + static_cast<std::ptrdiff_t>(index));
    saveRequests_.erase(saveRequests_.begin() + static_cast<std::ptrdiff_t>(index));
    completion(std::move(chosen));
}

}  // namespace headless
