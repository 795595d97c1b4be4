#include "kestrova/views/SettingsView.hpp"

#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"
#include "platform/runtime/foundation/defaults/UserDefaultsError.hpp"
#include "platform/kits/ui/Controls.hpp"
#include "platform/kits/ui/Stacks.hpp"
#include "platform/kits/ui/TextView.hpp"

#include <string>

namespace kestrova {

namespace {

// A click writes the setting at once. When the shared defaults cannot be written (a full disk) the
// setting keeps its value in this process and the window goes on, rather than the error ending the
// program from inside the toolkit's click handler.
ui::Binding<bool> storing(std::function<bool()> get, std::function<void(bool)> set) {
    return ui::Binding<bool>(std::move(get), [set = std::move(set)](bool value) {
        try {
            set(value);
        } catch (const foundation::UserDefaultsError&) {
        }
    });
}

}  // namespace

ui::View SettingsView::body() const {
    return ui::TabView({
                           ui::View(GeneralSettings()).tabItem(ui::Label("General", "gear")),
                           ui::View(MenuBarSettings()).tabItem(ui::Label("Menubar", "menubar.rectangle")),
                       })
        .frame(320, 136);
}

ui::View SettingsView::GeneralSettings::body() const {
    AppState& state = appState;
    std::vector<ui::View> rows;
    if (const auto& user = state.user.get()) {
        const std::string username = user->username.str();
        rows.push_back(ui::HStack({
            ui::Text("Signed in as ") + ui::Text(ui::LocalizedStringKey("@%@", {username})).bold(),
            ui::Button("Logout",
                       [] {
                           concurrency::spawn(concurrency::MainActor::shared(),
                                              [] { return AppState::shared().logout(); });
                       })
                .padding(ui::EdgeSet(ui::Edge::trailing)),
        }));
    }
    rows.push_back(ui::Toggle("Sound FX", storing([&state] { return state.soundFX.get(); },
                                                  [&state](bool value) { state.soundFX = value; })));
    rows.push_back(ui::Toggle("Beta", storing([&state] { return state.isBeta.get(); },
                                              [&state](bool value) { state.isBeta = value; })));
    rows.push_back(ui::Text("Enable 'Beta' to use an experimental version with new features.")
                       .font(ui::Font::callout())
                       .view()
                       .fixedSize(false, true));
    return ui::VStack(std::move(rows), ui::HorizontalAlignment::leading).padding().observing(state);
}

ui::View SettingsView::MenuBarSettings::body() const {
    AppState& state = appState;
    return ui::VStack(
               {
                   ui::Toggle("Show Icon in Menubar", storing([&state] { return state.statusBarIcon.get(); },
                                                              [&state](bool value) { state.statusBarIcon = value; })),
                   ui::Toggle("Monochrome Icon", storing([&state] { return state.statusBarIconMonochrome.get(); },
                                                         [&state](bool value) { state.statusBarIconMonochrome = value; }))
                       .disabled(!state.statusBarIcon.get()),
               },
               ui::HorizontalAlignment::leading)
        .padding()
        .observing(state);
}

}  // namespace kestrova
