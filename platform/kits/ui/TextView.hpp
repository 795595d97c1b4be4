#pragma once

#include "platform/kits/ui/Color.hpp"
#include "platform/kits/ui/Font.hpp"
#include "platform/kits/ui/View.hpp"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace ui {

// A key of the localisation table with the values of its placeholders ("%lld" takes a 64-bit
// integer, "%@" a text). The key is what shows where no translation exists.
class LocalizedStringKey {
public:
    using Argument = std::variant<std::int64_t, std::string>;

    LocalizedStringKey(std::string key, std::vector<Argument> arguments = {})  // NOLINT: a literal is a key
        : key_(std::move(key)), arguments_(std::move(arguments)) {}
    LocalizedStringKey(const char* key) : key_(key) {}  // NOLINT: a literal is a key

    [[nodiscard]] const std::string& key() const noexcept { return key_; }
    // The text to show: the translation of the key (or the key) with its placeholders filled in.
    // Integers are written in decimal with a leading "-" when negative and no grouping.
    [[nodiscard]] std::string resolved() const;

private:
    std::string key_;
    std::vector<Argument> arguments_;
};

// A run of text, or several runs joined into one text that wraps as one. Modifiers on a Text keep
// it a Text so that styled texts can still be joined with +.
class Text {
public:
    // Localised: the key is looked up and its placeholders filled in.
    Text(const LocalizedStringKey& key);  // NOLINT: a literal is a localised text
    Text(const char* key) : Text(LocalizedStringKey(key)) {}  // NOLINT: a literal is a localised text
    // Shown as given, never looked up.
    static Text verbatim(std::string text);

    [[nodiscard]] Text font(Font font) const;
    [[nodiscard]] Text fontWeight(Font::Weight weight) const;
    [[nodiscard]] Text bold() const { return fontWeight(Font::Weight::bold); }
    [[nodiscard]] Text foregroundColor(Color color) const;

    friend Text operator+(const Text& left, const Text& right);

    // The whole text, runs joined.
    [[nodiscard]] std::string string() const;

    operator View() const;  // NOLINT: a text is a view
    [[nodiscard]] View view() const { return static_cast<View>(*this); }

    struct Run {
        std::string text;
        std::optional<Font> font;
        std::optional<Font::Weight> weight;
        std::optional<Color> color;
    };
    [[nodiscard]] const std::vector<Run>& runs() const noexcept { return runs_; }

private:
    Text() = default;
    std::vector<Run> runs_;
};

}  // namespace ui
