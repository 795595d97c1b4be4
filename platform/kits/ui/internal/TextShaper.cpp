#include "platform/kits/ui/internal/TextShaper.hpp"

#include <pango/pangocairo.h>

#include <cmath>

namespace ui::internal {

namespace {

PangoWeight pangoWeight(Font::Weight weight) {
    switch (weight) {
    case Font::Weight::ultraLight: return PANGO_WEIGHT_ULTRALIGHT;
    case Font::Weight::thin: return PANGO_WEIGHT_THIN;
    case Font::Weight::light: return PANGO_WEIGHT_LIGHT;
    case Font::Weight::regular: return PANGO_WEIGHT_NORMAL;
    case Font::Weight::medium: return PANGO_WEIGHT_MEDIUM;
    case Font::Weight::semibold: return PANGO_WEIGHT_SEMIBOLD;
    case Font::Weight::bold: return PANGO_WEIGHT_BOLD;
    case Font::Weight::heavy: return PANGO_WEIGHT_HEAVY;
    case Font::Weight::black: return PANGO_WEIGHT_ULTRAHEAVY;
    }
    return PANGO_WEIGHT_NORMAL;
}

const char* family(Font::Design design) {
    switch (design) {
    case Font::Design::serif: return "serif";
    case Font::Design::monospaced: return "monospace";
    case Font::Design::standard:
    case Font::Design::rounded: return "sans-serif";
    }
    return "sans-serif";
}

guint16 channel(double value) { return static_cast<guint16>(std::lround(std::clamp(value, 0.0, 1.0) * 65535)); }

}  // namespace

TextShaper& TextShaper::current() {
    thread_local TextShaper shaper;
    return shaper;
}

TextShaper::TextShaper() {
    PangoFontMap* map = pango_cairo_font_map_new();
    context_ = pango_font_map_create_context(map);
    g_object_unref(map);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(context_, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context_, FALSE);
}

TextShaper::~TextShaper() {
    forgetLayouts();
    g_object_unref(context_);
}

void TextShaper::forgetLayouts() {
    for (const auto& entry : layouts_) {
        g_object_unref(entry.second);
    }
    layouts_.clear();
}

std::vector<RGBA> TextShaper::runColors(const node::Text& text, const EnvironmentValues& environment) {
    const RGBA foreground = environment.foreground().resolve(environment.colorScheme);
    std::vector<RGBA> colors;
    colors.reserve(text.runs.size());
    for (const node::TextRun& run : text.runs) {
        RGBA color = run.color ? run.color->resolve(environment.colorScheme) : foreground;
        if (!environment.isEnabled) {
            color.alpha *= 0.5;
        }
        colors.push_back(color);
    }
    return colors;
}

PangoLayout* TextShaper::prepare(const node::Text& text, const EnvironmentValues& environment,
                                 std::optional<double> width, std::optional<int> maxLines,
                                 const std::vector<RGBA>* colors) {
    PangoLayout* layout = pango_layout_new(context_);
    std::string whole;
    PangoAttrList* attributes = pango_attr_list_new();
    for (std::size_t index = 0; index < text.runs.size(); ++index) {
        const node::TextRun& run = text.runs[index];
        const auto start = static_cast<guint>(whole.size());
        whole += run.text;
        const auto end = static_cast<guint>(whole.size());
        const Font font = run.font.value_or(environment.font);
        PangoFontDescription* description = pango_font_description_new();
        pango_font_description_set_family_static(description, family(font.design()));
        pango_font_description_set_absolute_size(description, font.pointSize() * PANGO_SCALE);
        pango_font_description_set_weight(description, pangoWeight(run.weight.value_or(font.fontWeight())));
        PangoAttribute* fontAttribute = pango_attr_font_desc_new(description);
        pango_font_description_free(description);
        fontAttribute->start_index = start;
        fontAttribute->end_index = end;
        pango_attr_list_insert(attributes, fontAttribute);
        if (colors != nullptr) {
            const RGBA& color = (*colors)[index];
            PangoAttribute* colorAttribute = pango_attr_foreground_new(channel(color.red), channel(color.green), channel(color.blue));
            colorAttribute->start_index = start;
            colorAttribute->end_index = end;
            pango_attr_list_insert(attributes, colorAttribute);
            PangoAttribute* alphaAttribute = pango_attr_foreground_alpha_new(channel(color.alpha));
            alphaAttribute->start_index = start;
            alphaAttribute->end_index = end;
            pango_attr_list_insert(attributes, alphaAttribute);
        }
    }
    pango_layout_set_text(layout, whole.data(), static_cast<int>(whole.size()));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
    if (width && std::isfinite(*width)) {
        pango_layout_set_width(layout, static_cast<int>(std::floor(std::max(*width, 0.0) * PANGO_SCALE)));
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    }
    if (maxLines) {
        pango_layout_set_height(layout, -std::max(*maxLines, 1));
        pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
    }
    switch (environment.multilineTextAlignment) {
    case TextAlignment::leading: pango_layout_set_alignment(layout, PANGO_ALIGN_LEFT); break;
    case TextAlignment::center: pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER); break;
    case TextAlignment::trailing: pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT); break;
    }
    return layout;
}

void TextShaper::prepareSystemFont() {
    const EnvironmentValues environment;
    node::Text sample;
    sample.runs.push_back(node::TextRun{"Aa", environment.font, {}, {}});
    static_cast<void>(measure(sample, environment, std::nullopt, std::nullopt));
}

std::string TextShaper::sizeKey(const node::Text& text, const EnvironmentValues& environment,
                                std::optional<double> width, std::optional<int> maxLines) {
    std::string key;
    const auto append = [&key](const auto& value) {
        const auto* bytes = reinterpret_cast<const char*>(&value);
        key.append(bytes, sizeof value);
    };
    for (const node::TextRun& run : text.runs) {
        const Font font = run.font.value_or(environment.font);
        append(font.pointSize());
        append(static_cast<int>(run.weight.value_or(font.fontWeight())));
        append(static_cast<int>(font.design()));
        append(run.text.size());
        key += run.text;
    }
    append(width && std::isfinite(*width) ? *width : -1.0);
    append(maxLines.value_or(-1));
    return key;
}

Size TextShaper::measure(const node::Text& text, const EnvironmentValues& environment, std::optional<double> width,
                         std::optional<int> maxLines) {
    // Views are built afresh for every frame while their texts rarely change: shaping is what
    // costs, so sizes are kept by what decides them.
    std::string key = sizeKey(text, environment, width, maxLines);
    if (const auto found = sizes_.find(key); found != sizes_.end()) {
        return found->second;
    }
    const Size size = shape(text, environment, width, maxLines);
    if (sizes_.size() >= 4096) {
        sizes_.clear();
    }
    sizes_.emplace(std::move(key), size);
    return size;
}

Size TextShaper::shape(const node::Text& text, const EnvironmentValues& environment, std::optional<double> width,
                       std::optional<int> maxLines) {
    PangoLayout* layout = prepare(text, environment, width, maxLines, nullptr);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    g_object_unref(layout);
    // Whole points up, so that a text never gets less room than its glyphs.
    return Size{std::ceil(logical.width / double(PANGO_SCALE)), std::ceil(logical.height / double(PANGO_SCALE))};
}

void TextShaper::draw(cairo_t* cairo, const node::Text& text, const EnvironmentValues& environment, const Rect& frame,
                      std::optional<int> maxLines) {
    // What decides the size, and what decides the rest of the drawing: colours and alignment.
    std::string key = sizeKey(text, environment, frame.width(), maxLines);
    const std::vector<RGBA> colors = runColors(text, environment);
    for (const RGBA& color : colors) {
        key.append(reinterpret_cast<const char*>(&color), sizeof color);
    }
    key += static_cast<char>(environment.multilineTextAlignment);
    auto found = layouts_.find(key);
    if (found == layouts_.end()) {
        if (layouts_.size() >= 256) {
            forgetLayouts();
        }
        found = layouts_.emplace(std::move(key), prepare(text, environment, frame.width(), maxLines, &colors)).first;
    }
    cairo_save(cairo);
    cairo_move_to(cairo, frame.minX(), frame.minY());
    pango_cairo_show_layout(cairo, found->second);
    cairo_restore(cairo);
}

}  // namespace ui::internal
