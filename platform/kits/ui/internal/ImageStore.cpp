#include "platform/kits/ui/internal/ImageStore.hpp"

#include "platform/kits/ui/AssetCatalog.hpp"
#include "platform/runtime/foundation/core/Bundle.hpp"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <librsvg/rsvg.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace ui::internal {

namespace {

class SvgPicture final : public Picture {
public:
    explicit SvgPicture(RsvgHandle* handle) : handle_(handle) {
        gdouble width = 0;
        gdouble height = 0;
        if (rsvg_handle_get_intrinsic_size_in_pixels(handle_, &width, &height) == FALSE) {
            width = 16;
            height = 16;
        }
        size_ = {width, height};
    }
    ~SvgPicture() override { g_object_unref(handle_); }
    SvgPicture(const SvgPicture&) = delete;
    SvgPicture& operator=(const SvgPicture&) = delete;

    [[nodiscard]] Size intrinsicSize() const override { return size_; }
    void draw(cairo_t* cairo, const Rect& target) const override {
        // The document keeps its own aspect inside a viewport; stretch it as pictures are.
        cairo_save(cairo);
        cairo_translate(cairo, target.minX(), target.minY());
        cairo_scale(cairo, target.width() / size_.width, target.height() / size_.height);
        const RsvgRectangle whole{0, 0, size_.width, size_.height};
        rsvg_handle_render_document(handle_, cairo, &whole, nullptr);
        cairo_restore(cairo);
    }

private:
    RsvgHandle* handle_;
    Size size_;
};

// Cairo wants premultiplied native-endian ARGB; a pixbuf holds RGB or RGBA bytes in order.
cairo_surface_t* surfaceOf(GdkPixbuf* pixbuf) {
    const int width = gdk_pixbuf_get_width(pixbuf);
    const int height = gdk_pixbuf_get_height(pixbuf);
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const int rowstride = gdk_pixbuf_get_rowstride(pixbuf);
    const guint8* pixels = gdk_pixbuf_read_pixels(pixbuf);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        const guint8* source = pixels + static_cast<std::ptrdiff_t>(y) * rowstride;
        auto* target = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < width; ++x, source += channels) {
            const std::uint32_t alpha = channels == 4 ? source[3] : 255;
            const auto premultiply = [alpha](std::uint32_t value) { return (value * alpha + 127) / 255; };
            target[x] = alpha << 24 | premultiply(source[0]) << 16 | premultiply(source[1]) << 8 | premultiply(source[2]);
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

class BitmapPicture final : public Picture {
public:
    explicit BitmapPicture(GdkPixbuf* pixbuf) : surface_(surfaceOf(pixbuf)) {
        size_ = {double(gdk_pixbuf_get_width(pixbuf)), double(gdk_pixbuf_get_height(pixbuf))};
    }
    ~BitmapPicture() override { cairo_surface_destroy(surface_); }
    BitmapPicture(const BitmapPicture&) = delete;
    BitmapPicture& operator=(const BitmapPicture&) = delete;

    [[nodiscard]] Size intrinsicSize() const override { return size_; }
    void draw(cairo_t* cairo, const Rect& target) const override {
        if (size_.width <= 0 || size_.height <= 0) {
            return;
        }
        cairo_save(cairo);
        cairo_translate(cairo, target.minX(), target.minY());
        cairo_scale(cairo, target.width() / size_.width, target.height() / size_.height);
        cairo_set_source_surface(cairo, surface_, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cairo), CAIRO_FILTER_GOOD);
        // Edge pixels reach the edge of the target instead of fading into it.
        cairo_pattern_set_extend(cairo_get_source(cairo), CAIRO_EXTEND_PAD);
        cairo_rectangle(cairo, 0, 0, size_.width, size_.height);
        cairo_clip(cairo);
        cairo_paint(cairo);
        cairo_restore(cairo);
    }

private:
    cairo_surface_t* surface_;
    Size size_;
};

// Symbols the theme lacks, drawn as simple figures on a 16-point grid.
class DrawnSymbol final : public Picture {
public:
    explicit DrawnSymbol(std::string name) : name_(std::move(name)) {}
    [[nodiscard]] Size intrinsicSize() const override { return {16, 16}; }
    void draw(cairo_t* cairo, const Rect& target) const override {
        cairo_save(cairo);
        cairo_translate(cairo, target.minX(), target.minY());
        cairo_scale(cairo, target.width() / 16, target.height() / 16);
        cairo_set_line_width(cairo, 1.5);
        cairo_set_line_cap(cairo, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cairo, CAIRO_LINE_JOIN_ROUND);
        if (name_ == "menubar.rectangle") {
            cairo_rectangle(cairo, 1.75, 2.75, 12.5, 10.5);
            cairo_stroke(cairo);
            cairo_rectangle(cairo, 1.75, 2.75, 12.5, 3);
            cairo_fill(cairo);
        } else if (name_.starts_with("checkmark")) {
            if (name_ == "checkmark.circle") {
                cairo_arc(cairo, 8, 8, 6.75, 0, 2 * M_PI);
                cairo_stroke(cairo);
            }
            cairo_move_to(cairo, 4.75, 8.25);
            cairo_line_to(cairo, 7, 10.5);
            cairo_line_to(cairo, 11.25, 5.5);
            cairo_stroke(cairo);
        } else {
            // Any other symbol: a rounded square, so that a missing icon still takes its place.
            cairo_rectangle(cairo, 2.75, 2.75, 10.5, 10.5);
            cairo_stroke(cairo);
        }
        cairo_restore(cairo);
    }

private:
    std::string name_;
};

std::shared_ptr<const Picture> decodeFile(const std::filesystem::path& file) {
    GError* error = nullptr;
    if (file.extension() == ".svg") {
        RsvgHandle* handle = rsvg_handle_new_from_file(file.c_str(), &error);
        if (handle == nullptr) {
            g_clear_error(&error);
            return nullptr;
        }
        return std::make_shared<SvgPicture>(handle);
    }
    GdkPixbuf* pixbuf = gdk_pixbuf_new_from_file(file.c_str(), &error);
    if (pixbuf == nullptr) {
        g_clear_error(&error);
        return nullptr;
    }
    auto picture = std::make_shared<BitmapPicture>(pixbuf);
    g_object_unref(pixbuf);
    return picture;
}

std::shared_ptr<const Picture> decodeBytes(const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) {
        return nullptr;
    }
    GError* error = nullptr;
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    const bool written = gdk_pixbuf_loader_write(loader, bytes.data(), bytes.size(), &error) != FALSE;
    g_clear_error(&error);
    const bool closed = gdk_pixbuf_loader_close(loader, &error) != FALSE;
    g_clear_error(&error);
    std::shared_ptr<const Picture> picture;
    if (written && closed) {
        if (GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader)) {
            picture = std::make_shared<BitmapPicture>(pixbuf);
        }
    }
    g_object_unref(loader);
    return picture;
}

// The icon of the freedesktop theme that shows what the symbol means.
const char* themeIconName(const std::string& symbol) {
    static const std::map<std::string, const char*> names{
        {"gear", "emblem-system-symbolic"},
        {"antenna.radiowaves.left.and.right.slash", "network-wireless-offline-symbolic"},
        {"checkmark", "object-select-symbolic"},
        {"checkmark.circle", "emblem-ok-symbolic"},
    };
    const auto found = names.find(symbol);
    return found == names.end() ? nullptr : found->second;
}

}  // namespace

ImageStore& ImageStore::shared() {
    static ImageStore* store = new ImageStore;  // never freed: pictures may be drawn until exit
    return *store;
}

std::optional<std::string> ImageStore::symbolFile(const std::string& symbol) {
    const char* icon = themeIconName(symbol);
    if (icon == nullptr) {
        return std::nullopt;
    }
    std::vector<std::filesystem::path> roots;
    if (const char* home = std::getenv("XDG_DATA_HOME"); home != nullptr && *home != '\0') {
        roots.emplace_back(home);
    }
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    std::stringstream list(dirs != nullptr && *dirs != '\0' ? dirs : "/usr/local/share:/usr/share");
    for (std::string root; std::getline(list, root, ':');) {
        if (!root.empty()) {
            roots.emplace_back(root);
        }
    }
    for (const auto& root : roots) {
        const auto theme = root / "icons" / "Adwaita" / "scalable";
        std::error_code error;
        for (std::filesystem::directory_iterator context(theme, error), end; !error && context != end;
             context.increment(error)) {
            auto candidate = context->path() / (std::string(icon) + ".svg");
            if (std::filesystem::is_regular_file(candidate, error)) {
                return candidate.string();
            }
        }
    }
    return std::nullopt;
}

bool ImageStore::decodable(const std::shared_ptr<const std::vector<std::uint8_t>>& bytes) {
    node::Image image{node::Image::Source::data, {}, bytes, false};
    return picture(image) != nullptr;
}

std::shared_ptr<const Picture> ImageStore::load(const node::Image& image) {
    switch (image.source) {
    case node::Image::Source::asset:
        if (const auto file = AssetCatalog::main().imageFile(image.name)) {
            return decodeFile(*file);
        }
        return nullptr;
    case node::Image::Source::bundleResource:
        for (const char* extension : {"svg", "png", "jpg"}) {
            if (const auto file = foundation::Bundle::main().urlForResource(image.name, extension)) {
                return decodeFile(file->path());
            }
        }
        return nullptr;
    case node::Image::Source::systemSymbol:
        if (const auto file = symbolFile(image.name)) {
            if (auto picture = decodeFile(*file)) {
                return picture;
            }
        }
        return std::make_shared<DrawnSymbol>(image.name);
    case node::Image::Source::data:
        return image.bytes ? decodeBytes(*image.bytes) : nullptr;
    }
    return nullptr;
}

std::shared_ptr<const Picture> ImageStore::picture(const node::Image& image) {
    const std::scoped_lock guard(lock_);
    if (image.source == node::Image::Source::data) {
        if (!image.bytes) {
            return nullptr;
        }
        const auto found = byBytes_.find(image.bytes.get());
        if (found != byBytes_.end() && found->second.first.lock() == image.bytes) {
            return found->second.second;
        }
        // Forget pictures whose bytes are gone, so that a new vector at a freed address is decoded.
        std::erase_if(byBytes_, [](const auto& entry) { return entry.second.first.expired(); });
        auto decoded = decodeBytes(*image.bytes);
        byBytes_[image.bytes.get()] = {image.bytes, decoded};
        return decoded;
    }
    const std::string key = std::to_string(static_cast<int>(image.source)) + ':' + image.name;
    const auto found = byName_.find(key);
    if (found != byName_.end()) {
        return found->second;
    }
    auto loaded = load(image);
    byName_.emplace(key, loaded);
    return loaded;
}

Size ImageStore::intrinsicSize(const node::Image& image, double fontSize) {
    const auto found = picture(image);
    if (!found) {
        return {};
    }
    if (image.source == node::Image::Source::systemSymbol) {
        const Size size = found->intrinsicSize();
        const double side = std::round(fontSize * 1.2);
        return size.height > 0 ? Size{side * size.width / size.height, side} : Size{side, side};
    }
    return found->intrinsicSize();
}

void ImageStore::draw(cairo_t* cairo, const node::Image& image, const Rect& target, const RGBA& tint) {
    const auto found = picture(image);
    if (!found || target.width() <= 0 || target.height() <= 0) {
        return;
    }
    const bool isTemplate = image.source == node::Image::Source::systemSymbol ||
                            (image.source == node::Image::Source::asset && AssetCatalog::main().isTemplateImage(image.name));
    if (!isTemplate) {
        found->draw(cairo, target);
        return;
    }
    // A symbol or a template is a shape: its own colours only say where it is opaque. The group
    // that makes the mask is only as large as the target, with room for antialiasing, not the
    // whole bitmap.
    constexpr double margin = 2;
    cairo_save(cairo);
    cairo_rectangle(cairo, target.minX() - margin, target.minY() - margin, target.width() + 2 * margin,
                    target.height() + 2 * margin);
    cairo_clip(cairo);
    cairo_push_group(cairo);
    cairo_set_source_rgba(cairo, 0, 0, 0, 1);
    found->draw(cairo, target);
    cairo_pattern_t* mask = cairo_pop_group(cairo);
    cairo_set_source_rgba(cairo, tint.red, tint.green, tint.blue, tint.alpha);
    cairo_mask(cairo, mask);
    cairo_pattern_destroy(mask);
    cairo_restore(cairo);
}

}  // namespace ui::internal
