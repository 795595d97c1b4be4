#pragma once

#include <memory>

namespace ui {

class View;

// A view that the platform shows itself, such as a web page. Its maker gives the toolkit widget
// through this interface, so that views and windows need not know the kit that made it. In a tree it
// takes whatever size it is offered; a window puts the widget at its laid-out frame, under the views
// that stand in front of it, with the opacity of the views around it. Where there is no widget (no
// display), windows and pictures show a placeholder in its place.
class NativeView {
public:
    virtual ~NativeView() = default;
    NativeView(const NativeView&) = delete;
    NativeView& operator=(const NativeView&) = delete;

    // The toolkit widget (a GtkWidget on the desktop), owned by the maker; none without a display.
    [[nodiscard]] virtual void* nativeWidget() const = 0;

    // The view that shows it.
    [[nodiscard]] static View view(std::shared_ptr<NativeView> native);

protected:
    NativeView() = default;
};

}  // namespace ui
