#include "platform/backends/desktop/DesktopWindowRealizer.hpp"

#include "platform/backends/desktop/GtkStyle.hpp"
#include "platform/backends/desktop/WholeRedraw.hpp"
#include "platform/kits/ui/Node.hpp"
#include "platform/kits/ui/Renderer.hpp"

#include <gtk/gtk.h>

#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <string>

namespace desktop {

class DesktopWindow;

namespace {

using ui::LaidOutView;

// A place that holds widgets at laid-out frames over a drawing of the rest: the window's content,
// or one tab's page. Native views (web pages) lie between two layers: what comes before the first
// of them in the tree is drawn, and its controls placed, under them; what comes after, over them.
// The layers over the native views let input through where they show nothing: the drawing takes
// input only where it paints.
struct Surface {
    GtkWidget* overlay = nullptr;
    GtkWidget* area = nullptr;        // drawn behind the native views (everything when there are none)
    GtkWidget* fixed = nullptr;       // controls behind the native views
    GtkWidget* natives = nullptr;     // the native views' widgets
    GtkWidget* front = nullptr;       // drawn in front of the native views
    GtkWidget* frontFixed = nullptr;  // controls in front of the native views
    ui::Point origin;      // the tree's point at the surface's top-left corner
    std::string subtree;   // identity of the subtree drawn here; empty: the whole tree
    DesktopWindow* window = nullptr;
    bool hasNative = false;     // a native view shows here
    bool passedNative = false;  // while realizing: a native view came before in the tree
};

// A widget made for a view, kept across updates while the view keeps its identity.
struct Control {
    enum class Kind { label, image, toggle, button, link, tabs, native };
    Kind kind;
    GtkWidget* widget = nullptr;  // a native view's widget belongs to its maker: held by a reference
    std::function<void(bool)> set;
    std::function<void()> action;
    bool updating = false;
    bool seen = false;
    bool fresh = false;  // made in this update
    // Tabs: the pages, one surface each, and the identity of the tab view.
    std::vector<std::unique_ptr<Surface>> pages;
    std::string tabViewIdentity;
    std::vector<GtkWidget*> tabButtons;
    DesktopWindow* window = nullptr;
};

const LaidOutView* find(const LaidOutView& view, const std::string& identity) {
    if (view.identity == identity) {
        return &view;
    }
    for (const LaidOutView& child : view.children) {
        if (identity.starts_with(child.identity)) {
            if (const LaidOutView* found = find(child, identity)) {
                return found;
            }
        }
    }
    return nullptr;
}

std::string firstText(const LaidOutView& view) {
    for (const LaidOutView* text : view.all<ui::node::Text>()) {
        return text->text();
    }
    return {};
}

PangoAttrList* attributesOf(const ui::node::Text& text, const ui::EnvironmentValues& environment) {
    PangoAttrList* attributes = pango_attr_list_new();
    guint index = 0;
    const ui::RGBA foreground = environment.foreground().resolve(environment.colorScheme);
    for (const auto& run : text.runs) {
        const guint end = index + static_cast<guint>(run.text.size());
        const ui::Font font = run.font.value_or(environment.font);
        PangoFontDescription* description = pango_font_description_new();
        pango_font_description_set_family(description, font.design() == ui::Font::Design::serif        ? "serif"
                                                       : font.design() == ui::Font::Design::monospaced ? "monospace"
                                                                                                       : "sans-serif");
        pango_font_description_set_absolute_size(description, font.pointSize() * PANGO_SCALE);
        const auto weight = run.weight.value_or(font.fontWeight());
        static const PangoWeight weights[] = {PANGO_WEIGHT_ULTRALIGHT, PANGO_WEIGHT_THIN,     PANGO_WEIGHT_LIGHT,
                                              PANGO_WEIGHT_NORMAL,     PANGO_WEIGHT_MEDIUM,   PANGO_WEIGHT_SEMIBOLD,
                                              PANGO_WEIGHT_BOLD,       PANGO_WEIGHT_HEAVY,    PANGO_WEIGHT_ULTRAHEAVY};
        pango_font_description_set_weight(description, weights[static_cast<int>(weight)]);
        PangoAttribute* fontAttribute = pango_attr_font_desc_new(description);
        pango_font_description_free(description);
        fontAttribute->start_index = index;
        fontAttribute->end_index = end;
        pango_attr_list_insert(attributes, fontAttribute);
        const ui::RGBA color = run.color ? run.color->resolve(environment.colorScheme) : foreground;
        const auto channel = [](double value) { return static_cast<guint16>(std::lround(std::clamp(value, 0.0, 1.0) * 65535)); };
        PangoAttribute* colorAttribute = pango_attr_foreground_new(channel(color.red), channel(color.green), channel(color.blue));
        colorAttribute->start_index = index;
        colorAttribute->end_index = end;
        pango_attr_list_insert(attributes, colorAttribute);
        PangoAttribute* alphaAttribute = pango_attr_foreground_alpha_new(channel(color.alpha));
        alphaAttribute->start_index = index;
        alphaAttribute->end_index = end;
        pango_attr_list_insert(attributes, alphaAttribute);
        index = end;
    }
    return attributes;
}

}  // namespace

class DesktopWindow final : public ui::Window {
public:
    // An embedded window is only its content, for a window of the application to place (as a tab).
    DesktopWindow(const ui::WindowOptions& options, std::function<ui::View()> content, const ui::ControlMetrics& metrics,
                  bool embedded)
        : initialTitle_(options.title), title_(options.title) {
        GtkStyle::install();
        makeSurface(top_, "");
        // The content has the size asked for; the title bar comes on top of it.
        gtk_widget_set_size_request(top_.overlay, static_cast<int>(options.size.width), static_cast<int>(options.size.height));
        g_signal_connect(top_.overlay, "size-allocate", G_CALLBACK(+[](GtkWidget*, GdkRectangle*, gpointer self) {
                             static_cast<DesktopWindow*>(self)->followSize();
                         }),
                         this);
        if (embedded) {
            window_ = g_object_ref_sink(top_.overlay);
        } else {
            makeToplevel(options);
        }

        ui::ViewHost::Options hosted;
        hosted.size = options.size;
        hosted.metrics = &metrics;
        host_ = std::make_unique<ui::ViewHost>(std::move(content), hosted);
        host_->onUpdate([this] { sync(); });
        sync();
        gtk_widget_show_all(window_);
    }

    void makeToplevel(const ui::WindowOptions& options) {
        window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        g_object_ref(window_);
        gtk_window_set_title(GTK_WINDOW(window_), options.title.c_str());
        gtk_window_set_resizable(GTK_WINDOW(window_), options.resizable ? TRUE : FALSE);
        header_ = gtk_header_bar_new();
        gtk_header_bar_set_show_close_button(GTK_HEADER_BAR(header_), TRUE);
        gtk_header_bar_set_title(GTK_HEADER_BAR(header_), options.title.c_str());
        gtk_window_set_titlebar(GTK_WINDOW(window_), header_);
        gtk_container_add(GTK_CONTAINER(window_), top_.overlay);
        g_signal_connect(window_, "delete-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer self) {
                             static_cast<DesktopWindow*>(self)->close();
                             return TRUE;
                         }),
                         this);
    }

    ~DesktopWindow() override {
        close();
        g_clear_object(&window_);
    }
    DesktopWindow(const DesktopWindow&) = delete;
    DesktopWindow& operator=(const DesktopWindow&) = delete;

    ui::ViewHost& host() override { return *host_; }
    [[nodiscard]] bool isOpen() const override { return open_; }
    void onUpdate(std::function<void()> listener) override { updateListener_ = std::move(listener); }
    void makeKeyAndOrderFront() override {
        if (open_ && GTK_IS_WINDOW(window_)) {
            gtk_window_present(GTK_WINDOW(window_));
        }
    }

    void close() override {
        if (!open_) {
            return;
        }
        open_ = false;
        if (resizeSource_ != 0) {
            g_source_remove(resizeSource_);
            resizeSource_ = 0;
        }
        if (tick_ != 0) {
            gtk_widget_remove_tick_callback(top_.overlay, tick_);
            tick_ = 0;
        }
        // The native views' widgets belong to their makers and outlive the window.
        releaseNatives(nullptr);
        host_.reset();
        controls_.clear();
        gtk_widget_destroy(window_);
    }

    [[nodiscard]] GtkWidget* widget() const noexcept { return window_; }
    [[nodiscard]] const std::string& title() const noexcept { return title_; }

    // Draws the part of the tree a surface shows, in one of its layers: everything but what GTK
    // widgets show.
    void draw(const Surface& surface, GtkWidget* area, cairo_t* cairo) {
        const bool inFront = area == surface.front;
        if (!host_ || (inFront && !surface.hasNative)) {
            if (inFront) {
                takeInputWhere(area, nullptr);
            }
            return;
        }
        const LaidOutView tree = host_->presentation();
        const LaidOutView* root = surface.subtree.empty() ? &tree : find(tree, surface.subtree);
        if (root == nullptr) {
            return;
        }
        const int scale = gtk_widget_get_scale_factor(area);
        const int width = gtk_widget_get_allocated_width(area);
        const int height = gtk_widget_get_allocated_height(area);
        ui::Bitmap bitmap(width * scale, height * scale);
        ui::Renderer::Options options = ui::Renderer::Options::atScale(scale);
        options.drawControls = false;
        options.origin = surface.origin;
        options.layer = inFront ? ui::Renderer::Layer::inFrontOfNativeViews : ui::Renderer::Layer::behindNativeViews;
        ui::Renderer::paint(*root, bitmap, options);
        cairo_surface_t* image = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(bitmap.data()),
                                                                     CAIRO_FORMAT_ARGB32, bitmap.width(), bitmap.height(), bitmap.stride());
        cairo_surface_set_device_scale(image, scale, scale);
        cairo_set_source_surface(cairo, image, 0, 0);
        cairo_paint(cairo);
        if (inFront) {
            takeInputWhere(area, image);
        }
        cairo_surface_destroy(image);
    }

    // The drawing in front of native views takes the clicks where it paints and lets the others
    // through to the widgets under it; without a picture, it lets all through.
    static void takeInputWhere(GtkWidget* area, cairo_surface_t* painted) {
        cairo_region_t* region = painted != nullptr ? gdk_cairo_region_create_from_surface(painted) : cairo_region_create();
        gtk_widget_input_shape_combine_region(area, region);
        cairo_region_destroy(region);
    }

    void userChangedTab(Control& tabs, std::size_t index) {
        if (host_ && !tabs.updating) {
            host_->selectTab(tabs.tabViewIdentity, index);
        }
    }

    void afterAction() {
        if (host_) {
            host_->setNeedsUpdate();
        }
    }

private:
    void makeSurface(Surface& surface, std::string subtree) {
        surface.subtree = std::move(subtree);
        surface.window = this;
        surface.overlay = gtk_overlay_new();
        surface.area = gtk_drawing_area_new();
        surface.fixed = gtk_fixed_new();
        surface.natives = gtk_fixed_new();
        surface.front = gtk_drawing_area_new();
        surface.frontFixed = gtk_fixed_new();
        gtk_container_add(GTK_CONTAINER(surface.overlay), surface.area);
        gtk_overlay_add_overlay(GTK_OVERLAY(surface.overlay), surface.fixed);
        for (GtkWidget* layer : {surface.natives, surface.front, surface.frontFixed}) {
            gtk_overlay_add_overlay(GTK_OVERLAY(surface.overlay), layer);
            // A layer takes only the input that its own windows take: the widgets', and the front
            // drawing's where it paints (its input shape).
            gtk_overlay_set_overlay_pass_through(GTK_OVERLAY(surface.overlay), layer, TRUE);
        }
        takeInputWhere(surface.front, nullptr);
        for (GtkWidget* area : {surface.area, surface.front}) {
            g_signal_connect(area, "draw", G_CALLBACK(+[](GtkWidget* drawn, cairo_t* cairo, gpointer data) {
                                 auto* shown = static_cast<Surface*>(data);
                                 shown->window->draw(*shown, drawn, cairo);
                                 return FALSE;
                             }),
                             &surface);
        }
    }

    // Widgets moved while their parent is being allocated keep their old places: the views follow
    // the new size once the allocation is over.
    void followSize() {
        if (!host_ || resizeSource_ != 0) {
            return;
        }
        resizeSource_ = g_idle_add(+[](gpointer self) -> gboolean {
            auto* window = static_cast<DesktopWindow*>(self);
            window->resizeSource_ = 0;
            const int width = gtk_widget_get_allocated_width(window->top_.overlay);
            const int height = gtk_widget_get_allocated_height(window->top_.overlay);
            const ui::Size size = window->host_->size();
            if (width > 1 && height > 1 && (width != static_cast<int>(size.width) || height != static_cast<int>(size.height))) {
                window->host_->resize({double(width), double(height)});
            }
            return G_SOURCE_REMOVE;
        }, this);
    }

    // Brings the widgets in line with the tree as it shows now, and keeps animating while an
    // animation runs.
    void sync() {
        if (!host_) {
            return;
        }
        for (auto& [identity, control] : controls_) {
            control->seen = false;
        }
        const LaidOutView tree = host_->presentation();
        top_.passedNative = false;
        top_.hasNative = false;
        realize(tree, top_, 1.0);
        showTitle(tree);
        for (auto it = controls_.begin(); it != controls_.end();) {
            if (!it->second->seen) {
                retire(*it->second);
                it = controls_.erase(it);
            } else {
                ++it;
            }
        }
        redraw();
        if (updateListener_) {
            updateListener_();
        }
        if (host_->isAnimating() && tick_ == 0) {
            tick_ = gtk_widget_add_tick_callback(top_.overlay, +[](GtkWidget*, GdkFrameClock*, gpointer self) -> gboolean {
                auto* window = static_cast<DesktopWindow*>(self);
                // Asked before the frame is shown: an animation that ends while it is being shown
                // gets one more frame, the one that shows the tree as it ends (a view that faded
                // out gone), rather than staying at its last step.
                const bool animating = window->host_ && window->host_->isAnimating();
                if (!animating) {
                    window->tick_ = 0;
                }
                window->sync();
                return animating ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
            }, this, nullptr);
        }
    }

    void redraw() {
        gtk_widget_queue_draw(top_.area);
        gtk_widget_queue_draw(top_.front);
        for (auto& [identity, control] : controls_) {
            for (auto& page : control->pages) {
                gtk_widget_queue_draw(page->area);
                gtk_widget_queue_draw(page->front);
            }
        }
    }

    // The window's title follows the content's navigation title when it names one that is not
    // empty, and is the title it opened with otherwise; an embedded window has no title bar of its
    // own, and the window that places it shows its title.
    void showTitle(const LaidOutView& tree) {
        const auto titles = tree.all([](const LaidOutView& view) {
            const auto* annotation = view.as<ui::node::Annotation>();
            return annotation != nullptr && annotation->key == "navigationTitle" && !annotation->value.empty();
        });
        const std::string& title = titles.empty() ? initialTitle_ : titles.front()->as<ui::node::Annotation>()->value;
        if (title == title_) {
            return;
        }
        title_ = title;
        if (header_ != nullptr) {
            gtk_window_set_title(GTK_WINDOW(window_), title_.c_str());
            gtk_header_bar_set_title(GTK_HEADER_BAR(header_), title_.c_str());
        }
    }

    // A native view's widget goes back to its maker; the others are the window's own, but what
    // they hold of native views goes back first.
    void retire(Control& control) {
        if (control.kind != Control::Kind::native) {
            releaseNatives(control.widget);
            gtk_widget_destroy(control.widget);
            return;
        }
        if (GtkWidget* parent = gtk_widget_get_parent(control.widget)) {
            gtk_container_remove(GTK_CONTAINER(parent), control.widget);
        }
        g_clear_object(&control.widget);
    }

    // Gives the native views' widgets inside `container` (all of them, without one) back before
    // the container goes.
    void releaseNatives(GtkWidget* container) {
        for (auto it = controls_.begin(); it != controls_.end();) {
            if (it->second->kind == Control::Kind::native &&
                (container == nullptr || gtk_widget_is_ancestor(it->second->widget, container))) {
                retire(*it->second);
                it = controls_.erase(it);
            } else {
                ++it;
            }
        }
    }

    Control& ensure(const std::string& identity, Control::Kind kind, Surface& surface, const std::function<GtkWidget*()>& make) {
        GtkWidget* layer = surface.passedNative ? surface.frontFixed : surface.fixed;
        auto& slot = controls_[identity];
        if (slot && (slot->kind != kind || gtk_widget_get_parent(slot->widget) != layer)) {
            retire(*slot);
            slot.reset();
        }
        if (!slot) {
            slot = std::make_unique<Control>();
            slot->kind = kind;
            slot->window = this;
            slot->widget = make();
            gtk_fixed_put(GTK_FIXED(layer), slot->widget, 0, 0);
            gtk_widget_show_all(slot->widget);
            slot->fresh = true;
        } else {
            slot->fresh = false;
        }
        slot->seen = true;
        return *slot;
    }

    void place(Control& control, const Surface& surface, const ui::Rect& frame, double opacity, bool enabled) {
        const int x = static_cast<int>(std::lround(frame.minX() - surface.origin.x));
        const int y = static_cast<int>(std::lround(frame.minY() - surface.origin.y));
        gtk_fixed_move(GTK_FIXED(gtk_widget_get_parent(control.widget)), control.widget, x, y);
        gtk_widget_set_size_request(control.widget, static_cast<int>(std::ceil(frame.width())), static_cast<int>(std::ceil(frame.height())));
        gtk_widget_set_opacity(control.widget, std::clamp(opacity, 0.0, 1.0));
        gtk_widget_set_sensitive(control.widget, enabled ? TRUE : FALSE);
    }

    void realize(const LaidOutView& view, Surface& surface, double opacity) {
        opacity *= view.opacity;
        const bool enabled = view.environment->isEnabled;
        const std::string& identity = view.identity;
        if (const auto* text = view.as<ui::node::Text>()) {
            Control& label = ensure(identity, Control::Kind::label, surface, [] { return gtk_label_new(""); });
            std::string whole;
            for (const auto& run : text->runs) {
                whole += run.text;
            }
            gtk_label_set_text(GTK_LABEL(label.widget), whole.c_str());
            PangoAttrList* attributes = attributesOf(*text, *view.environment);
            gtk_label_set_attributes(GTK_LABEL(label.widget), attributes);
            pango_attr_list_unref(attributes);
            gtk_label_set_line_wrap(GTK_LABEL(label.widget), TRUE);
            gtk_label_set_line_wrap_mode(GTK_LABEL(label.widget), PANGO_WRAP_WORD_CHAR);
            gtk_label_set_xalign(GTK_LABEL(label.widget), 0);
            gtk_label_set_yalign(GTK_LABEL(label.widget), 0);
            const auto alignment = view.environment->multilineTextAlignment;
            gtk_label_set_justify(GTK_LABEL(label.widget), alignment == ui::TextAlignment::center     ? GTK_JUSTIFY_CENTER
                                                           : alignment == ui::TextAlignment::trailing ? GTK_JUSTIFY_RIGHT
                                                                                                      : GTK_JUSTIFY_LEFT);
            if (view.environment->lineLimit) {
                gtk_label_set_lines(GTK_LABEL(label.widget), *view.environment->lineLimit);
                gtk_label_set_ellipsize(GTK_LABEL(label.widget), PANGO_ELLIPSIZE_END);
            }
            place(label, surface, view.frame, opacity, true);
            return;
        }
        if (view.as<ui::node::Image>() != nullptr) {
            Control& image = ensure(identity, Control::Kind::image, surface, [] { return gtk_image_new(); });
            paintImage(image.widget, view);
            place(image, surface, view.frame, opacity, true);
            return;
        }
        if (const auto* toggle = view.as<ui::node::Toggle>()) {
            Control& check = ensure(identity, Control::Kind::toggle, surface, [] {
                GtkWidget* widget = gtk_check_button_new_with_label("");
                GtkStyle::compact(widget);
                return widget;
            });
            if (check.fresh) {
                g_signal_connect(check.widget, "toggled", G_CALLBACK(+[](GtkToggleButton* button, gpointer data) {
                                     auto* control = static_cast<Control*>(data);
                                     if (!control->updating && control->set) {
                                         control->set(gtk_toggle_button_get_active(button) != FALSE);
                                         control->window->afterAction();
                                     }
                                 }),
                                 &check);
            }
            check.set = toggle->set;
            check.updating = true;
            gtk_button_set_label(GTK_BUTTON(check.widget), toggle->title.c_str());
            gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(check.widget), toggle->get && toggle->get() ? TRUE : FALSE);
            check.updating = false;
            place(check, surface, view.frame, opacity, enabled);
            return;
        }
        if (const auto* button = view.as<ui::node::Button>()) {
            Control& push = ensure(identity, Control::Kind::button, surface, [] {
                GtkWidget* widget = gtk_button_new_with_label("");
                GtkStyle::compact(widget);
                return widget;
            });
            if (push.fresh) {
                g_signal_connect(push.widget, "clicked", G_CALLBACK(+[](GtkButton*, gpointer data) {
                                     auto* control = static_cast<Control*>(data);
                                     if (control->action) {
                                         // The action may close the window: keep what it needs.
                                         const auto action = control->action;
                                         DesktopWindow* window = control->window;
                                         action();
                                         window->afterAction();
                                     }
                                 }),
                                 &push);
            }
            push.action = button->action;
            gtk_button_set_label(GTK_BUTTON(push.widget), firstText(view).c_str());
            place(push, surface, view.frame, opacity, enabled);
            return;
        }
        if (const auto* link = view.as<ui::node::Link>()) {
            Control& linked = ensure(identity, Control::Kind::link, surface, [&] {
                return gtk_link_button_new_with_label(link->destination.c_str(), firstText(view).c_str());
            });
            gtk_link_button_set_uri(GTK_LINK_BUTTON(linked.widget), link->destination.c_str());
            place(linked, surface, view.frame, opacity, enabled);
            return;
        }
        if (view.as<ui::node::TabView>() != nullptr) {
            realizeTabs(view, surface, opacity, enabled);
            return;
        }
        if (const auto* native = view.as<ui::node::Native>()) {
            realizeNative(view, *native, surface, opacity);
            return;
        }
        // In painting order: a background comes before its content.
        if (view.as<ui::node::Background>() != nullptr) {
            realize(view.children.at(1), surface, opacity);
            realize(view.children.at(0), surface, opacity);
            return;
        }
        for (const LaidOutView& child : view.children) {
            realize(child, surface, opacity);
        }
    }

    void realizeNative(const LaidOutView& view, const ui::node::Native& native, Surface& surface, double opacity) {
        // What follows in the tree stands in front of it, also where it has no widget.
        surface.passedNative = true;
        auto* widget = static_cast<GtkWidget*>(native.view ? native.view->nativeWidget() : nullptr);
        if (widget == nullptr) {
            return;
        }
        surface.hasNative = true;
        auto& slot = controls_[view.identity];
        if (slot && (slot->widget != widget || gtk_widget_get_parent(widget) != surface.natives)) {
            retire(*slot);
            slot.reset();
        }
        if (!slot) {
            slot = std::make_unique<Control>();
            slot->kind = Control::Kind::native;
            slot->window = this;
            slot->widget = GTK_WIDGET(g_object_ref(widget));
            if (GtkWidget* parent = gtk_widget_get_parent(widget)) {
                gtk_container_remove(GTK_CONTAINER(parent), widget);
            }
            gtk_fixed_put(GTK_FIXED(surface.natives), widget, 0, 0);
            // A native view draws itself, as the web engine's page does, and only right whole.
            redrawWhole(widget);
            gtk_widget_show(widget);
        }
        slot->seen = true;
        place(*slot, surface, view.frame, opacity, true);
    }

    void realizeTabs(const LaidOutView& view, Surface& surface, double opacity, bool enabled) {
        Control& tabs = ensure(view.identity, Control::Kind::tabs, surface, [] { return gtk_stack_new(); });
        tabs.tabViewIdentity = view.identity;
        tabs.updating = true;
        if (tabs.pages.size() != view.children.size()) {
            for (auto& page : tabs.pages) {
                releaseNatives(page->overlay);
                gtk_widget_destroy(page->overlay);
            }
            tabs.pages.clear();
            for (std::size_t i = 0; i < view.children.size(); ++i) {
                auto page = std::make_unique<Surface>();
                makeSurface(*page, view.children[i].children.empty() ? std::string() : view.children[i].children.front().identity);
                gtk_stack_add_named(GTK_STACK(tabs.widget), page->overlay, std::to_string(i).c_str());
                gtk_widget_show_all(page->overlay);
                tabs.pages.push_back(std::move(page));
            }
            makeSwitcher(tabs, view);
        }
        gtk_stack_set_visible_child_name(GTK_STACK(tabs.widget), std::to_string(view.selection).c_str());
        for (std::size_t i = 0; i < tabs.tabButtons.size(); ++i) {
            gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(tabs.tabButtons[i]), i == view.selection ? TRUE : FALSE);
        }
        tabs.updating = false;
        place(tabs, surface, view.frame, opacity, enabled);
        for (std::size_t i = 0; i < view.children.size(); ++i) {
            const LaidOutView& item = view.children[i];
            if (item.children.empty()) {
                continue;
            }
            Surface& page = *tabs.pages[i];
            // A page sits where the tab view does: the tabs themselves are in the title bar.
            page.origin = view.frame.origin;
            page.passedNative = false;
            page.hasNative = false;
            realize(item.children.front(), page, opacity);
        }
    }

    // The tabs' labels as a row of linked buttons in the title bar, each with the tab's symbol and
    // title, the way a settings window shows its panes.
    void makeSwitcher(Control& tabs, const LaidOutView& view) {
        GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
        gtk_style_context_add_class(gtk_widget_get_style_context(row), "linked");
        tabs.tabButtons.clear();
        GSList* group = nullptr;
        for (std::size_t i = 0; i < view.children.size(); ++i) {
            GtkWidget* button = gtk_radio_button_new(group);
            group = gtk_radio_button_get_group(GTK_RADIO_BUTTON(button));
            gtk_toggle_button_set_mode(GTK_TOGGLE_BUTTON(button), FALSE);
            GtkWidget* content = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
            const LaidOutView& item = view.children[i];
            if (item.children.size() == 2) {
                if (const auto* symbol = item.children[1].first<ui::node::Image>()) {
                    gtk_box_pack_start(GTK_BOX(content), pictureOf(*symbol), FALSE, FALSE, 0);
                }
                gtk_box_pack_start(GTK_BOX(content), gtk_label_new(firstText(item.children[1]).c_str()), FALSE, FALSE, 0);
            }
            gtk_container_add(GTK_CONTAINER(button), content);
            g_object_set_data(G_OBJECT(button), "kestrova-tab", GSIZE_TO_POINTER(i));
            g_signal_connect(button, "toggled", G_CALLBACK(+[](GtkToggleButton* pressed, gpointer data) {
                                 auto* control = static_cast<Control*>(data);
                                 if (gtk_toggle_button_get_active(pressed) == FALSE || control->updating) {
                                     return;
                                 }
                                 control->window->userChangedTab(
                                     *control, GPOINTER_TO_SIZE(g_object_get_data(G_OBJECT(pressed), "kestrova-tab")));
                             }),
                             &tabs);
            gtk_box_pack_start(GTK_BOX(row), button, FALSE, FALSE, 0);
            tabs.tabButtons.push_back(button);
        }
        if (header_ == nullptr) {
            gtk_widget_destroy(row);
            return;
        }
        gtk_header_bar_set_custom_title(GTK_HEADER_BAR(header_), row);
        gtk_widget_show_all(row);
    }

    // An image of the tree drawn by the view renderer, as a GTK image.
    GtkWidget* pictureOf(const LaidOutView& view) {
        GtkWidget* image = gtk_image_new();
        paintImage(image, view);
        return image;
    }

    void paintImage(GtkWidget* image, const LaidOutView& view) {
        const int scale = gtk_widget_get_scale_factor(top_.overlay);
        ui::Renderer::Options options = ui::Renderer::Options::atScale(scale);
        options.origin = view.frame.origin;
        ui::Bitmap bitmap(static_cast<int>(std::ceil(view.frame.width() * scale)), static_cast<int>(std::ceil(view.frame.height() * scale)));
        ui::Renderer::paint(view, bitmap, options);
        cairo_surface_t* pixels = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, bitmap.width(), bitmap.height());
        cairo_surface_flush(pixels);
        for (int row = 0; row < bitmap.height(); ++row) {
            std::memcpy(cairo_image_surface_get_data(pixels) + static_cast<std::ptrdiff_t>(row) * cairo_image_surface_get_stride(pixels),
                        bitmap.data() + static_cast<std::ptrdiff_t>(row) * bitmap.width(), static_cast<std::size_t>(bitmap.stride()));
        }
        cairo_surface_mark_dirty(pixels);
        cairo_surface_set_device_scale(pixels, scale, scale);
        gtk_image_set_from_surface(GTK_IMAGE(image), pixels);
        cairo_surface_destroy(pixels);
    }

    std::string initialTitle_;
    std::string title_;
    GtkWidget* window_ = nullptr;
    GtkWidget* header_ = nullptr;
    Surface top_;
    std::unique_ptr<ui::ViewHost> host_;
    std::map<std::string, std::unique_ptr<Control>> controls_;
    guint tick_ = 0;
    guint resizeSource_ = 0;
    std::function<void()> updateListener_;
    bool open_ = true;
};

std::shared_ptr<ui::Window> DesktopWindowRealizer::open(const ui::WindowOptions& options, std::function<ui::View()> content) {
    if (!metrics_) {
        metrics_ = std::make_unique<GtkControlMetrics>();
    }
    return std::make_shared<DesktopWindow>(options, std::move(content), *metrics_, false);
}

std::shared_ptr<ui::Window> DesktopWindowRealizer::openEmbedded(const ui::WindowOptions& options, std::function<ui::View()> content) {
    if (!metrics_) {
        metrics_ = std::make_unique<GtkControlMetrics>();
    }
    return std::make_shared<DesktopWindow>(options, std::move(content), *metrics_, true);
}

GtkWidget* DesktopWindowRealizer::widgetOf(ui::Window& window) {
    return static_cast<DesktopWindow&>(window).widget();
}

std::string DesktopWindowRealizer::titleOf(const ui::Window& window) {
    return static_cast<const DesktopWindow&>(window).title();
}

}  // namespace desktop
