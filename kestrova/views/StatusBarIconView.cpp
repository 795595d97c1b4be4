#include "kestrova/views/StatusBarIconView.hpp"

#include "platform/kits/ui/Image.hpp"
#include "kestrova/model/JournalLists.hpp"
#include "kestrova/views/CircularProgressView.hpp"

namespace kestrova {

const ui::Color& dailyColor() {
    static const ui::Color color("Daily");
    return color;
}

StatusBarIconView::StatusBarIconView(double size_, ui::Binding<bool> statusBarIconMonochrome_)
    : size(size_), statusBarIconMonochrome(std::move(statusBarIconMonochrome_)), appState(AppState::shared()) {}

ui::View StatusBarIconView::body() const {
    const auto& user = appState.user.get();
    if (!user) {
        return ui::Image::bundleResource("AppIcon")
            .resizable()
            .view()
            .scaledToFill()
            .clipped()
            .frame(size, size)
            .observing(appState);
    }
    const bool monochrome = statusBarIconMonochrome.get();
    const ui::Color color = monochrome ? ui::Color::black() : dailyColor();
    // A change of colour makes a new ring rather than recolouring the old one.
    return ui::View(CircularProgressView{progress(), user->numberOfEntriesToday.value_or(0), color})
        .padding(3)
        .frame(size, size)
        .id(monochrome ? "black" : "Daily")
        .observing(appState);
}

double StatusBarIconView::progress() const {
    const auto& user = appState.user.get();
    if (!user) {
        return 1.0;
    }
    if (!user->journals) {
        return 1.0;
    }
    const auto done = journalsDoneToday(*user->journals);
    if (done.empty()) {
        return 0.0;
    }
    const auto due = dueJournals(*user->journals);
    // In this order: a division, a multiplication, a division by 100.
    return 100.0 / static_cast<double>(due.size()) * static_cast<double>(done.size()) / 100.0;
}

}  // namespace kestrova
