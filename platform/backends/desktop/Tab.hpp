#pragma once

#include "platform/kits/appkit/Window.hpp"
#include "platform/kits/appkit/WindowController.hpp"
#include "platform/kits/scenes/SceneContent.hpp"
#include "platform/kits/scenes/WindowRealizer.hpp"

#include <memory>
#include <string>

using GtkWidget = struct _GtkWidget;

namespace desktop {

class MainWindow;
class OpenWindows;

// One tab of a main window: a window of the application with its own content and scene.
class Tab final : public appkit::Window, public appkit::WindowController, public std::enable_shared_from_this<Tab> {
public:
    Tab(OpenWindows& windows, std::string identity, std::unique_ptr<ui::SceneContent> content)
        : windows_(windows), identity_(std::move(identity)), content_(std::move(content)) {}

    // The content's navigation title, else the application's name.
    [[nodiscard]] std::string title() const override;
    // The title may have changed: shows it in the tab's label and, while the tab is shown, as its
    // window's title.
    void showTitle() const;
    void close() override;
    [[nodiscard]] bool canBecomeKey() const override { return true; }
    void makeKeyAndOrderFront() override;
    [[nodiscard]] bool isMiniaturized() const override;
    void deminiaturize() override;
    [[nodiscard]] appkit::WindowController* windowController() const override { return const_cast<Tab*>(this); }
    void addTabbedWindow(std::shared_ptr<appkit::Window> window, appkit::WindowOrderingMode ordered) override;
    void newWindowForTab() override;

    [[nodiscard]] const std::string& identity() const noexcept { return identity_; }
    [[nodiscard]] ui::SceneContent& content() const noexcept { return *content_; }
    [[nodiscard]] GtkWidget* widget() const;

    // The main window that shows the tab; none while it moves between windows or once it closed.
    [[nodiscard]] MainWindow* owner() const noexcept { return owner_; }

    // The realized window that shows the content; none until the tab is shown.
    [[nodiscard]] ui::Window* view() const noexcept { return view_.get(); }
    void show(std::shared_ptr<ui::Window> view) { view_ = std::move(view); }

private:
    // Only the window that takes the tab in or lets it go says so.
    friend class MainWindow;

    MainWindow* owner_ = nullptr;
    OpenWindows& windows_;
    std::string identity_;
    std::unique_ptr<ui::SceneContent> content_;
    std::shared_ptr<ui::Window> view_;
};

}  // namespace desktop
