#include "platform/backends/desktop/DesktopWidgetBoard.hpp"

#include "platform/kits/widgetkit/WidgetBoard.hpp"
#include "platform/runtime/base/Installable.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"

#include <glib-unix.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <csignal>
#include <memory>
#include <stdexcept>
#include <utility>

namespace desktop {
namespace {

using widgetkit::WidgetBoard;
using Command = WidgetBoard::Command;

constexpr int tileSpacing = 16;
constexpr double cornerRadius = 16;
constexpr double previewHeight = 96;

// A tile's PNG as a surface of `tile.size` points, whatever its pixels; null when it is no PNG.
cairo_surface_t* decodedPicture(const WidgetBoard::Tile& tile) {
    struct Reader {
        const std::vector<std::uint8_t>& bytes;
        std::size_t offset = 0;
    } reader{tile.png};
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(
        [](void* closure, unsigned char* data, unsigned int length) {
            auto& from = *static_cast<Reader*>(closure);
            if (from.bytes.size() - from.offset < length) {
                return CAIRO_STATUS_READ_ERROR;
            }
            std::memcpy(data, from.bytes.data() + from.offset, length);
            from.offset += length;
            return CAIRO_STATUS_SUCCESS;
        },
        &reader);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS || tile.size.width <= 0 || tile.size.height <= 0) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    // Drawn at the device's scale, a PNG of two pixels a point fills a HiDPI screen's pixels one to one.
    cairo_surface_set_device_scale(surface, cairo_image_surface_get_width(surface) / tile.size.width,
                                   cairo_image_surface_get_height(surface) / tile.size.height);
    return surface;
}

// A drawing area showing one tile's picture in a rounded rectangle, at `shown` points.
class TileArea {
public:
    static GtkWidget* make(const WidgetBoard::Tile& tile, ui::Size shown) {
        GtkWidget* area = gtk_drawing_area_new();
        gtk_widget_set_size_request(area, static_cast<int>(std::lround(shown.width)), static_cast<int>(std::lround(shown.height)));
        auto* self = new TileArea{decodedPicture(tile), tile.size};
        // No picture at all is a widget whose first entry has not come yet; bytes that are no PNG are a fault.
        if (self->picture_ == nullptr && !tile.png.empty()) {
            g_warning("widget tile of %gx%g points has no readable PNG; shown empty", tile.size.width, tile.size.height);
        }
        g_signal_connect(area, "draw", G_CALLBACK(&TileArea::onDraw), self);
        g_object_set_data_full(G_OBJECT(area), "kestrova-tile", self, [](gpointer data) { delete static_cast<TileArea*>(data); });
        return area;
    }

    TileArea(cairo_surface_t* picture, ui::Size size) : picture_(picture), size_(size) {}
    ~TileArea() {
        if (picture_ != nullptr) {
            cairo_surface_destroy(picture_);
        }
    }
    TileArea(const TileArea&) = delete;
    TileArea& operator=(const TileArea&) = delete;

private:
    static gboolean onDraw(GtkWidget* area, cairo_t* cr, gpointer data) {
        const auto& self = *static_cast<TileArea*>(data);
        const double width = gtk_widget_get_allocated_width(area);
        const double height = gtk_widget_get_allocated_height(area);
        const double radius = std::min({cornerRadius * width / self.size_.width, width / 2, height / 2});
        cairo_new_sub_path(cr);
        cairo_arc(cr, width - radius, radius, radius, -M_PI / 2, 0);
        cairo_arc(cr, width - radius, height - radius, radius, 0, M_PI / 2);
        cairo_arc(cr, radius, height - radius, radius, M_PI / 2, M_PI);
        cairo_arc(cr, radius, radius, radius, M_PI, 3 * M_PI / 2);
        cairo_close_path(cr);
        cairo_clip(cr);
        if (self.picture_ == nullptr) {
            cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
            cairo_paint(cr);
            return TRUE;
        }
        cairo_scale(cr, width / self.size_.width, height / self.size_.height);
        cairo_set_source_surface(cr, self.picture_, 0, 0);
        cairo_paint(cr);
        return TRUE;
    }

    cairo_surface_t* picture_;
    ui::Size size_;
};

// A modal-less dialog with a list and Cancel / `accept`: a row's activation or the accept button
// ends it with that row, Cancel or closing with none. Owns itself until it ends.
class ListDialog {
public:
    using Ended = std::function<void(std::optional<int> row)>;

    ListDialog(const std::string& title, const char* accept, Ended ended) : ended_(std::move(ended)) {
        dialog_ = gtk_dialog_new_with_buttons(title.c_str(), nullptr, GTK_DIALOG_USE_HEADER_BAR, "Cancel",
                                              GTK_RESPONSE_CANCEL, accept, GTK_RESPONSE_ACCEPT, nullptr);
        gtk_dialog_set_default_response(GTK_DIALOG(dialog_), GTK_RESPONSE_ACCEPT);
        gtk_window_set_default_size(GTK_WINDOW(dialog_), 420, 360);
        list_ = gtk_list_box_new();
        gtk_list_box_set_activate_on_single_click(GTK_LIST_BOX(list_), FALSE);
        GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
        gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);
        gtk_container_add(GTK_CONTAINER(scrolled), list_);
        gtk_box_pack_start(GTK_BOX(gtk_dialog_get_content_area(GTK_DIALOG(dialog_))), scrolled, TRUE, TRUE, 0);
        g_signal_connect(list_, "row-activated", G_CALLBACK(+[](GtkListBox*, GtkListBoxRow* row, gpointer self) {
                             static_cast<ListDialog*>(self)->end(gtk_list_box_row_get_index(row));
                         }),
                         this);
        g_signal_connect(list_, "row-selected", G_CALLBACK(+[](GtkListBox*, GtkListBoxRow* row, gpointer self) {
                             gtk_dialog_set_response_sensitive(GTK_DIALOG(static_cast<ListDialog*>(self)->dialog_),
                                                               GTK_RESPONSE_ACCEPT, row != nullptr);
                         }),
                         this);
        g_signal_connect(dialog_, "response", G_CALLBACK(+[](GtkDialog*, int response, gpointer self) {
                             auto& dialog = *static_cast<ListDialog*>(self);
                             GtkListBoxRow* row = gtk_list_box_get_selected_row(GTK_LIST_BOX(dialog.list_));
                             dialog.end(response == GTK_RESPONSE_ACCEPT && row != nullptr
                                            ? std::optional<int>(gtk_list_box_row_get_index(row))
                                            : std::nullopt);
                         }),
                         this);
        gtk_dialog_set_response_sensitive(GTK_DIALOG(dialog_), GTK_RESPONSE_ACCEPT, FALSE);
    }
    ListDialog(const ListDialog&) = delete;
    ListDialog& operator=(const ListDialog&) = delete;
    ~ListDialog() = default;

    [[nodiscard]] GtkListBox* list() const { return GTK_LIST_BOX(list_); }

    void present(std::optional<int> selected) {
        gtk_widget_show_all(dialog_);
        if (GtkListBoxRow* row = selected ? gtk_list_box_get_row_at_index(list(), *selected) : nullptr) {
            gtk_list_box_select_row(list(), row);
            gtk_widget_grab_focus(GTK_WIDGET(row));
        }
        gtk_window_present(GTK_WINDOW(dialog_));
    }

    // Destroys the dialog, then gives the answer, so that the answer may open another.
    void end(std::optional<int> row) {
        g_signal_handlers_disconnect_by_data(list_, this);
        g_signal_handlers_disconnect_by_data(dialog_, this);
        gtk_widget_destroy(dialog_);
        const Ended ended = std::move(ended_);
        delete this;
        ended(row);
    }

private:
    GtkWidget* dialog_;
    GtkWidget* list_;
    Ended ended_;
};

// The text between an opening and a closing markup tag, or plain without them.
GtkWidget* label(const std::string& text, const std::string& open = {}, const std::string& close = {}) {
    GtkWidget* label = gtk_label_new(nullptr);
    g_autofree char* escaped = g_markup_escape_text(text.c_str(), -1);
    gtk_label_set_markup(GTK_LABEL(label), (open + escaped + close).c_str());
    gtk_label_set_xalign(GTK_LABEL(label), 0);
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    return label;
}

class DesktopWidgetBoard final : public WidgetBoard {
public:
    DesktopWidgetBoard() {
        window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        g_object_ref_sink(window_);
        GtkWindow* window = GTK_WINDOW(window_);
        gtk_window_set_title(window, "Kestrova Widgets");
        gtk_window_set_decorated(window, FALSE);
        // A normal window kept below the others rather than a desktop one: desktops that draw
        // their own background window would hide a second desktop window behind it.
        gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_NORMAL);
        gtk_window_set_keep_below(window, TRUE);
        gtk_window_stick(window);
        gtk_window_set_skip_taskbar_hint(window, TRUE);
        gtk_window_set_skip_pager_hint(window, TRUE);
        gtk_window_set_focus_on_map(window, FALSE);
        gtk_window_set_resizable(window, FALSE);
        row_ = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, tileSpacing);
        gtk_container_set_border_width(GTK_CONTAINER(row_), tileSpacing);
        // Room for the menu's click while the board holds no widget.
        gtk_widget_set_size_request(row_, 120, 120);
        GtkWidget* events = gtk_event_box_new();
        gtk_container_add(GTK_CONTAINER(events), row_);
        gtk_container_add(GTK_CONTAINER(window_), events);
        g_signal_connect(events, "button-press-event", G_CALLBACK(&DesktopWidgetBoard::onBoardPress), this);
        g_signal_connect(window_, "popup-menu", G_CALLBACK(+[](GtkWidget*, gpointer self) {
                             static_cast<DesktopWidgetBoard*>(self)->popUpMenu(std::nullopt, nullptr);
                             return TRUE;
                         }),
                         this);
        g_signal_connect(window_, "delete-event", G_CALLBACK(+[](GtkWidget* widget, GdkEvent*, gpointer self) {
                             gtk_widget_hide(widget);
                             if (const auto& closed = static_cast<DesktopWidgetBoard*>(self)->events_.closed) {
                                 closed();
                             }
                             return TRUE;
                         }),
                         this);
    }
    DesktopWidgetBoard(const DesktopWidgetBoard&) = delete;
    DesktopWidgetBoard& operator=(const DesktopWidgetBoard&) = delete;
    ~DesktopWidgetBoard() override { g_object_unref(window_); }

    void show(Events events) override {
        concurrency::MainActor::preconditionIsolated();
        events_ = std::move(events);
        placeAtTopRight();
        gtk_widget_show_all(window_);
    }

    void setTiles(std::vector<Tile> tiles) override {
        concurrency::MainActor::preconditionIsolated();
        gtk_container_foreach(GTK_CONTAINER(row_), [](GtkWidget* child, gpointer) { gtk_widget_destroy(child); }, nullptr);
        tiles_ = std::move(tiles);
        for (std::size_t index = 0; index < tiles_.size(); ++index) {
            GtkWidget* area = TileArea::make(tiles_[index], tiles_[index].size);
            gtk_widget_add_events(area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK);
            gtk_widget_set_can_focus(area, TRUE);
            g_object_set_data(G_OBJECT(area), "kestrova-tile-index", GSIZE_TO_POINTER(index));
            g_signal_connect(area, "button-press-event", G_CALLBACK(&DesktopWidgetBoard::onTilePress), this);
            g_signal_connect(area, "button-release-event", G_CALLBACK(&DesktopWidgetBoard::onTileRelease), this);
            g_signal_connect(area, "popup-menu", G_CALLBACK(+[](GtkWidget* tile, gpointer self) {
                                 static_cast<DesktopWidgetBoard*>(self)->popUpMenu(indexOf(tile), nullptr);
                                 return TRUE;
                             }),
                             this);
            gtk_box_pack_start(GTK_BOX(row_), area, FALSE, FALSE, 0);
        }
        gtk_widget_show_all(row_);
        placeAtTopRight();
    }

    [[nodiscard]] double scale() const override { return gtk_widget_get_scale_factor(window_); }

    void chooseWidget(std::vector<GalleryItem> items, std::function<void(std::optional<std::size_t>)> chosen) override {
        concurrency::MainActor::preconditionIsolated();
        endOpen(gallery_);
        auto* dialog = new ListDialog("Add Widget", "Add", [this, chosen = std::move(chosen)](std::optional<int> row) {
            gallery_ = nullptr;
            chosen(row ? std::optional<std::size_t>(static_cast<std::size_t>(*row)) : std::nullopt);
        });
        for (const auto& item : items) {
            const ui::Size size = item.preview.size;
            const double height = std::min(previewHeight, size.height);
            GtkWidget* line = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
            gtk_container_set_border_width(GTK_CONTAINER(line), 8);
            GtkWidget* preview = TileArea::make(item.preview, {size.height > 0 ? size.width * height / size.height : 0, height});
            gtk_widget_set_valign(preview, GTK_ALIGN_CENTER);
            gtk_box_pack_start(GTK_BOX(line), preview, FALSE, FALSE, 0);
            GtkWidget* texts = gtk_box_new(GTK_ORIENTATION_VERTICAL, 4);
            gtk_widget_set_valign(texts, GTK_ALIGN_CENTER);
            gtk_box_pack_start(GTK_BOX(texts), label(item.displayName, "<b>", "</b>"), FALSE, FALSE, 0);
            gtk_box_pack_start(GTK_BOX(texts), label(item.description, "<span alpha=\"70%\">", "</span>"), FALSE, FALSE, 0);
            gtk_box_pack_start(GTK_BOX(line), texts, TRUE, TRUE, 0);
            gtk_list_box_insert(dialog->list(), line, -1);
        }
        gallery_ = dialog;
        dialog->present(items.empty() ? std::nullopt : std::optional<int>(0));
    }

    void chooseOption(std::string title, std::vector<OptionSection> sections, std::optional<std::string> current,
                      std::function<void(std::optional<std::string>)> chosen) override {
        concurrency::MainActor::preconditionIsolated();
        endOpen(options_);
        // Each row's identifier, and the section title that heads it when it is its section's first.
        auto rows = std::make_shared<std::vector<std::pair<std::string, std::optional<std::string>>>>();
        auto* dialog = new ListDialog(title, "Choose", [this, rows, chosen = std::move(chosen)](std::optional<int> row) {
            options_ = nullptr;
            chosen(row ? std::optional<std::string>((*rows)[static_cast<std::size_t>(*row)].first) : std::nullopt);
        });
        std::optional<int> selected;
        for (const auto& section : sections) {
            for (std::size_t index = 0; index < section.options.size(); ++index) {
                const auto& option = section.options[index];
                if (option.identifier == current) {
                    selected = static_cast<int>(rows->size());
                }
                rows->emplace_back(option.identifier, index == 0 ? std::optional<std::string>(section.title) : std::nullopt);
                GtkWidget* text = label(option.title);
                gtk_widget_set_margin_start(text, 12);
                gtk_widget_set_margin_top(text, 6);
                gtk_widget_set_margin_bottom(text, 6);
                gtk_list_box_insert(dialog->list(), text, -1);
            }
        }
        gtk_list_box_set_header_func(
            dialog->list(),
            [](GtkListBoxRow* row, GtkListBoxRow*, gpointer data) {
                const auto& heading = (**static_cast<decltype(rows)*>(data))[static_cast<std::size_t>(gtk_list_box_row_get_index(row))].second;
                if (!heading || heading->empty()) {
                    gtk_list_box_row_set_header(row, nullptr);
                    return;
                }
                GtkWidget* header = label(*heading, "<b>", "</b>");
                gtk_widget_set_margin_start(header, 6);
                gtk_widget_set_margin_top(header, 10);
                gtk_widget_set_margin_bottom(header, 4);
                gtk_widget_show(header);
                gtk_list_box_row_set_header(row, header);
            },
            new decltype(rows)(rows), [](gpointer data) { delete static_cast<decltype(rows)*>(data); });
        options_ = dialog;
        dialog->present(selected);
    }

private:
    // Where desktop widgets usually sit, clear of the panels: the top right of the work area. Placed
    // again whenever the tiles change, since the window grows to the right otherwise; its user
    // cannot move an undecorated window.
    void placeAtTopRight() {
        GdkDisplay* display = gtk_widget_get_display(window_);
        GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
        if (monitor == nullptr && gdk_display_get_n_monitors(display) > 0) {
            monitor = gdk_display_get_monitor(display, 0);
        }
        if (monitor == nullptr) {
            return;
        }
        GdkRectangle area;
        gdk_monitor_get_workarea(monitor, &area);
        GtkRequisition size;
        gtk_widget_get_preferred_size(window_, nullptr, &size);
        gtk_window_move(GTK_WINDOW(window_), area.x + std::max(0, area.width - size.width - tileSpacing),
                        area.y + tileSpacing);
    }

    static void endOpen(ListDialog* open) {
        if (open != nullptr) {
            open->end(std::nullopt);
        }
    }

    static std::size_t indexOf(GtkWidget* tile) {
        return GPOINTER_TO_SIZE(g_object_get_data(G_OBJECT(tile), "kestrova-tile-index"));
    }

    static gboolean onTilePress(GtkWidget* tile, GdkEventButton* event, gpointer data) {
        auto& self = *static_cast<DesktopWidgetBoard*>(data);
        if (event->type != GDK_BUTTON_PRESS) {
            return TRUE;
        }
        if (event->button == GDK_BUTTON_SECONDARY) {
            self.popUpMenu(indexOf(tile), reinterpret_cast<GdkEvent*>(event));
        } else if (event->button == GDK_BUTTON_PRIMARY) {
            self.pressedTile_ = indexOf(tile);
        }
        return TRUE;
    }

    // A click is the release in the tile the press was in.
    static gboolean onTileRelease(GtkWidget* tile, GdkEventButton* event, gpointer data) {
        auto& self = *static_cast<DesktopWidgetBoard*>(data);
        const std::size_t index = indexOf(tile);
        const bool pressedHere = std::exchange(self.pressedTile_, std::nullopt) == index;
        const bool inside = event->x >= 0 && event->y >= 0 && event->x < gtk_widget_get_allocated_width(tile) &&
                            event->y < gtk_widget_get_allocated_height(tile);
        if (event->button == GDK_BUTTON_PRIMARY && pressedHere && inside && self.events_.clicked) {
            self.events_.clicked(index, ui::Point{event->x, event->y});
        }
        return TRUE;
    }

    static gboolean onBoardPress(GtkWidget*, GdkEventButton* event, gpointer data) {
        if (event->type == GDK_BUTTON_PRESS && event->button == GDK_BUTTON_SECONDARY) {
            static_cast<DesktopWidgetBoard*>(data)->popUpMenu(std::nullopt, reinterpret_cast<GdkEvent*>(event));
        }
        return TRUE;
    }

    void addEntry(GtkWidget* menu, const char* title, Command command, std::optional<std::size_t> tile) {
        GtkWidget* entry = gtk_menu_item_new_with_label(title);
        struct Chosen {
            DesktopWidgetBoard* board;
            Command command;
            std::optional<std::size_t> tile;
        };
        g_signal_connect_data(entry, "activate", G_CALLBACK(+[](GtkMenuItem*, gpointer data) {
                                  const auto& chosen = *static_cast<Chosen*>(data);
                                  if (const auto& asked = chosen.board->events_.command) {
                                      asked(chosen.command, chosen.tile);
                                  }
                              }),
                              new Chosen{this, command, tile}, [](gpointer data, GClosure*) { delete static_cast<Chosen*>(data); },
                              GConnectFlags{});
        gtk_menu_shell_append(GTK_MENU_SHELL(menu), entry);
    }

    // The menu of the board, or of a tile when asked over one; where the pointer is for a click,
    // at the tile or the board for the Menu key.
    void popUpMenu(std::optional<std::size_t> tile, const GdkEvent* trigger) {
        GtkWidget* menu = gtk_menu_new();
        addEntry(menu, "Add Widget…", Command::addWidget, std::nullopt);
        if (tile && *tile < tiles_.size()) {
            addEntry(menu, "Remove Widget", Command::removeWidget, tile);
            if (tiles_[*tile].configurable) {
                addEntry(menu, "Configure Widget…", Command::configureWidget, tile);
            }
        }
        GtkWidget* anchor = window_;
        if (tile) {
            GList* tiles = gtk_container_get_children(GTK_CONTAINER(row_));
            if (auto* found = g_list_nth_data(tiles, static_cast<guint>(*tile))) {
                anchor = GTK_WIDGET(found);
            }
            g_list_free(tiles);
        }
        gtk_menu_attach_to_widget(GTK_MENU(menu), anchor, nullptr);
        // Gone once closed, after the main loop turned: a chosen entry is activated after its menu closed.
        g_signal_connect(menu, "deactivate", G_CALLBACK(+[](GtkMenuShell* shell, gpointer) {
                             g_idle_add([](gpointer data) -> gboolean {
                                 gtk_widget_destroy(GTK_WIDGET(data));
                                 return G_SOURCE_REMOVE;
                             }, shell);
                         }),
                         nullptr);
        gtk_widget_show_all(menu);
        if (trigger != nullptr) {
            gtk_menu_popup_at_pointer(GTK_MENU(menu), trigger);
        } else {
            gtk_menu_popup_at_widget(GTK_MENU(menu), anchor, GDK_GRAVITY_CENTER, GDK_GRAVITY_NORTH_WEST, nullptr);
        }
    }

    GtkWidget* window_;
    GtkWidget* row_;
    Events events_;
    std::vector<Tile> tiles_;
    std::optional<std::size_t> pressedTile_;
    ListDialog* gallery_ = nullptr;
    ListDialog* options_ = nullptr;
};

}  // namespace

void installWidgetBoard() {
    if (gtk_init_check(nullptr, nullptr) == FALSE) {
        throw std::runtime_error("the widget board needs a display: none could be opened (is DISPLAY set?)");
    }
    base::installNew<DesktopWidgetBoard>();
}

int runWidgetBoardUntilTerminated() {
    concurrency::MainActor::preconditionIsolated();
    g_autoptr(GMainLoop) loop = g_main_loop_new(nullptr, FALSE);
    const auto quit = [](gpointer data) -> gboolean {
        g_main_loop_quit(static_cast<GMainLoop*>(data));
        // Kept until the loop has ended, which removes every source below.
        return G_SOURCE_CONTINUE;
    };
    const guint sources[] = {g_unix_signal_add(SIGTERM, quit, loop), g_unix_signal_add(SIGINT, quit, loop),
                             g_unix_signal_add(SIGHUP, quit, loop)};
    g_main_loop_run(loop);
    for (const guint source : sources) {
        g_source_remove(source);
    }
    return 0;
}

}  // namespace desktop
