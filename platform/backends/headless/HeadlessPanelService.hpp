#pragma once

#include "platform/kits/appkit/PanelService.hpp"
#include "platform/backends/headless/HeadlessEffects.hpp"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace headless {

// Shows nothing. An alert records "alert: ..." and takes the answer a test gave beforehand with
// answerNextAlert() (none given: dismissed without a button). Open and save panels record
// "open panel: ..." / "save panel: ..." and stay pending until the test ends them, in any order.
class HeadlessPanelService final : public appkit::PanelService {
public:
    explicit HeadlessPanelService(HeadlessEffects& effects) : effects_(effects) {}

    AlertAnswer runAlertModal(const AlertRequest& request) override;
    void beginOpenPanel(const OpenPanelRequest& request, OpenPanelHandler completion) override;
    void beginSavePanel(const SavePanelRequest& request, SavePanelHandler completion) override;

    // The answer of the next alert: the button pressed (from 0; -1 for none) and the text left in
    // its field.
    void answerNextAlert(int buttonIndex, std::string fieldText = {});

    [[nodiscard]] std::size_t pendingOpenPanels() const noexcept { return openPanels_.size(); }
    [[nodiscard]] const std::vector<SavePanelRequest>& pendingSavePanels() const noexcept { return saveRequests_; }
    // Ends the pending panel at `index` (0: the oldest) with the user's choice, none for Cancel.
    void endOpenPanel(std::size_t index, std::optional<std::vector<foundation::URL>> chosen);
    void endSavePanel(std::size_t index, std::optional<foundation::URL> chosen);

private:
    HeadlessEffects& effects_;
    std::deque<AlertAnswer> alertAnswers_;
    std::vector<OpenPanelHandler> openPanels_;
    std::vector<SavePanelRequest> saveRequests_;
    std::vector<SavePanelHandler> savePanels_;
};

}  // namespace headless
